#pragma once
// A program folder of its own for each storage test, and a main window that
// only records what the list commands asked of it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "ListCommands.h"
#include "ListFiles.h"
#include "Session.h"
#include "TableText.h"

namespace tenaxo::test {

// The bytes of a file; "" for a folder or a missing file.
inline std::string FileBytes(const QString& path) {
  QFile file(path);
  if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) return std::string();
  return file.readAll().toStdString();
}

inline void PutFile(const QString& path, const std::string& bytes) {
  std::ofstream out(QFile::encodeName(path).constData(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string Fixture(const char* name) {
  return FileBytes(QStringLiteral(TENAXO_TEST_DATA "/") + QString::fromUtf8(name));
}

struct FakeWindow {
  AnsiString name;                  // the drop-down's text
  bool answer = true;               // what the user answers
  std::vector<QString> questions;   // every question asked
  std::optional<QStringList> items; // the drop-down's items, once rebuilt
  int rebuilt = 0;

  ListWindow Bind() {
    return ListWindow{[this] { return name; },
                      [this](const QString& question) {
                        questions.push_back(question);
                        return answer;
                      },
                      [this](const QStringList& names) {
                        items = names;
                        ++rebuilt;
                      },
                      [this] { name.clear(); }};
  }
};

// What the list commands may change, to prove that something left it alone.
struct SessionState {
  std::vector<std::string> rows;
  int cols;
  AnsiString listName;
  int32_t asked, found, questionRow, editedRow;
  bool unsaved;
  AnsiString label;

  explicit SessionState(const Session& s)
      : rows(Rows(s.SgListe)), cols(s.SgListe.ColCount()), listName(s.FListName), asked(s.FAskedCount),
        found(s.FFoundCount), questionRow(s.FQuestionRow), editedRow(s.FEditedRow), unsaved(s.Unsaved),
        label(s.LbNbMots) {}
  bool operator==(const SessionState& o) const {
    return rows == o.rows && cols == o.cols && listName == o.listName && asked == o.asked && found == o.found &&
           questionRow == o.questionRow && editedRow == o.editedRow && unsaved == o.unsaved && label == o.label;
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
    return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                       QDir::Name);
  }

  QTemporaryDir dir_;
};

}  // namespace tenaxo::test
