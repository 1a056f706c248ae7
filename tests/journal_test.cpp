// SPDX-License-Identifier: GPL-3.0-or-later
// The journal of answers: the rows a series writes, the figures the statistics draw from it, its faults, and a journal
// of a later schema.
#include <sys/resource.h>
#include <unistd.h>

#include <QSqlQuery>
#include <csignal>

#include "AnswerJournal.h"
#include "JournalQueries.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using namespace test;

class JournalTest : public ProgramFolder {
 protected:
  QString Path() const { return PathOf("journal.sqlite"); }
};

// Two lists, both sides, found and not: one row each, in order, with the series it belongs to.
TEST_F(JournalTest, AScriptedSeriesWritesOneRowPerAnswer) {
  Session session;
  QuestionCycle cycle(session, {}, [n = uint64_t{0}]() mutable { return ++n; });
  AnswerJournal journal(Path());
  const QDateTime at = QDateTime::fromSecsSinceEpoch(1796000000);
  cycle.SetOnAnswer([&](const BookedAnswer& answer) { EXPECT_FALSE(journal.Record(answer, at)); });
  const struct {
    const char *list, *pair;  // the list holds that one pair
    bool newSeries, leftShown, found;
  } steps[] = {{"A", "cat;chat", true, true, true},
               {"A", "cat;chat", false, false, false},
               {"A", "cat;chat", true, false, true},
               {"B", "dog;chien", true, true, false},
               {"B", "dog;chien", false, true, true}};
  for (const auto& step : steps) {
    if (session.listName != step.list) session.table = MakeTable({step.pair});
    session.listName = step.list;
    if (step.newSeries) cycle.NewSeries();
    while (cycle.LeftSide().hidden == step.leftShown) cycle.NextQuestion();
    step.found ? cycle.AnswerFound() : cycle.AnswerNotFound();
  }
  QSqlQuery query(journal.Store().Database());
  ASSERT_TRUE(
      query.exec("SELECT time, name, left_text, right_text, left_shown, answers.found, series FROM answers "
                 "JOIN pairs ON pairs.id = pair JOIN lists ON lists.id = list ORDER BY answers.id"));
  const char* series[] = {"1", "1", "2", "3", "3"};
  for (size_t k = 0; k < std::size(steps); ++k) {
    SCOPED_TRACE(k);
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), "1796000000");
    EXPECT_EQ(query.value(1).toString(), steps[k].list);
    EXPECT_EQ(query.value(2).toString() + ";" + query.value(3).toString(), steps[k].pair);
    EXPECT_EQ(query.value(4).toBool(), steps[k].leftShown);
    EXPECT_EQ(query.value(5).toBool(), steps[k].found);
    EXPECT_EQ(query.value(6).toString(), series[k]);
  }
  EXPECT_FALSE(query.next());
}

