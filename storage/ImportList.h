#pragma once
// Lists brought in from other trainers: plain text and CSV files, the text
// exports of Anki ("Notes in Plain Text", with its header lines), and the
// KVTML files of Parley and KWordQuiz (see Kvtml.h). QtCore only.
//
// How the window uses it (a drop, "Importer des listes...", one file at a time):
//
//   ImportedList list = ImportListFile(path);         // throws Error: show it, go on
//   QString name = FreeListName(QFileInfo(path).completeBaseName());
//   // replace the study list with list.rows (FillTable), save it under
//   // name at once, then tell the user list.Pairs() and list.skipped.
//
// A refused file throws before anything is made, so the caller has nothing
// to undo: no list, no file, the study list untouched. Reading never writes.
#include <QString>
#include <string_view>
#include <vector>

#include "StudyTable.h"

namespace tenaxo {

// A line of the file that gave no pair, and why, in the user's words.
struct SkippedLine {
  int line;        // from 1; for a record spread over several lines, its first
  QString reason;  // short French text, e.g. "Gauche et Droite vides"
};

struct ImportedList {
  // In the study table's layout: Gauche, Droite, Demandé, Juste, Ratio, then
  // the file's further fields. Cells are UTF-8 and never hold a TAB, CR, LF or
  // NUL (a list file could not keep them): a line break inside a field is a
  // space. Demandé and Juste are plain decimal digits, or empty when the pair
  // was never asked; Ratio is always empty (the ranking computes it). Every
  // row has at least the five columns.
  std::vector<StudyTable::Row> rows;
  // Lines (or KVTML entries) left out, in file order.
  std::vector<SkippedLine> skipped;

  int Pairs() const { return static_cast<int>(rows.size()); }
};

// Files larger than this are refused before they are read.
constexpr qint64 kMaxImportBytes = 256LL * 1024 * 1024;
// Widest row an import makes; a line with more fields is skipped.
constexpr int kMaxImportColumns = 256;

// Reads the file at path: KVTML when its name ends in ".kvtml" (any letter
// case), text otherwise. Throws Error with a French message naming the file
// (and the line where one applies) when the file cannot be read, is larger
// than kMaxImportBytes, is empty, is not text (binary), holds a quote that
// never closes, is not well-formed KVTML, or gives no pair at all (only
// header lines, say).
ImportedList ImportListFile(const QString& path);

// The text reader on bytes already read; name is the file named in messages.
//
// Encoding: UTF-8 (with or without its mark), UTF-16 with its mark, else
// Windows-1252. Lines end with CR LF, LF or CR.
//
// Header lines (at the top, starting with '#', as Anki writes them):
//   #separator:X   Tab, Comma, Semicolon, Space, Pipe, Colon (any case) or the
//                  character itself
//   #html:true     fields are HTML: tags go (<br>, <div>, <p>, <li> leave a
//                  space), character references are decoded, media
//                  ([sound:...], <img>) dropped, spaces folded and trimmed
//   #html:false    fields are taken as written
//   #guid column:N, #notetype column:N, #deck column:N, #tags column:N
//                  column N (from 1) is not a field
//   #columns:, #tags:, #deck:, #notetype: and any other '#' line are skipped.
// Without #html, only <br> becomes a space. Any other line starting with '#'
// is a comment. Without #separator, the separator is TAB when any line has
// one, else whichever of ',' and ';' more lines hold (';' on a tie). Fields
// may be quoted CSV-style ("a, ""b""" is a, "b"), over several lines too. An
// Anki cloze {{c1::mot::indice}} becomes mot.
//
// Gauche and Droite are the first two fields; further fields go to columns 5
// and on. A file this program exported ("#columns:" starting with Gauche,
// Droite, Demandé, Juste, Ratio) gives its counters back instead. A record
// whose Gauche and Droite are both empty or blank is skipped.
ImportedList ParseTextImport(std::string_view bytes, const QString& name);

// A name for the new list: baseName itself, or baseName followed by " 2",
// " 3"... when a list of that name already exists in AppFolder() (any entry
// of that path counts, so an import never overwrites anything). An empty
// base name counts as "Liste importée".
QString FreeListName(const QString& baseName);

}  // namespace tenaxo
