// SPDX-License-Identifier: GPL-3.0-or-later
#include "Journal.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <vector>

#include "ListFolder.h"
#include "Utf8.h"

namespace tenaxo {

namespace {
// Another program holding the database makes a write fail after this long
// rather than hold the quiz up.
const QString kOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=50");

// kSteps[k] brings the schema from version k to k + 1; step 0 makes a new
// journal.
const std::vector<std::vector<const char16_t*>> kSteps = {
    {u"CREATE TABLE lists(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE)",
     u"CREATE TABLE pairs(id INTEGER PRIMARY KEY, list INTEGER NOT NULL REFERENCES lists(id), "
     u"left_text TEXT NOT NULL, right_text TEXT NOT NULL, asked INTEGER NOT NULL DEFAULT 0, "
     u"found INTEGER NOT NULL DEFAULT 0, UNIQUE(list, left_text, right_text))",
     u"CREATE TABLE answers(id INTEGER PRIMARY KEY, time INTEGER NOT NULL, series INTEGER NOT NULL, "
     u"pair INTEGER NOT NULL REFERENCES pairs(id), left_shown INTEGER NOT NULL, found INTEGER NOT NULL)",
     u"CREATE TABLE days(list INTEGER NOT NULL REFERENCES lists(id), day INTEGER NOT NULL, "
     u"asked INTEGER NOT NULL, found INTEGER NOT NULL, PRIMARY KEY(list, day)) WITHOUT ROWID",
     u"CREATE INDEX days_by_day ON days(day, asked, found)"},
};
static_assert(Journal::kSchemaVersion == 1);

// SQLite's primary result codes.
enum Code {
  kPerm = 3,
  kBusy = 5,
  kLocked = 6,
  kReadOnly = 8,
  kIoErr = 10,
  kCorrupt = 11,
  kFull = 13,
  kCantOpen = 14,
  kNotADb = 26
};

JournalFault::Kind KindOf(int code) {
  switch (code) {
    case kPerm:
    case kReadOnly: return JournalFault::ReadOnly;
    case kBusy:
    case kLocked: return JournalFault::Locked;
    case kIoErr:
    case kFull: return JournalFault::Full;
    case kCantOpen: return JournalFault::CannotOpen;
    case kCorrupt:
    case kNotADb: return JournalFault::SetAside;
    default: return JournalFault::Failed;
  }
}

QVariant Int(int64_t value) { return QVariant(static_cast<qlonglong>(value)); }

// The statement's first value; none when it fails.
std::optional<QVariant> Value(QSqlQuery& query) {
  if (!query.exec() || !query.next()) return std::nullopt;
  return query.value(0);
}
}  // namespace

struct Journal::Statements {
  explicit Statements(const QSqlDatabase& db)
      : addList(db), listId(db), addPair(db), pairId(db), addAnswer(db), countPair(db), countDay(db) {
    addList.prepare(QStringLiteral("INSERT INTO lists(name) VALUES(?) ON CONFLICT DO NOTHING"));
    listId.prepare(QStringLiteral("SELECT id FROM lists WHERE name = ?"));
    addPair.prepare(
        QStringLiteral("INSERT INTO pairs(list, left_text, right_text) VALUES(?, ?, ?) ON CONFLICT DO NOTHING"));
    pairId.prepare(QStringLiteral("SELECT id FROM pairs WHERE list = ? AND left_text = ? AND right_text = ?"));
    addAnswer.prepare(
        QStringLiteral("INSERT INTO answers(time, series, pair, left_shown, found) VALUES(?, ?, ?, ?, ?)"));
    countPair.prepare(QStringLiteral("UPDATE pairs SET asked = asked + 1, found = found + ? WHERE id = ?"));
    countDay.prepare(
        QStringLiteral("INSERT INTO days(list, day, asked, found) VALUES(?, ?, 1, ?) "
                       "ON CONFLICT(list, day) DO UPDATE SET asked = asked + 1, found = found + excluded.found"));
  }
  QSqlQuery addList, listId, addPair, pairId, addAnswer, countPair, countDay;
};

Journal::Journal(QString path)
    : path_(std::move(path)), connection_(QStringLiteral("journal-%1").arg(reinterpret_cast<quintptr>(this))) {}

Journal::~Journal() { Close(); }

QString Journal::DefaultPath() { return AppFolder() + QStringLiteral("journal.sqlite"); }

std::optional<JournalFault> Journal::Open() {
  if (db_.isOpen()) return std::nullopt;
  std::optional<JournalFault> fault = OpenFile();
  // A damaged file was set aside: a new journal takes its place.
  if (fault && fault->kind == JournalFault::SetAside) {
    if (std::optional<JournalFault> again = OpenFile()) return again;
  }
  return fault;
}

std::optional<JournalFault> Journal::OpenFile() {
  readOnly_ = false;
  db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
  db_.setDatabaseName(path_);
  db_.setConnectOptions(kOptions);
  if (!db_.open()) return Failure(db_.lastError());
  QSqlQuery query(db_);
  auto fail = [&] {
    const QSqlError error = query.lastError();
    query = QSqlQuery();
    return Failure(error);
  };
  query.prepare(QStringLiteral("PRAGMA user_version"));
  const std::optional<QVariant> version = Value(query);
  if (!version) return fail();
  // A later schema is read as it is: nothing below runs, Add writes nothing.
  if (version->toInt() > kSchemaVersion) {
    readOnly_ = true;
    return JournalFault{JournalFault::Newer, {}, {}};
  }
  for (const char16_t* pragma : {u"PRAGMA journal_mode = WAL", u"PRAGMA synchronous = NORMAL"}) {
    if (!query.exec(QString::fromUtf16(pragma))) return fail();
  }
  if (version->toInt() < kSchemaVersion) {
    query = QSqlQuery();
    if (std::optional<JournalFault> fault = Migrate(version->toInt())) return fault;
    query = QSqlQuery(db_);
  }
  query.prepare(QStringLiteral("SELECT series FROM answers ORDER BY id DESC LIMIT 1"));
  series_ = Value(query).value_or(QVariant(0)).toLongLong();
  if (query.lastError().isValid()) return fail();
  query = QSqlQuery();
  statements_ = std::make_unique<Statements>(db_);
  return std::nullopt;
}

std::optional<JournalFault> Journal::Migrate(int version) {
  if (!db_.transaction()) return Failure(db_.lastError());
  std::optional<QSqlError> error;
  {
    QSqlQuery query(db_);
    std::vector<QString> statements;
    for (size_t step = static_cast<size_t>(version); step < kSteps.size(); ++step) {
      for (const char16_t* statement : kSteps[step]) statements.push_back(QString::fromUtf16(statement));
    }
    statements.push_back(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    for (const QString& statement : statements) {
      if (!query.exec(statement)) {
        error = query.lastError();
        break;
      }
    }
  }
  if (!error && db_.commit()) return std::nullopt;
  if (!error) error = db_.lastError();
  db_.rollback();
  return Failure(*error);
}

std::optional<JournalFault> Journal::Add(const JournalAnswer& answer) {
  std::optional<JournalFault> fault = Open();
  if (!db_.isOpen() || readOnly_) return fault;
  // A journal found damaged here is set aside with this answer; the next
  // answer starts the new one.
  std::optional<JournalFault> written = Write(answer);
  return fault ? fault : written;
}

std::optional<JournalFault> Journal::Write(const JournalAnswer& answer) {
  if (!db_.transaction()) return Failure(db_.lastError());
  Statements& s = *statements_;
  std::optional<QSqlError> error;  // of the first statement that failed; the others are not run
  auto run = [&](QSqlQuery& query, std::initializer_list<QVariant> values) {
    if (error) return;
    int k = 0;
    for (const QVariant& value : values) query.bindValue(k++, value);
    if (!query.exec()) error = query.lastError();
  };
  // The id of a row, added when missing.
  auto id = [&](QSqlQuery& add, QSqlQuery& find, std::initializer_list<QVariant> values) -> int64_t {
    run(add, values);
    run(find, values);
    const int64_t found = !error && find.next() ? find.value(0).toLongLong() : 0;
    find.finish();
    return found;
  };
  const std::string key = answer.list + '\0' + answer.left + '\0' + answer.right;
  const auto cached = pairs_.find(key);
  int64_t list = 0, pair = 0;
  if (cached != pairs_.end()) {
    std::tie(list, pair) = cached->second;
  } else {
    list = id(s.addList, s.listId, {ToQString(answer.list)});
    pair = id(s.addPair, s.pairId, {Int(list), ToQString(answer.left), ToQString(answer.right)});
  }
  const int64_t series = answer.newSeries || series_ == 0 ? series_ + 1 : series_;
  const int found = answer.found ? 1 : 0;
  run(s.addAnswer, {Int(answer.time), Int(series), Int(pair), answer.leftShown ? 1 : 0, found});
  run(s.countPair, {found, Int(pair)});
  run(s.countDay, {Int(list), answer.day, found});
  if (error || !db_.commit()) {
    if (!error) error = db_.lastError();
    db_.rollback();
    return Failure(*error);
  }
  series_ = series;
  pairs_.emplace(key, std::pair(list, pair));
  return std::nullopt;
}

JournalFault Journal::Failure(const QSqlError& error) {
  JournalFault fault{KindOf(error.nativeErrorCode().toInt() & 0xff), error.databaseText(), {}};
  if (fault.kind != JournalFault::SetAside) {
    if (!statements_) Close();  // not opened
    return fault;
  }
  Close();
  const QFileInfo file(path_);
  const QString stem = file.path() + u'/' + file.completeBaseName() + QStringLiteral(" endommagé ") +
                       QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
  QString aside = stem + QStringLiteral(".sqlite");
  for (int k = 2; QFileInfo::exists(aside); ++k) aside = stem + QStringLiteral(" %1.sqlite").arg(k);
  if (!QFile::rename(path_, aside)) return {JournalFault::CannotOpen, fault.detail, {}};
  for (const QString& side : {QStringLiteral("-wal"), QStringLiteral("-shm")})
    QFile::rename(path_ + side, aside + side);
  fault.setAside = aside;
  return fault;
}

void Journal::Close() {
  statements_.reset();
  pairs_.clear();
  if (!db_.isValid()) return;
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(connection_);
}

}  // namespace tenaxo
