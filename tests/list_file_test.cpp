// SPDX-License-Identifier: GPL-3.0-or-later
// The list file format and its encodings, the folder listing, whole-file reads and writes, and change stamps.
#include <gtest/gtest.h>
#include <sys/time.h>

#include <cstring>

#include "FileIo.h"
#include "FileStamp.h"
#include "FolderListing.h"
#include "ListFormat.h"
#include "StorageFixture.h"
#include "TextEncoding.h"

namespace tenaxo {
namespace {
using namespace test;

mode_t ModeOf(const QString& path) {
  struct stat st {};
  stat(QFile::encodeName(path).constData(), &st);
  return st.st_mode & 07777;
}

// The bytes are cut into lines and cells, filled into a table as wide as the widest line and never narrower, and saved
// back with every column and CR LF.
TEST(ListFormat, TextsAreCutFilledAndSavedBack) {
  const struct {
    const char* name;
    std::string text;
    ListLines lines;
    int cols;
    std::string saved;
  } cases[] = {
      {"CR LF", "a\tb\r\nc\r\n", {{"a", "b"}, {"c"}}, 2, "a\tb\r\nc\t\r\n"},
      {"LF, CR, none at the end", "a\nb\rc", {{"a"}, {"b"}, {"c"}}, 2, "a\t\r\nb\t\r\nc\t\r\n"},
      {"LF then CR: two ends", "a\n\rb", {{"a"}, {}, {"b"}}, 2, "a\t\r\n\t\r\nb\t\r\n"},
      {"empty", "", {}, 2, "\t\r\n"},
      {"empty cells", "\ta\t\tb", {{"", "a", "", "b"}}, 4, "\ta\t\tb\r\n"},
      {"a trailing TAB adds no cell", "a\tb\tc\t", {{"a", "b", "c"}}, 3, "a\tb\tc\r\n"},
      {"two add one", "a\tb\t\t", {{"a", "b", ""}}, 3, "a\tb\t\r\n"},
      {"a NUL ends the text", std::string("a\r\nb\0c\r\n", 8), {{"a"}, {"b"}}, 2, "a\t\r\nb\t\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParseListText(c.text), c.lines);
    StudyTable table(2);
    FillTable(table, ParseListText(c.text));
    EXPECT_EQ(table.ColCount(), c.cols);
    EXPECT_EQ(ListText(table), c.saved);
  }
}

// Texts Windows-1252 cannot hold (true: a character it lacks; false: not UTF-8), and the first line that is not UTF-8.
TEST(TextEncoding, WhatWindows1252CannotHoldAndTheLineNotUtf8) {
  const struct {
    const char* name;
    std::string text;
    int line;
  } cases[] = {
      {"U+0100, a two-byte character it lacks", "\xC4\x80", 0},
      {"four bytes", "\n\xF0\x9F\x99\x82", 0},
      {"a lead byte alone, on the first line", "a\xC3", 1},
      {"a sequence cut short after LF, CR LF and CR", "a\nb\r\nc\r\xE2\x82z", 4},
      {"a continuation byte alone after an empty line", "\n\na\x80", 3},
      {"an overlong form", "\xC1\xA9", 1},
      {"a sequence cut by a line end", "\xC3\xA9\n\xC3\n\xA9", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bytes;
    EXPECT_FALSE(Utf8ToWindows1252(c.text, bytes));
    EXPECT_EQ(FirstLineNotUtf8(c.text), c.line);
  }
}

class ListFileIo : public ProgramFolder {};

// '*' any run, '?' one character, letter case ignored; files and folders, links followed; no hidden name but ".tnx"
// (the empty list name's file), nothing else.
TEST_F(ListFileIo, TheListingMatchesTheMasksLastPart) {
  for (const char* name : {"abc", "aXbYc", "ac", "ABC.tnx", ".x", ".tnx", ".cachée.tnx"}) PutFile(PathOf(name), "");
  QDir().mkdir(PathOf("dossier.tnx"));
  mkfifo(QFile::encodeName(PathOf("tube.tnx")).constData(), 0644);
  Link("abc", PathOf("lien.tnx"));
  Link("absent", PathOf("casse.tnx"));
  const std::pair<const char*, QStringList> cases[] = {
      {"*.TNX", {".tnx", "ABC.tnx", "dossier.tnx", "lien.tnx"}},
      {"a?c", {"abc"}},
      {"a*c", {"aXbYc", "abc", "ac"}},
      {"a*b?c", {"aXbYc"}},
      {"absent/*", {}},
  };
  for (const auto& [mask, names] : cases) {
    SCOPED_TRACE(mask);
    QStringList listed = ListFiles(Folder() + mask);
    listed.sort();
    EXPECT_EQ(listed, names);
  }
}

// A new file gets the usual rights, a replaced one keeps its own, a link stays and its file is replaced; a write that
// cannot be made leaves the file as it was. Nothing is left beside them.
TEST_F(ListFileIo, AWriteReplacesTheFileWholeOrNotAtAll) {
  const mode_t mask = umask(0);
  umask(mask);
  PutFile(PathOf("liste.tnx"), "old");
  SetMode(PathOf("liste.tnx"), 0640);
  Link("liste.tnx", PathOf("lien.tnx"));
  Link("boucle.tnx", PathOf("boucle.tnx"));
  PutFile(PathOf("lecture.tnx"), "old");
  SetMode(PathOf("lecture.tnx"), 0444);
  QDir().mkdir(PathOf("dossier.tnx"));
  const struct {
    const char* name;
    const char* written;  // the path written to
    int error;            // 0: none
    const char* file;     // the file that holds the bytes then
    std::string bytes;
    mode_t mode;
  } cases[] = {
      {"new", "neuf.tnx", 0, "neuf.tnx", "new", 0666 & ~mask},
      {"replaced", "liste.tnx", 0, "liste.tnx", "new", 0640},
      {"through a link", "lien.tnx", 0, "liste.tnx", "new", 0640},
      {"a link to itself", "boucle.tnx", ELOOP, "boucle.tnx", "<missing>", 0},
      {"read-only", "lecture.tnx", EACCES, "lecture.tnx", "old", 0444},
      {"a folder", "dossier.tnx", EISDIR, "dossier.tnx", "<missing>", 0777 & ~mask},
      {"a missing folder", "absent/liste.tnx", ENOENT, "absent/liste.tnx", "<missing>", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutFile(PathOf("liste.tnx"), "old");
    const std::string error = c.error ? "Impossible de créer le fichier \"" + PathOf(c.written).toStdString() + "\". " +
                                            std::strerror(c.error)
                                      : "(no error)";
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(PathOf(c.written), "new"); }), error);
    EXPECT_EQ(FileBytes(PathOf(c.file)), c.bytes);
    EXPECT_EQ(ModeOf(PathOf(c.file)), c.mode);
  }
  EXPECT_TRUE(QFileInfo(PathOf("lien.tnx")).isSymLink());
  EXPECT_EQ(Entries(), (QStringList{"boucle.tnx", "dossier.tnx", "lecture.tnx", "lien.tnx", "liste.tnx", "neuf.tnx"}));
}

// Only the new files of writes killed half-way, last written before the start, go (not at the start), links kept.
TEST_F(ListFileIo, LeftoversOfKilledSavesAreRemoved) {
  const struct {
    const char* name;
    bool old, goes;
  } cases[] = {{".tnx-Ab12cZ", true, true}, {".tnx-Zz9999", false, false}, {".tnx-abcdefg", true, false},
               {".tnx-abc", true, false},   {"x.tnx-abcdef", true, false}, {".tnx-ab_cde", true, false},
               {".tnx-Lien99", true, false}};
  const long long start = time(nullptr);
  for (const auto& c : cases) {
    if (c.name == std::string(".tnx-Lien99")) Link("absent", PathOf(c.name));
    else PutFile(PathOf(c.name), "x");
    const timeval times[2] = {{start - 10, 0}, {c.old ? start - 10 : start, 0}};
    ASSERT_EQ(lutimes(QFile::encodeName(PathOf(c.name)).constData(), times), 0);
  }
  EXPECT_EQ(RemoveLeftoverSaves(dir_.path(), start), 1);
  for (const auto& c : cases)
    EXPECT_EQ(QFileInfo(PathOf(c.name)).isSymLink() || QFile::exists(PathOf(c.name)), !c.goes) << c.name;
}

// Other bytes count as a change, whatever the file's time says; a file gone or no longer a file does not.
TEST_F(ListFileIo, AStampTellsOtherBytes) {
  const struct {
    const char* name;
    std::function<void(const QString&)> change;
    bool changed;
  } cases[] = {
      {"the same bytes again", [](const QString& p) { PutFile(p, "a\tb\r\n"); }, false},
      {"longer", [](const QString& p) { PutFile(p, "a\tb\r\nc\r\n"); }, true},
      {"as long", [](const QString& p) { PutFile(p, "a\tc\r\n"); }, true},
      {"removed", [](const QString& p) { QFile::remove(p); }, false},
      {"a folder now", [](const QString& p) { static_cast<void>(QFile::remove(p) && QDir().mkdir(p)); }, false},
      {"unreadable", [](const QString& p) { SetMode(p, geteuid() == 0 ? 0644 : 0); }, geteuid() != 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutFile(PathOf(c.name), "a\tb\r\n");
    const FileStamp stamp = StampOf(PathOf(c.name), "a\tb\r\n");
    c.change(PathOf(c.name));
    EXPECT_EQ(ChangedOnDisk(stamp), c.changed);
  }
  EXPECT_FALSE(ChangedOnDisk(FileStamp())) << "no file";
}

// A copy run from a folder of its own keeps its lists beside its program file; an installed copy (<prefix>/bin beside
// <prefix>/share/tenaxo) in the user's data folder, which gets the shipped lists when it has none of its own.
TEST(ListFolder, BesideTheProgramOrInTheUsersFolder) {
  const struct {
    const char *name, *program, *shipped, *own;  // own: a list the user's folder holds first
    const char *folder, *copied;                 // the list folder; the shipped list there
  } cases[] = {
      {"a build tree", "build/app/tenaxo", "build/share/tenaxo", "", "build/app/", "<missing>"},
      {"a portable folder", "portable/bin/tenaxo", "", "", "portable/bin/", "<missing>"},
      {"installed", "usr/bin/tenaxo", "usr/share/tenaxo", "", "data/Tenaxo/", "a\tA\r\n"},
      {"installed, with lists", "usr/bin/tenaxo", "usr/share/tenaxo", "Mien.tnx", "data/Tenaxo/", "<missing>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir root;
    const QString base = root.path() + u'/';
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + "data"));
    for (const QString& file : {base + c.program, base + c.shipped + "/Anglais.tnx", base + "data/Tenaxo/" + c.own}) {
      if (file.endsWith(u'/') || file.startsWith(base + "/")) continue;  // no such file in this case
      QDir().mkpath(QFileInfo(file).path());
      PutFile(file, file.endsWith("Anglais.tnx") ? "a\tA\r\n" : "");
    }
    SetProgramFile(base + c.program);
    EXPECT_EQ(AppFolder(), base + c.folder);
    EXPECT_EQ(FileBytes(base + "data/Tenaxo/Anglais.tnx"), c.copied);
  }
  SetProgramFile(QString());
  qunsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace tenaxo
