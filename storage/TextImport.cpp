// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextImport.h"

#include <QByteArrayView>
#include <algorithm>
#include <cstdint>
#include <string>

#include "Errors.h"
#include "HtmlText.h"
#include "TextEncoding.h"
#include "TextLines.h"

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

// Without the white space (space, TAB, CR, LF, VT, FF) at either end.
std::string_view Trimmed(std::string_view s) {
  const QByteArrayView trimmed = QByteArrayView(s).trimmed();
  return {trimmed.data(), static_cast<size_t>(trimmed.size())};
}

bool Blank(std::string_view s) { return Trimmed(s).empty(); }

// ASCII letters in any case.
bool Named(std::string_view s, const char* name) { return QByteArrayView(s).compare(name, Qt::CaseInsensitive) == 0; }

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
  if (Named(value, "tab")) return '\t';
  if (Named(value, "comma")) return ',';
  if (Named(value, "semicolon")) return ';';
  if (Named(value, "space")) return ' ';
  if (Named(value, "pipe")) return '|';
  if (Named(value, "colon")) return ':';
  if (value.size() == 1 && value[0] != '"') return value[0];  // ASCII: the text is UTF-8 by now
  if (raw == "\t") return '\t';
  return 0;
}

// The key of an Anki header line ("#key:value", the key one of Anki's),
// lower case; empty when the line is none.
std::string_view HeaderKey(std::string_view line) {
  static constexpr std::string_view kKeys[] = {
      "separator",       "html",        "tags",        "columns",    "notetype", "deck",
      "notetype column", "deck column", "tags column", "guid column"};
  const size_t colon = line.find(':');
  if (line.substr(0, 1) != "#" || colon == npos) return {};
  const std::string_view key = Trimmed(line.substr(1, colon - 1));
  for (std::string_view known : kKeys) {
    if (QByteArrayView(key).compare(known, Qt::CaseInsensitive) == 0) return known;
  }
  return {};
}

// One header line with its key.
void ReadHeader(std::string_view key, std::string_view line, Headers& headers) {
  const std::string_view raw = line.substr(line.find(':') + 1);
  const std::string_view value = Trimmed(raw);
  if (key == "separator") {
    if (const char separator = SeparatorNamed(raw)) headers.separator = separator;
  } else if (key == "html") {
    if (Named(value, "true")) headers.markup = Markup::Html;
    if (Named(value, "false")) headers.markup = Markup::AsWritten;
  } else if (key == "columns") {
    headers.columns.assign(raw);
  } else if (QByteArrayView(key).endsWith(" column")) {
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
  char previous = '\n';
  for (char c : text) {
    const char before = previous;
    previous = c;
    if (c == '"') {
      // A quote opens a field only at its start; a doubled one goes on.
      if (quoted) quoted = false;
      else if (before == '"' || before == ',' || before == ';' || before == '\r' || before == '\n') quoted = true;
    } else if (!quoted && (c == '\r' || c == '\n')) {
      lines[0] += seen[0], lines[1] += seen[1];
      seen[0] = seen[1] = false;
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
    // A file this program exported holds its cells as they were typed: a
    // "{{c1::...}}" there is text, not an Anki cloze.
    FieldCleaner cleaner(headers_.markup, !counters_);
    ImportedList list;
    if (p == 0) p = SkipTitleAndAuthor(list);
    while (p < text_.size()) {
      const int first = line_;
      p = ReadRecord(p);
      AddRecord(first, cleaner, list);
    }
    if (list.rows.empty()) Refuse(name_, QStringLiteral("ne contient aucune paire à importer."));
    return list;
  }

 private:
  // The Anki header lines at the top; returns where the data begins.
  size_t ReadHeaders() {
    size_t p = 0;
    for (;;) {
      const size_t end = LineEnd(text_, p);
      const std::string_view line = text_.substr(p, end - p);
      const std::string_view key = HeaderKey(line);
      if (key.empty()) return p;
      ReadHeader(key, line, headers_);
      p = PastLineEnd(text_, end);
      ++line_;
    }
  }

  // KWordQuiz's CSV starts with the document's title and author: two records
  // of at most two fields whose first ends with ':' ("Title:", "Author:", or
  // their translation, "Titre :"). They are skipped, and told.
  size_t SkipTitleAndAuthor(ImportedList& list) {
    const auto labelled = [this] {
      const std::string_view label = Trimmed(fields_[0]);
      return count_ <= 2 && label.size() > 1 && label.back() == ':';
    };
    size_t p = ReadRecord(0);
    if (labelled() && line_ == 2) {
      const size_t second = ReadRecord(p);
      if (labelled() && line_ == 3) {
        for (int line : {1, 2}) list.skipped.push_back({line, QStringLiteral("en-tête de KWordQuiz")});
        return second;
      }
    }
    line_ = 1;
    return 0;
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
    const auto endsField = [separator](char c) { return c == separator || c == '\r' || c == '\n'; };
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
      const size_t end = static_cast<size_t>(std::find_if(text_.begin() + p, text_.end(), endsField) - text_.begin());
      field.append(text_.substr(p, end - p));
      p = end;
      if (p < text_.size() && text_[p] == separator) {
        ++p;
        continue;
      }
      break;
    }
    ++line_;
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

}  // namespace tenaxo
