// "Charger", "Sauver", "Supprimer", "Vider liste" and the list names, against
// a program folder of the test's own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sys/time.h>

#include "FailingAllocation.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using test::ErrorOf;
using test::FileBytes;
using test::PutFile;
using test::Rows;
using test::StateOf;
using test::Fixture;
using namespace std::string_literals;

const std::string kAnglais = "the house\tla maison\t3\t2\t0,667\r\nthe dog\tle chien\t\t\t\r\nthe cat\tle chat\t\t\t\r\n";
const std::string kOld = "vieux\told\t\t\t\r\n";
const std::string kSaved = "un\tone\t5\t4\t0,800\r\ndeux\ttwo\t1\t0\t0,000\r\n";  // the session's list
const std::vector<std::string> kRows = {"un;one;5;4;0,800", "deux;two;1;0;0,000"};

// A session in the middle of a series, with unsaved answers, beside the lists
// "Anglais", "Courante" and the read-only "Lecture".
class Lists : public test::ProgramFolder {
 protected:
  void SetUp() override {
    test::ProgramFolder::SetUp();
    session.SgListe = test::MakeTable(kRows);
    session.FListName = "Courante";
    session.FAskedCount = 6;
    session.FFoundCount = 4;
    session.FQuestionRow = 2;
    session.Unsaved = true;
    session.LbNbMots = "2 Lignes";
    PutFile(PathOf("Anglais.tnx"), kAnglais);
    PutFile(PathOf("Courante.tnx"), kOld);
    PutFile(PathOf("Lecture.tnx"), kOld);
    chmod(QFile::encodeName(PathOf("Lecture.tnx")).constData(), 0444);
  }

  Session session;
  test::FakeWindow window;
  ListCommands commands{session, window.Bind()};
};

const QStringList kAll = {"Anglais.tnx", "Courante.tnx", "Lecture.tnx"};

struct Effect {
  const char* test;
  const char* name;  // the drop-down's text when clicked
  void (*click)(ListCommands&);
  const char* question;  // the confirmation asked, "" for none
  std::vector<std::string> rows;
  const char* listName;
  bool unsaved;
  const char* label;
  const char* shown;                 // the drop-down's text after
  std::optional<QStringList> items;  // its items, sorted, when rebuilt
  const char* file;                  // a file of the program folder, with its bytes
  std::string bytes;
};

void PrintTo(const Effect& effect, std::ostream* out) { *out << effect.test; }

class Effects : public Lists, public ::testing::WithParamInterface<Effect> {};

TEST_P(Effects, OfEachCommand) {
  const Effect& c = GetParam();
  window.name = c.name;
  c.click(commands);
  EXPECT_EQ(window.questions, c.question[0] ? std::vector<QString>{c.question} : std::vector<QString>{});
  EXPECT_EQ(Rows(session.SgListe), c.rows);
  EXPECT_EQ(session.FListName, c.listName);
  EXPECT_EQ(session.FAskedCount, 0) << "a fresh series";
  EXPECT_EQ(session.FFoundCount, 0);
  EXPECT_EQ(session.Unsaved, c.unsaved);
  EXPECT_EQ(session.LbNbMots, c.label);
  EXPECT_EQ(window.name, c.shown);
  if (window.items) window.items->sort();
  EXPECT_EQ(window.items, c.items);
  EXPECT_EQ(FileBytes(PathOf(c.file)), c.bytes);
}

void Load(ListCommands& c) { c.Button5Click(); }
void Save(ListCommands& c) { c.BtSauverClick(); }
void Delete(ListCommands& c) { c.BtDelListeClick(); }
void Empty(ListCommands& c) { c.BtViderClick(); }

