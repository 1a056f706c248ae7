#pragma once
// The list files: one tab-separated text file per study list, named after the
// list with the extension ".tnx", in the program folder. Also the file routines
// the list commands build on: the program folder, the folder listing, and the
// whole-file reading and writing with their error messages.
//
// List file format: the cells' text (ListEncoding.h turns it into the file's
// bytes and back: UTF-8 or Windows-1252); one line per
// data row, every column joined by one TAB; CR LF after every line. Read back,
// CR LF, a lone CR and a lone LF each end a line (LF then CR is two ends), a
// last line without an end is read, and a NUL byte ends the text.
#include <QString>
#include <QStringList>
#include <string_view>
#include <vector>

#include "StudyTable.h"
#include "Utf8.h"

namespace tenaxo {

// The folder of the lists, ending with '/'; every list routine goes through
// it. A copy run from a folder of its own (a build tree, a portable folder)
// keeps its lists beside its program file. An installed copy (its program
// file in <prefix>/bin, with <prefix>/share/tenaxo present) keeps them in
// UserDataFolder() and writes nothing under the prefix: the first call of a
// run creates that folder and, when it holds no list yet, copies the lists
// shipped in <prefix>/share/tenaxo into it. Tests and the GUI tests point it
// at a folder of their own with SetAppFolder; an empty text goes back to the
// folder decided from the program file.
QString AppFolder();
void SetAppFolder(const QString& folder);

// The running program's file (/proc/self/exe, links resolved). Tests name
// another with SetProgramFile; an empty text goes back to the real one.
QString ProgramFile();
void SetProgramFile(const QString& path);

// <prefix>/share/tenaxo/ for a program file installed as <prefix>/bin/<name>
// with that folder present; "" for any other copy.
QString ShippedListsFolder(const QString& programFile);

// The user's own data folder for this program, ending with '/':
// $XDG_DATA_HOME/Tenaxo/ (by default ~/.local/share/Tenaxo/). Not created here.
QString UserDataFolder();

// The text with the platform's folder separator '/' at its end; "" gives "/".
QString WithTrailingSlash(const QString& path);

// Bare names of the entries of a folder that match the mask's last part ('*'
// any run of characters, '?' one character, letter case ignored as on the
// platform the lists come from), in the file system's order. Folders are
// included. Left out: hidden entries (names starting with a dot, except the
// mask's own text with its '*' taken as empty, i.e. ".tnx", the file of the
// empty list name) and system entries (anything that is neither a file nor a
// folder: FIFOs, sockets, devices, dangling links). A folder that cannot be
// read gives an empty list.
QStringList ListFiles(const QString& mask);

// Program folder + name + ".tnx". A backslash in the name separates folders,
// as '/' does: "sous\\liste" is the list "liste" of the subfolder "sous".
QString ListFilePath(const std::string& listName);
// An entry with that path exists and is not a folder.
bool FileExists(const QString& path);
// Deletes the file when it exists and is not read-only; a file that cannot
// be deleted stays, and false says so.
bool DeleteListFile(const QString& path);

// ---------------------------------------------------------------- format

using ListLines = std::vector<StudyTable::Row>;

// The text up to its first NUL, cut into lines and each line into cells:
// cut at TABs from the left, stopping once the rest is empty, so a single
// trailing TAB adds no cell and an empty line has no cell.
ListLines ParseListText(std::string_view text);

// Replaces the study list by the lines: ClearGrid, then one data row per
// line (one blank data row when there is none), the table widened to the
// widest line and never narrowed.
void FillTable(StudyTable& grid, ListLines lines);

// The bytes of the list file for the table: every data row, every column.
std::string ListText(const StudyTable& grid);

// ---------------------------------------------------------------- files

// The whole file. Fails with "Impossible d'ouvrir le fichier "<path>". <the
// system's text>" when it is missing, a folder, not a plain file, or cannot be
// read.
std::string ReadWholeFile(const QString& path);

// Replaces the file with the bytes, never leaving a half-written file: they
// go to a new file beside it that replaces the old one only once every byte
// is written and flushed to disk. A file that is read-only (for everyone, so
// even for the administrator), a folder, or whose new file cannot be made
// fails with "Impossible de créer le fichier "<path>". <the system's text>";
// a failed write fails with "Erreur d'écriture dans le flux". On failure the
// old file is as it was and no new file is left behind. A symbolic link
// stays: the file it points to is replaced.
void WriteFileAtomically(const QString& path, std::string_view bytes);

// What a list file held when the program last read or wrote it, to tell
// whether something else has written it since.
struct FileStamp {
  QString path;  // empty: no file
  long long size = 0;
  size_t hash = 0;
};

// The file at path, holding these bytes.
FileStamp StampOf(const QString& path, std::string_view bytes);
// The file named by the stamp now holds other bytes than it did: another
// size, or as many bytes that hash differently. (Modification times cannot
// tell: the system's clock moves in steps of milliseconds, of seconds on
// some file systems, and a copy keeps the time of its source.) A file that
// is gone, or is no plain file any more, has nothing to lose and does not
// count as changed; one that cannot be read does.
bool ChangedOnDisk(const FileStamp& stamp);

// Removes the new files that saves killed half-way left in the folder
// (".tnx-" and six letters or digits, plain files) when they were last
// written before the time given; gives how many went.
int RemoveLeftoverSaves(const QString& folder, long long beforeSecsSinceEpoch);

}  // namespace tenaxo
