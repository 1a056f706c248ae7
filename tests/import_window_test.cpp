// SPDX-License-Identifier: GPL-3.0-or-later
// Lists from other trainers brought in with Ctrl+I, the study list sent out with Ctrl+E: the file dialogs driven
// through their widgets.
#include <QFileDialog>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalSpy>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using test::GuiTest;
using test::Pairs;

TEST_F(GuiTest, CtrlIMakesAListPerFileAndCtrlEGivesItBack) {
  // Answers the next file dialog: the filter so many down, the name typed, Enter.
  QTimer poll;
  QString dialog;  // its title
  const auto answer = [&](const QString& typed, int filter) {
    poll.disconnect();
    QObject::connect(&poll, &QTimer::timeout, [&, typed, filter] {
      auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!d || !d->isVisible()) return;
      poll.stop();
      dialog = d->windowTitle();
      for (int k = 0; k < filter; ++k) QTest::keyClick(d->findChild<QComboBox*>("fileTypeCombo"), Qt::Key_Down);
      d->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
      QTest::keyClick(d->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
      if (d->isVisible()) d->reject();  // the text was not taken
    });
    poll.start(5);
  };
  // Any file not named .kvtml is read as text, a list file too (its name is taken).
  PutList("mots", "chat\tcat\n\t\n\t\n \t \n\n\t\n\t\n");
  PutList("vide", "");
  StartWith("Anglais", Pairs(3));
  window->State().table.SetCell(0, 1, "edited");
  window->SgListeSetEditText(0, 1, "edited");

  answer("\"" + ListPath("mots") + "\" \"" + ListPath("vide") + "\"", 0);
  QApplication::setActiveWindow(window.get());
  QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.seen.empty(); }, 5000));
  EXPECT_EQ(dialog + boxes.seen[0].title, "Importer des listesImporter des listes");
  EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Information);
  // Five skipped lines are told, the rest summed up.
  const QString text = boxes.seen[0].text;
  EXPECT_TRUE(
      text.startsWith("« mots.tnx » → liste « mots 2 » : 1 paire, 6 lignes ignorées :\n"
                      "    ligne 2 : Gauche et Droite vides\n"))
      << text.toStdString();
  EXPECT_TRUE(text.endsWith("    ligne 6 : Gauche et Droite vides\n    ...\n\n« vide.tnx » : refusé. Le fichier \"" +
                            ListPath("vide") + "\" est vide."))
      << text.toStdString();
  // The unsaved change went to its own file first; no list was written over.
  EXPECT_EQ(ListBytes("Anglais"), "edited\tm1\t\t\t\r\nw2\tm2\t\t\t\r\nw3\tm3\t\t\t\r\n");
  EXPECT_EQ(ListBytes("mots 2"), "chat\tcat\t\t\t\r\n");
  // The list made is the study list, loaded, ranked and asked.
  EXPECT_EQ(window->CbListes->currentText(), "mots 2");
  const std::string asked = Caption(window->PnQL) + Caption(window->PnQR);
  EXPECT_TRUE(asked == "chat?" || asked == "?cat") << asked;
  EXPECT_FALSE(SauverBold());

  // Ctrl+E from the grid's editor, where it would otherwise end the line;
  // the keys the editor uses stay with it, whatever shortcut the window has.
  FocusGrid();
  QLineEdit* editor = window->SgListe->Editor();
  QShortcut taken(QKeySequence(Qt::Key_W), window.get());
  QSignalSpy activated(&taken, &QShortcut::activated);
  QTest::keyClick(editor, Qt::Key_W);
  EXPECT_EQ(editor->text().toStdString() + std::to_string(activated.count()), "chatw0");
  answer(Folder() + "mots 2", 1);  // the KVTML filter adds ".kvtml"
  QTest::keyClick(editor, Qt::Key_E, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(Folder() + "mots 2.kvtml"); }, 5000));
  EXPECT_EQ(dialog, "Exporter la liste");
  EXPECT_EQ(ListBytes("mots 2"), "chat\tcat\t\t\t\r\n") << "the list as shown, its file unchanged";
}

}  // namespace
}  // namespace tenaxo
