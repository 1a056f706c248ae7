// SPDX-License-Identifier: GPL-3.0-or-later
// "Charger", "Sauver", "Supprimer", "Vider liste", the import and the list names, against a list folder of the test's
// own.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "FakeListWindow.h"

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
const std::string kAnglais = "a\tA\t3\t2\t0,667\r\nb\tB\t\t\t\r\nc\tC\t\t\t\r\n";
const std::string kOld = "vieux\told\t\t\t\r\n";
const std::string kSaved = "un\tone\t5\t4\t0,800\r\ndeux\ttwo\t1\t0\t0,000\r\n";  // the session's list
const std::vector<std::string> kRows = {"un;one;5;4;0,800", "deux;two;1;0;0,000"};
const std::vector<std::string> kAnglaisRows = {"a;A;3;2;0,667", "b;B;;;", "c;C;;;"};

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
    session.unsaved = true;
    session.lineCount = 2;
    PutFile(PathOf("Anglais.tnx"), kAnglais);
    PutFile(PathOf("Courante.tnx"), kOld);
    PutFile(PathOf("Lecture.tnx"), kOld);
    chmod(QFile::encodeName(PathOf("Lecture.tnx")).constData(), 0444);
    QDir().mkdir(PathOf("sous"));
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
  const QStringList all = {"Anglais", "Courante", "Lecture"};
  const std::vector<std::string> blank = {";;;;"};
  const struct {
    const char* name;
    const char* shown;  // the drop-down's text when clicked
    void (*click)(ListCommands&);
    const char* question;  // the confirmation asked, "" for none
    std::vector<std::string> rows;
    const char* listName;
    bool unsaved;
    int lineCount;
    const char* shownAfter;
    std::optional<QStringList> items;  // the drop-down's items, sorted, when rebuilt
    const char* file;                  // a file of the list folder, with its bytes
    std::string bytes;
  } cases[] = {
      // clang-format off
      {"load", "Anglais", Load, "", kAnglaisRows, "Anglais", false, 3, "Anglais", {}, "Anglais.tnx", kAnglais},
      {"save", "Courante", Save, "", kRows, "Courante", false, 2, "Courante", {}, "Courante.tnx", kSaved},
      {"save a new list", "Nouvelle", Save, "", kRows, "Nouvelle", false, 2, "Nouvelle",
       all + QStringList{"Nouvelle"}, "Nouvelle.tnx", kSaved},
      {"save into a subfolder", "sous\\liste", Save, "", kRows, "sous\\liste", false, 2, "sous\\liste",
       all, "sous/liste.tnx", kSaved},
      {"save over another list", "Anglais", Save, "Ecraser cette liste ?", kRows, "Anglais", false, 2, "Anglais",
       {}, "Anglais.tnx", kSaved},
      {"delete", "Courante", Delete, "Effacer cette liste ?", blank, "", true, 2, "",
       QStringList{"Anglais", "Lecture"}, "Courante.tnx", "<missing>"},
      {"delete a read-only list", "Lecture", Delete, "Effacer cette liste ?", blank, "", true, 2, "",
       all, "Lecture.tnx", kOld},
      {"clear", "Courante", Empty, "Vider cette liste ?", blank, "", true, 2, "Courante",
       {}, "Courante.tnx", kOld},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();  // each case from the same start
    QFile::remove(PathOf("Nouvelle.tnx"));
    window = test::FakeWindow();
    window.name = c.shown;
    c.click(commands);
    EXPECT_EQ(window.questions, c.question[0] ? std::vector<QString>{c.question} : std::vector<QString>{});
    EXPECT_EQ(Rows(session.table), c.rows);
    EXPECT_EQ(session.listName, c.listName);
    EXPECT_EQ(session.askedCount, 0) << "a fresh series";
    EXPECT_EQ(session.foundCount, 0);
    EXPECT_EQ(session.unsaved, c.unsaved);
    EXPECT_EQ(session.lineCount, c.lineCount);
    EXPECT_EQ(window.name, c.shownAfter);
    if (window.items) window.items->sort();
    EXPECT_EQ(window.items, c.items);
    EXPECT_EQ(FileBytes(PathOf(c.file)), c.bytes);
    // Whatever cell the editor stood on, a loaded or emptied list starts at row 1.
    EXPECT_EQ(session.table.CurrentRow(), c.click == Save ? 2 : 1);
  }
}

