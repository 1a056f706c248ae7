// SPDX-License-Identifier: GPL-3.0-or-later
// The encodings of list files, the folder listing, whole-file writes, change stamps and the list folder.
#include <linux/magic.h>
#include <sys/time.h>

#include <cstring>

#include "FileIo.h"
#include "FileStamp.h"
#include "FolderListing.h"
#include "ListEncoding.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using namespace test;
using S = std::string;

mode_t ModeOf(const QString& path) {  // 0 when there is no such file
  struct stat st {};
  return stat(QFile::encodeName(path).constData(), &st), st.st_mode & 07777;
}
// The descriptors the process holds: a file routine leaves none open.
uint OpenFiles() { return QDir(QStringLiteral("/proc/self/fd")).count(); }

// Windows-1252 while the code page holds the text, else UTF-8 with the mark; read back, or the bad line refused.
TEST(ListEncoding, ATextTheCodePageLacksIsSavedAsUtf8) {
  const S mark = "\xEF\xBB\xBF";
  const std::tuple<const char*, S, S, int> cases[] = {
      {"ASCII", "a\tb", "a\tb", 0},
      {"€ alone", "€", "\x80", 0},
      {"a long line", "café" + S(40, '.') + "\u0081™", "caf\xE9" + S(40, '.') + "\x81\x99", 0},
      {"U+0080, not in it", "\xC2\x80", "", 0},
      {"U+0100, two bytes", "\xC4\x80", "", 0},
      {"U+2123, just after ™", "℣", "", 0},
      {"four bytes", "\n\xF0\x9F\x99\x82", "", 0},
      {"a lead byte alone, on the first line", "a\xC3", "", 1},
      {"a sequence cut short after LF, CR LF and CR", "a\nb\r\nc\r\xE2\x82z", "", 4},
      {"a continuation byte alone after an empty line", "\n\na\x80", "", 3},
      {"an overlong form", "\xC1\xA9", "", 1},
      {"a sequence cut by a line end", "\xC3\xA9\n\xC3\n\xA9", "", 2},
  };
  for (const auto& [name, text, bytes, line] : cases) {
    SCOPED_TRACE(name);
    FileEncoding encoding = FileEncoding::Windows1252;
    const S saved = EncodeListFile(text, encoding);
    const FileEncoding expected = bytes.empty() ? FileEncoding::Utf8Bom : FileEncoding::Windows1252;
    EXPECT_EQ(saved, bytes.empty() ? mark + text : bytes);
    EXPECT_EQ(encoding, expected);
    S back;
    const S error = ErrorOf([&] { back = DecodeListFile(saved, QStringLiteral("f"), encoding); });
    const S refusal =
        "Le fichier \"f\" est marqué UTF-8, mais sa ligne " + std::to_string(line) + " n'est pas de l'UTF-8 valide.";
    EXPECT_EQ(error, line ? refusal : "(no error)");
    EXPECT_EQ(back, line ? "" : text);
    EXPECT_EQ(encoding, expected);
  }
}

// Every byte but NUL, TAB and the line ends: read as Windows-1252, saved back byte for byte.
TEST(ListEncoding, EveryByteOfTheCodePageComesBackAsItWas) {
  const S bytes = FileBytes(QStringLiteral(TENAXO_TEST_DATA "/every_byte.tnx"));
  FileEncoding encoding = FileEncoding::Utf8;
  const S text = DecodeListFile(bytes, QStringLiteral("f"), encoding);
  EXPECT_EQ(encoding, FileEncoding::Windows1252);
  EXPECT_EQ(EncodeListFile(text, encoding), bytes);
}

