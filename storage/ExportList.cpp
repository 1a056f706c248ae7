// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExportList.h"

#include <QFileInfo>

#include "CellText.h"
#include "Errors.h"
#include "FileIo.h"
#include "KvtmlWriter.h"

namespace tenaxo {

namespace {

void AppendCell(std::string& out, std::string_view cell, bool first) {
  const bool quote = (!cell.empty() && cell[0] == '"') || (first && !cell.empty() && cell[0] == '#') ||
                     cell.find_first_of("\t\r\n") != std::string::npos;
  if (!quote) {
    out += cell;
    return;
  }
  out += '"';
  for (char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string ExportText(const StudyTable& table) {
  std::string out = "#separator:tab\n#html:false\n#columns:Gauche\tDroite\tDemandé\tJuste\tRatio";
  for (int c = 5; c < table.ColCount(); ++c) out += "\tColonne " + std::to_string(c + 1);
  out += '\n';
  for (int r = StudyTable::FixedRows; r < table.RowCount(); ++r) {
    if (IsBlank(table.Cell(ColGauche, r)) && IsBlank(table.Cell(ColDroite, r))) continue;
    for (int c = 0; c < table.ColCount(); ++c) {
      if (c > 0) out += '\t';
      AppendCell(out, table.Cell(c, r), c == 0);
    }
    out += '\n';
  }
  return out;
}

std::string PairsText(const StudyTable& table) {
  std::string out;
  const auto append = [&out](std::string_view cell) {
    for (char c : cell) out += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
  };
  for (int r = StudyTable::FixedRows; r < table.RowCount(); ++r) {
    if (IsBlank(table.Cell(ColGauche, r)) && IsBlank(table.Cell(ColDroite, r))) continue;
    append(table.Cell(ColGauche, r));
    out += '\t';
    append(table.Cell(ColDroite, r));
    out += '\n';
  }
  return out;
}

void ExportList(const StudyTable& table, const QString& path) {
  const QFileInfo file(path);
  if (file.suffix().compare(QLatin1String("tnx"), Qt::CaseInsensitive) == 0) {
    throw Error(
        QStringLiteral("Impossible d'exporter vers \"%1\" : un fichier .tnx est une liste du programme.").arg(path));
  }
  const auto named = [&file](const char* suffix) {
    return file.suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
  };
  if (named("kvtml")) WriteFileAtomically(path, KvtmlText(table, file.completeBaseName()));
  else if (named("tsv")) WriteFileAtomically(path, PairsText(table));
  else WriteFileAtomically(path, ExportText(table));
}

}  // namespace tenaxo
