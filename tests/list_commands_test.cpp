// "Charger", "Sauver", "Supprimer", "Vider liste" and the list names, against
// a program folder of the test's own.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "Errors.h"
#include "Outils.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using test::FakeWindow;
using test::FileBytes;
using test::Fixture;
using test::PutFile;
using test::Rows;
using test::SessionState;

const std::string kAnglais = "the house\tla maison\t3\t2\t0,667\r\nthe dog\tle chien\t\t\t\r\n";

class Lists : public test::ProgramFolder {
 protected:
  void SetUp() override {
    test::ProgramFolder::SetUp();
    // A session in the middle of a series, with unsaved answers.
    session.SgListe = test::MakeTable({"un;one;5;4;0,800", "deux;two;1;0;0,000"});
    session.FListName = "Courante";
    session.FAskedCount = 6;
    session.FFoundCount = 4;
    session.FQuestionRow = 2;
    session.FEditedRow = 1;
    session.Unsaved = true;
    session.LbNbMots = "2 Lignes";
  }

  std::string Failure(const std::function<void()>& action) {
    try {
      action();
    } catch (const Error& e) {
      return e.Message().toStdString();
    }
    return "(no error)";
  }

  QStringList SortedItems() const {
    QStringList items = window.items.value_or(QStringList());
    items.sort();
    return items;
  }

  Session session;
  FakeWindow window;
  ListCommands commands{session, window.Bind()};
};

// ---------------------------------------------------------------- effects

TEST_F(Lists, LoadReplacesTheListAndStartsAFreshSeries) {
  PutFile(PathOf("Anglais.tnx"), kAnglais);
  window.name = "Anglais";
  commands.Button5Click();
  EXPECT_EQ(Rows(session.SgListe), (std::vector<std::string>{"the house;la maison;3;2;0,667", "the dog;le chien;;;"}));
  EXPECT_EQ(session.FListName, "Anglais");
  EXPECT_EQ(session.FAskedCount, 0);
  EXPECT_EQ(session.FFoundCount, 0);
  EXPECT_FALSE(session.Unsaved);
  EXPECT_EQ(session.LbNbMots, "2 Lignes");
  EXPECT_EQ(session.FQuestionRow, 2) << "the pending question's row is not reset";
  EXPECT_EQ(session.FEditedRow, 1);
  EXPECT_TRUE(window.questions.empty()) << "unsaved changes are dropped without a question";
  EXPECT_EQ(window.rebuilt, 0);
}

TEST_F(Lists, AnEmptyFileLoadsAsOneBlankRow) {
  PutFile(PathOf("Vide.tnx"), "");
  window.name = "Vide";
  commands.LoadList();
  EXPECT_EQ(Rows(session.SgListe), std::vector<std::string>{";;;;"});
  EXPECT_EQ(session.LbNbMots, "1 Lignes");
}

TEST_F(Lists, SaveWritesTheListAndStartsAFreshSeries) {
  window.name = "Courante";
  EXPECT_TRUE(commands.BtSauverClick());
  EXPECT_EQ(FileBytes(PathOf("Courante.tnx")), "un\tone\t5\t4\t0,800\r\ndeux\ttwo\t1\t0\t0,000\r\n");
  EXPECT_EQ(session.FListName, "Courante");
  EXPECT_EQ(session.FAskedCount, 0);
  EXPECT_EQ(session.FFoundCount, 0);
  EXPECT_FALSE(session.Unsaved);
  EXPECT_EQ(session.LbNbMots, "2 Lignes") << "a save leaves the label";
  EXPECT_TRUE(window.questions.empty()) << "a new file needs no question";
  ASSERT_EQ(window.rebuilt, 1) << "the new list joins the drop-down";
  EXPECT_EQ(*window.items, QStringList{"Courante"});
}

TEST_F(Lists, SavingUnderTheSameNameAsksNothingAndKeepsTheItems) {
  PutFile(PathOf("Courante.tnx"), "old\r\n");
  window.name = "Courante";
  EXPECT_TRUE(commands.BtSauverClick());
  EXPECT_TRUE(window.questions.empty());
  EXPECT_EQ(window.rebuilt, 0);
  EXPECT_EQ(FileBytes(PathOf("Courante.tnx")), "un\tone\t5\t4\t0,800\r\ndeux\ttwo\t1\t0\t0,000\r\n");
}

TEST_F(Lists, SavingOverAnotherListAsksFirst) {
  PutFile(PathOf("Anglais.tnx"), kAnglais);
  window.name = "Anglais";
  EXPECT_TRUE(commands.BtSauverClick());
  EXPECT_EQ(window.questions, std::vector<QString>{"Ecraser cette liste ?"});
  EXPECT_EQ(session.FListName, "Anglais");
  EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")), ListText(session.SgListe));
}

