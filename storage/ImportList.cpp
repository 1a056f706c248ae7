#include "ImportList.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdint>
#include <string>

#include "Errors.h"
#include "Kvtml.h"
#include "ListFiles.h"
#include "TextEncoding.h"
#include "TextLines.h"
#include "Utf8.h"

namespace tenaxo {

namespace {

constexpr size_t npos = std::string_view::npos;

[[noreturn]] void Refuse(const QString& name, const QString& what) {
  throw Error(QStringLiteral("Le fichier \"%1\" %2").arg(name, what));
}

// A text file holds no control character but TAB, the line ends, VT and FF.
void RefuseBinary(std::string_view text, const QString& name) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 && (c < '\t' || c > '\r')) {
      Refuse(name, QStringLiteral("n'est pas un fichier texte (caractère de contrôle à la ligne %1).")
                       .arg(LineEndCount(text.substr(0, i)) + 1));
    }
  }
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool Blank(std::string_view s) { return Trimmed(s).empty(); }

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// ---------------------------------------------------------------- fields

// How a field's text is taken, from the #html header.
enum class Markup { BrOnly, Html, AsWritten };

// Where the '>' ending a tag that starts at s[i] == '<' stands, npos when
// this '<' starts no tag (a lone "<" or "a < b" stays text).
// A tag is at most kMaxTag characters long, which keeps a field full of '<'
// from being scanned over and over.
constexpr size_t kMaxTag = 1024;

size_t TagEnd(std::string_view s, size_t i) {
  if (i + 1 >= s.size()) return npos;
  s = s.substr(0, i + kMaxTag);
  const char next = s[i + 1];
  const bool letter = (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z');
  if (!letter && next != '/' && next != '!') return npos;
  if (s.substr(i, 4) == "<!--") {
    const size_t end = s.find("-->", i + 4);
    return end == npos ? npos : end + 2;
  }
  for (size_t k = i + 1; k < s.size(); ++k) {
    if (s[k] == '>') return k;
    if (s[k] == '"' || s[k] == '\'') {
      k = s.find(s[k], k + 1);
      if (k == npos) return npos;
    }
  }
  return npos;
}

// The tag's name in lower case: "<BR/>" gives "br".
std::string TagName(std::string_view tag) {
  size_t k = 1;
  if (k < tag.size() && tag[k] == '/') ++k;
  const size_t start = k;
  while (k < tag.size() &&
         ((tag[k] >= 'a' && tag[k] <= 'z') || (tag[k] >= 'A' && tag[k] <= 'Z') || (tag[k] >= '0' && tag[k] <= '9'))) {
    ++k;
  }
  return Lower(tag.substr(start, k - start));
}

bool BreaksLine(const std::string& tagName) {
  return tagName == "br" || tagName == "div" || tagName == "p" || tagName == "li";
}

// A character reference at s[i] == '&': its character appended to out and
// its length returned, or 0 when it is none this reader knows.
size_t DecodeReference(std::string_view s, size_t i, std::string& out) {
  const size_t semi = s.substr(0, i + 12).find(';', i + 1);
  if (semi == npos) return 0;
  const std::string_view body = s.substr(i + 1, semi - i - 1);
  uint32_t c = 0;
  if (body.substr(0, 1) == "#") {
    const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    for (char d : digits) {
      uint32_t v;
      if (d >= '0' && d <= '9') v = static_cast<uint32_t>(d - '0');
      else if (hex && d >= 'a' && d <= 'f') v = static_cast<uint32_t>(d - 'a' + 10);
      else if (hex && d >= 'A' && d <= 'F') v = static_cast<uint32_t>(d - 'A' + 10);
      else return 0;
      c = c * (hex ? 16 : 10) + v;
      if (c > 0x10FFFF) return 0;
    }
    if (c == 0 || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    if (c < 0x20) c = ' ';  // a list cell keeps no control character
  } else if (body == "amp") {
    c = '&';
  } else if (body == "lt") {
    c = '<';
  } else if (body == "gt") {
    c = '>';
  } else if (body == "quot") {
    c = '"';
  } else if (body == "apos") {
    c = '\'';
  } else if (body == "nbsp") {
    c = ' ';  // folded with the spaces around it, as a browser shows it
  } else {
    return 0;
  }
  utf8::AppendUtf8(out, c);
  return semi - i + 1;
}

// HTML to text: tags out (those that break a line leave a space), media
// references out, character references decoded.
void StripHtml(std::string_view s, std::string& out) {
  size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '<') {
      const size_t end = TagEnd(s, i);
      if (end != npos) {
        if (BreaksLine(TagName(s.substr(i, end - i)))) out += ' ';
        i = end + 1;
        continue;
      }
    } else if (c == '&') {
      const size_t used = DecodeReference(s, i, out);
      if (used > 0) {
        i += used;
        continue;
      }
    } else if (c == '[' && s.substr(i, 7) == "[sound:") {
      const size_t end = s.find(']', i);
      if (end != npos) {
        i = end + 1;
        continue;
      }
    }
    out += c;
    ++i;
  }
}

