#pragma once
// KVTML, the vocabulary files of the KDE Education programs (Parley,
// KWordQuiz): XML, read with QXmlStreamReader. QtCore only.
//
// KVTML 2.0: <entries> holds one <entry> per word, whatever lesson it is in;
// each <translation id="N"> has its <text> and, per direction it was
// practised in, a <grade> with <count> (times asked) and <errorcount>.
// KVTML 1: <e> entries of one <o> (original) and <t> (translations).
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "ImportList.h"
#include "StudyTable.h"

namespace tenaxo {

// Every entry, in file order (lessons flattened, inactive entries kept):
// translation 0 is Gauche, 1 Droite, 2 and on further columns (5 and on).
// Demandé is the sum of the counts of the grades of translations 0 and 1,
// Juste that sum less the sum of their error counts, kept within 0..Demandé;
// both empty when the word was never asked. An entry without text in
// translations 0 and 1 is skipped, with its line. Throws Error naming the
// file (name) and the line when the bytes are not well-formed XML, not KVTML,
// or hold no entry.
// Plain documents as Parley writes them are read by a scanner of this file,
// everything else (and every fault) by QXmlStreamReader; both give the same.
ImportedList ParseKvtml(std::string_view bytes, const QString& name);
// The same read through QXmlStreamReader only, and through the scanner only
// (nothing when the scanner leaves the document to QXmlStreamReader): the
// tests and the fuzz target hold the two equal.
ImportedList ParseKvtmlWithQt(std::string_view bytes, const QString& name);
std::optional<ImportedList> ParseKvtmlPlain(std::string_view bytes, const QString& name);

// The study list as a KVTML 2.0 document (UTF-8) titled title: one entry per
// data row whose Gauche or Droite is not blank, Demandé and Juste written as
// one grade of translation 1 (count Demandé, errorcount Demandé - Juste),
// further columns as further translations, all in one lesson.
std::string KvtmlText(const StudyTable& table, const QString& title);

}  // namespace tenaxo