// Lines cut at CR LF, CR or LF and cells at TABs, straight from the bytes; Windows-1252 cells made UTF-8 one by one.
TEST(ListEncoding, LinesAreCutIntoRowsOfCells) {
  // Each row's cells, the empty ones at its end left out; the table's width.
  const std::tuple<const char*, S, std::vector<std::vector<S>>, size_t> cases[] = {
      {"CR LF, CR, LF, none; empty lines", "a\tb\r\n\rc\n\n\td", {{"a", "b"}, {}, {"c"}, {}, {"", "d"}}, 5},
      {"one trailing TAB adds no cell", "a\t\r\nb\t\t\t\t\t\t", {{"a"}, {"b"}}, 6},
      {"Windows-1252 cells around an ASCII one", "caf\xE9\tx\t\x80\x81\r\n\xFF", {{"café", "x", "€\u0081"}, {"ÿ"}}, 5},
      {"UTF-8 with its mark", "\xEF\xBB\xBF\xC3\xA9\t\xE2\x82\xAC", {{"é", "€"}}, 5},
      {"NULs that end the file", S("a\tb\0\0", 5), {{"a", "b"}}, 5},
  };
  for (const auto& [name, bytes, cells, width] : cases) {
    SCOPED_TRACE(name);
    FileEncoding encoding = FileEncoding::None;
    const ListRows lines = DecodeListLines(bytes, QStringLiteral("f"), encoding);
    EXPECT_EQ(lines.width, width);
    std::vector<std::vector<S>> rows(lines.rows.size());
    for (size_t r = 0; r < rows.size(); ++r)
      for (size_t k = 0; k < lines.rows[r].Count(); ++k) rows[r].emplace_back(lines.rows[r].Cell(k));
    EXPECT_EQ(rows, cells);
  }
}

// A pair asked and without its ratio is cut with room for a ratio of five characters: ranked, it keeps its block.
// Other rows take no more than their cells. The rows' sizes sit on the heap's (24 and 40 bytes), so too little room
// shows.
TEST(ListEncoding, AnAskedPairHasRoomForItsRatio) {
  const std::tuple<const char*, S, bool> cases[] = {
      {"asked, no ratio", S(25, 'a') + "\tb\t12\t5\r\n", true},
      {"asked, no ratio nor found count", S(26, 'a') + "\tb\t12\r\n", true},
      {"asked, a ratio", S(8, 'a') + "\tb\t12\t5\t0,417\r\n", false},
      {"never asked", S(16, 'a') + "\tb\t\t5\r\n", false},
  };
  for (const auto& [name, bytes, room] : cases) {
    SCOPED_TRACE(name);
    ListRows lines = ParseListText(bytes, false);
    RowBlock& cut = lines.rows.at(0);
    std::vector<S> cells;
    for (size_t k = 0; k < cut.Count(); ++k) cells.emplace_back(cut.Cell(k));
    const size_t before = cut.MemoryUsage();
    EXPECT_EQ(before == RowBlock::Of(cells).MemoryUsage(), !room);
    cut.SetCell(ColRatio, "0,667");
    EXPECT_TRUE(!room || cut.MemoryUsage() == before) << "the block kept";
  }
}

// '*' any run, '?' one character, case ignored; links followed; of hidden names only ".tnx".
TEST_F(ProgramFolder, TheListingMatchesTheMasksLastPart) {
  for (const char* name : {"abc", "aXbYc", "ac", "ABC.tnx", ".x", ".tnx", ".cachée.tnx"}) PutFile(PathOf(name), "");
  QDir().mkdir(PathOf("dossier.tnx"));
  mkfifo(QFile::encodeName(PathOf("tube.tnx")).constData(), 0644);
  Link("abc", PathOf("lien.tnx"));
  Link("absent", PathOf("casse.tnx"));
  const uint held = OpenFiles();
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
  EXPECT_EQ(OpenFiles(), held);
}