// Only <br> (any form) becomes a space; everything else stays.
void BrToSpace(std::string_view s, std::string& out) {
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] == '<') {
      const size_t end = TagEnd(s, i);
      if (end != npos && s[i + 1] != '/' && TagName(s.substr(i, end - i)) == "br") {
        out += ' ';
        i = end + 1;
        continue;
      }
    }
    out += s[i++];
  }
}

// Length of a cloze opening "{{c<digits>::" at s[i], 0 when there is none.
size_t ClozeOpening(std::string_view s, size_t i) {
  if (s.substr(i, 3) != "{{c") return 0;
  size_t k = i + 3;
  while (k < s.size() && s[k] >= '0' && s[k] <= '9') ++k;
  if (k == i + 3 || s.substr(k, 2) != "::") return 0;
  return k + 2 - i;
}

// {{c1::mot::indice}} becomes mot, nested clozes too; a cloze that never
// closes stays as written.
void Cloze(std::string_view s, std::string& out) {
  struct Open {
    size_t start;   // where "{{c" stands in out
    size_t answer;  // where the answer begins in out
    size_t hint;    // where its "::hint" begins, npos when none
  };
  std::vector<Open> open;
  size_t i = 0;
  while (i < s.size()) {
    if (const size_t length = ClozeOpening(s, i)) {
      open.push_back({out.size(), out.size() + length, npos});
      out.append(s.substr(i, length));
      i += length;
    } else if (!open.empty() && s.substr(i, 2) == "}}") {
      const Open o = open.back();
      open.pop_back();
      const size_t end = o.hint == npos ? out.size() : o.hint;
      const std::string answer = out.substr(o.answer, end - o.answer);
      out.resize(o.start);
      out += answer;
      i += 2;
    } else {
      if (!open.empty() && open.back().hint == npos && s.substr(i, 2) == "::") open.back().hint = out.size();
      out += s[i++];
    }
  }
}

// Runs of white space become one space; none at either end.
void FoldSpaces(std::string_view s, std::string& out) {
  bool space = false;
  for (char c : s) {
    if (IsSpace(c)) {
      space = !out.empty();
    } else {
      if (space) out += ' ';
      space = false;
      out += c;
    }
  }
}

// Line breaks (CR LF counting once), TABs, VT and FF become spaces.
void ControlsToSpaces(std::string_view s, std::string& out) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
    out += IsSpace(s[i]) ? ' ' : s[i];
  }
}

class FieldCleaner {
 public:
  // A file this program exported holds its cells as they were typed: a
  // "{{c1::...}}" there is text, not an Anki cloze.
  FieldCleaner(Markup markup, bool clozes) : markup_(markup), clozes_(clozes) {}

  std::string Clean(std::string_view field) {
    a_.clear();
    switch (markup_) {
      case Markup::Html: StripHtml(field, a_); break;
      case Markup::BrOnly: BrToSpace(field, a_); break;
      case Markup::AsWritten: a_.assign(field); break;
    }
    std::string_view text = a_;
    if (clozes_ && text.find("{{c") != npos) {
      b_.clear();
      Cloze(text, b_);
      text = b_;
    }
    std::string out;
    out.reserve(text.size());
    if (markup_ == Markup::Html) FoldSpaces(text, out);
    else ControlsToSpaces(text, out);
    return out;
  }

 private:
  Markup markup_;
  bool clozes_;
  std::string a_, b_;
};

// ---------------------------------------------------------------- headers

struct Headers {
  char separator = 0;  // 0: not given
  Markup markup = Markup::BrOnly;
  std::vector<bool> notField = std::vector<bool>(kMaxImportColumns, false);
  std::string columns;  // the #columns: line as written
};

char SeparatorNamed(std::string_view raw) {
  if (raw == " ") return ' ';
  const std::string_view value = Trimmed(raw);
  const std::string name = Lower(value);
  if (name == "tab") return '\t';
  if (name == "comma") return ',';
  if (name == "semicolon") return ';';
  if (name == "space") return ' ';
  if (name == "pipe") return '|';
  if (name == "colon") return ':';
  if (value.size() == 1 && value[0] != '"' && static_cast<unsigned char>(value[0]) < 0x80) return value[0];
  if (raw == "\t") return '\t';
  return 0;
}

