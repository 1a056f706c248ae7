// SPDX-License-Identifier: GPL-3.0-or-later
// The settings on any bytes as Tenaxo.ini: read, then a list name from the input written (checks: README.md).
#include <QDateTime>
#include <QFile>
#include <optional>

#include "Errors.h"
#include "FileIo.h"
#include "FuzzCheck.h"
#include "Settings.h"
#include "Utf8.h"

using namespace tenaxo;

// The text, without NUL, or nothing for a value that is not plain text.
static std::optional<std::string> Read(const char* name, const std::function<std::string()>& read) {
  std::string value;
  try {
    value = read();
  } catch (const Error& e) {
    FUZZ_CHECK(e.Message() == QStringLiteral("Type de données incorrect pour '%1'").arg(QLatin1String(name)),
               e.Message().toStdString());
    return std::nullopt;
  }
  FUZZ_CHECK(value.find('\0') == std::string::npos, fuzz::Shown(value));
  return value;
}

// Every value of the file, the check boxes as their stored texts.
static std::vector<std::optional<std::string>> ReadAll(const Settings& s) {
  return {Read("Liste", [&] { return s.ListName(); }), Read("Vocal", [&] { return BoolToText(s.Speech()); }),
          Read("Gauche", [&] { return BoolToText(s.LeftFirst()); }), Read("Voix", [&] { return s.VoiceLanguage(); })};
}

void fuzz::OneInput(std::string_view input) {
  static const QString path = fuzz::FilePath(QStringLiteral("Tenaxo.ini"));
  static int64_t run = 0;  // a time of its own for each input: the settings layer parses a file again when it changes
  QFile file(path);
  FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(input.data(), input.size()) == qint64(input.size()) &&
                 file.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000 + ++run), QFileDevice::FileModificationTime),
             file.errorString().toStdString());
  file.close();
  Settings settings(path);
  auto before = ReadAll(settings);
  FUZZ_CHECK(ReadWholeFile(path) == input, "reading changed the file");

  const std::string name = ToUtf8(ToQString(input.substr(0, 24)));  // a name is UTF-8
  try {
    settings.SetListName(name);
  } catch (const Error& e) {
    FUZZ_CHECK(e.Message() == QStringLiteral("Echec à la définition des données pour 'Liste'"), "");
    FUZZ_CHECK(ReadWholeFile(path) == input, "a refused write changed the file");
    return;
  }
  before[0] = name.substr(0, name.find('\0'));
  FUZZ_CHECK(ReadAll(settings) == before, "the write changed another value, or the name came back otherwise");
}
