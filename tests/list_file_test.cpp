// The list file format, the file reading and writing, and the folder listing.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "Errors.h"
#include "Outils.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using test::Fixture;
using test::FileBytes;
using test::PutFile;
using test::Rows;

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.Message().toStdString();
  }
  return "(no error)";
}

std::string SystemText(int error) { return std::strerror(error); }

StudyTable Loaded(const std::string& bytes) {
  StudyTable table;
  FillTable(table, ParseListText(bytes));
  return table;
}

// ---------------------------------------------------------------- reading

struct FormatCase {
  const char* fixture;
  std::vector<std::string> rows;
  int cols;
};

class ListFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ListFormat, LoadsTheRowsOfTheFile) {
  const FormatCase& c = GetParam();
  const StudyTable table = Loaded(Fixture(c.fixture));
  EXPECT_EQ(Rows(table), c.rows);
  EXPECT_EQ(table.ColCount(), c.cols);
}

const std::vector<std::string> kPairs = {"maison;house;3;2;0,667", "chien;dog;;;", "chat;cat;1;0;0,000"};

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ListFormat,
    ::testing::Values(FormatCase{"crlf.tnx", kPairs, 5}, FormatCase{"lf_only.tnx", kPairs, 5},
                      FormatCase{"cr_only.tnx", kPairs, 5},
                      FormatCase{"no_final_end.tnx", {"maison;house;3;2;0,667", "chien;dog;;;", "chat;cat;1;0;0,000"}, 5},
                      FormatCase{"mixed_ends.tnx", {"a;;;;", "b;;;;", "c;;;;", "d;;;;", ";;;;", "e;;;;"}, 5},
                      FormatCase{"trailing_tab.tnx", {"deux;cells;;;", "trois;cells;;;"}, 5},
                      FormatCase{"seven_fields.tnx", {"a;b;1;1;1,000;x;y", "c;d;;;;;z"}, 7},
                      FormatCase{"empty_line.tnx", {"a;b;;;", ";;;;", "c;d;;;"}, 5},
                      FormatCase{"nul.tnx", {"a;b;;;", "c;;;;"}, 5}, FormatCase{"empty.tnx", {";;;;"}, 5}),
    [](const auto& info) {
      std::string name = info.param.fixture;
      name = name.substr(0, name.find('.'));
      name.erase(std::remove(name.begin(), name.end(), '_'), name.end());
      return name;
    });

TEST(ListLines, LineEndsAndTrailingTabs) {
  EXPECT_TRUE(ParseListText("").empty());
  EXPECT_EQ(ParseListText("\r\n").size(), 1u) << "a trailing line end adds no row";
  EXPECT_EQ(ParseListText("\n\r").size(), 2u) << "LF then CR is two line ends";
  EXPECT_EQ(ParseListText("\r\n\r\n").size(), 2u);
  EXPECT_TRUE(ParseListText(std::string("\0a\tb\r\n", 6)).empty()) << "a NUL first ends the text at once";
  EXPECT_TRUE(ParseListText("\r\n")[0].empty()) << "an empty line has no cell";
  const ListLines tabs = ParseListText(Fixture("trailing_tab.tnx"));
  ASSERT_EQ(tabs.size(), 2u);
  EXPECT_EQ(tabs[0], (StudyTable::Row{"deux", "cells"})) << "one trailing TAB adds no cell";
  EXPECT_EQ(tabs[1], (StudyTable::Row{"trois", "cells", ""})) << "two trailing TABs add one empty cell";
}

// The lines cut as the tokenizer cuts them, for any text.
TEST(ListLines, CutLikeTheTokenizer) {
  std::mt19937 random(7);
  const char alphabet[] = {'a', 'b', '\t', '\t', ' ', '\xE9'};
  for (int round = 0; round < 2000; ++round) {
    std::string line;
    const int length = static_cast<int>(random() % 12);
    for (int k = 0; k < length; ++k) line += alphabet[random() % sizeof alphabet];
    StudyTable::Row expected;
    AnsiString source = line, token;
    while (!source.empty()) {
      CutToken(source, "\t", token);
      expected.push_back(token);
    }
    const ListLines lines = ParseListText(line + "\r\n");
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0], expected) << "line: " << line;
  }
}