TEST_F(Lists, DeleteRemovesTheFileEmptiesTheNameAndTheList) {
  PutFile(PathOf("Courante.tnx"), kAnglais);
  PutFile(PathOf("Autre.tnx"), kAnglais);
  window.name = "Courante";
  commands.BtDelListeClick();
  EXPECT_EQ(window.questions, std::vector<QString>{"Effacer cette liste ?"});
  EXPECT_FALSE(QFileInfo::exists(PathOf("Courante.tnx")));
  EXPECT_EQ(window.name, "");
  EXPECT_EQ(SortedItems(), QStringList{"Autre"});
  EXPECT_EQ(Rows(session.SgListe), std::vector<std::string>{";;;;"});
  EXPECT_EQ(session.FListName, "");
  EXPECT_EQ(session.FAskedCount, 0);
  EXPECT_EQ(session.FFoundCount, 0);
  EXPECT_TRUE(session.Unsaved) << "deleting leaves the mark";
  EXPECT_EQ(session.LbNbMots, "2 Lignes");
}

TEST_F(Lists, EmptyingTouchesNoFile) {
  PutFile(PathOf("Courante.tnx"), kAnglais);
  window.name = "Courante";
  commands.BtViderClick();
  EXPECT_EQ(window.questions, std::vector<QString>{"Vider cette liste ?"});
  EXPECT_EQ(FileBytes(PathOf("Courante.tnx")), kAnglais);
  EXPECT_EQ(Rows(session.SgListe), std::vector<std::string>{";;;;"});
  EXPECT_EQ(session.FListName, "");
  EXPECT_EQ(session.FAskedCount, 0);
  EXPECT_TRUE(session.Unsaved);
  EXPECT_EQ(window.name, "Courante");
  EXPECT_EQ(window.rebuilt, 0);
}

// ---------------------------------------------------------------- declined

struct Declined {
  const char* name;
  const char* question;
  std::function<void(ListCommands&)> action;
};

class DeclinedQuestions : public Lists, public ::testing::WithParamInterface<Declined> {};

TEST_P(DeclinedQuestions, ChangeNothing) {
  PutFile(PathOf("Anglais.tnx"), kAnglais);
  window.name = "Anglais";
  window.answer = false;
  const SessionState before(session);
  GetParam().action(commands);
  EXPECT_EQ(window.questions, std::vector<QString>{QString::fromUtf8(GetParam().question)});
  EXPECT_TRUE(SessionState(session) == before);
  EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")), kAnglais);
  EXPECT_EQ(window.name, "Anglais");
  EXPECT_EQ(window.rebuilt, 0);
  EXPECT_EQ(Entries(), QStringList{"Anglais.tnx"});
}

