// Lists from other trainers brought in with Ctrl+I, the study list sent out
// with Ctrl+E: the file dialogs driven through their widgets.
#include <QFileDialog>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalSpy>
#include <set>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using test::GuiTest;
using test::Pairs;

// Answers the next file dialog: picks the filter so many down from the
// first, types the text as file name and presses Enter; records the title.
class FileDialogDriver : public QObject {
 public:
  explicit FileDialogDriver(QString typed, int filter = 0) : typed_(std::move(typed)), filter_(filter) {
    connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start(5);
  }
  QString title;
  QStringList filters;

 private:
  void Poll() {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    timer_.stop();
    title = dialog->windowTitle();
    filters = dialog->nameFilters();
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    for (int k = 0; types && k < filter_; ++k) QTest::keyClick(types, Qt::Key_Down);
    if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
      edit->setText(typed_);
      QTest::keyClick(edit, Qt::Key_Return);
    }
    if (dialog->isVisible()) dialog->reject();  // the text was not taken
  }
  QString typed_;
  int filter_;
  QTimer timer_;
};

TEST_F(GuiTest, CtrlIMakesAListPerFileAndCtrlEGivesItBack) {
  const auto putFile = [&](const char* name, const std::string& bytes) {
    QFile file(Folder() + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes.data(), qint64(bytes.size())) >= 0);
  };
  PutList("Anglais", Pairs(3));
  PutList("mots", Pairs(1));
  PutSetting("Liste", "Anglais");
  putFile("mots.txt", "chat\tcat\n\t\n\t\n \t \n\n\t\n\t\n");
  putFile("vide.txt", "");
  putFile("verbes.csv", "être;to be\r\n;\r\n;\r\n;\r\n;\r\n;\r\navoir;to have\r\n");
  Start();
  window->State().SgListe.SetCell(0, 1, "edited");
  window->SgListeSetEditText(0, 1, "edited");

  const QString f = Folder();
  FileDialogDriver importing("\"" + f + "mots.txt\" \"" + f + "vide.txt\" \"" + f + "verbes.csv\"");
  QApplication::setActiveWindow(window.get());
  QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.seen.empty(); }, 5000));
  EXPECT_EQ(importing.title, "Importer des listes");
  EXPECT_EQ(importing.filters, QStringList({"Listes d'autres programmes (*.txt *.tsv *.csv *.kvtml)",
                                            "Tous les fichiers (*)"}));
  EXPECT_EQ(boxes.seen[0].title, "Importer des listes");
  EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Information);
  EXPECT_EQ(boxes.seen[0].text.toStdString(),
            "« mots.txt » → liste « mots 2 » : 1 paire, 6 lignes ignorées :\n"
            "    ligne 2 : Gauche et Droite vides\n    ligne 3 : Gauche et Droite vides\n"
            "    ligne 4 : Gauche et Droite vides\n    ligne 5 : ligne vide\n"
            "    ligne 6 : Gauche et Droite vides\n    ...\n\n"
            "« vide.txt » : refusé. Le fichier \"" + (f + "vide.txt").toStdString() + "\" est vide.\n\n"
            "« verbes.csv » → liste « verbes » : 2 paires, 5 lignes ignorées :\n"
            "    ligne 2 : Gauche et Droite vides\n    ligne 3 : Gauche et Droite vides\n"
            "    ligne 4 : Gauche et Droite vides\n    ligne 5 : Gauche et Droite vides\n"
            "    ligne 6 : Gauche et Droite vides");
  // The unsaved change went to its own file first; no list was written over.
  EXPECT_EQ(ListBytes("Anglais"), "edited\tm1\t\t\t\r\nw2\tm2\t\t\t\r\nw3\tm3\t\t\t\r\n");
  EXPECT_EQ(ListBytes("mots"), Pairs(1));
  EXPECT_EQ(ListBytes("mots 2"), "chat\tcat\t\t\t\r\n");
  // The last list made is the study list, loaded, ranked and asked.
  EXPECT_EQ(window->CbListes->currentText(), "verbes");
  EXPECT_EQ((std::set<std::string>{Cell(0, 1) + Cell(1, 1), Cell(0, 2) + Cell(1, 2)}),
            (std::set<std::string>{"avoirto have", "êtreto be"}));
  const std::string asked = Caption(window->PnQL) + Caption(window->PnQR);
  EXPECT_TRUE(asked == "être?" || asked == "avoir?" || asked == "?to be" || asked == "?to have") << asked;
  EXPECT_FALSE(SauverBold());
  EXPECT_NE(window->CbListes->findText(QStringLiteral("mots 2")), -1);

  // Ctrl+E from the grid's editor, where it would otherwise end the line;
  // the keys the editor uses stay with it, whatever shortcut the window has.
  FocusGrid();
  QLineEdit* editor = window->SgListe->Editor();
  QShortcut taken(QKeySequence(Qt::Key_W), window.get());
  QSignalSpy activated(&taken, &QShortcut::activated);
  const QString before = editor->text();
  QTest::keyClick(editor, Qt::Key_W);
  EXPECT_EQ(editor->text(), before + "w");
  EXPECT_EQ(activated.count(), 0);
  const std::string file = ListBytes("verbes");
  FileDialogDriver exporting(f + "verbes", 1);  // the KVTML filter adds ".kvtml"
  QTest::keyClick(editor, Qt::Key_E, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(f + "verbes.kvtml"); }, 5000));
  EXPECT_EQ(exporting.title, "Exporter la liste");
  EXPECT_EQ(ListBytes("verbes"), file) << "the list as shown, its file unchanged";
}

}  // namespace
}  // namespace tenaxo
