// The list file format, the folder listing, and reading and writing list files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "FileIo.h"
#include "FolderListing.h"
#include "ListFormat.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using namespace test;

StudyTable Loaded(const std::string& bytes, StudyTable table = StudyTable()) {
  FillTable(table, ParseListText(bytes));
  return table;
}

mode_t ModeOf(const QString& path) {
  struct stat st {};
  stat(QFile::encodeName(path).constData(), &st);
  return st.st_mode & 07777;
}

TEST(ListFormat, TextsLoadAsTheirRows) {
  const struct {
    std::string text;
    std::vector<std::string> rows;
    int cols;
  } cases[] = {
      {"maison\thouse\t3\t2\t0,667\r\nchien\tdog\t\t\t\r\n", {"maison;house;3;2;0,667", "chien;dog;;;"}, 5},
      {"a\nb\n", {"a;;;;", "b;;;;"}, 5},
      {"a\rb\r", {"a;;;;", "b;;;;"}, 5},
      {"a\r\nb", {"a;;;;", "b;;;;"}, 5},                                                // no last line end
      {"a\r\nb\nc\rd\n\re", {"a;;;;", "b;;;;", "c;;;;", "d;;;;", ";;;;", "e;;;;"}, 5},  // LF then CR: two ends
      {"a\tb\r\n\r\nc", {"a;b;;;", ";;;;", "c;;;;"}, 5},
      {"", {";;;;"}, 5},
      {"\ta\t\tb", {";a;;b;"}, 5},
      {"1\t2\t3\t4\t5\t6\t", {"1;2;3;4;5;6"}, 6},     // one trailing TAB adds no cell
      {"1\t2\t3\t4\t5\t6\t\t", {"1;2;3;4;5;6;"}, 7},  // two add one empty cell
      {"a\tb\t1\t1\t1,000\tx\ty\r\nc\td\t\t\t\t\tz", {"a;b;1;1;1,000;x;y", "c;d;;;;;z"}, 7},
      {std::string("a\tb\r\nc\0d\te\r\nf", 14), {"a;b;;;", "c;;;;"}, 5},  // a NUL ends the text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    const StudyTable table = Loaded(c.text);
    EXPECT_EQ(Rows(table), c.rows);
    EXPECT_EQ(table.ColCount(), c.cols);
  }
}

class ListFileIo : public test::ProgramFolder {};

// '*' any run, '?' one character, letter case ignored; never "." and "..", nor other hidden names.
TEST_F(ListFileIo, TheListingMatchesTheMasksLastPart) {
  for (const char* name : {"abc", "aXbYc", "ac", "ABC.tnx", ".x"}) PutFile(PathOf(name), "");
  const std::pair<const char*, QStringList> cases[] = {
      {"*", {"ABC.tnx", "aXbYc", "abc", "ac"}},
      {"abc", {"abc"}},
      {"a?c", {"abc"}},
      {"a*c", {"aXbYc", "abc", "ac"}},
      {"a*b?c", {"aXbYc"}},
      {"ac**", {"ac"}},
      {"*.TNX", {"ABC.tnx"}},
      {".*", {}},
      {"*..", {}},
      {"absent/*", {}},
  };
  for (const auto& [mask, names] : cases) {
    QStringList listed = ListFiles(Folder() + mask);
    listed.sort();
    EXPECT_EQ(listed, names) << mask;
  }
}

TEST_F(ListFileIo, ReadFailuresSayWhichFileAndWhy) {
  QDir().mkdir(PathOf("dossier.tnx"));
  mkfifo(QFile::encodeName(PathOf("tube.tnx")).constData(), 0644);
  for (const auto& [name, error] : {std::pair{"absente.tnx", ENOENT}, {"dossier.tnx", EISDIR}, {"tube.tnx", EINVAL}}) {
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(PathOf(name)); }),
              "Impossible d'ouvrir le fichier \"" + PathOf(name).toStdString() + "\". " + std::strerror(error));
  }
}

// A new file gets the usual rights, a replaced one keeps its own, a link stays and its file is replaced, a chain of
// links ends; nothing is left beside them.
TEST_F(ListFileIo, AWriteReplacesTheFileKeepingItsRightsAndLinks) {
  const mode_t mask = umask(0);
  umask(mask);
  WriteFileAtomically(PathOf("neuf.tnx"), "a\tb\r\n");
  EXPECT_EQ(FileBytes(PathOf("neuf.tnx")), "a\tb\r\n");
  EXPECT_EQ(ModeOf(PathOf("neuf.tnx")), 0666 & ~mask);
  PutFile(PathOf("liste.tnx"), "old\r\n");
  chmod(QFile::encodeName(PathOf("liste.tnx")).constData(), 0640);
  ASSERT_EQ(symlink("liste.tnx", QFile::encodeName(PathOf("lien.tnx")).constData()), 0);
  WriteFileAtomically(PathOf("lien.tnx"), "new\r\n");
  EXPECT_TRUE(QFileInfo(PathOf("lien.tnx")).isSymLink());
  EXPECT_EQ(FileBytes(PathOf("liste.tnx")), "new\r\n");
  EXPECT_EQ(ModeOf(PathOf("liste.tnx")), 0640u);
  ASSERT_EQ(symlink("boucle.tnx", QFile::encodeName(PathOf("boucle.tnx")).constData()), 0);  // a link to itself
  EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(PathOf("boucle.tnx"), "x"); }),
            "Impossible de créer le fichier \"" + PathOf("boucle.tnx").toStdString() + "\". " + std::strerror(ELOOP));
  EXPECT_EQ(Entries(), (QStringList{"boucle.tnx", "lien.tnx", "liste.tnx", "neuf.tnx"}));
}

// A copy run from a folder of its own keeps its lists beside its program file: a build tree beside a share/tenaxo
// folder, a portable bin folder without one. (The installed copy's folder is the installed program's test.)
TEST(ListFolder, BesideTheProgramOfACopyThatIsNotInstalled) {
  for (const auto& [program, shipped] :
       {std::pair{"build/app/tenaxo", "build/share/tenaxo"}, {"portable/bin/tenaxo", ""}}) {
    SCOPED_TRACE(program);
    QTemporaryDir root;
    const QString base = root.path() + u'/';
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + QStringLiteral("data")));  // were it taken as installed
    QDir().mkpath(QFileInfo(base + program).path());
    PutFile(base + program, "");
    if (shipped[0]) QDir().mkpath(base + shipped);
    SetProgramFile(base + program);
    EXPECT_EQ(AppFolder(), QFileInfo(base + program).path() + u'/');
  }
  SetProgramFile(QString());
  qunsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace tenaxo
