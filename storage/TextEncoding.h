// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The encodings of text files, to and from the UTF-8 the lists hold. QtCore
// only. What a list file is encoded in is the business of ListEncoding.h.
#include <string>
#include <string_view>

namespace tenaxo {

// True when every byte is below 0x80.
bool IsAscii(std::string_view text);

// Windows-1252, each of the 256 byte values one character (the five bytes the
// code page leaves free stand for the C1 controls of the same number), to
// UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);
// The same, added at the end of text.
void AppendWindows1252AsUtf8(std::string_view bytes, std::string& text);

// Writes the Windows-1252 bytes of the UTF-8 text at out and returns their
// end; nullptr (out then partly written) when the code page lacks one of its
// characters or the text is not UTF-8. They are never more than the text's
// bytes, but words of 8 bytes are written whole: out has room for the text's
// size, or lies 8 bytes or more before the text in the same buffer.
char* Utf8ToWindows1252(std::string_view text, char* out);

// The first line (from 1, cut as TextLines.h cuts them) that is not valid
// UTF-8; 0 when the whole text is.
int FirstLineNotUtf8(std::string_view text);

// UTF-16 (little-endian, or big-endian when bigEndian) without its mark to
// UTF-8 in text; returns 0, or the first line (from 1, cut as TextLines.h
// cuts them) that is not UTF-16 (a surrogate alone, a last byte alone), text
// then holding what comes before the fault.
int Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& text);

// The text of another program's file in UTF-8, its byte-order mark gone:
// UTF-16 with its mark (LE or BE), UTF-8 with or without its mark, else
// Windows-1252 (a marked file that is not UTF-8 too). Returns bytes itself
// (less the mark) when they are UTF-8 already, else a view of storage.
std::string_view ImportedTextUtf8(std::string_view bytes, std::string& storage);

}  // namespace tenaxo
