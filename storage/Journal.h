// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The journal of answers: one row per answer booked, in an SQLite database
// beside the lists (AppFolder() + "journal.sqlite"), written through Qt SQL.
//
// The database is in WAL mode with synchronous=NORMAL: each answer is one
// transaction, so a program killed at any moment loses at most the answer
// being written. Its schema version is PRAGMA user_version; Open() brings an
// older journal up to kSchemaVersion, step by step, and leaves a newer one
// untouched, only read. List names and pair texts are kept once each,
// in their own tables; the answers refer to them. Per pair and per list and
// day the answers are also counted as they are written, for the statistics.
//
// Nothing here asks the user: every failure comes back as a JournalFault
// (commands/ words it), and the journal then writes nothing until a later
// call succeeds. A file that is not a database, or a damaged one, is renamed
// "journal endommagé <date and time>.sqlite" in its folder, never deleted,
// and a new journal is started in its place.
#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

namespace tenaxo {

struct JournalFault {
  enum Kind {
    CannotOpen,  // the file or its folder cannot be made or opened
    ReadOnly,    // the file or its folder cannot be written
    Full,        // the disk is full
    Locked,      // another program holds the database
    SetAside,    // damaged: set aside (setAside), a new journal started
    Newer,       // of a later schema version: left as it is, read-only
    Failed,      // anything else (detail: the database's own words)
  };
  Kind kind = Failed;
  QString detail;
  QString setAside;
};

// One answer as it is written.
struct JournalAnswer {
  int64_t time = 0;  // seconds since 1970-01-01 UTC
  int32_t day = 0;   // the user's calendar day (AnswerHistory.h)
  std::string list;  // the list's name
  std::string left;  // the pair's texts
  std::string right;
  bool leftShown = false;  // the question showed the left text
  bool found = false;
  bool newSeries = false;  // the first answer of a series
};

class Journal {
 public:
  static constexpr int kSchemaVersion = 1;

  explicit Journal(QString path);
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  // AppFolder() + "journal.sqlite".
  static QString DefaultPath();
  const QString& Path() const { return path_; }

  // Opens the file, making it when missing, and brings its schema up to
  // date; does nothing when it is open already. A damaged file is set aside
  // first (SetAside, then open).
  std::optional<JournalFault> Open();
  bool IsOpen() const { return db_.isOpen(); }
  // Open, of a later schema version: read, never written.
  bool ReadOnly() const { return readOnly_; }

  // Writes one answer, opening the journal first when needed. A read-only
  // journal takes none and says nothing.
  std::optional<JournalFault> Add(const JournalAnswer& answer);

  // The open connection, for the statistics' queries.
  QSqlDatabase Database() const { return db_; }

 private:
  std::optional<JournalFault> OpenFile();
  std::optional<JournalFault> Migrate(int version);
  std::optional<JournalFault> Write(const JournalAnswer& answer);
  // The fault of a failed statement. A damaged file is closed and set aside
  // here; a journal that never opened is closed.
  JournalFault Failure(const class QSqlError& error);
  void Close();

  struct Statements;

  QString path_;
  QString connection_;
  QSqlDatabase db_;
  std::unique_ptr<Statements> statements_;  // prepared once open
  bool readOnly_ = false;
  int64_t series_ = 0;  // the series of the last answer written
  // The list's and the pair's ids of each pair written, by list name and texts.
  std::unordered_map<std::string, std::pair<int64_t, int64_t>> pairs_;
};

}  // namespace tenaxo
