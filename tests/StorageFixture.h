#pragma once
// A list folder of its own for each storage test, and the files in it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <functional>
#include <string>

#include "Errors.h"
#include "ListFolder.h"
#include "TableText.h"

namespace tenaxo::test {

// The bytes of a file; "<missing>" when it cannot be read.
inline std::string FileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return "<missing>";
  return file.readAll().toStdString();
}

inline void PutFile(const QString& path, const std::string& bytes) {
  std::ofstream(QFile::encodeName(path).constData(), std::ios::binary) << bytes;
}

// The message of the failure the action throws, or "(no error)".
inline std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.Message().toStdString();
  }
  return "(no error)";
}

class ProgramFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    SetAppFolder(dir_.path());
  }
  void TearDown() override { SetAppFolder(QString()); }

  QString Folder() const { return dir_.path() + u'/'; }
  QString PathOf(const char* utf8Name) const { return Folder() + QString::fromUtf8(utf8Name); }
  // Every entry of the folder, hidden ones included, sorted.
  QStringList Entries() const {
    return QDir(dir_.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  }

  QTemporaryDir dir_;
};

}  // namespace tenaxo::test
