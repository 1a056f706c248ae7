#include "Kvtml.h"

#include <QDateTime>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cstdint>

#include "Errors.h"
#include "Outils.h"

namespace tenaxo {

namespace {

[[noreturn]] void Refuse(const QString& name, const QString& what, qint64 line) {
  throw Error(QStringLiteral("Le fichier \"%1\" %2 (ligne %3).").arg(name, what).arg(line));
}

// A list cell keeps no control character: line breaks and TABs inside a
// word become spaces.
std::string CellText(const QString& text) {
  std::string cell = text.toStdString();
  for (char& c : cell) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return cell;
}

int64_t Count(const QString& text) {
  bool ok = false;
  const qlonglong value = text.trimmed().toLongLong(&ok);
  return ok && value > 0 ? std::min<qlonglong>(value, INT32_MAX) : 0;
}

// Further translations beyond what a row may hold are left out.
constexpr int kMaxTranslation = kMaxImportColumns - 4;

class KvtmlReader {
 public:
  KvtmlReader(std::string_view bytes, const QString& name)
      : xml_(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()))), name_(name) {}

  ImportedList Read() {
    while (!xml_.atEnd()) {
      switch (xml_.readNext()) {
        case QXmlStreamReader::StartElement:
          ++depth_;
          Start();
          break;
        case QXmlStreamReader::EndElement:
          End();
          --depth_;
          break;
        default:
          break;
      }
    }
    if (xml_.hasError()) Refuse(name_, QStringLiteral("n'est pas un fichier XML bien formé"), xml_.lineNumber());
    if (entries_ == 0) Refuse(name_, QStringLiteral("ne contient aucune entrée"), endLine_);
    if (list_.rows.empty()) {
      throw Error(QStringLiteral("Le fichier \"%1\" ne contient aucune paire à importer.").arg(name_));
    }
    return std::move(list_);
  }

 private:
  bool Is(const char* name) const { return xml_.name() == QLatin1String(name); }

  // The element's text, its end read too.
  QString Text() {
    const QString text = xml_.readElementText(QXmlStreamReader::IncludeChildElements);
    --depth_;
    return text;
  }

  void Start() {
    if (depth_ == 1) {
      if (!Is("kvtml")) Refuse(name_, QStringLiteral("n'est pas un fichier KVTML"), xml_.lineNumber());
      version2_ = xml_.attributes().value(QLatin1String("version")).startsWith(u'2');
      return;
    }
    if (version2_) {
      StartVersion2();
    } else {
      StartVersion1();
    }
  }

  void StartVersion2() {
    if (depth_ == 2 && Is("entries")) {
      entriesDepth_ = depth_;
    } else if (entriesDepth_ > 0 && depth_ == entriesDepth_ + 1 && Is("entry")) {
      BeginEntry();
    } else if (entryDepth_ > 0 && depth_ == entryDepth_ + 1 && Is("translation")) {
      translationDepth_ = depth_;
      translation_ = xml_.attributes().value(QLatin1String("id")).toInt();
    } else if (translationDepth_ > 0 && depth_ == translationDepth_ + 1 && Is("text")) {
      SetTranslation(translation_, Text());
    } else if (translationDepth_ > 0 && depth_ == translationDepth_ + 1 && Is("grade")) {
      gradeDepth_ = depth_;
    } else if (gradeDepth_ > 0 && depth_ == gradeDepth_ + 1 && (translation_ == 0 || translation_ == 1)) {
      if (Is("count")) {
        asked_ += Count(Text());
      } else if (Is("errorcount")) {
        wrong_ += Count(Text());
      }
    }
  }

  void StartVersion1() {
    if (entryDepth_ < 0 && Is("e")) {
      BeginEntry();
      translation_ = 0;
    } else if (entryDepth_ > 0 && depth_ == entryDepth_ + 1 && Is("o")) {
      SetTranslation(0, Text());
    } else if (entryDepth_ > 0 && depth_ == entryDepth_ + 1 && Is("t")) {
      SetTranslation(++translation_, Text());
    }
  }

  void End() {
    if (depth_ == 1) endLine_ = xml_.lineNumber();
    if (depth_ == gradeDepth_) gradeDepth_ = -1;
    if (depth_ == translationDepth_) translationDepth_ = -1;
    if (depth_ == entriesDepth_) entriesDepth_ = -1;
    if (depth_ == entryDepth_) EndEntry();
  }

  void BeginEntry() {
    entryDepth_ = depth_;
    ++entries_;
    line_ = xml_.lineNumber();
    row_.assign(5, std::string());
    asked_ = wrong_ = 0;
  }

  void SetTranslation(int id, const QString& text) {
    if (id < 0 || id >= kMaxTranslation) return;
    const size_t column = id < 2 ? static_cast<size_t>(id) : static_cast<size_t>(id) + 3;
    if (row_.size() <= column) row_.resize(column + 1);
    row_[column] = CellText(text);
  }

