// SPDX-License-Identifier: GPL-3.0-or-later
#include "Settings.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "CellText.h"
#include "Errors.h"
#include "Numbers.h"
#include "Utf8.h"

namespace tenaxo {

namespace {

QString& UserFileOverride() {
  static QString file;
  return file;
}

QString Key(const char* name) { return QStringLiteral("Tenaxo/") + QLatin1String(name); }

// The first read of a missing file makes it, with its group.
void CreateFile(const QString& fileName) {
  if (QFileInfo::exists(fileName)) return;
  QDir().mkpath(QFileInfo(fileName).absolutePath());
  QFile file(fileName);
  if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) file.write("[Tenaxo]\n");
}

std::string UpToNul(std::string text) {
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

}  // namespace

QString Settings::UserFile() {
  if (!UserFileOverride().isEmpty()) return UserFileOverride();
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tenaxo")).fileName();
}

void Settings::SetUserFile(const QString& fileName) { UserFileOverride() = fileName; }

std::string Settings::ListName() const { return Text("Liste"); }
void Settings::SetListName(const std::string& name) { SetText("Liste", name); }
bool Settings::Speech() const { return TextToBool(Text("Vocal")); }
void Settings::SetSpeech(bool checked) { SetText("Vocal", BoolToText(checked)); }
bool Settings::LeftFirst() const { return TextToBool(Text("Gauche")); }
void Settings::SetLeftFirst(bool checked) { SetText("Gauche", BoolToText(checked)); }
std::string Settings::VoiceLanguage() const { return Text("Voix"); }
void Settings::SetVoiceLanguage(const std::string& code) { SetText("Voix", code); }

std::string Settings::Text(const char* name) const {
  CreateFile(fileName_);
  QSettings store(fileName_, QSettings::IniFormat);
  // Parsed section by section when first used, a file that spells the group
  // two ways ("[Tenaxo/]" and "[Tenaxo]") would show the values of only one
  // of them: parse them all, as a write does, so both see the same values.
  store.allKeys();
  const QString key = Key(name);
  if (!store.contains(key)) return std::string();
  const QVariant data = store.value(key);
  if (data.typeId() != QMetaType::QString) {
    throw Error(QStringLiteral("Type de données incorrect pour '%1'").arg(QLatin1String(name)));
  }
  return UpToNul(ToUtf8(data.toString()));
}

void Settings::SetText(const char* name, const std::string& text) {
  const auto refused = [name] {
    return Error(QStringLiteral("Echec à la définition des données pour '%1'").arg(QLatin1String(name)));
  };
  QSettings store(fileName_, QSettings::IniFormat);
  // The file's sections are parsed when first used, and a line they cannot
  // read would only show at the save, which rewrites the file without it:
  // parse them all first, so such a file is refused untouched.
  store.allKeys();
  // A store that cannot be written would keep the value in memory only.
  if (store.status() != QSettings::NoError || !store.isWritable()) throw refused();
  store.setValue(Key(name), ToQString(UpToNul(text)));
  store.sync();
  if (store.status() != QSettings::NoError || !QFileInfo(fileName_).isFile()) throw refused();
}

bool TextToBool(std::string_view text, const TextLocale& locale) {
  double number = 0;
  if (ReadFloat(text, locale.DecimalSeparator(), number)) return number != 0;
  return QByteArrayView(text.data(), static_cast<qsizetype>(text.size())).compare("true", Qt::CaseInsensitive) == 0;
}

}  // namespace tenaxo
