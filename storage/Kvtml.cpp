#include "Kvtml.h"

#include <QDateTime>
#include <QXmlStreamReader>
#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "CellText.h"
#include "Errors.h"
#include "Numbers.h"
#include "Utf8.h"

namespace tenaxo {

namespace {

[[noreturn]] void Refuse(const QString& name, const QString& what, qint64 line) {
  throw Error(QStringLiteral("Le fichier \"%1\" %2 (ligne %3).").arg(name, what).arg(line));
}

// A list cell keeps no control character: line breaks and TABs inside a
// word become spaces.
std::string CellText(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return text;
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Decimal digits between optional spaces, at most INT32_MAX; anything else 0.
int64_t Count(std::string_view text) {
  while (!text.empty() && IsXmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsXmlSpace(text.back())) text.remove_suffix(1);
  if (text.empty()) return 0;
  int64_t value = 0;
  for (char d : text) {
    if (d < '0' || d > '9') return 0;
    value = std::min<int64_t>(value * 10 + (d - '0'), INT32_MAX);
  }
  return value;
}

// A translation's id: decimal digits, else -1 (the translation is left out).
int TranslationId(std::string_view text) {
  const int64_t id = text.empty() || text.size() > 6 ? -1 : Count(text);
  return id == 0 && text != "0" ? -1 : static_cast<int>(id);
}

// Further translations beyond what a row may hold are left out.
constexpr int kMaxTranslation = kMaxImportColumns - 3;

enum class Event { Start, End, Done };

// ---------------------------------------------------------------- sources

// The elements of the document as QXmlStreamReader reads them.
class QtSource {
 public:
  explicit QtSource(std::string_view bytes)
      : xml_(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()))) {}

  Event Next() {
    while (!xml_.atEnd()) {
      switch (xml_.readNext()) {
        case QXmlStreamReader::StartElement: return Event::Start;
        case QXmlStreamReader::EndElement: return Event::End;
        default: break;
      }
    }
    return Event::Done;
  }
  bool Is(const char* name) const { return xml_.name() == QLatin1String(name); }
  std::string Attribute(const char* name) const {
    return xml_.attributes().value(QLatin1String(name)).toString().toStdString();
  }
  qint64 Line() const { return xml_.lineNumber(); }
  // The text of the element and all it holds; its end is read too.
  std::string ReadText() { return xml_.readElementText(QXmlStreamReader::IncludeChildElements).toStdString(); }
  void CheckWellFormed(const QString& name) const {
    if (xml_.hasError()) Refuse(name, QStringLiteral("n'est pas un fichier XML bien formé"), xml_.lineNumber());
  }

 private:
  QXmlStreamReader xml_;
};

// Thrown by FastSource at anything it does not check itself.
struct LeftToQt {};

// The same elements, read four times faster than QXmlStreamReader does, for
// the plain XML that Parley and KWordQuiz write: UTF-8 without a mark, ASCII
// names without prefixes, attributes without references or white space in
// their values, comments, a DOCTYPE without an internal subset. Whatever
// else it meets (a CDATA section, a processing instruction, another
// encoding, an entity of the DTD, a lone CR, a fault of any kind) it leaves
// to QtSource by throwing LeftToQt, so a document it reads to the end is
// well-formed, and it gives what QtSource gives (the fuzz target
// import_kvtml holds the two to that).
class FastSource {
 public:
  explicit FastSource(std::string_view bytes) : s_(bytes) {
    CheckCharacters();
    if (At("<?xml") && s_.size() > 5 && IsXmlSpace(s_[5])) Declaration();
  }

  Event Next() {
    if (pendingEnd_) {
      pendingEnd_ = false;
      Close();
      return Event::End;
    }
    for (;;) {
      if (open_.empty()) {
        SkipSpaces();
        if (p_ == s_.size()) {
          if (!rootDone_) throw LeftToQt{};
          return Event::Done;
        }
        if (At("<!--")) {
          Comment();
          continue;
        }
        if (!rootSeen_ && !doctypeSeen_ && At("<!DOCTYPE")) {
          Doctype();
          continue;
        }
        if (rootDone_) throw LeftToQt{};
        rootSeen_ = true;
      } else {
        Text(nullptr);
        if (At("<!--")) {
          Comment();
          continue;
        }
        if (At("</")) {
          EndTag();
          return Event::End;
        }
      }
      StartTag();
      return Event::Start;
    }
  }

