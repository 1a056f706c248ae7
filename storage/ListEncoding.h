// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The encodings of list files. The study list holds UTF-8; a list file is
// either UTF-8 (with or without the byte-order mark EF BB BF) or Windows-1252
// (each of the 256 byte values one character), and is saved the way it was
// read, so every file stays byte-exact through a load and a save.
//
// Reading: a file that starts with the mark is UTF-8; a file that starts with
// the mark of UTF-16 (FF FE or FE FF) is UTF-16 of that byte order; a file
// without a mark that is valid UTF-8 and holds at least one multi-byte
// sequence is UTF-8 too (what other programs write); any other file is
// Windows-1252. A text holds no NUL: NULs that end the file are no part of
// the list, a NUL before other characters refuses the file (UTF-16 without
// its mark, or no text).
//
// Writing: UTF-8 stays UTF-8, with or without its mark; a UTF-16 list is
// written as UTF-8 with the mark. A Windows-1252 list, or a list that came
// from no file, is written in Windows-1252 while the code page holds every
// character, and as UTF-8 with the mark otherwise.
#include <QString>
#include <string>

#include "FileIo.h"
#include "ListFormat.h"
#include "Session.h"

namespace tenaxo {

// The file's text in UTF-8, and how it was encoded. Fails, with the line
// counted as the list reader counts them (from 1), for a file marked UTF-8
// whose bytes are not: "Le fichier "<path>" est marqué UTF-8, mais sa ligne
// <n> n'est pas de l'UTF-8 valide."; marked UTF-16 and not: "... est marqué
// UTF-16, mais sa ligne <n> n'est pas de l'UTF-16 valide."; with a NUL
// before other characters: "Le fichier "<path>" n'est pas une liste : sa
// ligne <n> contient un caractère nul (...)".
std::string DecodeListFile(std::string bytes, const QString& path, FileEncoding& encoding);
// The same text cut into lines and cells (ParseListText), with no copy of the
// whole text on the way.
ListRows DecodeListLines(std::string bytes, const QString& path, FileEncoding& encoding);

// The bytes of the file for the UTF-8 text. encoding is the list's encoding
// on entry and the one written on return.
std::string EncodeListFile(std::string text, FileEncoding& encoding);
// The bytes of the list file for the table (ListText, ListFormat.h), encoded
// as EncodeListFile does, appended to the sink in pieces as they are made.
void WriteListBytes(const StudyTable& grid, FileEncoding& encoding, ByteSink& sink);
// The same bytes, whole.
std::string ListFileBytes(const StudyTable& grid, FileEncoding& encoding);

}  // namespace tenaxo
