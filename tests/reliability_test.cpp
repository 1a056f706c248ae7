// SPDX-License-Identifier: GPL-3.0-or-later
// Faults while saving and closing: whatever happens, the list file holds either the old list or the new one, whole, and
// the answers not yet saved stay in the window until a save goes through. What closing stores.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QSignalSpy>
#include <cstring>

#include "FakeListWindow.h"
#include "GuiFixture.h"
#include "SingleInstance.h"

namespace tenaxo {
namespace {
using namespace test;

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
  const struct {
    const char* name;
    bool folderReadOnly;
    std::string error;
  } cases[] = {
      {"the file size limit", false, "Erreur d'écriture dans le flux"},
      {"a folder the user may not write to", true,
       "Impossible de créer le fichier \"" + PathOf("liste.tnx").toStdString() + "\". " + std::strerror(EACCES)},
  };
  // Permission bits do not stop the administrator: running as root, the save is made as the user nobody.
  const bool root = geteuid() == 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutFile(PathOf("liste.tnx"), old);
    SetMode(PathOf("liste.tnx"), 0666);
    SetMode(Folder(), c.folderReadOnly ? 0555 : 0700);
    const Session before = session;
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{64 * 1024, limit.rlim_max};
    ASSERT_EQ(c.folderReadOnly ? 0 : setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool asNobody = c.folderReadOnly && root;
    ASSERT_TRUE(!asNobody || (setegid(65534) == 0 && seteuid(65534) == 0));
    const std::string told = ErrorOf([&] { commands.SaveList(); });
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    ASSERT_TRUE(!asNobody || (seteuid(0) == 0 && setegid(0) == 0));
    SetMode(Folder(), 0700);
    EXPECT_EQ(told, c.error);
    ExpectUnchanged(session, before);
    EXPECT_EQ(FileBytes(PathOf("liste.tnx")), old);
    EXPECT_EQ(Entries(), QStringList{"liste.tnx"});
  }
}

// The stored settings decide at start, whatever form a checked box was stored in; closing stores them back.
TEST_F(GuiTest, TheSettingsAreReadAtStartAndStoredAtClosing) {
  const struct {
    const char* name;
    const char *list, *vocal, *gauche, *voix;  // as stored
    bool speech, leftFirst;                    // the boxes at start
    const char *vocalBack, *gaucheBack;        // as stored at closing
  } cases[] = {
      {"checked", "Anglais", "-1", "-1", "el", true, true, "-1", "-1"},
      {"checked in other forms", "", "True", "2", "", true, true, "-1", "-1"},
      {"unchecked", "Autre", "0", "Vrai", "ja", false, false, "0", "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& [name, value] :
         {std::pair{"Liste", c.list}, {"Vocal", c.vocal}, {"Gauche", c.gauche}, {"Voix", c.voix}}) {
      PutSetting(name, value);
    }
    Start();
    EXPECT_EQ(window->CbListes->currentText().toStdString(), c.list);
    EXPECT_EQ(window->CbVocal->isChecked(), c.speech);
    EXPECT_EQ(window->CbFirstLeft->isChecked(), c.leftFirst);
    EXPECT_EQ(window->Cycle().SpokenLanguage(), c.voix);
    EXPECT_TRUE(CloseWindow());
    EXPECT_EQ(Setting("Liste"), c.list);
    EXPECT_EQ(Setting("Vocal"), c.vocalBack);
    EXPECT_EQ(Setting("Gauche"), c.gaucheBack);
    EXPECT_EQ(Setting("Voix"), c.voix);
    window.reset();
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