// "Annuler" or "Non", or a list that cannot be loaded (missing, or marked UTF-8 and not UTF-8 all through, naming the
// line): the session and the files stay as they were.
TEST_F(Lists, DeclinedQuestionsAndFailedLoadsChangeNothing) {
  PutFile(PathOf("Faux.tnx"), kMark + "ok\r\nok\r\nok\rok\n\xC3\xA9 puis \xE9\r\nfin\r\n");
  const struct {
    const char* name;
    const char* shown;
    void (*click)(ListCommands&);
    std::string error;
  } cases[] = {
      {"save over another list", "Anglais", Save, "(no error)"},
      {"delete", "Anglais", Delete, "(no error)"},
      {"clear", "Anglais", Empty, "(no error)"},
      {"load a missing list", "Absente", Load,
       "Impossible d'ouvrir le fichier \"" + PathOf("Absente.tnx").toStdString() + "\". " + std::strerror(ENOENT)},
      {"load a false UTF-8 list", "Faux", Load,
       "Le fichier \"" + PathOf("Faux.tnx").toStdString() +
           "\" est marqué UTF-8, mais sa ligne 5 n'est pas de l'UTF-8 valide."},
  };
  window.answer = false;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Session before = session;
    window.name = c.shown;
    EXPECT_EQ(ErrorOf([&] { c.click(commands); }), c.error);
    ExpectUnchanged(session, before);
    EXPECT_EQ(window.name, c.shown);
    EXPECT_FALSE(window.items.has_value());
    EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")), kAnglais);
  }
}

// Memory runs out at each allocation of a load in turn: the session stays as it was, its current cell too.
TEST_F(Lists, RunningOutOfMemoryInALoadChangesNothing) {
  const Session before = session;
  const std::string memory =
      "Mémoire insuffisante pour charger la liste \"" + PathOf("Anglais.tnx").toStdString() + "\".";
  long k = 0;
  for (;; ++k) {
    failAt = k, allocations = 0;
    const std::string error = LoadNamed("Anglais");
    failAt = -1;
    if (error == "(no error)") break;  // past the load's last allocation
    SCOPED_TRACE(k);
    EXPECT_EQ(error, memory);
    ExpectUnchanged(session, before);
  }
  EXPECT_GT(k, 5);
}

// The items are the names of the list files up to their first ".tnx", in any script; an item loads when that gives the
// file's own name back.
TEST_F(Lists, TheDropDownNamesTheListFiles) {
  for (const char* file : {"Été à Noël.tnx", "CAPS.TNX", "a.tnx.tnx", ".tnx"}) PutFile(PathOf(file), kAnglais);
  commands.FillListNames();
  ASSERT_TRUE(window.items.has_value());
  window.items->sort();
  EXPECT_EQ(*window.items, (QStringList{"", "Anglais", "CAPS.TNX", "Courante", "Lecture", "a", "Été à Noël"}));
  for (const auto& [item, loads] : {std::pair{"", true}, {"Été à Noël", true}, {"CAPS.TNX", false}, {"a", false}}) {
    SCOPED_TRACE(item);
    EXPECT_EQ(LoadNamed(item) == "(no error)", loads);
  }
}

