// The settings reader on any INI bytes: the bytes become a Tenaxo.ini, and
// each of the three settings is read from it. A read either gives a text
// (without NUL) or fails with "Type de données incorrect pour '<name>'";
// any other failure is a finding. Reading never changes the file.
//
// Then the list name is written into the same file: the write either fails
// with "Echec à la définition des données pour 'Liste'" and leaves the file
// as it was, or the name reads back and the other two settings read as they
// did before.
#include <QDateTime>
#include <QFile>

#include "Errors.h"
#include "FuzzCheck.h"
#include "Settings.h"

namespace tenaxo {
namespace {

// A text, or the message of the failure.
struct Reading {
  bool failed = false;
  std::string text;
  bool operator==(const Reading& other) const { return failed == other.failed && text == other.text; }
};

std::string Shown(const Reading& reading) {
  return reading.failed ? "failure \"" + reading.text + "\"" : fuzz::Shown(reading.text);
}

Reading Read(const RegRoot& root, const char* name) {
  Reading reading;
  AnsiString value = "(not read)";
  try {
    ReadRegString(root, AnsiString("Tenaxo\\") + name, value);
  } catch (const Error& e) {
    reading.failed = true;
    reading.text = e.Message().toStdString();
    const QString expected = QStringLiteral("Type de données incorrect pour '%1'").arg(QString::fromLatin1(name));
    FUZZ_CHECK(e.Message() == expected, "reading " + std::string(name) + " fails with " + reading.text);
    return reading;
  }
  FUZZ_CHECK(value.find('\0') == AnsiString::npos, std::string(name) + " reads " + fuzz::Shown(value));
  reading.text = value;
  return reading;
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray("(unreadable)");
  return file.readAll();
}

}  // namespace

void fuzz::OneInput(std::string_view input) {
  // The settings layer keeps each file it parsed and reads it again only
  // when its size or time changed: every input gets a time of its own.
  static int64_t run = 0;
  static const QString path = fuzz::FilePath(QStringLiteral("Tenaxo.ini"));
  const QByteArray bytes(input.data(), static_cast<qsizetype>(input.size()));
  {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
               "cannot write the INI file");
    FUZZ_CHECK(file.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000 + ++run), QFileDevice::FileModificationTime),
               "cannot set the file's time");
  }
  const RegRoot root(path);

  const Reading liste = Read(root, "Liste");
  const Reading vocal = Read(root, "Vocal");
  const Reading gauche = Read(root, "Gauche");
  FUZZ_CHECK(Contents(path) == bytes, "reading changed the file");

  // Write a list name taken from the input and read everything again.
  // Names are Unicode text: the bytes as UTF-8, each byte that is no UTF-8
  // read as U+FFFD.
  const AnsiString raw(bytes.left(24).constData(), static_cast<size_t>(std::min<qsizetype>(bytes.size(), 24)));
  const AnsiString name = Utf8(AnsiToQString(raw));
  const AnsiString expected = name.substr(0, name.find('\0'));
  bool written = true;
  try {
    WriteRegString(root, "Tenaxo\\Liste", name);
  } catch (const Error& e) {
    written = false;
    FUZZ_CHECK(e.Message() == QStringLiteral("Echec à la définition des données pour 'Liste'"),
               "writing fails with " + e.Message().toStdString());
    FUZZ_CHECK(Contents(path) == bytes, "a failed write changed the file");
  }
  if (written) {
    const Reading after = Read(root, "Liste");
    FUZZ_CHECK(!after.failed && after.text == expected,
               "Liste written as " + fuzz::Shown(expected) + " reads " + Shown(after));
    const Reading vocalAfter = Read(root, "Vocal");
    FUZZ_CHECK(vocalAfter == vocal, "Vocal read " + Shown(vocal) + ", after the write " + Shown(vocalAfter));
    const Reading gaucheAfter = Read(root, "Gauche");
    FUZZ_CHECK(gaucheAfter == gauche, "Gauche read " + Shown(gauche) + ", after the write " + Shown(gaucheAfter));
  }
  (void)liste;
}

}  // namespace tenaxo
