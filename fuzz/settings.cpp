// SPDX-License-Identifier: GPL-3.0-or-later
// The settings on any bytes as Tenaxo.ini: read, then a list name from the input written (checks: README.md).
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

#include "FileIo.h"
#include "FuzzCheck.h"
#include "Settings.h"
#include "Utf8.h"

using namespace tenaxo;

// Every value of the file (the check boxes as their stored texts) without NUL, or nothing for one that is not text.
static std::vector<std::optional<std::string>> ReadAll(const Settings& s) {
  const std::pair<const char*, std::function<std::string()>> reads[] = {
      {"Liste", [&] { return s.ListName(); }},
      {"Vocal", [&] { return BoolToText(s.Speech()); }},
      {"Gauche", [&] { return BoolToText(s.LeftFirst()); }},
      {"Voix", [&] { return s.VoiceLanguage(); }},
  };
  std::vector<std::optional<std::string>> values;
  for (const auto& read : reads) {
    std::string value;
    const QString refusal = QStringLiteral("Type de données incorrect pour '%1'").arg(QLatin1String(read.first));
    values.push_back(fuzz::Accepted([&] { value = read.second(); }, refusal) ? std::optional(value) : std::nullopt);
    FUZZ_CHECK(value.find('\0') == std::string::npos, fuzz::Shown(value));
  }
  return values;
}

void fuzz::OneInput(std::string_view input) {
  // In /dev/shm unless run.sh names a folder: a save syncs, which on a real disk makes a run a hundred times slower.
  static const QTemporaryDir folder(qEnvironmentVariable("TENAXO_FUZZ_FILES", QStringLiteral("/dev/shm")) +
                                    QStringLiteral("/tenaxo-fuzz-XXXXXX"));
  static const QString path = folder.filePath(QStringLiteral("Tenaxo.ini"));
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
  if (!Accepted([&] { settings.SetListName(name); },
                QStringLiteral("Echec à la définition des données pour 'Liste'"))) {
    FUZZ_CHECK(ReadWholeFile(path) == input, "a refused write changed the file");
    return;
  }
  before[0] = name.substr(0, name.find('\0'));
  FUZZ_CHECK(ReadAll(settings) == before, "the write changed another value, or the name came back otherwise");
}
