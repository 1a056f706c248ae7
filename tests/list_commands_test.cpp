// SPDX-License-Identifier: GPL-3.0-or-later
// "Charger", "Sauver", "Supprimer", "Vider liste", "Importer des listes..." and the list names, in a folder of its own.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
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
using S = std::string;
using Texts = std::vector<std::string>;
using Click = void (*)(ListCommands&);

const std::string kNone = "(no error)", kOld = "vieux\told\t\t\t\r\n", kOther = "autre\r\n";
const std::string kAnglais = "a\tA\t3\t2\t0,667\r\nb\tB\t\t\t\r\nc\tC\t\t\t\r\n";
const std::string kSaved = "un\tone\t5\t4\t0,800\r\ndeux\ttwo\t1\t0\t0,000\r\n";  // the session's list, saved
const Click load = [](ListCommands& c) { c.LoadList(); };
const Click save = [](ListCommands& c) { c.SaveList(); };
const Click erase = [](ListCommands& c) { c.DeleteList(); };
const Click clear = [](ListCommands& c) { c.ClearList(); };
// Something else writes the list file, then "Sauver".
const Click saveOverOther = [](ListCommands& c) { PutFile(AppFolder() + "Courante.tnx", kOther), c.SaveList(); };
const Click import = [](ListCommands& c) {
  c.ImportFiles({AppFolder() + "mots.txt", AppFolder() + "vide.txt", AppFolder() + "Anglais.txt"});
};

// "Courante" loaded, answered, unsaved; "Anglais", read-only "Lecture", empty lists, three files to import.
class Lists : public ProgramFolder {
 protected:
  void SetUp() override {
    ProgramFolder::SetUp();
    for (const char* name : {"Courante.tnx", "Lecture.tnx"}) PutFile(PathOf(name), kOld);
    PutFile(PathOf("Anglais.tnx"), kAnglais);
    for (const char* name : {"Été à Noël.tnx", "CAPS.TNX", "a.tnx.tnx", ".tnx", "vide.txt"}) PutFile(PathOf(name), "");
    SetMode(PathOf("Lecture.tnx"), 0444);
    QDir().mkdir(PathOf("sous"));
    PutFile(PathOf("mots.txt"), "chat\tcat\r\n");
    PutFile(PathOf("Anglais.txt"), "un\tone\r\ndeux\ttwo\r\n");
    EXPECT_EQ(Run(load, "Courante"), kNone);
    session.table = MakeTable({"un;one;5;4;0,800", "deux;two;1;0;0,000"});
    session.table.SetCurrentCell(1, 2);
    session.askedCount = 6, session.unsaved = true, session.lineCount = 2;
    window = FakeWindow();
  }
  // The command clicked with the drop-down showing the name, the user answering as told; the message it fails with.
  std::string Run(Click click, const std::string& shown, bool answer = true) {
    return window.name = shown, window.answer = answer, ErrorOf([&] { click(commands); });
  }

  QString Load(const char* list) { return window.name = list, commands.LoadList(); }

  Session session;
  FakeWindow window;
  ListCommands commands{session, window.Bind()};
};

