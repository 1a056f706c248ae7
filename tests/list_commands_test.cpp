// "Charger", "Sauver", "Supprimer", "Vider liste" and the list names, against a program folder of the test's own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>
#include <new>

#include "FakeListWindow.h"
#include "FileIo.h"

// Memory runs out on demand: the allocation numbered failAt fails (-1: none).
static long allocations = 0, failAt = -1;
void* operator new(std::size_t size) {
  void* block = allocations++ == failAt ? nullptr : std::malloc(size ? size : 1);
  return block ? block : throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace tenaxo {
namespace {
using namespace test;
using namespace std::string_literals;

const std::string kMark = "\xEF\xBB\xBF";
const std::string kAnglais =
    "the house\tla maison\t3\t2\t0,667\r\nthe dog\tle chien\t\t\t\r\nthe cat\tle chat\t\t\t\r\n";
const std::string kOld = "vieux\told\t\t\t\r\n";
const std::string kSaved = "un\tone\t5\t4\t0,800\r\ndeux\ttwo\t1\t0\t0,000\r\n";  // the session's list
const std::vector<std::string> kRows = {"un;one;5;4;0,800", "deux;two;1;0;0,000"};

// A session in the middle of a series, with unsaved answers, beside the lists "Anglais", "Courante" and the read-only
// "Lecture".
class Lists : public test::ProgramFolder {
 protected:
  void SetUp() override {
    test::ProgramFolder::SetUp();
    session.table = test::MakeTable(kRows);
    session.table.SetCurrentCell(1, 2);
    session.listName = "Courante";
    session.askedCount = 6;
    session.foundCount = 4;
    session.questionRow = 2;
    session.unsaved = true;
    session.lineCount = 2;
    PutFile(PathOf("Anglais.tnx"), kAnglais);
    PutFile(PathOf("Courante.tnx"), kOld);
    PutFile(PathOf("Lecture.tnx"), kOld);
    chmod(QFile::encodeName(PathOf("Lecture.tnx")).constData(), 0444);
  }

  std::string LoadNamed(const std::string& name) {
    window.name = name;
    return ErrorOf([&] { commands.LoadList(); });
  }

  Session session;
  test::FakeWindow window;
  ListCommands commands{session, window.Bind()};
};

void Load(ListCommands& c) { c.LoadList(); }
void Save(ListCommands& c) { c.SaveList(); }
void Delete(ListCommands& c) { c.DeleteList(); }
void Empty(ListCommands& c) { c.ClearList(); }

TEST_F(Lists, EachCommandsEffects) {
  const std::vector<std::string> anglais = {"the house;la maison;3;2;0,667", "the dog;le chien;;;",
                                            "the cat;le chat;;;"};
  const QStringList all = {"Anglais", "Courante", "Lecture"};
  const struct {
    const char* name;  // the drop-down's text when clicked
    void (*click)(ListCommands&);
    const char* question;  // the confirmation asked, "" for none
    std::vector<std::string> rows;
    const char* listName;
    bool unsaved;
    const char *label, *shown;         // the count label; the drop-down's text after
    std::optional<QStringList> items;  // its items, sorted, when rebuilt
    const char* file;                  // a file of the program folder, with its bytes
    std::string bytes;
  } cases[] = {
      {"Anglais", Load, "", anglais, "Anglais", false, "3 Lignes", "Anglais", {}, "Anglais.tnx", kAnglais},
      {"Courante", Save, "", kRows, "Courante", false, "2 Lignes", "Courante", {}, "Courante.tnx", kSaved},
      {"Nouvelle", Save, "", kRows, "Nouvelle", false, "2 Lignes", "Nouvelle", all + QStringList{"Nouvelle"},
       "Nouvelle.tnx", kSaved},
      // A backslash in a list name separates folders, for every command.
      {"sous\\liste", Save, "", kRows, "sous\\liste", false, "2 Lignes", "sous\\liste", all, "sous/liste.tnx", kSaved},
      {"Anglais",
       Save,
       "Ecraser cette liste ?",
       kRows,
       "Anglais",
       false,
       "2 Lignes",
       "Anglais",
       {},
       "Anglais.tnx",
       kSaved},
      {"Courante",
       Delete,
       "Effacer cette liste ?",
       {";;;;"},
       "",
       true,
       "2 Lignes",
       "",
       QStringList{"Anglais", "Lecture"},
       "Courante.tnx",
       "<missing>"},
      {"Lecture", Delete, "Effacer cette liste ?", {";;;;"}, "", true, "2 Lignes", "", all, "Lecture.tnx", kOld},
      {"Courante", Empty, "Vider cette liste ?", {";;;;"}, "", true, "2 Lignes", "Courante", {}, "Courante.tnx", kOld},
  };
  QDir().mkdir(PathOf("sous"));
  for (const auto& c : cases) {
    QFile::remove(PathOf("Nouvelle.tnx"));  // each case from the same start
    SetUp();
    window = test::FakeWindow();
    SCOPED_TRACE(std::string(c.name) + " " + c.question);
    window.name = c.name;
    c.click(commands);
    EXPECT_EQ(window.questions, c.question[0] ? std::vector<QString>{c.question} : std::vector<QString>{});
    EXPECT_EQ(Rows(session.table), c.rows);
    EXPECT_EQ(session.listName, c.listName);
    EXPECT_EQ(session.askedCount, 0) << "a fresh series";
    EXPECT_EQ(session.foundCount, 0);
    EXPECT_EQ(session.unsaved, c.unsaved);
    EXPECT_EQ(std::to_string(session.lineCount) + " Lignes", c.label);
    EXPECT_EQ(window.name, c.shown);
    if (window.items) window.items->sort();
    EXPECT_EQ(window.items, c.items);
    EXPECT_EQ(FileBytes(PathOf(c.file)), c.bytes);
    // Whatever row the editor stood on, a loaded list starts at row 1.
    if (c.click != Load) continue;
    EXPECT_EQ(session.table.CurrentRow(), 1);
    EXPECT_EQ(session.table.CurrentCol(), 1);
  }
}

TEST_F(Lists, DeclinedQuestionsAndAFailedLoadChangeNothing) {
  window.name = "Anglais";
  window.answer = false;
  const std::string before = StateOf(session);
  for (void (*click)(ListCommands&) : {Save, Delete, Empty}) click(commands);
  EXPECT_EQ(window.questions.size(), 3u);
  EXPECT_EQ(StateOf(session) + window.name, before + "Anglais");
  EXPECT_FALSE(window.items.has_value());
  EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")), kAnglais);
  // A marked file that is not UTF-8 all through is refused, naming the line.
  PutFile(PathOf("Faux.tnx"), kMark + "ok\r\nok\r\nok\rok\n\xC3\xA9 puis \xE9\r\nfin\r\n");
  for (const auto& [name, error] : {std::pair{"Absente", "Impossible d'ouvrir le fichier \"" + PathOf("Absente.tnx")},
                                    {"Faux", "Le fichier \"" + PathOf("Faux.tnx") +
                                                 "\" est marqué UTF-8, mais sa "
                                                 "ligne 5 n'est pas de l'UTF-8 valide."}}) {
    EXPECT_EQ(LoadNamed(name).substr(0, error.toStdString().size()), error.toStdString());
    EXPECT_EQ(StateOf(session), before);
  }
  // Memory runs out at each allocation of a load in turn: the session stays as it was, its current cell too.
  const std::string memory = "Mémoire insuffisante pour charger la liste \"" + PathOf("Anglais.tnx").toStdString();
  long k = 0;
  for (;; ++k) {
    failAt = k, allocations = 0;
    const std::string error = LoadNamed("Anglais");
    failAt = -1;
    if (error == "(no error)") break;  // past the load's last allocation
    EXPECT_EQ(error + StateOf(session) + char('0' + session.table.CurrentRow()), memory + "\"." + before + "2") << k;
  }
  EXPECT_GT(k, 5);
}

// Every plain file and folder whose name ends in ".tnx", letter case ignored, but no hidden entry: the item is the name
// up to its first ".tnx", in any script. An item loads when that gives the file's own name back.
TEST_F(Lists, TheDropDownListsTheListFilesAndFolders) {
  for (const char* file : {"Été à Noël.tnx", " deux  mots .tnx", "CAPS.TNX", "a.tnx.tnx", ".tnx", ".cachée.tnx",
                           "notes.txt", "Anglais.tnxx", "日本😀.tnx"})
    PutFile(PathOf(file), kAnglais);
  QDir().mkdir(PathOf("dossier.tnx"));
  QDir().mkdir(PathOf(".dossier.tnx"));
  mkfifo(QFile::encodeName(PathOf("tube.tnx")).constData(), 0644);
  symlink("Anglais.tnx", QFile::encodeName(PathOf("lien.tnx")).constData());
  symlink("absent", QFile::encodeName(PathOf("casse.tnx")).constData());
  commands.FillListNames();
  ASSERT_TRUE(window.items.has_value());
  window.items->sort();
  EXPECT_EQ(*window.items,
            (QStringList{"", " deux  mots ", "Anglais", "CAPS.TNX", "Courante", "Lecture", "a", "dossier", "lien",
                         QString::fromUtf8("Été à Noël"), QString::fromUtf8("日本😀")}));
  for (const char* item : {"", " deux  mots ", "Été à Noël", "lien", ".cachée", "日本😀"}) {
    EXPECT_EQ(LoadNamed(item), "(no error)") << item;
    EXPECT_EQ(session.table.Cell(1, 2), "le chien") << item;
  }
  for (const char* item : {"CAPS.TNX", "a"}) EXPECT_NE(LoadNamed(item), "(no error)") << item;
}

// Another program wrote the list since it was loaded or saved: "Sauver" asks before writing over it, and "Non" keeps
// the file and the unsaved changes.
TEST_F(Lists, OnlyAListChangedOnDiskAsksBeforeTheSave) {
  const QString question = "La liste a été modifiée sur le disque depuis son chargement. L'écraser ?";
  LoadNamed("Anglais");
  session.unsaved = true;
  window.answer = false;
  PutFile(PathOf("Anglais.tnx"), kAnglais);  // the same bytes again
  EXPECT_EQ(commands.SaveList(), SaveResult::Saved);
  EXPECT_TRUE(window.questions.empty());
  session.table.SetCell(0, 1, "changed");
  session.unsaved = true;
  PutFile(PathOf("Anglais.tnx"), kAnglais + "x\ty\r\n");
  EXPECT_EQ(commands.SaveList(), SaveResult::ChangedOnDisk);
  EXPECT_EQ(window.questions, std::vector<QString>{question});
  EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")), kAnglais + "x\ty\r\n");
  EXPECT_TRUE(session.unsaved);
  window.answer = true;
  EXPECT_EQ(commands.SaveList(), SaveResult::Saved);
  EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")).substr(0, 8), "changed\t");
  window.questions.clear();
  EXPECT_EQ(commands.SaveList(), SaveResult::Saved) << "its own save is no change";
  EXPECT_TRUE(window.questions.empty());
}

// Only the new files of saves killed half-way, last written before the start, go.
TEST_F(Lists, LeftoversOfKilledSavesAreRemoved) {
  const struct {
    const char* name;
    bool old, goes;
  } cases[] = {{".tnx-Ab12cZ", true, true}, {".tnx-Zz9999", false, false}, {".tnx-abcdefg", true, false},
               {".tnx-abc", true, false},   {"x.tnx-abcdef", true, false}, {".tnx-ab_cde", true, false},
               {"Anglais.tnx", true, false}};
  const long long start = time(nullptr);
  for (const auto& c : cases) {
    PutFile(PathOf(c.name), "x");
    const timeval times[2] = {{start - 10, 0}, {c.old ? start - 10 : start + 1, 0}};
    ASSERT_EQ(utimes(QFile::encodeName(PathOf(c.name)).constData(), times), 0);
  }
  const QByteArray link = QFile::encodeName(PathOf(".tnx-Lien99"));  // a link, not a file of a save
  const timeval times[2] = {{start - 10, 0}, {start - 10, 0}};
  ASSERT_TRUE(symlink("Anglais.tnx", link.constData()) == 0 && lutimes(link.constData(), times) == 0);
  EXPECT_EQ(RemoveLeftoverSaves(Folder(), start), 1);
  for (const auto& c : cases) EXPECT_EQ(FileBytes(PathOf(c.name)), c.goes ? "<missing>" : "x") << c.name;
  EXPECT_TRUE(QFileInfo(PathOf(".tnx-Lien99")).isSymLink());
}

// A list is read in the encoding its bytes show and saved back in it, byte for byte; a new character the code page
// lacks turns a Windows-1252 list into UTF-8 with the mark.
TEST_F(Lists, EncodingsRoundTripByteForByte) {
  // The bytes; the first row loaded, in the short form ("" unchecked); a text typed into Droite of row 1 before the
  // save ("" for nothing); the file after the save ("" for the bytes read).
  const struct {
    std::string bytes, firstRow;
    const char* added;
    std::string saved;
  } cases[] = {
      {FileBytes(TENAXO_TEST_DATA "/every_byte.tnx"), "", "", ""},  // Windows-1252, each byte 0x01-0xFF but TAB, CR, LF
      // Each byte is its character of the code page, the five it leaves free the control characters of that number.
      {"\x80\x81\x8C\xA0\xFF\t\t\t\t\r\n", "€\u0081Œ\u00A0ÿ;;;;", "", ""},
      {kMark + "żółw\tχελώνα\t1\t1\t0,500\r\n", "żółw;χελώνα;1;1;0,500", "", ""},
      {"日本語\tété\t\t\t\r\n", "日本語;été;;;", "", ""},
      // One sequence that is not UTF-8 makes the file Windows-1252, also after a good one: a byte of the code page, a
      // surrogate, an overlong form, beyond U+10FFFF, cut short.
      {"ж\tcaf\xE9 au lait\t\t\t\r\n", "Ð¶;café au lait;;;", "", ""},
      {"ж\t\xED\xA0\x80\t\t\t\r\n", "Ð¶;í\u00A0€;;;", "", ""},
      {"ж\t\xC0\xAF\t\xF0\x8F\xBF\xBF\t\xE0\x9F\xBF\t\r\n", "Ð¶;À¯;ð\u008F¿¿;àŸ¿;", "", ""},
      {"ж\t\xF4\x90\x80\x80\t\t\t\r\n", "Ð¶;ô\u0090€€;;;", "", ""},
      {"ж\t\xE2\x82\t\t\t\r\n", "Ð¶;â‚;;;", "", ""},
      {"😀\t\xF1\x90\x80\x80\t\xE0\xA0\x80\t\xEE\x80\x80\t\xF4\x8F\xBF\xBF\r\n", "😀;\U00050000;\u0800;\uE000;\U0010FFFF",
       "", ""},
      {kMark, ";;;;", "", kMark + "\t\t\t\t\r\n"},
      {kMark + "a\r\n\0\xFF"s, "a;;;;", "", kMark + "a\t\t\t\t\r\n"},  // a NUL ends the text
      {"caf\xE9\r\n", "café;;;;", "œ€™", "caf\xE9\t\x9C\x80\x99\t\t\t\r\n"},
      // U+2123 comes just after the code page's last character, ™ (U+2122).
      {"caf\xE9\r\n", "café;;;;", "℣", kMark + "café\t℣\t\t\t\r\n"},
      {"prix\t5\x80", "prix;5€;;;", "", "prix\t5\x80\t\t\t\r\n"},
      {"日本", "日本;;;;", "é", "日本\té\t\t\t\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes.substr(0, 40)));
    const std::string saved = c.saved.empty() ? c.bytes : c.saved;
    PutFile(PathOf("Liste.tnx"), c.bytes);
    LoadNamed("Liste");
    if (!c.firstRow.empty()) {
      EXPECT_EQ(Rows(session.table).front(), c.firstRow);
    }
    if (c.added[0]) session.table.SetCell(1, 1, c.added);
    commands.SaveList();
    EXPECT_EQ(FileBytes(PathOf("Liste.tnx")), saved);
    LoadNamed("Liste");
    EXPECT_EQ(commands.SaveList(), SaveResult::Saved);
    EXPECT_EQ(FileBytes(PathOf("Liste.tnx")), saved) << "a second load and save changes nothing";
  }
}

}  // namespace
}  // namespace tenaxo
