// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The encodings of list files. The study list holds UTF-8; a list file is
// either UTF-8 (with or without the byte-order mark EF BB BF) or Windows-1252
// (each of the 256 byte values one character), and is saved the way it was
// read, so every file stays byte-exact through a load and a save.
//
// Reading: a file that starts with the mark is UTF-8; a file without it that
// is valid UTF-8 and holds at least one multi-byte sequence is UTF-8 too (what
// other programs write); any other file is Windows-1252. Only the text before
// the first NUL counts: the rest is no part of the list.
//
// Writing: UTF-8 stays UTF-8, with or without its mark. A Windows-1252 list,
// or a list that came from no file, is written in Windows-1252 while the code
// page holds every character, and as UTF-8 with the mark otherwise.
#include <QString>
#include <string>

#include "Session.h"

namespace tenaxo {

// The file's text up to its first NUL, in UTF-8, and how it was encoded. A
// file with the mark whose bytes are not UTF-8 fails with "Le fichier
// "<path>" est marqué UTF-8, mais sa ligne <n> n'est pas de l'UTF-8 valide."
// (lines counted as the list reader counts them, from 1).
std::string DecodeListFile(std::string bytes, const QString& path, FileEncoding& encoding);

// The bytes of the file for the UTF-8 text. encoding is the list's encoding
// on entry and the one written on return.
std::string EncodeListFile(std::string text, FileEncoding& encoding);

}  // namespace tenaxo
