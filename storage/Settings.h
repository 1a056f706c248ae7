#pragma once
// The settings store: text values addressed by a backslash path, kept in a
// per-user INI file that stands in for the current user's registry hive. The
// program's three settings are "Tenaxo\Liste", "Tenaxo\Vocal" and
// "Tenaxo\Gauche": values Liste, Vocal and Gauche in the group [Tenaxo].
//
// Values are Unicode texts (UTF-8 in the program); the file holds them as
// UTF-8 (the INI file escapes control characters), so every character but
// NUL comes back as it went in. Every call opens the file, reads or writes one value, and is done.
#include <QString>
#include <string_view>

#include "TextLocale.h"
#include "Utf8.h"

namespace tenaxo {

// A settings file, as a registry root key.
class SettingsFile {
 public:
  explicit SettingsFile(QString fileName) : fileName_(std::move(fileName)) {}
  const QString& FileName() const { return fileName_; }

  // The current user's settings: Tenaxo.ini in the user's configuration
  // folder, or the file SetCurrentUser named (tests and the GUI tests use a
  // temporary one); an empty name goes back to the user's own file.
  static SettingsFile CurrentUser();
  static void SetCurrentUser(const QString& fileName);

 private:
  QString fileName_;
};

// Every segment of the path but the last names a group (created when
// missing: the first read of a missing file makes it with its group); the last
// names the value ("" for a path without a backslash: the group's default
// value, kept under the key "@"). Reads the value's text up to any NUL: a
// missing value, a missing or unreadable file give "". A value that is not
// plain text (a list, binary data, a typed value) fails with "Type de données
// incorrect pour '<value name>'".
void ReadSetting(const SettingsFile& root, const std::string& path, std::string& value);

// Stores the text (up to any NUL) as the value, replacing whatever was there,
// and checks that the file was written: a store that cannot be written (its
// folder or file not writable, a file it cannot parse) fails with "Echec à la
// définition des données pour '<value name>'".
void WriteSetting(const SettingsFile& root, const std::string& path, const std::string& value);

// A check box state from its stored text: a number in the locale's form that
// is not zero, or "True" in any letter case, is true; anything else ("0",
// "False", other words, the empty text) is false. Never fails.
bool TextToBool(std::string_view text, const TextLocale& locale = TextLocale::Current());

// The texts a check box state is stored as.
inline const char* BoolToText(bool checked) { return checked ? "-1" : "0"; }

}  // namespace tenaxo
