// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lists brought in from other trainers: plain text and CSV files, the text
// exports of Anki (TextImport.h), and the KVTML files of Parley and KWordQuiz
// (KvtmlReader.h). QtCore only.
//
// How the window uses it (a drop, "Importer des listes...", one file at a time):
//
//   ImportedList list = ImportListFile(path);         // throws Error: show it, go on
//   QString name = FreeListName(QFileInfo(path).completeBaseName());
//   // replace the study list with list.rows (ReplaceDataRows), save it under
//   // name at once, then tell the user list.Pairs() and list.skipped.
//
// A refused file throws before anything is made, so the caller has nothing
// to undo: no list, no file, the study list untouched. Reading never writes.
//
// The rows (ImportedList.h), the text reader on bytes (TextImport.h) and the
// new list's name (ListNames.h) come with this header.
#include <QString>

#include "ImportedList.h"

namespace tenaxo {

// Files larger than this are refused before they are read.
constexpr qint64 kMaxImportBytes = 256LL * 1024 * 1024;

// Reads the file at path: KVTML when its name ends in ".kvtml" (any letter
// case), text otherwise. Throws Error with a French message naming the file
// (and the line where one applies) when the file cannot be read, is larger
// than kMaxImportBytes, is empty, is not text (binary), holds a quote that
// never closes, is not well-formed KVTML, or gives no pair at all (only
// header lines, say).
ImportedList ImportListFile(const QString& path);

}  // namespace tenaxo