// One header line, without its '#'. Unknown keys are comments.
void ReadHeader(std::string_view line, Headers& headers) {
  const size_t colon = line.find(':');
  if (colon == npos) return;
  const std::string key = Lower(Trimmed(line.substr(0, colon)));
  const std::string_view raw = line.substr(colon + 1);
  const std::string_view value = Trimmed(raw);
  if (key == "separator") {
    if (const char separator = SeparatorNamed(raw)) headers.separator = separator;
  } else if (key == "html") {
    const std::string flag = Lower(value);
    if (flag == "true") headers.markup = Markup::Html;
    if (flag == "false") headers.markup = Markup::AsWritten;
  } else if (key == "columns") {
    headers.columns.assign(raw);
  } else if (key == "guid column" || key == "notetype column" || key == "deck column" || key == "tags column") {
    int n = 0;
    for (char d : value) {
      if (d < '0' || d > '9' || n > kMaxImportColumns) return;
      n = n * 10 + (d - '0');
    }
    if (n >= 1 && n <= kMaxImportColumns) headers.notField[static_cast<size_t>(n - 1)] = true;
  }
}

// TAB when any line holds one, else the one of ',' and ';' that more lines
// hold outside quotes, then the one that occurs more often, then ';' (a
// French spreadsheet's separator, its cells holding decimal commas).
char GuessSeparator(std::string_view text) {
  if (text.find('\t') != npos) return '\t';
  long lines[2] = {0, 0}, total[2] = {0, 0};
  bool seen[2] = {false, false};
  bool quoted = false;
  bool lineStart = true, comment = false;
  char previous = '\n';
  for (char c : text) {
    if (lineStart) comment = c == '#';
    lineStart = false;
    if (comment) {
      if (c == '\r' || c == '\n') lineStart = true;
      continue;
    }
    const char before = previous;
    previous = c;
    if (c == '"') {
      // A quote opens a field only at its start; a doubled one goes on.
      if (quoted) quoted = false;
      else if (before == '"' || before == ',' || before == ';' || before == '\r' || before == '\n') quoted = true;
    } else if (!quoted && (c == '\r' || c == '\n')) {
      lines[0] += seen[0], lines[1] += seen[1];
      seen[0] = seen[1] = false;
      lineStart = true;
    } else if (!quoted && (c == ',' || c == ';')) {
      const int k = c == ';';
      seen[k] = true;
      ++total[k];
    }
  }
  lines[0] += seen[0], lines[1] += seen[1];
  if (lines[1] != lines[0]) return lines[1] > lines[0] ? ';' : ',';
  return total[0] > total[1] ? ',' : ';';
}

// ---------------------------------------------------------------- records

bool PlainCount(std::string_view s) {
  if (s.empty() || s.size() > 10) return false;
  int64_t value = 0;
  for (char d : s) {
    if (d < '0' || d > '9') return false;
    value = value * 10 + (d - '0');
  }
  return value <= INT32_MAX;
}

class TextReader {
 public:
  TextReader(std::string_view text, const QString& name) : text_(text), name_(name) {}

  ImportedList Read() {
    size_t p = ReadHeaders();
    if (headers_.separator == 0) headers_.separator = GuessSeparator(text_.substr(p));
    FindCounterLayout();
    FieldCleaner cleaner(headers_.markup, !counters_);
    ImportedList list;
    while (p < text_.size()) {
      const int first = line_;
      if (text_[p] == '#') {  // a comment
        p = PastLineEnd(text_, LineEnd(text_, p));
        ++line_;
        continue;
      }
      p = ReadRecord(p);
      AddRecord(first, cleaner, list);
    }
    if (list.rows.empty()) Refuse(name_, QStringLiteral("ne contient aucune paire à importer."));
    return list;
  }

 private:
  // The '#' lines at the top; returns where the data begins.
  size_t ReadHeaders() {
    size_t p = 0;
    while (p < text_.size() && text_[p] == '#') {
      const size_t end = LineEnd(text_, p);
      ReadHeader(text_.substr(p + 1, end - p - 1), headers_);
      p = PastLineEnd(text_, end);
      ++line_;
    }
    return p;
  }

  // A file this program exported names its counter columns: take them back.
  void FindCounterLayout() {
    std::vector<std::string_view> names;
    std::string_view rest = headers_.columns;
    for (size_t column = 0;; ++column) {
      const size_t cut = rest.find(headers_.separator);
      if (column >= headers_.notField.size() || !headers_.notField[column])
        names.push_back(Trimmed(rest.substr(0, cut)));
      if (cut == npos) break;
      rest.remove_prefix(cut + 1);
    }
    static const char* const kNames[] = {"Gauche", "Droite", "Demandé", "Juste", "Ratio"};
    counters_ = names.size() >= 5 && std::equal(std::begin(kNames), std::end(kNames), names.begin());
  }