  bool Is(const char* name) const { return name_ == name; }
  std::string Attribute(const char* name) const {
    for (const auto& [key, value] : attributes_) {
      if (key == name) return std::string(value);
    }
    return std::string();
  }
  qint64 Line() const { return line_; }

  std::string ReadText() {
    std::string text;
    if (pendingEnd_) {
      pendingEnd_ = false;
      Close();
      return text;
    }
    const size_t depth = open_.size();
    for (;;) {
      Text(&text);
      if (At("<!--")) {
        Comment();
      } else if (At("</")) {
        EndTag();
        if (open_.size() < depth) return text;
      } else {
        StartTag();
        if (pendingEnd_) {
          pendingEnd_ = false;
          Close();
        }
      }
    }
  }
  void CheckWellFormed(const QString&) const {}

 private:
  bool At(std::string_view text) const { return s_.substr(p_, text.size()) == text; }

  // Moves to position to, counting the lines passed.
  void SkipTo(size_t to) {
    line_ +=
        std::count(s_.begin() + static_cast<std::ptrdiff_t>(p_), s_.begin() + static_cast<std::ptrdiff_t>(to), '\n');
    p_ = to;
  }
  size_t SkipSpaces() {
    size_t end = p_;
    while (end < s_.size() && IsXmlSpace(s_[end])) ++end;
    const size_t count = end - p_;
    SkipTo(end);
    return count;
  }
  void Expect(std::string_view text) {
    if (!At(text)) throw LeftToQt{};
    SkipTo(p_ + text.size());
  }

  // Valid UTF-8, no control character but TAB, LF and CR LF, no U+FFFE or
  // U+FFFF, no byte-order mark. One pass: most bytes are plain ASCII.
  void CheckCharacters() const {
    if (s_.substr(0, 3) == "\xEF\xBB\xBF") throw LeftToQt{};
    static const auto special = [] {
      std::array<bool, 256> table{};
      for (int c = 0; c < 256; ++c) table[static_cast<size_t>(c)] = (c < 0x20 && c != '\n' && c != '\t') || c >= 0x80;
      return table;
    }();
    const auto* p = reinterpret_cast<const unsigned char*>(s_.data());
    const auto* end = p + s_.size();
    for (;;) {
      while (p < end && !special[*p]) ++p;
      if (p == end) return;
      if (*p == '\r') {
        if (p + 1 == end || p[1] != '\n') throw LeftToQt{};
        ++p;
        continue;
      }
      if (*p < 0x80) throw LeftToQt{};
      const int length = *p >= 0xF0 ? 4 : *p >= 0xE0 ? 3 : 2;
      if (end - p < length) throw LeftToQt{};
      const std::string_view sequence(reinterpret_cast<const char*>(p), static_cast<size_t>(length));
      if (!utf8::IsUtf8(sequence) || sequence == "\xEF\xBF\xBE" || sequence == "\xEF\xBF\xBF") throw LeftToQt{};
      p += length;
    }
  }

  std::string_view Name() {
    const size_t start = p_;
    size_t end = p_;
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (end == s_.size() || !letter(s_[end])) throw LeftToQt{};
    while (end < s_.size() &&
           (letter(s_[end]) || (s_[end] >= '0' && s_[end] <= '9') || s_[end] == '-' || s_[end] == '.')) {
      ++end;
    }
    p_ = end;
    return s_.substr(start, end - start);
  }

  // A quoted value without references, '<', or the white space that XML
  // turns into spaces.
  std::string_view Quoted() {
    if (p_ == s_.size() || (s_[p_] != '"' && s_[p_] != '\'')) throw LeftToQt{};
    const size_t close = s_.find(s_[p_], p_ + 1);
    if (close == std::string_view::npos) throw LeftToQt{};
    const std::string_view value = s_.substr(p_ + 1, close - p_ - 1);
    for (char c : value) {
      if (c == '<' || c == '&' || (c != ' ' && IsXmlSpace(c))) throw LeftToQt{};
    }
    p_ = close + 1;
    return value;
  }