INSTANTIATE_TEST_SUITE_P(
    Confirmations, DeclinedQuestions,
    ::testing::Values(Declined{"Overwrite", "Ecraser cette liste ?", [](ListCommands& c) { c.BtSauverClick(); }},
                      Declined{"Delete", "Effacer cette liste ?", [](ListCommands& c) { c.BtDelListeClick(); }},
                      Declined{"Empty", "Vider cette liste ?", [](ListCommands& c) { c.BtViderClick(); }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- failures

TEST_F(Lists, AFailedLoadChangesNothing) {
  QDir().mkdir(PathOf("Dossier.tnx"));
  for (const char* name : {"Absente", "Dossier"}) {
    window.name = name;
    const SessionState before(session);
    const QString path = PathOf(name) + ".tnx";
    EXPECT_EQ(Failure([&] { commands.Button5Click(); }),
              "Impossible d'ouvrir le fichier \"" + path.toStdString() + "\". " +
                  std::strerror(std::string(name) == "Absente" ? ENOENT : EISDIR));
    EXPECT_TRUE(SessionState(session) == before) << name;
  }
}

TEST_F(Lists, AFailedSaveKeepsTheMarkAndTheOldFile) {
  PutFile(PathOf("Courante.tnx"), kAnglais);
  chmod(QFile::encodeName(PathOf("Courante.tnx")), 0444);
  window.name = "Courante";
  const SessionState before(session);
  EXPECT_EQ(Failure([&] { commands.BtSauverClick(); }),
            "Impossible de créer le fichier \"" + PathOf("Courante.tnx").toStdString() + "\". " +
                std::strerror(EACCES));
  EXPECT_TRUE(SessionState(session) == before);
  EXPECT_TRUE(session.Unsaved) << "closing still asks for a save";
  EXPECT_EQ(FileBytes(PathOf("Courante.tnx")), kAnglais);
  EXPECT_EQ(Entries(), QStringList{"Courante.tnx"});
}

// ---------------------------------------------------------------- edge cases

TEST_F(Lists, AfterDeleteSaveWritesTheEmptyNamedListWithoutAQuestion) {
  window.name = "Courante";
  commands.BtDelListeClick();
  session.SgListe.SetCell(0, 1, "mot");
  window.questions.clear();
  EXPECT_TRUE(commands.BtSauverClick());
  EXPECT_TRUE(window.questions.empty());
  EXPECT_EQ(FileBytes(PathOf(".tnx")), "mot\t\t\t\t\r\n");
  EXPECT_EQ(*window.items, QStringList{""}) << "an empty item for the list of the empty name";
}

TEST_F(Lists, AfterEmptyingSavingOverTheFileAsks) {
  PutFile(PathOf("Courante.tnx"), kAnglais);
  window.name = "Courante";
  session.FListName = "Courante";
  commands.BtViderClick();
  window.questions.clear();
  commands.BtSauverClick();
  EXPECT_EQ(window.questions, std::vector<QString>{"Ecraser cette liste ?"});
  EXPECT_EQ(FileBytes(PathOf("Courante.tnx")), "\t\t\t\t\r\n");
}

TEST_F(Lists, DeletingAMissingListStillEmptiesNameAndList) {
  window.name = "Absente";
  EXPECT_EQ(Failure([&] { commands.BtDelListeClick(); }), "(no error)");
  EXPECT_EQ(window.name, "");
  EXPECT_EQ(window.rebuilt, 1);
  EXPECT_EQ(Rows(session.SgListe), std::vector<std::string>{";;;;"});
}

TEST_F(Lists, DeleteNeverRemovesAFolderNorAReadOnlyList) {
  QDir().mkdir(PathOf("Dossier.tnx"));
  PutFile(PathOf("Lecture.tnx"), kAnglais);
  chmod(QFile::encodeName(PathOf("Lecture.tnx")), 0444);
  for (const char* name : {"Dossier", "Lecture"}) {
    window.name = name;
    commands.BtDelListeClick();
    EXPECT_EQ(window.name, "");
    EXPECT_EQ(Rows(session.SgListe), std::vector<std::string>{";;;;"});
  }
  EXPECT_TRUE(QFileInfo(PathOf("Dossier.tnx")).isDir());
  EXPECT_EQ(FileBytes(PathOf("Lecture.tnx")), kAnglais);
  EXPECT_EQ(SortedItems(), (QStringList{"Dossier", "Lecture"})) << "what stays is listed again";
}

struct NameCase {
  const char* name;
  const char* file;  // in the program folder
  const char* item;  // what the drop-down shows for it
  bool loads;        // loading the item reads that file
};

class ListNames : public Lists, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ListNames, AreListedAndLoadedAsOnThePlatform) {
  const NameCase& c = GetParam();
  PutFile(PathOf(c.file), kAnglais);
  commands.FillListNames();
  ASSERT_TRUE(window.items.has_value());
  EXPECT_EQ(*window.items, QStringList{QString::fromUtf8(c.item)});
  window.name = Ansi(c.item);
  if (c.loads) {
    commands.LoadList();
    EXPECT_EQ(session.SgListe.Cell(1, 2), "le chien");
  } else {
    EXPECT_EQ(Failure([&] { commands.LoadList(); }).rfind("Impossible d'ouvrir le fichier", 0), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, ListNames,
    ::testing::Values(NameCase{"Plain", "Anglais.tnx", "Anglais", true},
                      NameCase{"Accents", "Été à Noël.tnx", "Été à Noël", true},
                      NameCase{"Spaces", " deux  mots .tnx", " deux  mots ", true},
                      NameCase{"CapitalExtension", "CAPS.TNX", "CAPS.TNX", false},
                      NameCase{"ExtensionTwice", "a.tnx.tnx", "a", false},
                      NameCase{"EmptyName", ".tnx", "", true},
                      NameCase{"OutsideTheCodePage", "日本.tnx", "??", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Lists, AHiddenListIsNotListedButLoadsByName) {
  PutFile(PathOf(".cachee.tnx"), kAnglais);
  commands.FillListNames();
  EXPECT_TRUE(window.items->isEmpty());
  window.name = ".cachee";
  commands.LoadList();
  EXPECT_EQ(session.FListName, ".cachee");
}

TEST_F(Lists, AWideListWidensEverySaveAfterIt) {
  PutFile(PathOf("Large.tnx"), Fixture("seven_fields.tnx"));
  PutFile(PathOf("Anglais.tnx"), kAnglais);
  window.name = "Large";
  commands.LoadList();
  window.name = "Anglais";
  commands.LoadList();
  commands.SaveList();
  EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")),
            "the house\tla maison\t3\t2\t0,667\t\t\r\nthe dog\tle chien\t\t\t\t\t\r\n");
}

TEST_F(Lists, ANameWithASlashReachesIntoASubfolder) {
  QDir().mkdir(PathOf("sous"));
  window.name = "sous/Liste";
  commands.SaveList();
  EXPECT_TRUE(QFileInfo(PathOf("sous/Liste.tnx")).isFile());
  window.name = "absent/Liste";
  EXPECT_EQ(Failure([&] { commands.SaveList(); }).rfind("Impossible de créer le fichier", 0), 0u);
}

}  // namespace
}  // namespace tenaxo