INSTANTIATE_TEST_SUITE_P(
    Lists, Effects,
    ::testing::Values(
        Effect{"Load", "Anglais", Load, "", {"the house;la maison;3;2;0,667", "the dog;le chien;;;", "the cat;le chat;;;"},
               "Anglais", false, "3 Lignes", "Anglais", std::nullopt, "Anglais.tnx", kAnglais},
        Effect{"SaveUnderItsName", "Courante", Save, "", kRows, "Courante", false, "2 Lignes", "Courante",
               std::nullopt, "Courante.tnx", kSaved},
        Effect{"SaveANewList", "Nouvelle", Save, "", kRows, "Nouvelle", false, "2 Lignes", "Nouvelle",
               QStringList{"Anglais", "Courante", "Lecture", "Nouvelle"}, "Nouvelle.tnx", kSaved},
        Effect{"SaveOverAnother", "Anglais", Save, "Ecraser cette liste ?", kRows, "Anglais", false, "2 Lignes",
               "Anglais", std::nullopt, "Anglais.tnx", kSaved},
        Effect{"Delete", "Courante", Delete, "Effacer cette liste ?", {";;;;"}, "", true, "2 Lignes", "",
               QStringList{"Anglais", "Lecture"}, "Courante.tnx", "<missing>"},
        Effect{"DeleteAMissingList", "Absente", Delete, "Effacer cette liste ?", {";;;;"}, "", true, "2 Lignes", "",
               QStringList{"Anglais", "Courante", "Lecture"}, "Courante.tnx", kOld},
        Effect{"DeleteAReadOnlyList", "Lecture", Delete, "Effacer cette liste ?", {";;;;"}, "", true, "2 Lignes", "",
               QStringList{"Anglais", "Courante", "Lecture"}, "Lecture.tnx", kOld},
        Effect{"Empty", "Courante", Empty, "Vider cette liste ?", {";;;;"}, "", true, "2 Lignes", "Courante",
               std::nullopt, "Courante.tnx", kOld}),
    [](const auto& info) { return std::string(info.param.test); });

TEST_F(Lists, DeclinedQuestionsAndAFailedLoadChangeNothing) {
  const std::pair<const char*, void (*)(ListCommands&)> cases[] = {
      {"Ecraser cette liste ?", Save}, {"Effacer cette liste ?", Delete}, {"Vider cette liste ?", Empty}};
  window.name = "Anglais";
  window.answer = false;
  const std::string before = StateOf(session);
  for (const auto& [question, click] : cases) {
    window.questions.clear();
    click(commands);
    EXPECT_EQ(window.questions, std::vector<QString>{question});
    EXPECT_EQ(StateOf(session), before) << question;
    EXPECT_EQ(window.name, "Anglais") << question;
    EXPECT_FALSE(window.items.has_value()) << question;
    EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")), kAnglais) << question;
    EXPECT_EQ(Entries(), kAll) << question;
  }
  window.name = "Absente";
  EXPECT_EQ(ErrorOf([&] { commands.Button5Click(); }).rfind("Impossible d'ouvrir le fichier", 0), 0u);
  EXPECT_EQ(StateOf(session), before);
}

// Every plain file and folder whose name ends in ".tnx", letter case ignored,
// but no hidden entry: the item is the name up to its first ".tnx", in any
// script. An item loads when that gives the file's own name back.
TEST_F(Lists, TheDropDownListsTheListFilesAndFolders) {
  for (const char* file : {"Été à Noël.tnx", " deux  mots .tnx", "CAPS.TNX", "a.tnx.tnx", ".tnx", ".cachée.tnx",
                           "notes.txt", "Anglais.tnxx", "日本😀.tnx"}) {
    PutFile(PathOf(file), kAnglais);
  }
  QDir().mkdir(PathOf("dossier.tnx"));
  QDir().mkdir(PathOf(".dossier.tnx"));
  mkfifo(QFile::encodeName(PathOf("tube.tnx")).constData(), 0644);
  symlink("Anglais.tnx", QFile::encodeName(PathOf("lien.tnx")).constData());
  symlink("absent", QFile::encodeName(PathOf("casse.tnx")).constData());
  commands.FillListNames();
  ASSERT_TRUE(window.items.has_value());
  window.items->sort();
  EXPECT_EQ(*window.items, (QStringList{"", " deux  mots ", "Anglais", "CAPS.TNX", "Courante", "Lecture", "a",
                                        "dossier", "lien", QString::fromUtf8("Été à Noël"), QString::fromUtf8("日本😀")}));
  for (const char* item : {"", " deux  mots ", "Été à Noël", "lien", ".cachée", "日本😀"}) {
    window.name = Ansi(item);
    EXPECT_EQ(ErrorOf([&] { commands.LoadList(); }), "(no error)") << item;
    EXPECT_EQ(session.SgListe.Cell(1, 2), "le chien") << item;
  }
  for (const char* item : {"CAPS.TNX", "a"}) {
    window.name = Ansi(item);
    EXPECT_NE(ErrorOf([&] { commands.LoadList(); }), "(no error)") << item;
  }
}