  void EndEntry() {
    entryDepth_ = -1;
    while (row_.size() > 5 && row_.back().empty()) row_.pop_back();
    if (IsBlank(row_[ColGauche]) && IsBlank(row_[ColDroite])) {
      list_.skipped.push_back({static_cast<int>(line_), QStringLiteral("entrée sans texte")});
      return;
    }
    const int64_t asked = std::min<int64_t>(asked_, INT32_MAX);
    if (asked > 0) {
      row_[ColDemande] = std::to_string(asked);
      row_[ColJuste] = std::to_string(std::clamp<int64_t>(asked - wrong_, 0, asked));
    }
    list_.rows.push_back(std::move(row_));
  }

  QXmlStreamReader xml_;
  const QString& name_;
  ImportedList list_;
  bool version2_ = false;
  int depth_ = 0;
  int entriesDepth_ = -1, entryDepth_ = -1, translationDepth_ = -1, gradeDepth_ = -1;
  int translation_ = 0;
  int entries_ = 0;
  qint64 line_ = 0;     // where the entry began
  qint64 endLine_ = 0;  // where the document ended
  StudyTable::Row row_;
  int64_t asked_ = 0, wrong_ = 0;
};

// XML 1.0 holds no control character but TAB, CR and LF, which a cell does
// not hold either: all become spaces, and the two non-characters a
// replacement character.
QString XmlText(const std::string& cell) {
  QString text = QString::fromStdString(cell);
  for (QChar& c : text) {
    if (c.unicode() < 0x20) c = u' ';
    else if (c.unicode() == 0xFFFE || c.unicode() == 0xFFFF) c = QChar(QChar::ReplacementCharacter);
  }
  return text;
}

}  // namespace

ImportedList ParseKvtml(std::string_view bytes, const QString& name) { return KvtmlReader(bytes, name).Read(); }

std::string KvtmlText(const StudyTable& table, const QString& title) {
  const int further = std::max(0, std::min(table.ColCount(), kMaxImportColumns) - 5);
  QByteArray bytes;
  QXmlStreamWriter xml(&bytes);
  xml.setAutoFormatting(true);
  xml.setAutoFormattingIndent(1);
  xml.writeStartDocument();
  xml.writeDTD(QStringLiteral("<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"));
  xml.writeStartElement(QStringLiteral("kvtml"));
  xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));

  xml.writeStartElement(QStringLiteral("information"));
  xml.writeTextElement(QStringLiteral("generator"), QStringLiteral("Tenaxo"));
  xml.writeTextElement(QStringLiteral("title"), title);
  xml.writeEndElement();

  xml.writeStartElement(QStringLiteral("identifiers"));
  for (int id = 0; id < 2 + further; ++id) {
    xml.writeStartElement(QStringLiteral("identifier"));
    xml.writeAttribute(QStringLiteral("id"), QString::number(id));
    xml.writeTextElement(QStringLiteral("name"), id == 0   ? QStringLiteral("Gauche")
                                                 : id == 1 ? QStringLiteral("Droite")
                                                           : QStringLiteral("Colonne %1").arg(id + 4));
    xml.writeTextElement(QStringLiteral("locale"), QStringLiteral("und"));  // language not known
    xml.writeEndElement();
  }
  xml.writeEndElement();

  const QString today = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
  int entries = 0;
  xml.writeStartElement(QStringLiteral("entries"));
  for (int r = StudyTable::FixedRows; r < table.RowCount(); ++r) {
    if (IsBlank(table.Cell(ColGauche, r)) && IsBlank(table.Cell(ColDroite, r))) continue;
    xml.writeStartElement(QStringLiteral("entry"));
    xml.writeAttribute(QStringLiteral("id"), QString::number(entries++));
    for (int id = 0; id < 2 + further; ++id) {
      const std::string& cell = table.Cell(id < 2 ? id : id + 3, r);
      if (id >= 2 && cell.empty()) continue;
      xml.writeStartElement(QStringLiteral("translation"));
      xml.writeAttribute(QStringLiteral("id"), QString::number(id));
      xml.writeTextElement(QStringLiteral("text"), XmlText(cell));
      const int asked = std::max(0, CellToInt(table.Cell(ColDemande, r)));
      if (id == 1 && asked > 0) {
        const int found = std::clamp(CellToInt(table.Cell(ColJuste, r)), 0, asked);
        xml.writeStartElement(QStringLiteral("grade"));
        xml.writeAttribute(QStringLiteral("fromid"), QStringLiteral("0"));
        xml.writeTextElement(QStringLiteral("currentgrade"), QStringLiteral("0"));
        xml.writeTextElement(QStringLiteral("count"), QString::number(asked));
        xml.writeTextElement(QStringLiteral("errorcount"), QString::number(asked - found));
        xml.writeTextElement(QStringLiteral("date"), today);
        xml.writeEndElement();
      }
      xml.writeEndElement();
    }
    xml.writeEndElement();
  }
  xml.writeEndElement();

  // Parley shows the words of its lessons: all of them go in one.
  xml.writeStartElement(QStringLiteral("lessons"));
  xml.writeStartElement(QStringLiteral("container"));
  xml.writeTextElement(QStringLiteral("name"), title);
  for (int k = 0; k < entries; ++k) {
    xml.writeEmptyElement(QStringLiteral("containerentry"));
    xml.writeAttribute(QStringLiteral("id"), QString::number(k));
  }
  xml.writeEndElement();
  xml.writeEndElement();

  xml.writeEndElement();
  xml.writeEndDocument();
  return bytes.toStdString();
}

}  // namespace tenaxo