  std::string& NextField() {
    if (count_ == fields_.size()) fields_.emplace_back();
    std::string& field = fields_[count_++];
    field.clear();
    return field;
  }

  // One record (a line, or more when a quoted field holds line ends) into
  // fields_; returns where the next one begins.
  size_t ReadRecord(size_t p) {
    const char separator = headers_.separator;
    count_ = 0;
    for (;;) {
      std::string& field = NextField();
      if (p < text_.size() && text_[p] == '"') {
        const int quoteLine = line_;
        ++p;
        for (;;) {
          const size_t quote = text_.find('"', p);
          if (quote == npos) {
            Refuse(name_, QStringLiteral("contient un guillemet qui ne se ferme pas (ligne %1).").arg(quoteLine));
          }
          field.append(text_.substr(p, quote - p));
          line_ += LineEndCount(text_.substr(p, quote - p));
          p = quote + 1;
          if (p < text_.size() && text_[p] == '"') {
            field += '"';
            ++p;
          } else {
            break;
          }
        }
      }
      size_t end = p;
      while (end < text_.size() && text_[end] != separator && text_[end] != '\r' && text_[end] != '\n') ++end;
      field.append(text_.substr(p, end - p));
      p = end;
      if (p < text_.size() && text_[p] == separator) {
        ++p;
        continue;
      }
      break;
    }
    if (p < text_.size()) ++line_;
    return PastLineEnd(text_, p);
  }

  void AddRecord(int line, FieldCleaner& cleaner, ImportedList& list) {
    if (count_ == 1 && fields_[0].empty()) {
      list.skipped.push_back({line, QStringLiteral("ligne vide")});
      return;
    }
    std::vector<std::string_view> data;
    for (size_t k = 0; k < count_; ++k) {
      if (k >= headers_.notField.size() || !headers_.notField[k]) data.push_back(fields_[k]);
    }
    const size_t fixed = counters_ ? 5 : 2;  // fields that have a column of their own
    const size_t width = 5 + (data.size() > fixed ? data.size() - fixed : 0);
    if (width > static_cast<size_t>(kMaxImportColumns)) {
      list.skipped.push_back({line, QStringLiteral("plus de %1 colonnes").arg(kMaxImportColumns)});
      return;
    }
    StudyTable::Row row(5);
    for (size_t k = 0; k < data.size(); ++k) {
      if (k < 2) {
        row[k] = cleaner.Clean(data[k]);
      } else if (k < fixed) {
        if (k < 4 && PlainCount(data[k])) row[k] = data[k];  // Ratio: the ranking computes it again
      } else {
        row.push_back(cleaner.Clean(data[k]));
      }
    }
    while (row.size() > 5 && row.back().empty()) row.pop_back();
    if (Blank(row[ColGauche]) && Blank(row[ColDroite])) {
      list.skipped.push_back({line, QStringLiteral("Gauche et Droite vides")});
      return;
    }
    list.rows.push_back(std::move(row));
  }

  std::string_view text_;
  const QString& name_;
  Headers headers_;
  bool counters_ = false;
  int line_ = 1;
  std::vector<std::string> fields_;
  size_t count_ = 0;
};

}  // namespace

ImportedList ParseTextImport(std::string_view bytes, const QString& name) {
  std::string storage;
  const std::string_view text = ImportedTextUtf8(bytes, storage);
  RefuseBinary(text, name);
  return TextReader(text, name).Read();
}

ImportedList ImportListFile(const QString& path) {
  const QFileInfo info(path);
  const QString tooLarge = QStringLiteral("est trop grand pour être importé (plus de 256 Mo).");
  if (info.isFile() && info.size() > kMaxImportBytes) Refuse(path, tooLarge);
  const std::string bytes = ReadWholeFile(path);
  if (static_cast<qint64>(bytes.size()) > kMaxImportBytes) Refuse(path, tooLarge);
  if (bytes.empty()) Refuse(path, QStringLiteral("est vide."));
  if (info.suffix().compare(QLatin1String("kvtml"), Qt::CaseInsensitive) == 0) return ParseKvtml(bytes, path);
  return ParseTextImport(bytes, path);
}

QString FreeListName(const QString& baseName) {
  const QString base = baseName.isEmpty() ? QStringLiteral("Liste importée") : baseName;
  const auto taken = [](const QString& name) {
    const QFileInfo file(AppFolder() + name + QStringLiteral(".tnx"));
    return file.exists() || file.isSymLink();
  };
  QString name = base;
  for (int k = 2; taken(name); ++k) name = base + u' ' + QString::number(k);
  return name;
}

}  // namespace tenaxo