// Memory runs out at any allocation of a load: the session is as before
// (study list, name, counters, mark, label, current cell) and the message is
// French. The old list file is never written on the way.
TEST_F(Lists, ALoadThatRunsOutOfMemoryChangesNothing) {
  window.name = "Anglais";
  session.SgListe.SetCurrentCell(1, 2);
  const std::string before = StateOf(session) + " cell row " + std::to_string(session.SgListe.CurrentRow());
  Session spare = session;
  ListCommands counting(spare, window.Bind());
  test::ArmAllocationFailure(-1);
  counting.LoadList();
  test::DisarmAllocationFailure();
  const long allocations = test::AllocationsSinceArmed();
  ASSERT_GT(allocations, 5);
  for (long k = 0; k < allocations; ++k) {
    test::ArmAllocationFailure(k);
    const std::string error = ErrorOf([&] { commands.LoadList(); });
    test::DisarmAllocationFailure();
    EXPECT_EQ(error, "Mémoire insuffisante pour charger la liste \"" + PathOf("Anglais.tnx").toStdString() + "\".")
        << "allocation " << k;
    EXPECT_EQ(StateOf(session) + " cell row " + std::to_string(session.SgListe.CurrentRow()), before)
        << "allocation " << k;
  }
}

// Whatever row the editor stood on, a loaded list starts at row 1.
TEST_F(Lists, ALoadPutsTheCurrentCellOnRowOne) {
  window.name = "Anglais";
  session.SgListe.SetCurrentCell(1, 2);
  commands.LoadList();
  EXPECT_EQ(session.SgListe.CurrentRow(), 1);
  EXPECT_EQ(session.SgListe.CurrentCol(), 1);
}

// Another program wrote the list since it was loaded: "Sauver" asks before
// writing over it; "Non" keeps both the file and the unsaved changes.
TEST_F(Lists, AListChangedOnDiskIsNotOverwrittenWithoutAsking) {
  const std::string longer = kAnglais + "x\ty\t\t\t\r\n";
  std::string sameSize = kAnglais;
  sameSize[4] = 'H';
  const struct {
    const char* change;
    std::string bytes;
    bool asks;
  } cases[] = {{"more lines", longer, true}, {"as many bytes", sameSize, true}, {"the same bytes again", kAnglais, false}};
  const QString question = "La liste a été modifiée sur le disque depuis son chargement. L'écraser ?";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    window.name = "Anglais";
    PutFile(PathOf("Anglais.tnx"), kAnglais);
    commands.LoadList();
    session.SgListe.SetCell(0, 1, "changed");
    session.Unsaved = true;
    PutFile(PathOf("Anglais.tnx"), c.bytes);
    window.questions.clear();
    window.answer = false;
    EXPECT_EQ(commands.BtSauverClick(), c.asks ? SaveResult::ChangedOnDisk : SaveResult::Saved);
    EXPECT_EQ(window.questions, c.asks ? std::vector<QString>{question} : std::vector<QString>{});
    if (!c.asks) continue;
    EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")), c.bytes);
    EXPECT_TRUE(session.Unsaved);
    window.answer = true;
    EXPECT_EQ(commands.BtSauverClick(), SaveResult::Saved);
    EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")).substr(0, 8), "changed\t");
    window.questions.clear();
    session.Unsaved = true;
    EXPECT_EQ(commands.BtSauverClick(), SaveResult::Saved) << "its own save is no change";
    EXPECT_TRUE(window.questions.empty());
  }
}

// A backslash in a list name separates folders, for every command.
TEST_F(Lists, ABackslashInANameReachesIntoASubfolder) {
  ASSERT_TRUE(QDir().mkdir(PathOf("sous")));
  window.name = "sous\\liste";
  commands.BtSauverClick();
  EXPECT_EQ(FileBytes(PathOf("sous/liste.tnx")), kSaved);
  EXPECT_EQ(Entries(), (QStringList{"Anglais.tnx", "Courante.tnx", "Lecture.tnx", "sous"}));
  PutFile(PathOf("sous/liste.tnx"), kAnglais);
  commands.LoadList();
  EXPECT_EQ(session.SgListe.Cell(1, 2), "le chien");
  commands.BtDelListeClick();
  EXPECT_EQ(FileBytes(PathOf("sous/liste.tnx")), "<missing>");
}

