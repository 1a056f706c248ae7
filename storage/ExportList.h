// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The study list written out for other trainers. QtCore only.
//
// "Exporter la liste..." calls ExportList(table, path) with the file the user
// picked; it throws Error (the messages of WriteFileAtomically) when the file
// cannot be written, and never changes the table or the list's own file.
#include <QString>
#include <string>

#include "StudyTable.h"

namespace tenaxo {

// By the path's extension, in any letter case: KVTML 2.0 (KvtmlText, titled
// after the file's name) for ".kvtml", the pairs alone (PairsText) for
// ".tsv", else ExportText; written through WriteFileAtomically,
// so the file holds the old content or the new one, never half of it. A path
// ending in ".tnx" is refused: it would replace a list.
void ExportList(const StudyTable& table, const QString& path);

// Tab-separated UTF-8 with the header lines Anki reads, "#separator:tab",
// "#html:false" and "#columns:" naming every column (Gauche, Droite, Demandé,
// Juste, Ratio, then "Colonne 6"...), then one line per data row whose
// Gauche or Droite is not blank, every column, LF after each. Cells are
// written as they are (UTF-8); a cell that starts with a double quote, holds
// a TAB or a line end, or a first cell that starts with '#', is quoted
// CSV-style so that it reads back whole.
std::string ExportText(const StudyTable& table);

// The pairs alone, for trainers that read nothing else: per data row whose
// Gauche or Droite is not blank, Gauche, TAB, Droite, LF, in UTF-8, with no
// header line and no quoting (a TAB or line end inside a cell becomes a
// space).
std::string PairsText(const StudyTable& table);

}  // namespace tenaxo
