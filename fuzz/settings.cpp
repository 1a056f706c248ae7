// The settings on any bytes as Tenaxo.ini: read, then a list name from the input written (checks: README.md).
#include <QDateTime>
#include <QFile>
#include <optional>

#include "Errors.h"
#include "FuzzCheck.h"
#include "ListFiles.h"
#include "Settings.h"

using namespace tenaxo;

// The text, without NUL, or nothing for a value that is not plain text.
static std::optional<std::string> Read(const SettingsFile& root, const char* name) {
  std::string value;
  try {
    ReadSetting(root, std::string("Tenaxo\\") + name, value);
  } catch (const Error& e) {
    FUZZ_CHECK(e.Message() == QStringLiteral("Type de données incorrect pour '%1'").arg(QLatin1String(name)),
               e.Message().toStdString());
    return std::nullopt;
  }
  FUZZ_CHECK(value.find('\0') == std::string::npos, fuzz::Shown(value));
  return value;
}

void fuzz::OneInput(std::string_view input) {
  static const QString path = fuzz::FilePath(QStringLiteral("Tenaxo.ini"));
  static int64_t run = 0;  // a time of its own for each input: the settings layer parses a file again when it changes
  QFile file(path);
  FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(input.data(), input.size()) == qint64(input.size()) &&
                 file.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000 + ++run), QFileDevice::FileModificationTime),
             file.errorString().toStdString());
  file.close();
  const SettingsFile root(path);
  const auto vocal = Read(root, "Vocal"), gauche = Read(root, "Gauche");
  Read(root, "Liste");
  FUZZ_CHECK(ReadWholeFile(path) == input, "reading changed the file");

  const std::string name = ToUtf8(ToQString(input.substr(0, 24)));  // a name is UTF-8
  try {
    WriteSetting(root, "Tenaxo\\Liste", name);
  } catch (const Error& e) {
    FUZZ_CHECK(
        e.Message() == QStringLiteral("Echec à la définition des données pour 'Liste'") && ReadWholeFile(path) == input,
        e.Message().toStdString());
    return;
  }
  FUZZ_CHECK(Read(root, "Liste") == name.substr(0, name.find('\0')), fuzz::Shown(name));
  FUZZ_CHECK(Read(root, "Vocal") == vocal && Read(root, "Gauche") == gauche, "the write changed Vocal or Gauche");
}
