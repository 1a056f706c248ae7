// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the statistics read from the journal (Journal.h), for one list, by
// its name, or for every list (none); and the journal written out as CSV.
// A journal that is not open gives nothing.
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "AnswerHistory.h"
#include "Journal.h"

namespace tenaxo {

using ListScope = std::optional<std::string>;

// The answers of each day that has some, by day.
std::vector<DayCount> AnswersPerDay(const Journal& journal, const ListScope& list);

// A pair as the journal counted it, from its first answer on.
struct PairCount {
  std::string list;
  std::string left;
  std::string right;
  int32_t asked = 0;
  int32_t found = 0;
};

// The pairs that resist most: the count lowest shares of "Oui" among those
// asked minAsked times or more; of equal shares, the more asked first.
std::vector<PairCount> ResistingPairs(const Journal& journal, const ListScope& list, int32_t minAsked = 5,
                                      int32_t count = 20);

// Every answer, in the order written, as CSV (UTF-8, RFC 4180 quoting, one
// header line): date (ISO 8601, local time with its offset), liste, gauche,
// droite, question ("gauche" or "droite": the side shown), trouvee (1 or 0),
// serie. The file is replaced whole or not at all; a failure throws
// tenaxo::Error ("Impossible de créer le fichier ..." or "Erreur d'écriture
// dans le flux").
void ExportJournalCsv(const Journal& journal, const QString& path);

}  // namespace tenaxo
