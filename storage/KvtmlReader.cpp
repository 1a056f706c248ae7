// SPDX-License-Identifier: GPL-3.0-or-later
#include "KvtmlReader.h"

#include <expat.h>

#include <QStringDecoder>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "CellText.h"
#include "Errors.h"
#include "TextLines.h"

namespace tenaxo {

namespace {

[[noreturn]] void Refuse(const QString& name, const QString& what, qint64 line) {
  throw Error(QStringLiteral("Le fichier \"%1\" %2 (ligne %3).").arg(name, what).arg(line));
}

[[noreturn]] void RefuseXml(const QString& name, qint64 line) {
  Refuse(name, QStringLiteral("n'est pas un fichier XML bien formé"), line);
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
  int64_t value = 0;
  for (char d : text) {
    if (d < '0' || d > '9') return 0;
    value = std::min<int64_t>(value * 10 + (d - '0'), INT32_MAX);
  }
  return value;
}

// A translation's id: decimal digits, else -1 (the translation is left out).
int TranslationId(std::string_view text) {
  const int64_t id = Count(text);
  return id == 0 && text != "0" ? -1 : static_cast<int>(id);
}

// Further translations beyond what a row may hold are left out.
constexpr int kMaxTranslation = kMaxImportColumns - 3;

// expat names an element of a namespace "<namespace>\1<name>"; no name or
// namespace holds that character.
constexpr char kNamespaceEnd = '\1';

std::string_view LocalName(const char* name) {
  const char* end = std::strrchr(name, kNamespaceEnd);
  return end ? end + 1 : name;
}

// The attribute's value; null when the element has none of that name.
const char* AttributeOrNull(const char** attributes, const char* name) {
  for (; *attributes; attributes += 2) {
    if (std::strcmp(attributes[0], name) == 0) return attributes[1];
  }
  return nullptr;
}

std::string_view Attribute(const char** attributes, const char* name) {
  const char* value = AttributeOrNull(attributes, name);
  return value ? value : "";
}

// A count of each direction, "3;2" (KVTML 1), as their sum; "3" alone is 3.
int64_t CountPair(std::string_view text) {
  const size_t semicolon = text.find(';');
  if (semicolon == std::string_view::npos) return Count(text);
  return Count(text.substr(0, semicolon)) + Count(text.substr(semicolon + 1));
}

class KvtmlReader {
 public:
  explicit KvtmlReader(const QString& name) : name_(name) {}

  // Reads the document, as the encoding given when not null. False when its
  // declaration names an encoding that expat does not know (Encoding()).
  bool Parse(std::string_view bytes, const char* encoding) {
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreateNS(encoding, kNamespaceEnd), XML_ParserFree);
    if (!parser) throw std::bad_alloc();
    parser_ = parser.get();
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser_, OnText);
    XML_SetXmlDeclHandler(parser_, OnDeclaration);
    XML_SetSkippedEntityHandler(parser_, OnSkippedEntity);
    XML_SetExternalEntityRefHandler(parser_, OnExternalEntity);
    XML_SetUnknownEncodingHandler(parser_, OnUnknownEncoding, this);
    // expat takes at most INT_MAX bytes at a time.
    for (size_t done = 0;;) {
      const size_t size = std::min<size_t>(bytes.size() - done, INT_MAX);
      const bool last = done + size == bytes.size();
      if (XML_Parse(parser_, bytes.data() + done, static_cast<int>(size), last) != XML_STATUS_OK) {
        if (XML_GetErrorCode(parser_) == XML_ERROR_UNKNOWN_ENCODING) return false;
        RefuseXml(name_, static_cast<qint64>(XML_GetCurrentLineNumber(parser_)));
      }
      if (last) return true;
      done += size;
    }
  }

  const std::string& Encoding() const { return encoding_; }

