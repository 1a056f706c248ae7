// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's settings, in the group [Tenaxo] of a per-user INI file:
//   Liste   the list name in the drop-down at closing
//   Vocal   "Synthèse vocale à gauche" checked: "-1", or not: "0"
//   Gauche  "Montrer à gauche en premier", stored the same way
//   Voix    the language the left text is spoken in (the speech engine's code)
//
// Each value is a Unicode text (UTF-8 in the program), held as UTF-8 in the
// file (the INI file escapes control characters); it ends at any NUL. Every
// call opens the file, reads or writes one value, and is done.
//
// A read gives "" (false for a check box) for a missing value or a missing or
// unreadable file; the first read of a missing file makes it, with its group,
// in folders made for it. A value that is not plain text (a list, binary
// data, a typed value) fails with "Type de données incorrect pour '<name>'".
// A write replaces the value and checks that the file was written: a file
// that cannot be written (its folder or itself not writable, a folder in its
// place, a file it cannot parse) is left untouched and fails with "Echec à
// la définition des données pour '<name>'".
#include <QString>
#include <string>
#include <string_view>

#include "TextLocale.h"

namespace tenaxo {

class Settings {
 public:
  explicit Settings(QString fileName = UserFile()) : fileName_(std::move(fileName)) {}
  const QString& FileName() const { return fileName_; }

  // The user's settings file: Tenaxo.ini in the user's configuration folder,
  // or the file SetUserFile named (tests use a temporary one); an empty name
  // goes back to the user's own file.
  static QString UserFile();
  static void SetUserFile(const QString& fileName);

  std::string ListName() const;
  void SetListName(const std::string& name);
  bool Speech() const;
  void SetSpeech(bool checked);
  bool LeftFirst() const;
  void SetLeftFirst(bool checked);
  std::string VoiceLanguage() const;
  void SetVoiceLanguage(const std::string& code);

 private:
  std::string Text(const char* name) const;
  void SetText(const char* name, const std::string& text);

  QString fileName_;
};

// A check box state from its stored text: a number in the locale's form that
// is not zero, or "True" in any letter case, is true; anything else ("0",
// "False", other words, the empty text) is false. Never fails.
bool TextToBool(std::string_view text, const TextLocale& locale = TextLocale::Current());

// The texts a check box state is stored as.
inline const char* BoolToText(bool checked) { return checked ? "-1" : "0"; }

}  // namespace tenaxo
