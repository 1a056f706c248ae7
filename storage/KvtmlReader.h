// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// KVTML, the vocabulary files of the KDE Education programs (Parley,
// KWordQuiz): XML, read with expat. QtCore only.
//
// KVTML 2.0: <entries> holds one <entry> per word, whatever lesson it is in;
// each <translation id="N"> has its <text> and, per direction it was
// practised in, a <grade> with <count> (times asked) and <errorcount>.
// KVTML 1: <e> entries of one <o> (original) and <t> (translations).
#include <QString>
#include <string_view>

#include "ImportList.h"

namespace tenaxo {

// Every entry, in file order (lessons flattened, inactive entries kept):
// translation 0 is Gauche, 1 Droite, 2 and on further columns (5 and on).
// Demandé and Juste come from the practice between translations 0 and 1
// only, in both directions: the grades of translation 0 from 1 and of 1
// from 0 (<grade fromid="...">), and a grade that names no language it was
// asked from (one grade per translation, as Parley writes them now); in
// KVTML 1, the counts of the first <t>, c="to;from" (times asked) and
// b="to;from" (wrong answers). Demandé is the sum of their counts, Juste that
// sum less their error counts, kept within 0..Demandé; both empty when the
// word was never asked. An entry without text in
// translations 0 and 1 is skipped, with the line its tag begins on. Element
// names are compared without their namespace.
//
// The document is XML 1.0 in UTF-8, UTF-16, ISO-8859-1 or any other encoding
// Qt knows by the name its declaration gives. Entities declared in its own
// DTD are expanded (within expat's limit on expansion); no external entity
// or DTD is ever read, and a reference to an external entity or to one not
// declared in the document is refused rather than left out.
//
// Throws Error naming the file (name) and the line when the bytes are not
// well-formed XML (bytes that are not of the encoding included), not KVTML,
// or hold no entry, and when no entry gives a pair.
ImportedList ParseKvtml(std::string_view bytes, const QString& name);

}  // namespace tenaxo
