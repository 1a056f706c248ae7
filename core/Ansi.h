#pragma once
// Texts of the study list, the list names and the settings are Unicode texts
// held as UTF-8 in std::string (the alias keeps its old name, from the days
// when cells were Windows-1252 bytes). Text in Windows-1252 stays as small as
// it was, one byte a character for ASCII. These helpers convert them for the
// toolkit, which speaks UTF-16. The encodings of list files are the business
// of storage/ListEncoding.h.
#include <QString>
#include <string>
#include <string_view>

namespace tenaxo {

using std::string = std::string;

// The text of UTF-8 bytes; a byte that is not UTF-8 becomes U+FFFD.
QString ToQString(std::string_view text);

// The UTF-8 of the text; a lone surrogate becomes U+FFFD.
std::string ToUtf8(const QString& text);

// The UTF-8 of the text. False (out unchanged) when it holds a lone
// surrogate, which no file can keep.
bool TryToUtf8(const QString& text, std::string& out);


// Characters are counted as code points: a UTF-8 sequence is one character
// (a continuation byte belongs to the character before it).
size_t CharacterCount(std::string_view text);
// The byte offset where character n begins (the size when there are fewer).
size_t CharacterOffset(std::string_view text, size_t n);
// The longest start of text that holds at most maxBytes bytes and does not
// cut a character.
std::string_view Utf8Prefix(std::string_view text, size_t maxBytes);

}  // namespace tenaxo