// Only the new files of saves killed half-way, last written before the start,
// go.
TEST_F(Lists, LeftoversOfKilledSavesAreRemoved) {
  const struct {
    const char* name;
    bool old, goes;
  } cases[] = {{".tnx-Ab12cZ", true, true},   {".tnx-Zz9999", false, false}, {".tnx-abcdefg", true, false},
               {".tnx-abc", true, false},     {"x.tnx-abcdef", true, false}, {".tnx-ab_cde", true, false},
               {"Anglais.tnx", true, false}};
  const long long start = time(nullptr);
  for (const auto& c : cases) {
    PutFile(PathOf(c.name), "x");
    const timeval times[2] = {{start - 10, 0}, {c.old ? start - 10 : start + 1, 0}};
    ASSERT_EQ(utimes(QFile::encodeName(PathOf(c.name)).constData(), times), 0);
  }
  QDir().mkdir(PathOf(".tnx-dossie"));
  EXPECT_EQ(RemoveLeftoverSaves(Folder(), start), 1);
  for (const auto& c : cases) EXPECT_EQ(FileBytes(PathOf(c.name)), c.goes ? "<missing>" : "x") << c.name;
  EXPECT_TRUE(QFileInfo(PathOf(".tnx-dossie")).isDir());
}

// ---------------------------------------------------------------- encodings

