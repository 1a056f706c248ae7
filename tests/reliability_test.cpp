// Faults while saving and closing: whatever happens, the list file holds either the old list or the new one, whole, and
// the answers not yet saved stay in the window until a save goes through.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <cstring>

#include "FakeListWindow.h"
#include "GuiFixture.h"
#include "SingleInstance.h"

namespace tenaxo {
namespace {
using namespace test;

// Runs the action in a child process, which may change what the test process must keep (its user, its file size limit):
// 0 when it reported no failure, 1 when it did.
int InChild(const std::function<std::string()>& action) {
  fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const std::string failure = action();
    std::fputs(failure.empty() ? "" : (failure + '\n').c_str(), stderr);
    _exit(failure.empty() ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void SetMode(const QString& path, mode_t mode) { ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0); }

class SaveFaults : public ProgramFolder {
 protected:
  void SetUp() override {
    ProgramFolder::SetUp();
    // Larger than what the file size limit leaves.
    session.table = test::MakeTable(std::vector<std::string>(5000, "mot;word;3;1;0,333"));
    session.listName = "liste";
    session.askedCount = 6;
    session.unsaved = true;
    window.name = "liste";
  }

  Session session;
  test::FakeWindow window;
  ListCommands commands{session, window.Bind()};
};

// A save that fails part-way (the file size limit) or cannot start (a folder the user may not write to, the list file
// itself writable) leaves the old list whole, no new file beside it, and the session with its unsaved answers.
TEST_F(SaveFaults, AFailedSaveKeepsTheOldListAndTheAnswers) {
  const std::string old = Pairs(20);
  const std::string denied = "Impossible de créer le fichier \"" + PathOf("liste.tnx").toStdString() + "\". ";
  const std::pair<bool, std::string> cases[] = {{false, "Erreur d'écriture dans le flux"},
                                                {true, denied + std::strerror(EACCES)}};
  for (const auto& [folderReadOnly, error] : cases) {
    SCOPED_TRACE(folderReadOnly ? "a folder the user may not write to" : "the file size limit");
    PutFile(PathOf("liste.tnx"), old);
    SetMode(PathOf("liste.tnx"), 0666);
    SetMode(Folder(), folderReadOnly ? 0555 : 0700);
    const std::string before = StateOf(session);
    const int status = InChild([&]() -> std::string {
      const rlimit limit{64 * 1024, 64 * 1024};
      if (!folderReadOnly && setrlimit(RLIMIT_FSIZE, &limit) != 0) return "no file size limit";
      if (folderReadOnly && geteuid() == 0 && (setegid(65534) != 0 || seteuid(65534) != 0)) return "not nobody";
      const std::string told = ErrorOf([&] { commands.SaveList(); });
      return told != error ? told : StateOf(session) == before ? "" : "the failed save changed the session";
    });
    SetMode(Folder(), 0700);
    EXPECT_EQ(status, 0) << "1: it failed as told on the standard error";
    EXPECT_EQ(FileBytes(PathOf("liste.tnx")), old);
    EXPECT_EQ(Entries(), QStringList{"liste.tnx"});
  }
}

// The settings cannot be stored at closing: the failure is told once, the list is saved all the same, and the window
// closes.
TEST_F(GuiTest, ClosingWhenTheSettingsCannotBeStoredSavesTheListAndCloses) {
  SetMode(Folder(), 0777);
  StartWith("Anglais", "a\tA\t\t\t\r\n");
  SetMode(ListPath("Anglais"), 0666);
  SetMode(Settings::UserFile(), 0444);
  ClickFree();
  Click(window->BtOui);
  // Permission bits do not stop the administrator: running as root, the test closes as the user nobody.
  const bool root = geteuid() == 0;
  if (root && (setegid(65534) != 0 || seteuid(65534) != 0)) GTEST_SKIP() << "root cannot act as nobody here";
  EXPECT_TRUE(CloseWindow());
  ASSERT_FALSE(root && (seteuid(0) != 0 || setegid(0) != 0));
  ASSERT_EQ(boxes.seen.size(), 1u);
  EXPECT_EQ(boxes.seen[0].text, "Echec à la définition des données pour 'Liste'");
  EXPECT_EQ(ListBytes("Anglais"), "a\tA\t1\t1\t\r\n");
}

// One running copy per user and settings file: a later start brings the running one forward and ends. A copy killed
// without cleaning up (its socket and lock left behind) never blocks a start.
TEST_F(GuiTest, ASecondStartBringsTheRunningCopyForwardAndEnds) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_CONFIG_HOME", Folder() + "home");
  env.insert("XDG_DATA_HOME", Folder() + "data");
  env.insert("QT_QPA_PLATFORM", "offscreen");
  const QString settings = Folder() + "home/Tenaxo.ini";
  const QString socket = SingleInstance(settings).Name();
  QProcess killed, second;
  for (QProcess* copy : {&killed, &second}) copy->setProcessEnvironment(env);
  killed.start(TENAXO_PROGRAM);
  for (int wait = 0; wait < 400 && !QFileInfo::exists(socket); ++wait) QTest::qWait(50);
  ASSERT_TRUE(QFileInfo::exists(socket));
  kill(static_cast<pid_t>(killed.processId()), SIGKILL);
  killed.waitForFinished();

  SingleInstance first(settings);
  ASSERT_TRUE(first.Claim()) << "the killed copy's leftovers blocked the start";
  QSignalSpy activated(&first, &SingleInstance::Activated);
  second.start(TENAXO_PROGRAM);
  ASSERT_TRUE(second.waitForFinished(20000)) << "the second copy kept running";
  EXPECT_TRUE(second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0);
  EXPECT_TRUE(activated.count() == 1 || activated.wait(5000));
}

// The line editor's own limit of 32767 characters would keep only that much of the cell at its first edit.
TEST_F(GuiTest, ACellLongerThanTheLineEditorsLimitIsEditedWhole) {
  StartWith("Longue", std::string(40000, 'x') + "\tdroite\t\t\t\r\n");
  FocusGrid();
  for (Qt::Key key : {Qt::Key_End, Qt::Key_Backspace, Qt::Key_Y}) QTest::keyClick(window->SgListe->Editor(), key);
  EXPECT_TRUE(CloseWindow());
  EXPECT_EQ(ListBytes("Longue"), std::string(39999, 'x') + "y\tdroite\t\t\t\r\n");
}

}  // namespace
}  // namespace tenaxo