TEST(ListTable, NeverNarrows) {
  StudyTable table;
  FillTable(table, ParseListText(Fixture("seven_fields.tnx")));
  FillTable(table, ParseListText(Fixture("crlf.tnx")));
  EXPECT_EQ(table.ColCount(), 7);
  EXPECT_EQ(ListText(table),
            "maison\thouse\t3\t2\t0,667\t\t\r\nchien\tdog\t\t\t\t\t\r\nchat\tcat\t1\t0\t0,000\t\t\r\n");
}

// ---------------------------------------------------------------- writing

struct WriteCase {
  const char* name;
  std::vector<std::string> rows;
  int cols;
  std::string bytes;
};

class ListWriting : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ListWriting, WritesEveryRowAndColumn) {
  const WriteCase& c = GetParam();
  EXPECT_EQ(ListText(test::MakeTable(c.rows, c.cols)), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ListWriting,
    ::testing::Values(WriteCase{"OneBlankRowIsFourTabs", {""}, 5, "\t\t\t\t\r\n"},
                      WriteCase{"PairsWithStatistics", {"a;b;3;2;0,667", "c;d;;;"}, 5,
                                "a\tb\t3\t2\t0,667\r\nc\td\t\t\t\r\n"},
                      WriteCase{"BlankRowInside", {"a;b;;;", ";;;;", "c;d;;;"}, 5,
                                "a\tb\t\t\t\r\n\t\t\t\t\r\nc\td\t\t\t\r\n"},
                      WriteCase{"WideTable", {"a;b;;;;;z"}, 7, "a\tb\t\t\t\t\tz\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListRoundTrip, EveryByteValueComesBackExactly) {
  const std::string bytes = Fixture("every_byte.tnx");
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(ListText(Loaded(bytes)), bytes);
}

// Any file in the saved form: CR LF, the same number of fields (five or
// more) on every line, the last field of some line not empty.
TEST(ListRoundTrip, RandomSavedFilesComeBackExactly) {
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    const int fields = 5 + static_cast<int>(random() % 4);
    const int lines = 1 + static_cast<int>(random() % 6);
    std::string bytes;
    for (int l = 0; l < lines; ++l) {
      for (int f = 0; f < fields; ++f) {
        if (f > 0) bytes += '\t';
        const int length = static_cast<int>(random() % 4);
        for (int k = 0; k < length || (l == 0 && f == fields - 1 && k == 0); ++k) {
          char c;
          do {
            c = static_cast<char>(1 + random() % 255);
          } while (c == '\t' || c == '\r' || c == '\n');
          bytes += c;
        }
      }
      bytes += "\r\n";
    }
    ASSERT_EQ(ListText(Loaded(bytes)), bytes);
  }
}

// ---------------------------------------------------------------- files

class ListFileIo : public test::ProgramFolder {};

struct OpenFailure {
  const char* name;
  const char* file;  // under the program folder
  std::function<void(const QString& path)> make;
  int error;
};

class ReadFailures : public test::ProgramFolder, public ::testing::WithParamInterface<OpenFailure> {};

TEST_P(ReadFailures, SayWhichFileAndWhy) {
  const QString path = PathOf(GetParam().file);
  GetParam().make(Folder());
  EXPECT_EQ(ErrorOf([&] { ReadListFile(path); }),
            "Impossible d'ouvrir le fichier \"" + path.toStdString() + "\". " + SystemText(GetParam().error));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadFailures,
    ::testing::Values(
        OpenFailure{"Missing", "liste.tnx", [](const QString&) {}, ENOENT},
        OpenFailure{"Folder", "dossier.tnx", [](const QString& f) { QDir().mkdir(f + "dossier.tnx"); }, EISDIR},
        OpenFailure{"Fifo", "tube.tnx", [](const QString& f) { mkfifo(QFile::encodeName(f + "tube.tnx"), 0644); },
                    EINVAL},
        OpenFailure{"DanglingLink", "lien.tnx",
                    [](const QString& f) { symlink("absent", QFile::encodeName(f + "lien.tnx")); }, ENOENT},
        OpenFailure{"UnderAFile", "fichier/liste.tnx", [](const QString& f) { PutFile(f + "fichier", "x"); },
                    ENOTDIR}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListFileIo, ReadsTheWholeFile) {
  const std::string bytes(300000, 'x');
  PutFile(PathOf("gros.tnx"), bytes);
  EXPECT_EQ(ReadListFile(PathOf("gros.tnx")), bytes);
}

TEST_F(ListFileIo, WritesANewFileWithTheUsualRights) {
  const QString path = PathOf("neuf.tnx");
  WriteListFile(path, "a\tb\r\n");
  EXPECT_EQ(FileBytes(path), "a\tb\r\n");
  const mode_t mask = umask(0);
  umask(mask);
  struct stat st;
  ASSERT_EQ(stat(QFile::encodeName(path), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
  EXPECT_EQ(Entries(), QStringList{"neuf.tnx"}) << "no file left beside it";
}

TEST_F(ListFileIo, ReplacingKeepsTheRightsOfTheOldFile) {
  const QString path = PathOf("liste.tnx");
  PutFile(path, "old\r\n");
  chmod(QFile::encodeName(path), 0640);
  WriteListFile(path, "new\r\n");
  struct stat st;
  ASSERT_EQ(stat(QFile::encodeName(path), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(FileBytes(path), "new\r\n");
}

TEST_F(ListFileIo, ALinkStaysAndItsFileIsReplaced) {
  QDir().mkdir(PathOf("ailleurs"));
  const QString real = PathOf("ailleurs/vraie.tnx");
  PutFile(real, "old\r\n");
  ASSERT_EQ(symlink("ailleurs/vraie.tnx", QFile::encodeName(PathOf("lien.tnx"))), 0);
  WriteListFile(PathOf("lien.tnx"), "new\r\n");
  EXPECT_EQ(QFileInfo(PathOf("lien.tnx")).isSymLink(), true);
  EXPECT_EQ(FileBytes(real), "new\r\n");
  EXPECT_EQ(QDir(PathOf("ailleurs")).entryList(QDir::Files | QDir::Hidden), QStringList{"vraie.tnx"});
}

struct CreateFailure {
  const char* name;
  const char* file;  // under the program folder
  std::function<void(const QString& folder)> make;
  int error;
};

class WriteFailures : public test::ProgramFolder, public ::testing::WithParamInterface<CreateFailure> {};

TEST_P(WriteFailures, LeaveEverythingAsItWas) {
  const CreateFailure& c = GetParam();
  c.make(Folder());
  const QStringList before = Entries();
  const QString path = PathOf(c.file);
  const bool existed = QFileInfo(path).isFile();
  const std::string old = FileBytes(path);
  EXPECT_EQ(ErrorOf([&] { WriteListFile(path, "new\r\n"); }),
            "Impossible de créer le fichier \"" + path.toStdString() + "\". " + SystemText(c.error));
  EXPECT_EQ(Entries(), before) << "no stray file";
  if (existed) {
    EXPECT_EQ(FileBytes(path), old);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, WriteFailures,
    ::testing::Values(
        CreateFailure{"ReadOnlyFile", "lecture.tnx",
                      [](const QString& f) {
                        PutFile(f + "lecture.tnx", "old\r\n");
                        chmod(QFile::encodeName(f + "lecture.tnx"), 0444);
                      },
                      EACCES},
        CreateFailure{"LinkToReadOnlyFile", "lien.tnx",
                      [](const QString& f) {
                        PutFile(f + "cible", "old\r\n");
                        chmod(QFile::encodeName(f + "cible"), 0444);
                        symlink("cible", QFile::encodeName(f + "lien.tnx"));
                      },
                      EACCES},
        CreateFailure{"Folder", "dossier.tnx", [](const QString& f) { QDir().mkdir(f + "dossier.tnx"); }, EISDIR},
        CreateFailure{"MissingSubfolder", "absent/liste.tnx", [](const QString&) {}, ENOENT},
        CreateFailure{"UnderAFile", "fichier/liste.tnx", [](const QString& f) { PutFile(f + "fichier", "x"); },
                      ENOTDIR}),
    [](const auto& info) { return std::string(info.param.name); });

// The disk fills up part-way (a file size limit on a child process): the
// old list stays whole and nothing else is left in the folder.
TEST_F(ListFileIo, AWriteFailingPartWayKeepsTheOldList) {
  const QString path = PathOf("liste.tnx");
  const std::string old = Fixture("every_byte.tnx");
  PutFile(path, old);
  Session session;
  FillTable(session.SgListe, ParseListText(old));
  session.SgListe.SetRowCount(20001);
  for (int r = 1; r <= 20000; ++r) session.SgListe.SetRowTexts(r, {"mot", "word", "3", "1", "0,333"});
  session.FListName = "liste";
  session.FAskedCount = 4;
  session.Unsaved = true;
  const test::SessionState before(session);

  fflush(nullptr);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    test::FakeWindow window;
    window.name = "liste";
    ListCommands commands(session, window.Bind());
    int code = 0;
    try {
      commands.SaveList();
      code = 1;
    } catch (const Error& e) {
      if (e.Message() != QStringLiteral("Erreur d'écriture dans le flux")) code = 2;
    }
    if (!(test::SessionState(session) == before)) code = 3;
    _exit(code);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error, 2: another message, 3: the session changed";
  EXPECT_EQ(FileBytes(path), old);
  EXPECT_EQ(Entries(), QStringList{"liste.tnx"});
}

// ---------------------------------------------------------------- folders

TEST(Folders, WithBackslashEndsWithTheSeparator) {
  EXPECT_EQ(WithBackslash(""), "/");
  EXPECT_EQ(WithBackslash("/a/b"), "/a/b/");
  EXPECT_EQ(WithBackslash("/a/b/"), "/a/b/");
}

TEST(Folders, AppFolderIsTheProgramsFolderUnlessSet) {
  const QString program = QFile::symLinkTarget("/proc/self/exe");
  EXPECT_EQ(AppFolder(), program.left(program.lastIndexOf('/') + 1));
  SetAppFolder("/tmp/ailleurs");
  EXPECT_EQ(AppFolder(), "/tmp/ailleurs/");
  SetAppFolder(QString());
  EXPECT_EQ(AppFolder(), program.left(program.lastIndexOf('/') + 1));
}

class Listing : public test::ProgramFolder {};

TEST_F(Listing, ListsFilesAndFoldersButNotHiddenOrSystemEntries) {
  for (const char* name : {"Anglais.tnx", "CAPS.TNX", "a.tnx.tnx", ".tnx", ".cachee.tnx", "notes.txt",
                           "Anglais.tnxx", "Être.tnx"}) {
    PutFile(PathOf(name), "x\r\n");
  }
  QDir().mkdir(PathOf("dossier.tnx"));
  QDir().mkdir(PathOf(".dossier.tnx"));
  mkfifo(QFile::encodeName(PathOf("tube.tnx")), 0644);
  symlink("Anglais.tnx", QFile::encodeName(PathOf("lien.tnx")));
  symlink("absent", QFile::encodeName(PathOf("casse.tnx")));
  QStringList names = ListFiles(Folder() + "*.tnx");
  names.sort();
  EXPECT_EQ(names, (QStringList{".tnx", "Anglais.tnx", "CAPS.TNX", "a.tnx.tnx", "dossier.tnx", "lien.tnx",
                                QString::fromUtf8("Être.tnx")}));
}

TEST_F(Listing, QuestionMarkIsOneCharacter) {
  for (const char* name : {"ab.tnx", "abc.tnx", "a.tnx"}) PutFile(PathOf(name), "");
  EXPECT_EQ(ListFiles(Folder() + "a?.tnx"), QStringList{"ab.tnx"});
  EXPECT_TRUE(ListFiles(Folder() + "absent/*.tnx").isEmpty());
}

TEST(Names, CharactersTheCodePageLacksBecomeQuestionMarks) {
  EXPECT_EQ(AnsiWithSubstitutes(QString::fromUtf8("é€")), "\xE9\x80");
  EXPECT_EQ(AnsiWithSubstitutes(QString::fromUtf8("a日b😀c")), "a?b?c");
}

}  // namespace
}  // namespace tenaxo