  // <?xml version="1.0" encoding="UTF-8" standalone="yes"?>, each part but
  // the version optional.
  void Declaration() {
    p_ = 5;
    const char* const names[] = {"version", "encoding", "standalone"};
    for (int k = 0; k < 3; ++k) {
      const size_t mark = p_;
      if (SkipSpaces() == 0 || !At(names[k])) {
        if (k == 0) throw LeftToQt{};
        p_ = mark;
        continue;
      }
      if (Name() != names[k]) throw LeftToQt{};
      SkipSpaces();
      Expect("=");
      SkipSpaces();
      const std::string_view value = Quoted();
      const bool good = k == 0   ? value == "1.0"
                        : k == 1 ? (value == "UTF-8" || value == "utf-8")
                                 : (value == "yes" || value == "no");
      if (!good) throw LeftToQt{};
    }
    SkipSpaces();
    Expect("?>");
  }

  // <!DOCTYPE name>, or with a SYSTEM or PUBLIC identifier; no internal subset.
  void Doctype() {
    doctypeSeen_ = true;
    SkipTo(p_ + 9);
    if (SkipSpaces() == 0) throw LeftToQt{};
    Name();
    if (SkipSpaces() > 0 && !At(">")) {
      const bool pub = At("PUBLIC");
      if (!pub && !At("SYSTEM")) throw LeftToQt{};
      SkipTo(p_ + 6);
      for (int k = pub ? 2 : 1; k > 0; --k) {
        if (SkipSpaces() == 0) throw LeftToQt{};
        for (char c : Quoted()) {
          if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '.' ||
                c == '/' || c == ':' || c == '_' || c == '-')) {
            throw LeftToQt{};
          }
        }
      }
      SkipSpaces();
    }
    Expect(">");
  }

  void Comment() {
    const size_t dashes = s_.find("--", p_ + 4);
    if (dashes == std::string_view::npos || s_.substr(dashes, 3) != "-->") throw LeftToQt{};
    SkipTo(dashes + 3);
  }

  void StartTag() {
    Expect("<");
    name_ = Name();
    attributes_.clear();
    for (;;) {
      const size_t spaces = SkipSpaces();
      if (At("/>")) {
        SkipTo(p_ + 2);
        pendingEnd_ = true;
        break;
      }
      if (At(">")) {
        SkipTo(p_ + 1);
        break;
      }
      if (spaces == 0) throw LeftToQt{};
      const std::string_view key = Name();
      if (key == "xmlns") throw LeftToQt{};
      for (const auto& attribute : attributes_) {
        if (attribute.first == key) throw LeftToQt{};
      }
      SkipSpaces();
      Expect("=");
      SkipSpaces();
      attributes_.emplace_back(key, Quoted());
    }
    open_.push_back(name_);
  }

  void EndTag() {
    SkipTo(p_ + 2);
    if (Name() != open_.back()) throw LeftToQt{};
    SkipSpaces();
    Expect(">");
    Close();
  }

  void Close() {
    open_.pop_back();
    if (open_.empty()) rootDone_ = true;
  }

  // Character data up to the next '<' (which must come); its text, CR LF
  // made LF and references decoded, appended to out when given.
  void Text(std::string* out) {
    const size_t end = s_.find('<', p_);
    if (end == std::string_view::npos) throw LeftToQt{};
    const std::string_view text = s_.substr(p_, end - p_);
    if (text.find("]]>") != std::string_view::npos) throw LeftToQt{};
    size_t k = 0;
    for (;;) {
      const size_t amp = text.find('&', k);
      if (out) {
        for (char c : text.substr(k, amp == std::string_view::npos ? std::string_view::npos : amp - k)) {
          if (c != '\r') *out += c;  // only in CR LF here
        }
      }
      if (amp == std::string_view::npos) break;
      k = amp + Reference(text.substr(amp), out);
    }
    SkipTo(end);
  }

  // The reference at the start of text, decoded into out; its length.
  static size_t Reference(std::string_view text, std::string* out) {
    const size_t semi = text.substr(0, 12).find(';');
    if (semi == std::string_view::npos) throw LeftToQt{};
    const std::string_view body = text.substr(1, semi - 1);
    uint32_t c = 0;
    if (body == "amp") c = '&';
    else if (body == "lt") c = '<';
    else if (body == "gt") c = '>';
    else if (body == "quot") c = '"';
    else if (body == "apos") c = '\'';
    else if (body.size() >= 2 && body[0] == '#') {
      const bool hex = body[1] == 'x';
      const std::string_view digits = body.substr(hex ? 2 : 1);
      if (digits.empty()) throw LeftToQt{};
      for (char d : digits) {
        int v;
        if (d >= '0' && d <= '9') v = d - '0';
        else if (hex && d >= 'a' && d <= 'f') v = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F') v = d - 'A' + 10;
        else throw LeftToQt{};
        c = c * (hex ? 16 : 10) + static_cast<uint32_t>(v);
        if (c > 0x10FFFF) throw LeftToQt{};
      }
      const bool valid = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
                         (c >= 0xE000 && c <= 0xFFFD) || c >= 0x10000;
      if (!valid) throw LeftToQt{};
    } else {
      throw LeftToQt{};
    }
    if (out) utf8::AppendUtf8(*out, c);
    return semi + 1;
  }

  std::string_view s_;
  size_t p_ = 0;
  qint64 line_ = 1;
  std::vector<std::string_view> open_;
  bool rootSeen_ = false, rootDone_ = false, doctypeSeen_ = false;
  bool pendingEnd_ = false;  // the start tag just read closed itself
  std::string_view name_;
  std::vector<std::pair<std::string_view, std::string_view>> attributes_;
};

