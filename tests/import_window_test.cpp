// SPDX-License-Identifier: GPL-3.0-or-later
// Lists from other trainers brought in with Ctrl+I or dropped on the window, the study list sent out with Ctrl+E: the
// file dialogs, Qt's own on every desktop, driven through their widgets.
#include <QFileDialog>
#include <QMimeData>
#include <QShortcut>
#include <QSignalSpy>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using test::GuiTest;

TEST_F(GuiTest, CtrlIMakesAListPerFileAndCtrlEGivesItBack) {
  QString dialog;  // the title of the last file dialog and the name it proposed
  // Presses the keys, then answers the file dialog they open: the filter so many down, the name typed, Enter; a
  // dialog still open then is cancelled.
  const auto answer = [&](QWidget* to, QKeySequence keys, const QString& typed, int filter = 0) {
    QTimer::singleShot(20, window.get(), [&, typed, filter] {
      auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_TRUE(d && d->testOption(QFileDialog::DontUseNativeDialog));
      auto* name = d->findChild<QLineEdit*>("fileNameEdit");
      dialog = d->windowTitle() + " " + name->text();
      for (int k = 0; k < filter; ++k) QTest::keyClick(d->findChild<QComboBox*>("fileTypeCombo"), Qt::Key_Down);
      name->setText(typed);
      QTest::keyClick(name, Qt::Key_Return);
      if (d->isVisible()) d->reject();
    });
    QApplication::setActiveWindow(window.get());
    QTest::keySequence(to, keys);
  };
  // Any file not named .kvtml is read as text, a list file too (its name is taken).
  PutList("mots", "chat\tcat\r\n");
  PutList("vide", "");
  StartWith("Anglais", test::Pairs(3));
  answer(window.get(), QKeySequence("Ctrl+I"), Folder() + "absent.txt");  // only files that are there
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].text.startsWith("absent.txt\n")) << "the dialog's own warning, and no import";
  answer(window.get(), QKeySequence("Ctrl+I"), "\"" + ListPath("mots") + "\" \"" + ListPath("vide") + "\"");
  EXPECT_EQ(dialog.toStdString(), "Importer des listes ");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].title, "Importer des listes");
  EXPECT_EQ(boxes[1].icon, QMessageBox::Information);
  EXPECT_TRUE(boxes[1].text.contains("« vide.tnx » : refusé.")) << LastBox();
  EXPECT_EQ(ListBytes("mots 2"), "chat\tcat\t\t\t\r\n");
  // The list made is the study list, loaded, ranked and asked.
  EXPECT_EQ(window->CbListes->currentText(), "mots 2");
  EXPECT_EQ(Title(), "Tenaxo - mots 2 - Réponses justes : 0/0");
  EXPECT_NE(Caption(window->PnQL) == "?", Caption(window->PnQR) == "?");

  // Ctrl+E from the grid's editor, where it would otherwise end the line; the keys the editor uses stay with it,
  // whatever shortcut the window has.
  FocusGrid();
  QShortcut taken(QKeySequence(Qt::Key_W), window.get());
  QSignalSpy activated(&taken, &QShortcut::activated);
  QTest::keyClick(window->SgListe->Editor(), Qt::Key_W);
  EXPECT_EQ(window->SgListe->Editor()->text(), "chatw");
  EXPECT_EQ(activated.count(), 0);
  answer(window->SgListe->Editor(), QKeySequence("Ctrl+E"), Folder() + "mots 2", 1);  // the KVTML filter: ".kvtml"
  EXPECT_EQ(dialog.toStdString(), "Exporter la liste mots 2.txt");
  EXPECT_TRUE(QFile::exists(Folder() + "mots 2.kvtml"));
  EXPECT_EQ(ListBytes("mots 2"), "chat\tcat\t\t\t\r\n") << "the list as shown, its file unchanged";
}

// A drag of local files is taken and their drop imports them once the drop is over; an address of the web is not.
TEST_F(GuiTest, DroppedFilesAreImported) {
  PutList("mots", "chat\tcat\r\n");
  Start();
  for (const QUrl& url : {QUrl("https://example.org/mots.tnx"), QUrl::fromLocalFile(ListPath("mots"))}) {
    SCOPED_TRACE(url.toString().toStdString());
    QMimeData data;
    data.setUrls({url});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_EQ(enter.isAccepted(), url.isLocalFile());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_TRUE(boxes.empty()) << "not while the drop is under way";
    EXPECT_EQ(QTest::qWaitFor([&] { return !boxes.empty(); }, 300), url.isLocalFile());
  }
  EXPECT_EQ(ListBytes("mots 2"), "chat\tcat\t\t\t\r\n");
}

}  // namespace
}  // namespace tenaxo
