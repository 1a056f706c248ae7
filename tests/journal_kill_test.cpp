// SPDX-License-Identifier: GPL-3.0-or-later
// The window killed at any moment while it answers as fast as it can: the journal stays whole and loses at most the
// answer being written. The test program starts itself again as the window that is killed.
#include <signal.h>

#include <QProcess>
#include <QSqlQuery>
#include <cstdio>

#include "GuiFixture.h"

namespace tenaxo {
namespace {
using namespace test;

const char* const kFolder = "TENAXO_KILLED_FOLDER";

// The killed copy: answers in the folder it is given, telling each answer once its handler is done.
TEST(JournalKilled, AnswersUntilKilled) {
  const QString folder = qEnvironmentVariable(kFolder);
  if (folder.isEmpty()) GTEST_SKIP() << "run by JournalKill";
  SetAppFolder(folder);
  Settings::SetUserFile(folder + "config/Tenaxo.ini");
  TFTenaxo window(FakeVoices(std::make_shared<VoiceLog>()));
  window.show();
  for (int n = 1;; ++n) {
    window.PnFicheClick();
    n % 3 ? window.BtOuiClick() : window.BtNonClick();
    std::printf("%d\n", n);
    std::fflush(stdout);
  }
}

TEST_F(GuiTest, AKillLosesAtMostTheAnswerBeingWritten) {
  PutList("Anglais", Pairs(30));
  PutSetting("Liste", "Anglais");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(kFolder, Folder());
  int64_t rows = 0;
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    QProcess killed;
    killed.setProcessEnvironment(env);
    killed.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=JournalKilled.*"});
    // Once it answers, at any moment of an answer.
    QByteArray out;
    while (!out.contains("\n1\n") && killed.waitForReadyRead(20000)) out += killed.readAllStandardOutput();
    QTest::qWait(round * 37 % 300);
    kill(static_cast<pid_t>(killed.processId()), SIGKILL);
    killed.waitForFinished();
    int64_t told = 0;
    for (const QByteArray& line : (out + killed.readAllStandardOutput()).split('\n'))
      if (!line.isEmpty() && std::isdigit(static_cast<unsigned char>(line[0]))) told = line.toLongLong();
    std::vector<int64_t> counts;
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check");
      db.setDatabaseName(Folder() + "journal.sqlite");
      ASSERT_TRUE(db.open());
      QSqlQuery query(db);
      for (const char* sql : {"PRAGMA integrity_check", "SELECT count(*) FROM answers", "SELECT sum(asked) FROM pairs",
                              "SELECT sum(asked) FROM days JOIN lists ON lists.id = list WHERE name = 'Anglais'"}) {
        ASSERT_TRUE(query.exec(sql) && query.next());
        counts.push_back(query.value(0).toString() == "ok" ? 0 : query.value(0).toLongLong());
      }
    }
    QSqlDatabase::removeDatabase("check");
    EXPECT_EQ(counts[0], 0) << "integrity";
    EXPECT_GE(counts[1] - rows, told);
    EXPECT_LE(counts[1] - rows, told + 1);
    EXPECT_EQ(counts[2], counts[1]) << "each pair counts its answers";
    EXPECT_EQ(counts[3], counts[1]) << "each day counts its answers, all of the list";
    rows = counts[1];
  }
}

}  // namespace
}  // namespace tenaxo
