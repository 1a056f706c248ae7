// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text a list cell keeps of a field of another program's file: HTML
// turned into text, Anki's clozes answered, line breaks and runs of spaces
// made plain. QtCore only.
#include <string>
#include <string_view>

namespace tenaxo {

// How a field's markup is read.
enum class Markup {
  // Only <br> (any form) becomes a space; everything else is text.
  BrOnly,
  // HTML: tags go (<br>, <div>, <p>, <li> leave a space), character
  // references are decoded (&amp; &lt; &gt; &quot; &apos; &nbsp; and numeric
  // ones), media ([sound:...], <img>) are dropped.
  Html,
  // Taken as written.
  AsWritten,
};

// Fields to cell text, one after another (it keeps its buffers from one field
// to the next).
class FieldCleaner {
 public:
  // With clozes, {{c1::mot::indice}} becomes mot, nested clozes too; a cloze
  // that never closes stays as written.
  FieldCleaner(Markup markup, bool clozes) : markup_(markup), clozes_(clozes) {}

  // The field's text on one line: for Html, runs of white space become one
  // space and none is left at either end; otherwise each line break (CR LF
  // counting once), TAB, VT and FF becomes a space.
  std::string Clean(std::string_view field);

 private:
  Markup markup_;
  bool clozes_;
  std::string a_, b_;
};

}  // namespace tenaxo