  ImportedList Result() {
    if (!kvtml_) Refuse(name_, QStringLiteral("n'est pas un fichier KVTML"), rootLine_);
    if (entries_ == 0) Refuse(name_, QStringLiteral("ne contient aucune entrée"), endLine_);
    if (list_.rows.empty()) {
      throw Error(QStringLiteral("Le fichier \"%1\" ne contient aucune paire à importer.").arg(name_));
    }
    return std::move(list_);
  }

 private:
  // Where the text of an element goes once read.
  enum class Into { Translation, Count, Errors };

  static void XMLCALL OnStart(void* reader, const XML_Char* name, const XML_Char** attributes) {
    static_cast<KvtmlReader*>(reader)->Start(LocalName(name), attributes);
  }
  static void XMLCALL OnEnd(void* reader, const XML_Char*) { static_cast<KvtmlReader*>(reader)->End(); }
  static void XMLCALL OnText(void* reader, const XML_Char* text, int size) {
    auto* self = static_cast<KvtmlReader*>(reader);
    if (self->textDepth_ != 0) self->text_.append(text, static_cast<size_t>(size));
  }
  // XML 1.0 only.
  static void XMLCALL OnDeclaration(void* reader, const XML_Char* version, const XML_Char*, int) {
    if (version && std::strcmp(version, "1.0") != 0) XML_StopParser(static_cast<KvtmlReader*>(reader)->parser_, false);
  }
  // A general entity that is not declared in the document: its text would
  // be lost.
  static void XMLCALL OnSkippedEntity(void* reader, const XML_Char*, int parameterEntity) {
    if (!parameterEntity) XML_StopParser(static_cast<KvtmlReader*>(reader)->parser_, false);
  }
  // No external entity is read: its text would be lost too.
  static int XMLCALL OnExternalEntity(XML_Parser, const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*) {
    return XML_STATUS_ERROR;
  }
  static int XMLCALL OnUnknownEncoding(void* reader, const XML_Char* name, XML_Encoding*) {
    static_cast<KvtmlReader*>(reader)->encoding_ = name;
    return XML_STATUS_ERROR;
  }

  qint64 Line() const { return static_cast<qint64>(XML_GetCurrentLineNumber(parser_)); }

  void Start(std::string_view name, const char** attributes) {
    ++depth_;
    if (depth_ == 1) {
      kvtml_ = name == "kvtml";
      rootLine_ = Line();
      version2_ = Attribute(attributes, "version").substr(0, 1) == "2";
    } else if (kvtml_ && version2_) {
      StartVersion2(name, attributes);
    } else if (kvtml_) {
      StartVersion1(name, attributes);
    }
  }

  void StartVersion2(std::string_view name, const char** attributes) {
    if (depth_ == 2 && name == "entries") {
      entriesDepth_ = depth_;
    } else if (depth_ == entriesDepth_ + 1 && name == "entry") {
      BeginEntry();
    } else if (depth_ == entryDepth_ + 1 && name == "translation") {
      translationDepth_ = depth_;
      translation_ = TranslationId(Attribute(attributes, "id"));
    } else if (depth_ == translationDepth_ + 1 && name == "text") {
      ReadText(Into::Translation, translation_);
    } else if (depth_ == translationDepth_ + 1 && name == "grade") {
      // The practice between Gauche and Droite: a grade of translation 0
      // from 1 or of 1 from 0, or one that names no language it was asked
      // from (one grade per translation).
      gradeDepth_ = depth_;
      const char* from = AttributeOrNull(attributes, "fromid");
      gradeCounts_ = (translation_ == 0 || translation_ == 1) && (!from || TranslationId(from) == 1 - translation_);
    } else if (depth_ == gradeDepth_ + 1 && gradeCounts_) {
      if (name == "count") {
        ReadText(Into::Count, 0);
      } else if (name == "errorcount") {
        ReadText(Into::Errors, 0);
      }
    }
  }