// A journal built by hand: the answers per day and the pairs that resist, worked out on paper; the CSV export.
TEST_F(JournalTest, TheStatisticsOfAHandBuiltJournal) {
  Journal journal(Path());
  auto add = [&](int32_t day, const char* list, const char* left, int found, int wrong) {
    for (int k = 0; k < found + wrong; ++k)
      ASSERT_FALSE(journal.Add({int64_t{day} * 86400 + 43200, day, list, left, "x", true, k < found, false}));
  };
  add(100, "A", "p", 1, 5);  // p: 1 of 6
  add(100, "B", "q", 4, 1);  // q: 4 of 5
  add(102, "A", "r", 2, 2);  // r: 2 of 4, asked too little
  add(102, "A", "s", 3, 3);  // s: 3 of 6
  add(103, "B", "t,u", 0, 1);
  const struct {
    const char* name;
    ListScope list;
    std::vector<std::array<int32_t, 3>> days;  // day, asked, found
    std::vector<std::string> resisting;        // lowest share first
  } cases[] = {{"list A", "A", {{100, 6, 1}, {102, 10, 5}}, {"p", "s"}},
               {"every list", std::nullopt, {{100, 11, 5}, {102, 10, 5}, {103, 1, 0}}, {"p", "s", "q"}},
               {"an unknown list", "C", {}, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<DayCount> days = AnswersPerDay(journal, c.list);
    ASSERT_EQ(days.size(), c.days.size());
    for (size_t k = 0; k < days.size(); ++k) {
      EXPECT_EQ(days[k].day, c.days[k][0]);
      EXPECT_EQ(days[k].asked, c.days[k][1]);
      EXPECT_EQ(days[k].found, c.days[k][2]);
    }
    const std::vector<PairCount> pairs = ResistingPairs(journal, c.list);
    ASSERT_EQ(pairs.size(), c.resisting.size());
    for (size_t k = 0; k < pairs.size(); ++k) EXPECT_EQ(pairs[k].left, c.resisting[k]);
  }
  EXPECT_EQ(ResistingPairs(journal, std::nullopt, 5, 1).size(), 1u);
  ExportJournalCsv(journal, PathOf("j.csv"));
  const QStringList lines = QString::fromStdString(FileBytes(PathOf("j.csv"))).split("\r\n");
  ASSERT_EQ(lines.size(), 1 + 22 + 1);
  EXPECT_EQ(lines[0], "date,liste,gauche,droite,question,trouvee,serie");
  const QStringList first = lines[1].split(',');
  ASSERT_EQ(first.size(), 7);
  EXPECT_EQ(QDateTime::fromString(first[0], Qt::ISODate).toSecsSinceEpoch(), 100 * 86400 + 43200);
  EXPECT_EQ(first.mid(1), QStringList({"A", "p", "x", "gauche", "1", "1"}));
  EXPECT_TRUE(lines[22].contains(",B,\"t,u\",x,")) << "quoted";
}

// Each fault gives its message once a run, and the answers after it go on; a damaged file is set aside, never deleted;
// a journal of a later schema is read, never written.
TEST_F(JournalTest, EachFaultIsToldOnceAndTheAnswersGoOn) {
  const bool root = geteuid() == 0;
  const BookedAnswer answer{"A", "cat", "chat", true, true, 1};
  const QString path = QDir::toNativeSeparators(Path());
  const QString goesOn = " Les questions continuent et la liste compte les réponses ; le journal ne les garde pas.";
  struct Case {
    const char* name;
    size_t days;  // the days the statistics read after the answers
    std::function<void()> fault, undo;
    QString message;
  };
  QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  const Case cases[] = {
      {"not a database", 1, [&] { PutFile(Path(), std::string(5000, 'x')); }, [] {},
       "Le journal des réponses était endommagé : il a été mis de côté sous « " + Folder() +
           "<aside> » et un nouveau journal a été commencé."},
      {"a folder in its place", 0, [&] { QDir().mkdir(Path()); }, [&] { QDir().rmdir(Path()); },
       "Le journal des réponses « " + path + " » ne peut pas être ouvert." + goesOn},
      {"locked by another program", 0,
       [&] {
         AnswerJournal(Path()).Open();
         other.setDatabaseName(Path());
         other.open();
         QSqlQuery(other).exec("BEGIN EXCLUSIVE");
       },
       [&] { other.close(); },
       "Le journal des réponses « " + path + " » est verrouillé par un autre programme." + goesOn},
      {"read-only", 0,
       [&] {
         AnswerJournal(Path()).Open();
         SetMode(Folder(), 0555);
         SetMode(Path(), 0444);
         ASSERT_TRUE(!root || (setegid(65534) == 0 && seteuid(65534) == 0));
       },
       [&] { ASSERT_TRUE(!root || (seteuid(0) == 0 && setegid(0) == 0)); },
       "Le journal des réponses « " + path + " » est en lecture seule." + goesOn},
      {"the disk full", 0,
       [&] {
         rlimit small{8192, limit.rlim_max};
         setrlimit(RLIMIT_FSIZE, &small);
       },
       [&] { setrlimit(RLIMIT_FSIZE, &limit); },
       "Le journal des réponses « " + path + " » ne peut plus être écrit : le disque est plein ou refuse l'écriture." +
           goesOn},
      {"of a later schema", 1,
       [&] {
         AnswerJournal later(Path());
         later.Record(answer);
         QSqlQuery(later.Store().Database()).exec("PRAGMA user_version = 2");
       },
       [] {},
       "Le journal des réponses « " + path +
           " » a été écrit par une version plus récente de Tenaxo : il est laissé "
           "tel quel, les statistiques sont en lecture seule et les réponses n'y sont pas notées."},
  };
  std::signal(SIGXFSZ, SIG_IGN);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetMode(Folder(), 0777);
    for (const char* end : {"", "-wal", "-shm"}) QFile::remove(Path() + end);
    c.fault();
    const std::string before = FileBytes(Path());
    bool readOnly = false;
    {
      AnswerJournal journal(Path());
      const QString told = journal.Record(answer).value_or("(none)");
      const QStringList aside = QDir(Folder()).entryList({"journal endommagé *.sqlite"});
      EXPECT_EQ(told, QString(c.message).replace("<aside>", aside.value(0)));
      EXPECT_EQ(AnswersPerDay(journal.Store(), "A").size(), c.days) << "read";
      EXPECT_EQ(journal.Record(answer), std::nullopt) << "told once";
      readOnly = journal.Store().ReadOnly();
      c.undo();
      journal.Record(answer);
      const auto days = AnswersPerDay(journal.Store(), "A");
      EXPECT_TRUE(!days.empty() && days[0].asked > 0) << "an answer once the fault is gone";
    }
    EXPECT_TRUE(!readOnly || FileBytes(Path()) == before) << "untouched";
    SetMode(Folder(), 0777);
  }
  other = QSqlDatabase();
  QSqlDatabase::removeDatabase("other");
  const QStringList aside = QDir(Folder()).entryList({"journal endommagé *.sqlite"});
  ASSERT_EQ(aside.size(), 1);
  EXPECT_EQ(FileBytes(Folder() + aside[0]), std::string(5000, 'x'));
}

}  // namespace
}  // namespace tenaxo
