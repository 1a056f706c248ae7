#pragma once
// A program folder of its own for each storage test, and a main window that records what the list commands ask.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Errors.h"
#include "ListCommands.h"
#include "ListFiles.h"
#include "Session.h"
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

// What the list commands may change, written out, to prove that something left it alone.
inline std::string StateOf(const Session& s) {
  std::string text;
  for (const std::string& row : Rows(s.table)) text += row + '\n';
  return text + "list '" + s.listName + "' asked " + std::to_string(s.askedCount) + " found " +
         std::to_string(s.foundCount) + " rows " + std::to_string(s.questionRow) + "/" + std::to_string(s.editedRow) +
         (s.unsaved ? " unsaved " : " saved ") + std::to_string(s.lineCount) + " Lignes";
}

struct FakeWindow {
  std::string name;                  // the drop-down's text
  bool answer = true;                // what the user answers
  std::vector<QString> questions;    // every question asked, both kinds
  std::optional<QStringList> items;  // the drop-down's items, once rebuilt

  ListWindow Bind() {
    const auto ask = [this](const QString& question) {
      questions.push_back(question);
      return answer;
    };
    return ListWindow{[this] { return name; },
                      ask,
                      ask,
                      [this](const QStringList& names) { items = names; },
                      [this] { name.clear(); },
                      [this](const QString& text) { name = ToUtf8(text); }};
  }
};

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
