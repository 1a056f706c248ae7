// The list file format, and reading and writing list files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "StorageFixture.h"

namespace tenaxo {
namespace {
using test::ErrorOf;
using test::FileBytes;
using test::Fixture;
using test::PutFile;
using test::Rows;

StudyTable Loaded(const std::string& bytes) {
  StudyTable table;
  FillTable(table, ParseListText(bytes));
  return table;
}

mode_t ModeOf(const QString& path) {
  struct stat st {};
  stat(QFile::encodeName(path).constData(), &st);
  return st.st_mode & 07777;
}

// ---------------------------------------------------------------- format

TEST(ListFormat, FixtureFilesLoadAsTheirRows) {
  const std::vector<std::string> pairs = {"maison;house;3;2;0,667", "chien;dog;;;", "chat;cat;1;0;0,000"};
  const struct {
    const char* file;
    std::vector<std::string> rows;
    int cols;
  } cases[] = {
      {"crlf.tnx", pairs, 5},
      {"lf_only.tnx", pairs, 5},
      {"cr_only.tnx", pairs, 5},
      {"no_final_end.tnx", pairs, 5},
      {"mixed_ends.tnx", {"a;;;;", "b;;;;", "c;;;;", "d;;;;", ";;;;", "e;;;;"}, 5},  // LF then CR: two ends
      {"trailing_tab.tnx", {"deux;cells;;;", "trois;cells;;;"}, 5},
      {"seven_fields.tnx", {"a;b;1;1;1,000;x;y", "c;d;;;;;z"}, 7},
      {"empty_line.tnx", {"a;b;;;", ";;;;", "c;d;;;"}, 5},
      {"nul.tnx", {"a;b;;;", "c;;;;"}, 5},  // the NUL ends the text
      {"empty.tnx", {";;;;"}, 5},
  };
  for (const auto& c : cases) {
    const StudyTable table = Loaded(Fixture(c.file));
    EXPECT_EQ(Rows(table), c.rows) << c.file;
    EXPECT_EQ(table.ColCount(), c.cols) << c.file;
  }
}

TEST(ListFormat, LinesAreCutAtEachTabUntilTheRestIsEmpty) {
  const std::vector<std::pair<std::string, ListLines>> cases = {
      {"a\t\tb", {{"a", "", "b"}}},
      {"\ta", {{"", "a"}}},
      {"a\t", {{"a"}}},        // one trailing TAB adds no cell
      {"a\t\t", {{"a", ""}}},  // two add one empty cell
      {"\r\n", {{}}},          // an empty line has no cell
      {"\n\r", {{}, {}}},      // LF then CR ends two lines
      {"", {}},
      {std::string("\0a\r\n", 4), {}},  // a NUL ends the text
  };
  for (const auto& [text, lines] : cases) EXPECT_EQ(ParseListText(text), lines) << ::testing::PrintToString(text);
}

TEST(ListFormat, TheTableWidensAndNeverNarrows) {
  StudyTable table = Loaded(Fixture("seven_fields.tnx"));
  FillTable(table, ParseListText(Fixture("crlf.tnx")));
  EXPECT_EQ(table.ColCount(), 7);
  EXPECT_EQ(ListText(table),
            "maison\thouse\t3\t2\t0,667\t\t\r\nchien\tdog\t\t\t\t\t\r\nchat\tcat\t1\t0\t0,000\t\t\r\n");
}

TEST(ListFormat, WritesEveryRowAndColumn) {
  EXPECT_EQ(ListText(test::MakeTable({"a;b;3;2;0,667", ";;;;", "c;d;;;"})),
            "a\tb\t3\t2\t0,667\r\n\t\t\t\t\r\nc\td\t\t\t\r\n");
}

TEST(ListFormat, EveryByteValueComesBackExactly) {
  const std::string bytes = Fixture("every_byte.tnx");
  ASSERT_EQ(bytes.size(), 288u);
  EXPECT_EQ(ListText(Loaded(bytes)), bytes);
}

// ---------------------------------------------------------------- files

class ListFileIo : public test::ProgramFolder {};

TEST_F(ListFileIo, ReadFailuresSayWhichFileAndWhy) {
  QDir().mkdir(PathOf("dossier.tnx"));
  mkfifo(QFile::encodeName(PathOf("tube.tnx")).constData(), 0644);
  for (const auto& [name, error] : {std::pair{"absente.tnx", ENOENT}, {"dossier.tnx", EISDIR}, {"tube.tnx", EINVAL}}) {
    EXPECT_EQ(ErrorOf([&] { ReadListFile(PathOf(name)); }),
              "Impossible d'ouvrir le fichier \"" + PathOf(name).toStdString() + "\". " + std::strerror(error));
  }
}

TEST_F(ListFileIo, ANewFileGetsTheUsualRightsAReplacedOneKeepsItsOwn) {
  const mode_t mask = umask(0);
  umask(mask);
  WriteListFile(PathOf("neuf.tnx"), "a\tb\r\n");
  EXPECT_EQ(FileBytes(PathOf("neuf.tnx")), "a\tb\r\n");
  EXPECT_EQ(ModeOf(PathOf("neuf.tnx")), 0666 & ~mask);
  PutFile(PathOf("liste.tnx"), "old\r\n");
  chmod(QFile::encodeName(PathOf("liste.tnx")).constData(), 0640);
  WriteListFile(PathOf("liste.tnx"), "new\r\n");
  EXPECT_EQ(FileBytes(PathOf("liste.tnx")), "new\r\n");
  EXPECT_EQ(ModeOf(PathOf("liste.tnx")), 0640u);
  EXPECT_EQ(Entries(), (QStringList{"liste.tnx", "neuf.tnx"})) << "no file left beside them";
}

TEST_F(ListFileIo, ALinkStaysAndItsFileIsReplaced) {
  PutFile(PathOf("vraie.tnx"), "old\r\n");
  ASSERT_EQ(symlink("vraie.tnx", QFile::encodeName(PathOf("lien.tnx")).constData()), 0);
  WriteListFile(PathOf("lien.tnx"), "new\r\n");
  EXPECT_TRUE(QFileInfo(PathOf("lien.tnx")).isSymLink());
  EXPECT_EQ(FileBytes(PathOf("vraie.tnx")), "new\r\n");
  EXPECT_EQ(Entries(), (QStringList{"lien.tnx", "vraie.tnx"}));
}

// Read-only, for everyone: protected from the administrator too.
TEST_F(ListFileIo, AReadOnlyListIsNeverReplaced) {
  PutFile(PathOf("lecture.tnx"), "old\r\n");
  chmod(QFile::encodeName(PathOf("lecture.tnx")).constData(), 0444);
  symlink("lecture.tnx", QFile::encodeName(PathOf("lien.tnx")).constData());
  for (const char* name : {"lecture.tnx", "lien.tnx"}) {
    EXPECT_EQ(ErrorOf([&] { WriteListFile(PathOf(name), "new\r\n"); }),
              "Impossible de créer le fichier \"" + PathOf(name).toStdString() + "\". " + std::strerror(EACCES));
  }
  EXPECT_EQ(FileBytes(PathOf("lecture.tnx")), "old\r\n");
  EXPECT_EQ(Entries(), (QStringList{"lecture.tnx", "lien.tnx"})) << "no stray file";
}

// ---------------------------------------------------------------- list folder

// Where the lists of a copy live, decided from where its program file is.
TEST(ListFolder, BesideTheProgramUnlessInstalledThenInTheUsersDataFolder) {
  struct Case {
    const char* program;
    const char* shipped;   // folder holding the shipped Anglais.tnx, or none
    const char* userList;  // a list the user's folder already holds, or none
    const char* folder;    // the expected list folder
    QStringList userLists;
  };
  const Case cases[] = {
      {"build/app/tenaxo", "build/share/tenaxo", nullptr, "build/app/", {}},
      {"portable/bin/tenaxo", nullptr, nullptr, "portable/bin/", {}},
      {"usr/bin/tenaxo", "usr/share/tenaxo", nullptr, "data/Tenaxo/", {"Anglais.tnx"}},
      {"usr/bin/tenaxo", "usr/share/tenaxo", "Espagnol.tnx", "data/Tenaxo/", {"Espagnol.tnx"}},
  };
  for (const Case& c : cases) {
    QTemporaryDir root;
    const QString base = root.path() + u'/';
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + QStringLiteral("data")));
    QDir().mkpath(QFileInfo(base + c.program).path());
    PutFile(base + c.program, "");
    if (c.shipped) {
      QDir().mkpath(base + c.shipped);
      PutFile(base + c.shipped + QStringLiteral("/Anglais.tnx"), "dog\tchien\r\n");
      chmod(QFile::encodeName(base + c.shipped + QStringLiteral("/Anglais.tnx")).constData(), 0444);
      chmod(QFile::encodeName(base + c.shipped).constData(), 0555);
    }
    if (c.userList) {
      QDir().mkpath(base + QStringLiteral("data/Tenaxo"));
      PutFile(base + QStringLiteral("data/Tenaxo/") + c.userList, "uno\tun\r\n");
    }
    SetProgramFile(base + c.program);
    SCOPED_TRACE(c.program);
    EXPECT_EQ(AppFolder(), base + c.folder);
    EXPECT_EQ(ListFiles(base + QStringLiteral("data/Tenaxo/*.tnx")), c.userLists);
    if (c.userLists == QStringList{"Anglais.tnx"}) {
      EXPECT_EQ(ModeOf(base + QStringLiteral("data/Tenaxo")), 0700u);
      WriteListFile(AppFolder() + QStringLiteral("Anglais.tnx"), "dog\tchien\t1\t1\t\r\n");
      EXPECT_EQ(FileBytes(base + c.shipped + QStringLiteral("/Anglais.tnx")), "dog\tchien\r\n");
      EXPECT_EQ(QDir(base + c.shipped).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                QStringList{"Anglais.tnx"});
    }
    if (c.shipped) chmod(QFile::encodeName(base + c.shipped).constData(), 0755);
  }
  SetProgramFile(QString());
  qunsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace tenaxo
