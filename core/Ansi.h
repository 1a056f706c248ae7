#pragma once
// Texts of the study list, the list files and the settings are 8-bit texts in
// the Windows-1252 code page. They live in std::string as raw bytes; these
// helpers convert them for the toolkit, which speaks UTF-16.
#include <QString>
#include <string>
#include <string_view>

namespace tenaxo {

using AnsiString = std::string;

// Every byte value maps to one character and back, so decoding never fails.
QString AnsiToQString(std::string_view text);

// Converts to Windows-1252; returns false (and leaves out unchanged) when a
// character has no place in the code page.
bool QStringToAnsi(const QString& text, AnsiString& out);

// For literals written in the sources (UTF-8) that are known to fit.
AnsiString Ansi(const char* utf8);

// The first character of text that Windows-1252 cannot hold, or a null QChar.
QChar FirstUnencodable(const QString& text);

}  // namespace tenaxo