// A write replaces the file whole (rights kept, links followed) or not at all, with the reason; nothing left over.
TEST_F(ProgramFolder, AWriteReplacesTheFileWholeOrNotAtAll) {
  const mode_t mask = umask(007);
  PutFile(PathOf("liste.tnx"), "old");
  SetMode(PathOf("liste.tnx"), 0640);
  Link("liste.tnx", PathOf("lien.tnx"));
  Link("boucle.tnx", PathOf("boucle.tnx"));
  PutFile(PathOf("lecture.tnx"), "old");
  SetMode(PathOf("lecture.tnx"), 0444);
  QDir().mkdir(PathOf("dossier.tnx"));
  const uint held = OpenFiles();
  const std::tuple<const char*, int, const char*, S, mode_t> cases[] = {
      {"neuf.tnx", 0, "neuf.tnx", "new", 0660},
      {"liste.tnx", 0, "liste.tnx", "new", 0640},
      {"lien.tnx", 0, "liste.tnx", "new", 0640},
      {"boucle.tnx", ELOOP, "boucle.tnx", "<missing>", 0},
      {"lecture.tnx", EACCES, "lecture.tnx", "old", 0444},
      {"dossier.tnx", EISDIR, "dossier.tnx", "<missing>", 0770},
      {"absent/liste.tnx", ENOENT, "absent/liste.tnx", "<missing>", 0},
  };
  for (const auto& [written, error, file, bytes, mode] : cases) {
    SCOPED_TRACE(written);
    PutFile(PathOf("liste.tnx"), "old");
    const QString path = PathOf(written);
    const S refusal = "Impossible de créer le fichier \"" + path.toStdString() + "\". " + std::strerror(error);
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(path, "new"); }), error ? refusal : "(no error)");
    EXPECT_EQ(FileBytes(PathOf(file)), bytes);
    EXPECT_EQ(ModeOf(PathOf(file)), mode);
  }
  EXPECT_EQ(Entries(), (QStringList{"boucle.tnx", "dossier.tnx", "lecture.tnx", "lien.tnx", "liste.tnx", "neuf.tnx"}));
  EXPECT_EQ(OpenFiles(), held);
  EXPECT_EQ(umask(mask), 007);
}

// Only the new files of writes killed half-way, last written before the start, go (not at the start), links kept.
TEST_F(ProgramFolder, LeftoversOfKilledSavesAreRemoved) {
  const std::tuple<const char*, bool, bool> cases[] = {
      {".tnx-azAZ09", true, true},  {".tnx-Zz9999", false, false}, {".tnx-abcdefg", true, false},
      {".tnx-abc", true, false},    {"x.tnx-abcdef", true, false}, {".tnx-ab_cde", true, false},
      {".tnx-Lien99", true, false},
  };
  const long long start = time(nullptr);
  for (const auto& [name, old, goes] : cases) {
    if (name == S(".tnx-Lien99")) Link("absent", PathOf(name));
    else PutFile(PathOf(name), "x");
    const timeval times[2] = {{start - 10, 0}, {old ? start - 10 : start, 0}};
    ASSERT_EQ(lutimes(QFile::encodeName(PathOf(name)).constData(), times), 0);
  }
  const uint held = OpenFiles();
  EXPECT_EQ(RemoveLeftoverSaves(dir_.path(), start), 1);
  EXPECT_EQ(OpenFiles(), held);
  for (const auto& [name, old, goes] : cases)
    EXPECT_EQ(QFileInfo(PathOf(name)).isSymLink() || QFile::exists(PathOf(name)), !goes) << name;
}

