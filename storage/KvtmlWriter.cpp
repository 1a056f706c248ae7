// SPDX-License-Identifier: GPL-3.0-or-later
#include "KvtmlWriter.h"

#include <QByteArrayView>
#include <QDateTime>
#include <algorithm>
#include <cmath>

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

// Parley's confidence in a word is its grade out of 7: the pair's ratio,
// Juste / D with D Demandé doubled below ten asks (as the ranking has it),
// on that scale, rounded half up. found is within 0..asked, asked above 0.
int Grade(int asked, int found) {
  const double scale = asked < 10 ? 2.0 * asked : asked;
  return static_cast<int>(std::lround(7.0 * found / scale));
}

// The practice of one direction: asked of the times asked, wrong of them
// answered wrong, the confidence grade of the pair.
void AppendGrade(std::string& out, int from, int grade, int asked, int wrong, const std::string& date) {
  out += "    <grade fromid=\"" + std::to_string(from) + "\">\n     <currentgrade>" + std::to_string(grade) +
         "</currentgrade>\n     <count>" + std::to_string(asked) + "</count>\n     <errorcount>" +
         std::to_string(wrong) + "</errorcount>\n     <date>" + date + "</date>\n    </grade>\n";
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
    const int asked = std::max(0, CellToInt(table.Cell(ColDemande, r)));
    const int found = std::clamp(CellToInt(table.Cell(ColJuste, r)), 0, asked);
    for (int id = 0; id < 2 + further; ++id) {
      const std::string_view cell = table.Cell(id < 2 ? id : id + 3, r);
      if (id >= 2 && cell.empty()) continue;
      out += "   <translation id=\"" + std::to_string(id) + "\">\n";
      Element(out, "    ", "text", cell);
      if (id < 2 && asked > 0) {
        // Droite from Gauche takes the odd ask and the odd wrong answer.
        const int wrong = asked - found;
        if (id == 0) AppendGrade(out, 1, Grade(asked, found), asked / 2, wrong / 2, today);
        else AppendGrade(out, 0, Grade(asked, found), asked - asked / 2, wrong - wrong / 2, today);
      }
      out += "   </translation>\n";
    }
    out += "  </entry>\n";
  }
  out += " </entries>\n";

  // Parley shows the words of its lessons: all of them go in one, practised.
  out += " <lessons>\n  <container>\n";
  Element(out, "   ", "name", name);
  out += "   <inpractice>true</inpractice>\n";
  for (int k = 0; k < entries; ++k) out += "   <entry id=\"" + std::to_string(k) + "\"/>\n";
  out += "  </container>\n </lessons>\n</kvtml>\n";
  return out;
}

}  // namespace tenaxo