// ---------------------------------------------------------------- reader

template <class Source>
class KvtmlReader {
 public:
  KvtmlReader(std::string_view bytes, const QString& name) : xml_(bytes), name_(name) {}

  ImportedList Read() {
    for (Event event; (event = xml_.Next()) != Event::Done;) {
      if (event == Event::Start) {
        ++depth_;
        Start();
      } else {
        End();
        --depth_;
      }
    }
    xml_.CheckWellFormed(name_);
    if (!kvtml_) Refuse(name_, QStringLiteral("n'est pas un fichier KVTML"), rootLine_);
    if (entries_ == 0) Refuse(name_, QStringLiteral("ne contient aucune entrée"), endLine_);
    if (list_.rows.empty()) {
      throw Error(QStringLiteral("Le fichier \"%1\" ne contient aucune paire à importer.").arg(name_));
    }
    return std::move(list_);
  }

 private:
  bool Is(const char* name) const { return xml_.Is(name); }

  // The element's text, its end read too.
  std::string Text() {
    --depth_;
    return xml_.ReadText();
  }

  void Start() {
    if (depth_ == 1) {
      kvtml_ = Is("kvtml");
      rootLine_ = xml_.Line();
      version2_ = xml_.Attribute("version").substr(0, 1) == "2";
      return;
    }
    if (!kvtml_) return;
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
      translation_ = TranslationId(xml_.Attribute("id"));
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
    if (depth_ == 1) endLine_ = xml_.Line();
    if (depth_ == gradeDepth_) gradeDepth_ = -1;
    if (depth_ == translationDepth_) translationDepth_ = -1;
    if (depth_ == entriesDepth_) entriesDepth_ = -1;
    if (depth_ == entryDepth_) EndEntry();
  }

  void BeginEntry() {
    entryDepth_ = depth_;
    ++entries_;
    line_ = xml_.Line();
    row_.assign(5, std::string());
    asked_ = wrong_ = 0;
  }

  void SetTranslation(int id, std::string text) {
    if (id < 0 || id >= kMaxTranslation) return;
    const size_t column = id < 2 ? static_cast<size_t>(id) : static_cast<size_t>(id) + 3;
    if (row_.size() <= column) row_.resize(column + 1);
    row_[column] = CellText(std::move(text));
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

  Source xml_;
  const QString& name_;
  ImportedList list_;
  bool kvtml_ = false;  // the root is <kvtml>
  qint64 rootLine_ = 0;
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

// The cell as XML character data: '&', '<' and '>' escaped; no control
// character (XML 1.0 holds none but TAB, CR and LF, which a cell does not
// hold either) and none of the non-characters U+FFFE and U+FFFF, which
// become a space and U+FFFD; bytes that are not UTF-8 are replaced.
void AppendEscaped(std::string& out, std::string_view cell) {
  std::string fixed;
  if (!utf8::IsUtf8(cell)) {
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

std::optional<ImportedList> ParseKvtmlPlain(std::string_view bytes, const QString& name) {
  try {
    return KvtmlReader<FastSource>(bytes, name).Read();
  } catch (const LeftToQt&) {
    return std::nullopt;
  }
}

ImportedList ParseKvtml(std::string_view bytes, const QString& name) {
  std::optional<ImportedList> list = ParseKvtmlPlain(bytes, name);
  return list ? std::move(*list) : ParseKvtmlWithQt(bytes, name);
}

ImportedList ParseKvtmlWithQt(std::string_view bytes, const QString& name) {
  return KvtmlReader<QtSource>(bytes, name).Read();
}

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