// A list is read in the encoding its bytes show and saved back in it, byte
// for byte; a new character the code page lacks turns a Windows-1252 list
// into UTF-8 with the mark.
TEST_F(Lists, EncodingsRoundTripByteForByte) {
  const std::string every = Fixture("every_byte.tnx");  // Windows-1252, each byte 0x01-0xFF but TAB, CR, LF
  struct Case {
    const char* test;
    std::string bytes;
    std::string firstRow;  // loaded, in the short form
    const char* added;     // typed into Droite of row 1 before the save ("" for nothing)
    std::string saved;     // the file after the save
  };
  const std::string mark = "\xEF\xBB\xBF";
  const std::vector<Case> cases = {
      {"EveryByte", every, "", "", every},  // its first row: see below
      {"Utf8Marked", mark + "żółw\tχελώνα\t1\t1\t0,500\r\n", "żółw;χελώνα;1;1;0,500", "", ""},
      {"Utf8Unmarked", "日本語\tにほんご\t\t\t\r\n", "日本語;にほんご;;;", "", ""},
      {"MixedScripts", mark + "Москва\tΑθήνα\t\t\t\r\n서울\tירושלים\tالقاهرة\t\t\r\n", "Москва;Αθήνα;;;", "", ""},
      {"NotUtf8IsTheCodePage", "caf\xE9\t\xC3\t\t\t\r\n", "café;Ã;;;", "", ""},
      // One sequence that is not UTF-8 makes the file Windows-1252: a
      // surrogate, an overlong form, beyond U+10FFFF, cut short.
      {"SurrogateIsTheCodePage", "\xED\xA0\x80\tж\t\t\t\r\n", "í\u00A0€;Ð¶;;;", "", ""},
      {"OverlongIsTheCodePage", "\xC0\xAF\tж\t\t\t\r\n", "À¯;Ð¶;;;", "", ""},
      {"BeyondUnicodeIsTheCodePage", "\xF4\x90\x80\x80\tж\t\t\t\r\n", "ô\u0090€€;Ð¶;;;", "", ""},
      {"CutShortIsTheCodePage", "\xE2\x82\tж\t\t\t\r\n", "â‚;Ð¶;;;", "", ""},
      {"FourBytes", "😀\t\xF1\x90\x80\x80\t\xE0\xA0\x80\t\xEE\x80\x80\t\xF4\x8F\xBF\xBF\r\n",
       "😀;\U00050000;\u0800;\uE000;\U0010FFFF", "", ""},
      {"OverlongsAreTheCodePage", "\xF0\x8F\xBF\xBF\t\xE0\x9F\xBF\t\t\t\r\n", "ð\u008F¿¿;àŸ¿;;;", "", ""},
      {"CodePageThatLooksLikeUtf8", "\xC3\xA9t\xC3\xA9\t\t\t\t\r\n", "été;;;;", "", ""},
      {"MarkOnly", mark, ";;;;", "", mark + "\t\t\t\t\r\n"},
      {"NulEndsTheText", mark + "a\r\n\0\xFF"s, "a;;;;", "", mark + "a\t\t\t\t\r\n"},
      {"CodePageStays", "caf\xE9\r\n", "café;;;;", "œ€™", "caf\xE9\t\x9C\x80\x99\t\t\t\r\n"},
      // U+2123 comes just after the code page's last character, ™ (U+2122).
      {"CodePageBecomesUtf8", "caf\xE9\r\n", "café;;;;", "℣", mark + "café\t℣\t\t\t\r\n"},
      {"NoLastLineEnd", "prix\t5\x80", "prix;5€;;;", "", "prix\t5\x80\t\t\t\r\n"},
      {"Utf8StaysUnmarked", "日本\r\n", "日本;;;;", "é", "日本\té\t\t\t\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.test);
    if (c.bytes == every) {
      // Each byte is its character of the code page: 0x80 the euro sign, 0x81
      // the control character of that number, 0xFF ÿ.
      PutFile(PathOf("Liste.tnx"), every);
      window.name = "Liste";
      commands.LoadList();
      std::string cells;
      for (const std::string& row : Rows(session.SgListe)) cells += row;
      for (const char* character : {"€", "\u0081", "ÿ", "Œ", "\u00A0"}) {
        EXPECT_NE(cells.find(character), std::string::npos) << character;
      }
    }
    PutFile(PathOf("Liste.tnx"), c.bytes);
    window.name = "Liste";
    commands.LoadList();
    if (!c.firstRow.empty()) {
      EXPECT_EQ(Rows(session.SgListe).front(), c.firstRow);
    }
    if (c.added[0]) session.SgListe.SetCell(1, 1, c.added);
    commands.SaveList();
    EXPECT_EQ(FileBytes(PathOf("Liste.tnx")), c.saved.empty() ? c.bytes : c.saved);
    commands.LoadList();
    EXPECT_EQ(commands.SaveList(), SaveResult::Saved);
    EXPECT_EQ(FileBytes(PathOf("Liste.tnx")), c.saved.empty() ? c.bytes : c.saved)
        << "a second load and save changes nothing";
  }
}

TEST_F(Lists, ANewListIsSavedInTheCodePageWhileItHoldsEveryCharacter) {
  for (const auto& [cell, bytes] : std::vector<std::pair<std::string, std::string>>{
           {"Noël", "No\xEBl\t\t\t\t\r\n"}, {"日本", "\xEF\xBB\xBF日本\t\t\t\t\r\n"}}) {
    PutFile(PathOf("Vieille.tnx"), "\xEF\xBB\xBFold\r\n");
    window.name = "Vieille";
    commands.LoadList();
    commands.BtViderClick();  // the list comes from no file now
    session.SgListe.SetCell(0, 1, cell);
    window.name = "Neuve " + cell;
    commands.BtSauverClick();
    EXPECT_EQ(FileBytes(PathOf(("Neuve " + cell + ".tnx").c_str())), bytes);
  }
}

TEST_F(Lists, AMarkedFileWithBytesOtherThanUtf8IsRefused) {
  PutFile(PathOf("Faux.tnx"), "\xEF\xBB\xBFok\r\nok\r\nok\rok\n\xC3\xA9 puis \xE9\r\nfin\r\n");
  const std::string before = StateOf(session);
  window.name = "Faux";
  EXPECT_EQ(ErrorOf([&] { commands.LoadList(); }),
            "Le fichier \"" + PathOf("Faux.tnx").toStdString() +
                "\" est marqué UTF-8, mais sa ligne 5 n'est pas de l'UTF-8 valide.");
  EXPECT_EQ(StateOf(session), before);
}

TEST_F(Lists, TheShippedAnglaisListIsByteIdenticalAfterLoadAndSave) {
  const std::string shipped = FileBytes(QStringLiteral(TENAXO_TEST_DATA "/../../app/lists/Anglais.tnx"));
  ASSERT_GT(shipped.size(), 1000u);
  PutFile(PathOf("Anglais.tnx"), shipped);
  window.name = "Anglais";
  commands.LoadList();
  commands.SaveList();
  EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")), shipped);
}

}  // namespace
}  // namespace tenaxo
