// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list folder of its own for each storage test, and the files in it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <functional>
#include <string>

#include "Errors.h"
#include "ListFolder.h"
#include "TableText.h"

// A failed check shows texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace tenaxo::test {

// The bytes of a file; "<missing>" when it cannot be read.
inline std::string FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}
inline void PutFile(const QString& path, const std::string& bytes) {
  std::ofstream(QFile::encodeName(path).constData(), std::ios::binary) << bytes;
}
inline void SetMode(const QString& path, mode_t mode) { chmod(QFile::encodeName(path).constData(), mode); }
inline void Link(const char* target, const QString& path) {
  ASSERT_EQ(symlink(target, QFile::encodeName(path).constData()), 0);
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
  void SetUp() override { SetAppFolder(dir_.path()); }
  void TearDown() override { SetAppFolder(QString()); }
  QString Folder() const { return dir_.path() + u'/'; }
  QString PathOf(const char* utf8Name) const { return Folder() + QString::fromUtf8(utf8Name); }
  // Every entry of the folder, hidden ones included, sorted.
  QStringList Entries() const {
    return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  }
  QTemporaryDir dir_;
};

}  // namespace tenaxo::test
