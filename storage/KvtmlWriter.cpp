// SPDX-License-Identifier: GPL-3.0-or-later
#include "KvtmlWriter.h"

#include <QByteArrayView>
#include <QDateTime>
#include <algorithm>

#include "CellText.h"
#include "ImportList.h"
#include "Numbers.h"

namespace tenaxo {

namespace {

// The cell as XML character data: '&', '<' and '>' escaped; no control
// character (XML 1.0 holds none but TAB, CR and LF, which a cell does not
// hold either) and none of the non-characters U+FFFE and U+FFFF, which
// become a space and U+FFFD; bytes that are not UTF-8 are replaced.
void AppendEscaped(std::string& out, std::string_view cell) {
  std::string fixed;
  if (!QByteArrayView(cell.data(), static_cast<qsizetype>(cell.size())).isValidUtf8()) {
    fixed = QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size())).toStdString();
    cell = fixed;
  }
  for (size_t i = 0; i < cell.size(); ++i) {
    const char c = cell[i];
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (static_cast<unsigned char>(c) < 0x20) out += ' ';
    else if (c == '\xEF' && cell.substr(i, 3) >= "\xEF\xBF\xBE") out += "\xEF\xBF\xBD", i += 2;
    else out += c;
  }
}

void Element(std::string& out, const char* indent, const char* name, std::string_view text) {
  out += indent;
  out += '<';
  out += name;
  out += '>';
  AppendEscaped(out, text);
  out += "</";
  out += name;
  out += ">\n";
}

}  // namespace

std::string KvtmlText(const StudyTable& table, const QString& title) {
  const int further = std::max(0, std::min(table.ColCount(), kMaxImportColumns) - 5);
  const std::string name = title.toStdString();
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">\n"
      "<kvtml version=\"2.0\">\n <information>\n  <generator>Tenaxo</generator>\n";
  Element(out, "  ", "title", name);
  out += " </information>\n <identifiers>\n";
  for (int id = 0; id < 2 + further; ++id) {
    out += "  <identifier id=\"" + std::to_string(id) + "\">\n";
    Element(out, "   ", "name", id == 0 ? "Gauche" : id == 1 ? "Droite" : "Colonne " + std::to_string(id + 4));
    out += "   <locale>und</locale>\n  </identifier>\n";  // the language is not known
  }
  out += " </identifiers>\n <entries>\n";

  const std::string today = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
  int entries = 0;
  for (int r = StudyTable::FixedRows; r < table.RowCount(); ++r) {
    if (IsBlank(table.Cell(ColGauche, r)) && IsBlank(table.Cell(ColDroite, r))) continue;
    out += "  <entry id=\"" + std::to_string(entries++) + "\">\n";
    for (int id = 0; id < 2 + further; ++id) {
      const std::string& cell = table.Cell(id < 2 ? id : id + 3, r);
      if (id >= 2 && cell.empty()) continue;
      out += "   <translation id=\"" + std::to_string(id) + "\">\n";
      Element(out, "    ", "text", cell);
      const int asked = std::max(0, CellToInt(table.Cell(ColDemande, r)));
      if (id == 1 && asked > 0) {
        const int found = std::clamp(CellToInt(table.Cell(ColJuste, r)), 0, asked);
        out += "    <grade fromid=\"0\">\n     <currentgrade>0</currentgrade>\n     <count>" + std::to_string(asked) +
               "</count>\n     <errorcount>" + std::to_string(asked - found) + "</errorcount>\n     <date>" + today +
               "</date>\n    </grade>\n";
      }
      out += "   </translation>\n";
    }
    out += "  </entry>\n";
  }
  out += " </entries>\n";

  // Parley shows the words of its lessons: all of them go in one.
  out += " <lessons>\n  <container>\n";
  Element(out, "   ", "name", name);
  for (int k = 0; k < entries; ++k) out += "   <containerentry id=\"" + std::to_string(k) + "\"/>\n";
  out += "  </container>\n </lessons>\n</kvtml>\n";
  return out;
}

}  // namespace tenaxo
