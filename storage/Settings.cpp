#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <vector>

#include "CellText.h"
#include "Errors.h"
#include "ListFiles.h"
#include "Numbers.h"

namespace tenaxo {

namespace {

QString& CurrentUserOverride() {
  static QString file;
  return file;
}

// A path cut into its groups and the value name, segment by segment as the
// registry walk opens keys.
struct ValuePath {
  std::vector<QString> groups;
  std::string name;
};

ValuePath Walk(const std::string& path) {
  ValuePath walk;
  std::string rest = path;
  std::string name;
  CutToken(rest, "\\", name);
  do {
    walk.groups.push_back(ToQString(name));
    CutToken(rest, "\\", name);
  } while (!rest.empty());
  walk.name = name;
  return walk;
}

QString ValueKey(const ValuePath& walk) {
  QString key;
  for (const QString& group : walk.groups) {
    if (group.isEmpty()) continue;  // an empty key name opens the same key again
    key += group + u'/';
  }
  return key + (walk.name.empty() ? QStringLiteral("@") : ToQString(walk.name));
}

bool PlainSectionName(const QString& name) {
  if (name.isEmpty()) return false;
  for (QChar c : name) {
    if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_' && c != u'-') return false;
  }
  return true;
}

// The first read of a missing store makes it, with its first group.
void CreateStore(const QString& fileName, const QString& group) {
  if (QFileInfo::exists(fileName)) return;
  QDir().mkpath(QFileInfo(fileName).absolutePath());
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return;
  if (PlainSectionName(group)) file.write(QStringLiteral("[%1]\n").arg(group).toUtf8());
}

std::string UpToNul(std::string text) {
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

// word in lower case; only ASCII letters fold.
bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char a = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + ('a' - 'A')) : text[i];
    if (a != word[i]) return false;
  }
  return true;
}

}  // namespace

SettingsFile SettingsFile::CurrentUser() {
  if (!CurrentUserOverride().isEmpty()) return SettingsFile(CurrentUserOverride());
  return SettingsFile(QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tenaxo")).fileName());
}

void SettingsFile::SetCurrentUser(const QString& fileName) { CurrentUserOverride() = fileName; }

void ReadSetting(const SettingsFile& root, const std::string& path, std::string& value) {
  const ValuePath walk = Walk(path);
  CreateStore(root.FileName(), walk.groups.front());
  QSettings store(root.FileName(), QSettings::IniFormat);
  // Parsed section by section when first used, a file that spells one group
  // two ways ("[Tenaxo/]" and "[Tenaxo]") would show the value of only one
  // of them: parse them all, as a write does, so both see the same values.
  store.allKeys();
  const QString key = ValueKey(walk);
  if (!store.contains(key)) {
    value.clear();
    return;
  }
  const QVariant data = store.value(key);
  if (data.typeId() != QMetaType::QString) {
    throw Error(QStringLiteral("Type de données incorrect pour '%1'").arg(ToQString(walk.name)));
  }
  value = UpToNul(ToUtf8(data.toString()));
}

void WriteSetting(const SettingsFile& root, const std::string& path, const std::string& value) {
  const ValuePath walk = Walk(path);
  const auto refused = [&walk] {
    return Error(QStringLiteral("Echec à la définition des données pour '%1'").arg(ToQString(walk.name)));
  };
  QSettings store(root.FileName(), QSettings::IniFormat);
  // The file's sections are parsed when first used, and a line they cannot
  // read would only show at the save, which rewrites the file without it:
  // parse them all first, so such a file is refused untouched.
  store.allKeys();
  // A store that cannot be written would keep the value in memory only.
  if (store.status() != QSettings::NoError || !store.isWritable()) throw refused();
  store.setValue(ValueKey(walk), ToQString(UpToNul(value)));
  store.sync();
  if (store.status() != QSettings::NoError || !QFileInfo(root.FileName()).isFile()) throw refused();
}

bool TextToBool(std::string_view text, const TextLocale& locale) {
  double number = 0;
  if (!text.empty() && ReadFloat(text, locale.DecimalSeparator(), number)) return number != 0;
  return EqualsIgnoringCase(text, "true");
}

}  // namespace tenaxo