// A click, a name shown, an answer: the question, the failure, a file, then the session and drop-down, or no change.
TEST_F(Lists, EachCommandsDecisions) {
  const QString ecraser = "Ecraser cette liste ?", vider = "Vider cette liste ?",
                corbeille = "Mettre cette liste à la corbeille ?",
                changed = "La liste a été modifiée sur le disque depuis son chargement. L'écraser ?";
  const std::string stopped = "Aucune liste n'a été importée : la liste en cours n'a pas été sauvegardée.";
  const Texts rows = {"un;one;5;4;0,800", "deux;two;1;0;0,000"}, blank = {";;;;"};
  // The drop-down's items: the names of the list files up to their first ".tnx".
  const QStringList all = {"", "Anglais", "CAPS.TNX", "Courante", "Lecture", "a", "Été à Noël"};
  const struct {
    const char *name, *shown;
    Click click;
    bool answer;
    QString question;
    std::string error, file, bytes;
    Texts rows = {};  // none: nothing changed
    const char *listName = "", *shownAfter = "";
    std::optional<QStringList> items = {};  // sorted
  } cases[] = {
      // clang-format off
      {"load", "Anglais", load, true, "", kNone, "Anglais.tnx", kAnglais, {"a;A;3;2;0,667", "b;B;;;", "c;C;;;"},
       "Anglais", "Anglais"},
      {"load a missing list", "Absente", load, true, "", "Impossible d'ouvrir le fichier \"" +
       PathOf("Absente.tnx").toStdString() + "\". " + std::strerror(ENOENT), "Absente.tnx", "<missing>"},
      {"save", "Courante", save, true, "", kNone, "Courante.tnx", kSaved, rows, "Courante", "Courante"},
      {"save a new list, in a subfolder", "sous\\liste", save, true, "", kNone, "sous/liste.tnx", kSaved, rows,
       "sous\\liste", "sous\\liste", all},
      {"save over another list", "Anglais", save, true, ecraser, kNone, "Anglais.tnx", kSaved, rows, "Anglais",
       "Anglais"},
      {"save over another list, declined", "Anglais", save, false, ecraser, kNone, "Anglais.tnx", kAnglais},
      {"save over a list changed on disk", "Courante", saveOverOther, true, changed, kNone, "Courante.tnx", kSaved,
       rows, "Courante", "Courante"},
      {"save over a list changed on disk, declined", "Courante", saveOverOther, false, changed, kNone, "Courante.tnx",
       kOther},
      {"delete", "Courante", erase, true, corbeille, kNone, "Courante.tnx", "<missing>", blank, "", "",
       QStringList{"", "Anglais", "CAPS.TNX", "Lecture", "a", "Été à Noël"}},
      {"delete a read-only list: it stays", "Lecture", erase, true, corbeille, kNone, "Lecture.tnx", kOld, blank, "", "",
       all},
      {"delete, declined", "Anglais", erase, false, corbeille, kNone, "Anglais.tnx", kAnglais},
      {"clear", "Anglais", clear, true, vider, kNone, "Anglais.tnx", kAnglais, blank, "", "Anglais"},
      {"clear, declined", "Anglais", clear, false, vider, kNone, "Anglais.tnx", kAnglais},
      {"import, saving declined", "Anglais", import, false, ecraser, stopped, "mots.tnx", "<missing>"},
      {"import, saving fails", "Lecture", import, true, ecraser, "Impossible de créer le fichier \"" +
       PathOf("Lecture.tnx").toStdString() + "\". " + std::strerror(EACCES) + "\n" + stopped, "mots.tnx", "<missing>"},
      {"import after saving", "Courante", import, true, "", kNone, "Courante.tnx", kSaved, {"un;one;;;", "deux;two;;;"},
       "Anglais 2", "Anglais 2", QStringList{"", "Anglais", "Anglais 2", "CAPS.TNX", "Courante", "Lecture", "a", "mots",
                                             "Été à Noël"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    const Session before = session;
    const int descriptors = QDir("/proc/self/fd").count();
    EXPECT_EQ(Run(c.click, c.shown, c.answer), c.error);
    EXPECT_EQ(QDir("/proc/self/fd").count(), descriptors) << "no file left open";
    EXPECT_EQ(window.questions, c.question.isEmpty() ? std::vector<QString>() : std::vector<QString>{c.question});
    EXPECT_EQ(FileBytes(PathOf(c.file.c_str())), c.bytes);
    if (window.items) window.items->sort();
    EXPECT_EQ(window.items, c.items);
    if (c.rows.empty()) {
      ExpectUnchanged(session, before);
      EXPECT_EQ(window.name, c.shown);
      continue;
    }
    EXPECT_EQ(Cells(session.table), Split(c.rows));
    EXPECT_EQ(session.listName, c.listName);
    EXPECT_EQ(window.name, c.shownAfter);
    EXPECT_EQ(session.askedCount, 0) << "a fresh series";
    EXPECT_EQ(session.unsaved, c.click == erase || c.click == clear);
    EXPECT_EQ(session.lineCount, c.click == load ? 3 : 2);
    EXPECT_EQ(session.table.CurrentRow(), c.click == save || c.click == saveOverOther ? 2 : 1) << "a new list: row 1";
  }
}

// Memory runs out at each allocation of a load in turn: the session stays as it was, its current cell too.
TEST_F(Lists, RunningOutOfMemoryInALoadChangesNothing) {
  const Session before = session;
  long k = 0;
  for (std::string error; (failAt = k, allocations = 0, error = Run(load, "Anglais")) != kNone; ++k) {
    EXPECT_EQ(error, "Mémoire insuffisante pour charger la liste \"" + PathOf("Anglais.tnx").toStdString() + "\".")
        << "allocation " << k;
    ExpectUnchanged(session, before);
  }
  failAt = -1;
  EXPECT_GT(k, 5);
}

// UTF-16 read whole, told once, saved as UTF-8 with the mark; undecodable files refused and left alone.
TEST_F(Lists, Utf16IsReadWholeAndUnreadableFilesStay) {
  QFile::copy(TENAXO_TEST_DATA "/exchange/utf16.tnx", PathOf("Unicode.tnx"));
  EXPECT_NE(Load("Unicode"), QString());
  EXPECT_EQ(Cells(session.table), Split({"chat;cat;3;2;", "élan;🙂;;;"}));
  EXPECT_EQ(commands.SaveList(), SaveResult::Saved);
  EXPECT_EQ(FileBytes(PathOf("Unicode.tnx")), "\uFEFFchat\tcat\t3\t2\t\r\nélan\t🙂\t\t\t\r\n");
  EXPECT_EQ(Load("Unicode"), QString()) << "told once";
  PutFile(PathOf("Sans marque.tnx"), S("a\0b\0", 4));
  EXPECT_NE(ErrorOf([&] { Load("Sans marque"); }), "(no error)");
  session.unsaved = true;
  EXPECT_NE(ErrorOf([&] { commands.SaveList(); }), "(no error)");
  EXPECT_EQ(FileBytes(PathOf("Sans marque.tnx")), S("a\0b\0", 4));
  EXPECT_EQ(Load("Anglais"), QString());
  window.name = "Sans marque";
  EXPECT_EQ(commands.SaveList(), SaveResult::Saved) << "written once another list is loaded";
}

// Each load, and an emptied list, takes the columns the list needs, at least the five.
TEST_F(Lists, EachLoadTakesTheWidthOfItsList) {
  PutFile(PathOf("Large.tnx"), "a" + S(10000, '\t') + "z\r\n");
  PutFile(PathOf("Petite.tnx"), "plus de seize octets\tb\r\n");
  Load("Large");
  EXPECT_EQ(session.table.ColCount(), 10001);
  Load("Petite");
  EXPECT_EQ(session.table.ColCount(), 5);
  commands.SaveList();
  EXPECT_EQ(FileBytes(PathOf("Petite.tnx")), "plus de seize octets\tb\t\t\t\r\n");
  Load("Large");
  commands.ClearList();
  EXPECT_EQ(session.table.ColCount(), 5);
}

// A list of many pieces is saved whole, in Windows-1252 while the code page holds it, else as UTF-8 with the mark (a
// character it lacks in the last row), UTF-8 read without the mark saved so; saved again it asks nothing, and one
// byte changed on disk is found. A file that cannot grow fails the save and keeps the list as it was.
TEST_F(Lists, ALargeListIsSavedWholeOrNotAtAll) {
  const std::tuple<const char*, FileEncoding, S, FileEncoding> cases[] = {
      {"Windows-1252", FileEncoding::Windows1252, "fin", FileEncoding::Windows1252},
      {"the last row not in the code page", FileEncoding::Windows1252, "жук", FileEncoding::Utf8Bom},
      {"UTF-8 without its mark", FileEncoding::Utf8, "fin", FileEncoding::Utf8},
  };
  for (const auto& [name, read, last, written] : cases) {
    SCOPED_TRACE(name);
    SetUp();
    Texts rows;
    S utf8, windows1252;
    for (int r = 0; r < 30000; ++r) {
      rows.push_back("été " + std::to_string(r) + ";w" + std::to_string(r) + ";;;");
      utf8 += "été " + std::to_string(r) + "\tw" + std::to_string(r) + "\t\t\t\r\n";
      windows1252 += "\xE9t\xE9 " + std::to_string(r) + "\tw" + std::to_string(r) + "\t\t\t\r\n";
    }
    rows.push_back(last + ";;;;");
    utf8 += last + "\t\t\t\t\r\n";
    windows1252 += last + "\t\t\t\t\r\n";
    session.table = MakeTable(rows), session.encoding = read;
    const S bytes = written == FileEncoding::Windows1252 ? windows1252
                    : written == FileEncoding::Utf8Bom   ? "\xEF\xBB\xBF" + utf8
                                                         : utf8;
    EXPECT_EQ(Run(save, "Courante"), kNone);
    EXPECT_EQ(Run(save, "Courante"), kNone);
    EXPECT_EQ(session.encoding, written);
    EXPECT_TRUE(FileBytes(PathOf("Courante.tnx")) == bytes) << "the bytes written";
    EXPECT_EQ(window.questions, std::vector<QString>());
    PutFile(PathOf("Courante.tnx"), S(bytes).replace(bytes.size() / 2, 1, "\x01"));
    EXPECT_EQ(Run(save, "Courante", false), kNone);
    EXPECT_EQ(window.questions.size(), 1u) << "changed on disk";
  }
  const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY}, small{100000, RLIM_INFINITY};
  signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const S error = Run(save, "Anglais");
  setrlimit(RLIMIT_FSIZE, &unlimited);
  EXPECT_EQ(error, "Erreur d'écriture dans le flux");
  EXPECT_EQ(FileBytes(PathOf("Anglais.tnx")), kAnglais);
  EXPECT_FALSE(Entries().join(' ').contains(".tnx-")) << "no new file left";
}

// A list always has a name; "Supprimer" trashes the list, or deletes it after a second question without a trash.
TEST_F(ProgramFolder, NamelessListsAreRefusedAndDeletedListsGoToTheTrash) {
  const std::string bytes = "a\tA\t\t\t\r\n", gone = "<missing>", refused = "Donnez un nom à la liste.";
  const QString trash = "Mettre cette liste à la corbeille ?",
                again = "La liste ne peut pas aller à la corbeille. Effacer cette liste définitivement ?";
  const QByteArray saved[] = {qgetenv("HOME"), qgetenv("XDG_DATA_HOME")};
  const QByteArray data = QFile::encodeName(Folder() + "data"), plain = QFile::encodeName(PathOf("plain"));
  PutFile(PathOf("plain"), "");                  // no trash can be made in a file
  qputenv("HOME", QFile::encodeName(Folder()));  // the lists' volume: the trash is the data folder's
  // the name shown, the command, the data folder, the answer, the questions, the error, the list file, the trashed one
  const std::tuple<S, Click, QByteArray, bool, std::vector<QString>, S, S, S> cases[] = {
      {"", load, data, true, {}, refused, bytes, gone},
      {" ", save, data, true, {}, refused, bytes, gone},
      {"  ", erase, data, true, {}, refused, bytes, gone},
      {"L", erase, data, true, {trash}, kNone, gone, bytes},
      {"L", erase, plain, true, {trash, again}, kNone, gone, gone},
  };
  for (const auto& [shown, click, dataHome, answer, questions, error, left, trashed] : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::tuple(shown, dataHome, answer)));
    QDir(Folder() + "data").removeRecursively();
    PutFile(PathOf((shown + ".tnx").c_str()), bytes);
    qputenv("XDG_DATA_HOME", dataHome);
    Session session;
    session.listName = "L";
    FakeWindow window{shown, answer, {}, {}};
    ListCommands commands(session, window.Bind());
    EXPECT_EQ(ErrorOf([&, &click = click] { click(commands); }), error);
    EXPECT_EQ(window.questions, questions);
    EXPECT_EQ(FileBytes(PathOf((shown + ".tnx").c_str())), left);
    EXPECT_EQ(FileBytes(Folder() + "data/Trash/files/L.tnx"), trashed);
    EXPECT_EQ(session.listName, left == bytes ? "L" : "") << "forgotten once its file is gone";
    // Unsaved changes under no name go to the rescue copy "sans nom <date>".
    if (error == refused) {
      EXPECT_EQ(QFileInfo(commands.SaveRescueCopy()).fileName().left(11), "sans nom 20");
    }
  }
  qputenv("HOME", saved[0]), qputenv("XDG_DATA_HOME", saved[1]);
}

}  // namespace
}  // namespace tenaxo