// "Sauver" asks before writing over a list that something else wrote since it was loaded or saved; "Non" keeps the
// file and the unsaved changes.
TEST_F(Lists, AListChangedOnDiskIsWrittenOverOnlyWhenTheUserSaysSo) {
  const QString question = "La liste a été modifiée sur le disque depuis son chargement. L'écraser ?";
  const std::string other = kAnglais + "x\ty\r\n";
  const auto put = [&] { PutFile(PathOf("Anglais.tnx"), other); };
  const struct {
    const char* name;
    std::function<void()> meanwhile;
    bool answer;
    SaveResult result;
    bool asked;
    std::string file;
  } cases[] = {
      // clang-format off
      {"its own save", [&] { commands.SaveList(); }, false, SaveResult::Saved, false, "changed\t"},
      {"other bytes, kept", put, false, SaveResult::ChangedOnDisk, true, other},
      {"other bytes, written over", put, true, SaveResult::Saved, true, "changed\t"},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutFile(PathOf("Anglais.tnx"), kAnglais);
    LoadNamed("Anglais");
    session.table.SetCell(0, 1, "changed");
    c.meanwhile();
    session.unsaved = true;
    window.questions.clear();
    window.answer = c.answer;
    EXPECT_EQ(commands.SaveList(), c.result);
    EXPECT_EQ(window.questions, c.asked ? std::vector<QString>{question} : std::vector<QString>{});
    EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")).substr(0, c.file.size()), c.file);
    EXPECT_EQ(session.unsaved, c.result != SaveResult::Saved);
  }
}

// Each file becomes a list of a free name, the last one made loaded; a refused file is told and the others go on.
// Unsaved changes are saved first, or nothing is imported. (Skipped lines are told in the import window's test.)
TEST_F(Lists, ImportMakesAListPerFileAfterTheUnsavedChanges) {
  PutFile(PathOf("mots.txt"), "chat\tcat\r\n");
  PutFile(PathOf("Anglais.txt"), "un\tone\r\ndeux\ttwo\r\n");
  PutFile(PathOf("vide.txt"), "");
  const std::string stopped = "Aucune liste n'a été importée : la liste en cours n'a pas été sauvegardée.";
  const struct {
    const char* name;
    const char* shown;  // the drop-down's text: where the unsaved changes go
    bool answer;
    std::string error;
    const char* loaded;  // the study list's name then: the list made last, or the one before
    const char* courante;
  } cases[] = {
      // clang-format off
      {"saving declined", "Anglais", false, stopped, "Courante", kOld.c_str()},
      {"saving fails", "Lecture", true, "Impossible de créer le fichier \"" + PathOf("Lecture.tnx").toStdString() +
       "\". " + std::strerror(EACCES) + "\n" + stopped, "Courante", kOld.c_str()},
      {"saved first", "Courante", true, "(no error)", "Anglais 2", kSaved.c_str()},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    window.name = c.shown;
    window.answer = c.answer;
    std::vector<ImportReport> reports;
    EXPECT_EQ(ErrorOf([&] {
                reports = commands.ImportFiles({PathOf("mots.txt"), PathOf("vide.txt"), PathOf("Anglais.txt")});
              }),
              c.error);
    EXPECT_EQ(FileBytes(PathOf("Courante.tnx")), c.courante);
    EXPECT_EQ(session.listName, c.loaded);
    if (c.error != "(no error)") {
      EXPECT_EQ(FileBytes(PathOf("mots.tnx")), "<missing>");
      continue;
    }
    EXPECT_EQ(window.name, c.loaded);
    EXPECT_EQ(FileBytes(PathOf("mots.tnx")), "chat\tcat\t\t\t\r\n");
    EXPECT_EQ(ListCommands::ImportSummary(reports),
              "« mots.txt » → liste « mots » : 1 paire, aucune ligne ignorée.\n\n« vide.txt » : refusé. Le fichier \"" +
                  PathOf("vide.txt") +
                  "\" est vide.\n\n« Anglais.txt » → liste « Anglais 2 » : 2 paires, aucune ligne "
                  "ignorée.");
  }
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
      // One sequence that is not UTF-8 makes the file Windows-1252, also after a good one.
      {"ж\tcaf\xE9 au lait\t\t\t\r\n", "Ð¶;café au lait;;;", "", ""},
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
