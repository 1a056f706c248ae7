// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The study list as a KVTML 2.0 document, the vocabulary files of the KDE
// Education programs (Parley, KWordQuiz). QtCore only.
#include <QString>
#include <string>

#include "StudyTable.h"

namespace tenaxo {

// The study list as a KVTML 2.0 document (UTF-8) titled title: one entry per
// data row whose Gauche or Droite is not blank, Demandé and Juste written as
// one grade of translation 1 (count Demandé, errorcount Demandé - Juste),
// further columns as further translations, all in one lesson.
std::string KvtmlText(const StudyTable& table, const QString& title);

}  // namespace tenaxo
