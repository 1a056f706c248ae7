// Lists from other trainers brought in with Ctrl+I or a drop, the study list
// sent out with Ctrl+E: the file dialogs driven through their widgets.
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using test::GuiTest;
using test::Pairs;

// Answers the next file dialog by typing the text into its file name and
// pressing Enter, and records the dialog's title and filters.
class FileDialogDriver : public QObject {
 public:
  // filter: how many filters down from the first the user picks.
  explicit FileDialogDriver(QString typed, int filter = 0) : typed_(std::move(typed)), filter_(filter) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
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
    if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
      for (int k = 0; k < filter_; ++k) QTest::keyClick(types, Qt::Key_Down);
    }
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!edit) {
      dialog->reject();
      return;
    }
    edit->setText(typed_);
    QTest::keyClick(edit, Qt::Key_Return);
    if (dialog->isVisible()) dialog->reject();  // the text was not taken
  }
  QString typed_;
  int filter_;
  QTimer timer_;
};

class ImportWindowTest : public GuiTest {
 protected:
  void PutFile(const QString& name, const std::string& bytes) {
    QFile file(Folder() + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  // Ctrl+I with these files typed in the dialog, each quoted.
  FileDialogDriver* Import(const QStringList& names) {
    QString typed;
    for (const QString& name : names) typed += QStringLiteral("\"%1\" ").arg(Folder() + name);
    driver_ = std::make_unique<FileDialogDriver>(typed);
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier);
    return driver_.get();
  }
  FileDialogDriver* Export(const QString& name, int filter = 0) {
    driver_ = std::make_unique<FileDialogDriver>(Folder() + name, filter);
    // From the grid's editor, where Ctrl+E would otherwise end the line.
    FocusGrid();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
    return driver_.get();
  }
  void Drop(const QString& name) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Folder() + name)});
    // The drop goes to the widget that took the drag as it came in.
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    QCoreApplication::processEvents();
  }
  // Gauche, Droite, Demandé, Juste of every data row, in text order (the
  // ranking orders them its own way).
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int row = 1; row < window->State().SgListe.RowCount(); ++row) {
      rows.push_back(Cell(0, row) + '|' + Cell(1, row) + '|' + Cell(2, row) + '|' + Cell(3, row));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
  }
  std::string ListName() const { return window->CbListes->currentText().toStdString(); }
  void Edit(int col, int row, const char* text) {
    window->State().SgListe.SetCell(col, row, Ansi(text));
    window->SgListeSetEditText(col, row, Ansi(text));
  }

  std::unique_ptr<FileDialogDriver> driver_;
};

