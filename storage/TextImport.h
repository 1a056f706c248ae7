// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain text and CSV files, and the text exports of Anki ("Notes in Plain
// Text", with its header lines), read into the rows of a new list. QtCore
// only.
#include <QString>
#include <string_view>

#include "ImportedList.h"

namespace tenaxo {

// The text reader on bytes already read; name is the file named in messages.
//
// Encoding: UTF-8 (with or without its mark), UTF-16 with its mark, else
// Windows-1252. Lines end with CR LF, LF or CR.
//
// Header lines: the lines at the top of Anki's form "#key:value", the key one
// of Anki's (any case, spaces around it):
//   #separator:X   Tab, Comma, Semicolon, Space, Pipe, Colon (any case) or the
//                  character itself
//   #html:true     fields are HTML: tags go (<br>, <div>, <p>, <li> leave a
//                  space), character references are decoded, media
//                  ([sound:...], <img>) dropped, spaces folded and trimmed
//   #html:false    fields are taken as written
//   #guid column:N, #notetype column:N, #deck column:N, #tags column:N
//                  column N (from 1) is not a field
//   #columns:, #tags:, #deck:, #notetype: are read past.
// Every other line is data, one that starts with '#' too. Without header
// lines, the first two records are KWordQuiz's title and author when each
// has at most two fields and its first ends with ':' ("Title:", "Titre :"):
// they are skipped as "en-tête de KWordQuiz". Without #html, only <br>
// becomes a space. Without #separator, the separator is TAB when any line has
// one, else whichever of ',' and ';' more lines hold (';' on a tie). Fields
// may be quoted CSV-style ("a, ""b""" is a, "b"), over several lines too. An
// Anki cloze {{c1::mot::indice}} becomes mot.
//
// Gauche and Droite are the first two fields; further fields go to columns 5
// and on. A file this program exported ("#columns:" starting with Gauche,
// Droite, Demandé, Juste, Ratio) gives its counters back instead. A record
// whose Gauche and Droite are both empty or blank is skipped. Every line that
// gives no pair is in skipped, but the header lines of Anki's form.
//
// Throws Error naming the file when the text holds a control character other
// than TAB, CR, LF, VT and FF (binary), a quote that never closes, or no pair.
ImportedList ParseTextImport(std::string_view bytes, const QString& name);

}  // namespace tenaxo