  // The first <t> holds the practice with the original <o>: its times asked
  // (c) and wrong answers (b), "to;from" or one number.
  void StartVersion1(std::string_view name, const char** attributes) {
    if (entryDepth_ == 0 && name == "e") {
      BeginEntry();
      translation_ = 0;
    } else if (depth_ == entryDepth_ + 1 && name == "o") {
      ReadText(Into::Translation, 0);
    } else if (depth_ == entryDepth_ + 1 && name == "t") {
      ReadText(Into::Translation, ++translation_);
      if (translation_ == 1) {
        asked_ += CountPair(Attribute(attributes, "c"));
        wrong_ += CountPair(Attribute(attributes, "b"));
      }
    }
  }

  // The text of the element just begun and of all it holds, up to its end.
  void ReadText(Into into, int translation) {
    textDepth_ = depth_;
    into_ = into;
    textTranslation_ = translation;
    text_.clear();
  }

  void End() {
    if (depth_ == textDepth_) {
      textDepth_ = 0;
      if (into_ == Into::Translation) SetTranslation(textTranslation_, std::move(text_));
      if (into_ == Into::Count) asked_ += Count(text_);
      if (into_ == Into::Errors) wrong_ += Count(text_);
    }
    if (depth_ == 1) endLine_ = Line();
    if (depth_ == gradeDepth_) gradeDepth_ = 0;
    if (depth_ == translationDepth_) translationDepth_ = 0;
    if (depth_ == entriesDepth_) entriesDepth_ = 0;
    if (depth_ == entryDepth_) EndEntry();
    --depth_;
  }

  void BeginEntry() {
    entryDepth_ = depth_;
    ++entries_;
    line_ = Line();
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
    entryDepth_ = 0;
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

  const QString& name_;
  XML_Parser parser_ = nullptr;
  std::string encoding_;  // the declared encoding expat does not know
  ImportedList list_;
  bool kvtml_ = false;  // the root is <kvtml>
  qint64 rootLine_ = 0;
  bool version2_ = false;
  int depth_ = 0;
  // The depth of the open element of each kind, from 1 (the root); 0: none
  // open. The rules read an element only one level below one of them.
  int entriesDepth_ = 0, entryDepth_ = 0, translationDepth_ = 0, gradeDepth_ = 0;
  bool gradeCounts_ = false;  // the open grade is of practice between Gauche and Droite
  int translation_ = 0;
  int textDepth_ = 0;  // the element whose text is being read
  Into into_ = Into::Translation;
  int textTranslation_ = 0;
  std::string text_;
  int entries_ = 0;
  qint64 line_ = 0;     // where the entry began
  qint64 endLine_ = 0;  // where the document ended
  StudyTable::Row row_;
  int64_t asked_ = 0, wrong_ = 0;
};

// A document in an encoding that expat does not know (Windows-1252, say) as
// UTF-8, by Qt's decoder of that name, one line at a time as XML counts them
// (CR LF, CR or LF; no character of such an encoding holds the byte of CR or
// LF): bytes that are not of the encoding are refused with their line. The
// name is on line 1, in the declaration.
std::string Recoded(std::string_view bytes, const std::string& encoding, const QString& name) {
  QStringDecoder decoder(encoding.c_str());
  if (!decoder.isValid()) RefuseXml(name, 1);
  QString text;
  qint64 line = 1;
  for (size_t start = 0; start < bytes.size(); ++line) {
    const size_t end = PastLineEnd(bytes, LineEnd(bytes, start));
    text += decoder.decode(QByteArrayView(bytes.data() + start, static_cast<qsizetype>(end - start)));
    if (decoder.hasError()) RefuseXml(name, line);
    start = end;
  }
  return text.toStdString();
}

}  // namespace

ImportedList ParseKvtml(std::string_view bytes, const QString& name) {
  KvtmlReader reader(name);
  if (reader.Parse(bytes, nullptr)) return reader.Result();
  const std::string text = Recoded(bytes, reader.Encoding(), name);
  KvtmlReader again(name);
  again.Parse(text, "UTF-8");
  return again.Result();
}

}  // namespace tenaxo