TEST_F(ImportWindowTest, CtrlIMakesAListPerFileAndCtrlEGivesThemBack) {
  PutList("Anglais", Pairs(3));
  PutList("mots", Pairs(1));
  PutSetting("Liste", "Anglais");
  PutFile("mots.txt", "chat\tcat\n\t\n\t\n \t \n\n\t\n\t\n");
  PutFile("verbes.csv", "être;to be\r\n;\r\n;\r\n;\r\n;\r\n;\r\navoir;to have\r\n");
  PutFile("vide.txt", "");
  Start();
  Edit(0, 1, "edited");

  const FileDialogDriver* dialog = Import({"mots.txt", "vide.txt", "verbes.csv"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.seen.empty(); }, 5000));
  EXPECT_EQ(dialog->title, "Importer des listes");
  EXPECT_EQ(dialog->filters, QStringList({"Listes d'autres programmes (*.txt *.tsv *.csv *.kvtml)",
                                          "Tous les fichiers (*)"}));
  ASSERT_EQ(boxes.seen.size(), 1u);
  EXPECT_EQ(boxes.seen[0].title, "Importer des listes");
  EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Information);
  EXPECT_EQ(boxes.seen[0].text.toStdString(),
            "« mots.txt » → liste « mots 2 » : 1 paire, 6 lignes ignorées :\n"
            "    ligne 2 : Gauche et Droite vides\n"
            "    ligne 3 : Gauche et Droite vides\n"
            "    ligne 4 : Gauche et Droite vides\n"
            "    ligne 5 : ligne vide\n"
            "    ligne 6 : Gauche et Droite vides\n"
            "    ...\n\n"
            "« vide.txt » : refusé. Le fichier \"" + (Folder() + "vide.txt").toStdString() + "\" est vide.\n\n"
            "« verbes.csv » → liste « verbes » : 2 paires, 5 lignes ignorées :\n"
            "    ligne 2 : Gauche et Droite vides\n"
            "    ligne 3 : Gauche et Droite vides\n"
            "    ligne 4 : Gauche et Droite vides\n"
            "    ligne 5 : Gauche et Droite vides\n"
            "    ligne 6 : Gauche et Droite vides");
  // The unsaved change went to its own file first; no list was written over.
  EXPECT_EQ(ListBytes("Anglais"), "edited\tm1\t\t\t\r\nw2\tm2\t\t\t\r\nw3\tm3\t\t\t\r\n");
  EXPECT_EQ(ListBytes("mots"), Pairs(1));
  EXPECT_EQ(ListBytes("mots 2"), "chat\tcat\t\t\t\r\n");
  EXPECT_EQ(ListBytes("vide"), "<missing>");
  // The last list made is the study list, as "Charger" leaves it.
  EXPECT_EQ(ListName(), "verbes");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"avoir|to have||", "être|to be||"}));
  // Ranked and asked at once.
  const std::string asked = Caption(window->PnQL) + '|' + Caption(window->PnQR);
  EXPECT_TRUE(asked == "être|?" || asked == "avoir|?" || asked == "?|to be" || asked == "?|to have") << asked;
  EXPECT_FALSE(SauverBold());
  EXPECT_EQ(window->LbNbMots->text(), "2 Lignes");
  EXPECT_NE(window->CbListes->findText(QStringLiteral("mots 2")), -1);

  // Counters the file does not hold yet: the export takes the list as shown
  // and changes neither the list nor its file.
  Edit(2, 1, "7");
  Edit(3, 1, "4");
  const std::string file = ListBytes("verbes");
  dialog = Export("verbes", 1);  // the KVTML filter adds ".kvtml"
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(Folder() + "verbes.kvtml"); }, 5000));
  EXPECT_EQ(dialog->title, "Exporter la liste");
  Export("verbes export");  // the first filter adds ".txt"
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(Folder() + "verbes export.txt"); }, 5000));
  EXPECT_EQ(ListBytes("verbes"), file);
  EXPECT_TRUE(SauverBold());
  const std::vector<std::string> exported = Rows();
  EXPECT_EQ(exported, (std::vector<std::string>{"avoir|to have||", "être|to be|7|4"}));

  // Read back, each gives the same pairs with their counters. The study list
  // is saved first, then replaced.
  boxes.seen.clear();
  Import({"verbes.kvtml"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.seen.empty(); }, 5000));
  // Saved in Windows-1252, as any new list whose characters it holds.
  EXPECT_EQ(ListBytes("verbes"), "\xEAtre\tto be\t7\t4\t\r\navoir\tto have\t\t\t\r\n");
  EXPECT_EQ(ListName(), "verbes 2");
  EXPECT_EQ(Rows(), exported);
  boxes.seen.clear();
  Drop("verbes export.txt");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.seen.empty(); }, 5000));
  EXPECT_EQ(boxes.seen[0].text.toStdString(),
            "« verbes export.txt » → liste « verbes export » : 2 paires, aucune ligne ignorée.");
  EXPECT_EQ(ListName(), "verbes export");
  EXPECT_EQ(Rows(), exported);
}

TEST_F(ImportWindowTest, ARefusedFileOrADeclinedSaveChangesNothing) {
  PutList("Anglais", Pairs(2));
  PutList("Autre", Pairs(1));
  PutSetting("Liste", "Anglais");
  PutFile("binaire.txt", std::string("abc\tdef\n\x01\x02", 9));
  PutFile("mots.csv", "chat,cat\n");
  Start();
  Edit(0, 1, "changé");

  Import({"binaire.txt"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.seen.empty(); }, 5000));
  EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Warning);
  EXPECT_TRUE(boxes.seen[0].text.contains("binaire.txt")) << boxes.seen[0].text.toStdString();
  EXPECT_EQ(boxes.seen.size(), 1u) << "no save asked";

  // Saving the changes under another list's name is declined: nothing is
  // written and the changes stay.
  window->CbListes->setEditText(QStringLiteral("Autre"));
  boxes.seen.clear();
  boxes.answers = {QStringLiteral("Annuler")};
  Import({"mots.csv"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.seen.size() == 2; }, 5000));
  EXPECT_EQ(boxes.seen[0].text, "Ecraser cette liste ?");
  EXPECT_EQ(boxes.seen[1].icon, QMessageBox::Critical);
  EXPECT_EQ(boxes.seen[1].text.toStdString(),
            "Aucune liste n'a été importée : la liste en cours n'a pas été sauvegardée.");

  EXPECT_EQ(ListBytes("Anglais"), Pairs(2));
  EXPECT_EQ(ListBytes("Autre"), Pairs(1));
  EXPECT_EQ(ListBytes("binaire"), "<missing>");
  EXPECT_EQ(ListBytes("mots"), "<missing>");
  EXPECT_EQ(Cell(0, 1), "changé");
  EXPECT_TRUE(SauverBold());
}

}  // namespace
}  // namespace tenaxo