// Other bytes count as a change, whatever the file's times say; a file gone or no longer a file does not. A stamp of
// other bytes read 2 s after the file's last change, where the system sets the times, holds while the status does.
TEST_F(ProgramFolder, AStampTellsOtherBytes) {
  const S ab = "a\tb\r\n";
  const auto put = [](S bytes) { return [bytes](const QString& p) { PutFile(p, bytes); }; };
  const timeval epoch[2] = {};
  const auto retimed = [&epoch](const QString& p) { utimes(QFile::encodeName(p).constData(), epoch); };
  const auto replaced = [ab](const QString& p) { PutFile(p + "2", ab), QFile::remove(p), QFile::rename(p + "2", p); };
  // the change, whether it is one; for a stamp of other bytes, the file system and how long after the change it is read
  const std::tuple<const char*, std::function<void(const QString&)>, bool, long, long long> cases[] = {
      {"the same bytes again", put(ab), false, 0, 0},
      {"longer", put(ab + "c\r\n"), true, 0, 0},
      {"as long", put("a\tc\r\n"), true, 0, 0},
      {"removed", [](const QString& p) { QFile::remove(p); }, false, 0, 0},
      {"a folder now", [](const QString& p) { static_cast<void>(QFile::remove(p) && QDir().mkdir(p)); }, false, 0, 0},
      {"unreadable", [](const QString& p) { SetMode(p, geteuid() == 0 ? 0644 : 0); }, geteuid() != 0, 0, 0},
      {"settled", [](const QString&) {}, false, EXT4_SUPER_MAGIC, kSettledNs},
      {"changed just under 2 s before", [](const QString&) {}, true, EXT4_SUPER_MAGIC, kSettledNs - 1},
      {"on a network file system", [](const QString&) {}, true, NFS_SUPER_MAGIC, kSettledNs},
      {"settled, then its times set", retimed, true, EXT4_SUPER_MAGIC, kSettledNs},
      {"settled, then replaced", replaced, true, EXT4_SUPER_MAGIC, kSettledNs},
  };
  for (const auto& [name, change, changed, fileSystem, readAfterNs] : cases) {
    SCOPED_TRACE(name);
    PutFile(PathOf(name), ab);
    FileStatus status;
    ReadWholeFile(PathOf(name), status);
    status.fileSystem = fileSystem;
    const long long changedNs = status.file.st_ctim.tv_sec * 1000000000LL + status.file.st_ctim.tv_nsec;
    const FileStamp stamp = StampOf(PathOf(name), fileSystem ? "a\tc\r\n" : ab, status, changedNs + readAfterNs);
    change(PathOf(name));
    EXPECT_EQ(ChangedOnDisk(stamp), changed);
  }
  EXPECT_FALSE(ChangedOnDisk(FileStamp())) << "no file";
}

// Lists beside the program, or when installed in the data folder, which gets the shipped lists when it has none.
TEST(ListFolder, BesideTheProgramOrInTheUsersFolder) {
  // The program, the shipped lists, a list of the user's; the list folder, the shipped list copied there.
  const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
      {"build/app/tenaxo", "build/share/tenaxo", "", "build/app/", "<missing>"},
      {"portable/bin/tenaxo", "", "", "portable/bin/", "<missing>"},
      {"usr/bin/tenaxo", "usr/share/tenaxo", "", "data/Tenaxo/", "a\tA\r\n"},
      {"usr/bin/tenaxo", "usr/share/tenaxo", "Mien.tnx", "data/Tenaxo/", "<missing>"},
  };
  for (const auto& [program, shipped, own, folder, copied] : cases) {
    SCOPED_TRACE(S(program) + " " + own);
    QTemporaryDir root;
    const QString base = root.path() + u'/';
    for (const QString& file :
         {QString(program), shipped + QStringLiteral("/Anglais.tnx"), QStringLiteral("data/Tenaxo/") + own}) {
      if (file.startsWith(u'/') || file.endsWith(u'/')) continue;  // none in this case
      QDir().mkpath(QFileInfo(base + file).path());
      PutFile(base + file, file.endsWith("Anglais.tnx") ? "a\tA\r\n" : "");
    }
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + "data"));
    SetProgramFile(base + program);
    EXPECT_EQ(AppFolder(), base + folder);
    EXPECT_EQ(FileBytes(base + "data/Tenaxo/Anglais.tnx"), copied);
  }
  SetProgramFile(QString()), qunsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace tenaxo
