// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The study list as a KVTML 2.0 document, the vocabulary files of the KDE
// Education programs (Parley, KWordQuiz). QtCore only.
#include <QString>
#include <string>

#include "StudyTable.h"

namespace tenaxo {

// The study list as a KVTML 2.0 document (UTF-8) titled title: one entry per
// data row whose Gauche or Droite is not blank (translations 0 and 1),
// further columns as further translations, all in one lesson in practice
// (<entry id="k"/> in its <container>).
//
// A pair asked (Demandé above 0) gets a grade in both directions: translation
// 1 from 0 with half the asks and half the wrong answers (Demandé - Juste,
// Juste within 0..Demandé), rounded up, translation 0 from 1 with the rest,
// so the two sum to Demandé and Juste again. Both carry the pair's ratio as
// the grade Parley shows as its confidence, out of 7:
//   currentgrade = round(7 × Juste / D), D = Demandé, doubled below 10,
// so 15 right of 20 asked is grade 5 (71 %), 5 of 5 is grade 4 (57 %).
std::string KvtmlText(const StudyTable& table, const QString& title);

}  // namespace tenaxo
