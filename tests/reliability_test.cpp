// Faults while saving and closing, and very large lists: whatever happens, the
// list file holds either the old list or the new one, whole, and the answers
// not yet saved stay in the window until a save goes through.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <chrono>
#include <cstring>
#include <thread>

#include "GuiFixture.h"
#include "SingleInstance.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using test::ErrorOf;
using test::FileBytes;
using test::GuiTest;
using test::PutFile;
using test::StateOf;

const std::string kWriteFailed = "Erreur d'écriture dans le flux";

// n lines in the saved form, each made of the tag and the line's number.
std::string ListOf(int n, const std::string& tag) {
  std::string text;
  for (int i = 1; i <= n; ++i) {
    const std::string k = std::to_string(i);
    text += tag + k + '\t' + tag + "-" + k + '\t' + std::to_string(i % 7) + '\t' + std::to_string(i % 3) + "\t0,500\r\n";
  }
  return text;
}

// Runs the action in a child process, which may change what the test process
// must keep (its mounts, its file size limit) and whose memory peak is
// measured. Gives what the action reports ("" when all went well) and how
// far the child's resident memory rose, in KB.
std::pair<std::string, long> InChild(const std::function<std::string()>& action) {
  int channel[2];
  if (pipe(channel) != 0) return {"no pipe", 0};
  fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return {"no fork", 0};
  if (child == 0) {
    rusage start{}, end{};
    getrusage(RUSAGE_SELF, &start);
    std::string failures;
    try {
      failures = action();
    } catch (const std::exception& e) {
      failures = std::string("unexpected failure: ") + e.what();
    }
    getrusage(RUSAGE_SELF, &end);
    const std::string report = std::to_string(end.ru_maxrss - start.ru_maxrss) + '\n' + failures;
    _exit(write(channel[1], report.data(), report.size()) == static_cast<ssize_t>(report.size()) ? 0 : 1);
  }
  close(channel[1]);
  std::string report;
  char buffer[4096];
  for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<size_t>(n));
  close(channel[0]);
  waitpid(child, nullptr, 0);
  const size_t line = report.find('\n');
  if (line == std::string::npos) return {"the child died before it reported", 0};
  return {report.substr(line + 1), std::stol(report.substr(0, line))};
}

// Permission bits do not stop the administrator: running as root, the test
// acts as the user nobody while this lives.
class OrdinaryUser {
 public:
  OrdinaryUser() : root_(geteuid() == 0) { ok_ = !root_ || (setegid(65534) == 0 && seteuid(65534) == 0); }
  ~OrdinaryUser() {
    if (root_ && (seteuid(0) != 0 || setegid(0) != 0)) std::abort();
  }
  bool ok() const { return ok_; }

 private:
  bool root_, ok_;
};

void SetMode(const QString& path, mode_t mode) { ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0); }

// ---------------------------------------------------------------- saving

class SaveFaults : public test::ProgramFolder {
 protected:
  void SetUp() override {
    test::ProgramFolder::SetUp();
    // Larger than what the file size limit or the full disk leave.
    session.SgListe = test::MakeTable(std::vector<std::string>(5000, "mot;word;3;1;0,333"));
    session.FListName = "liste";
    session.FAskedCount = 6;
    session.Unsaved = true;
    window.name = "liste";
  }

  Session session;
  test::FakeWindow window;
  ListCommands commands{session, window.Bind()};
};

// The file size limit stops the save part-way: the old list stays whole,
// no new file is left beside it, and the session keeps its unsaved answers.
TEST_F(SaveFaults, AWriteFailingPartWayKeepsTheOldList) {
  const std::string old = ListOf(20, "old");
  PutFile(PathOf("liste.tnx"), old);
  const std::string before = StateOf(session);
  const auto [failures, peak] = InChild([&]() -> std::string {
    const rlimit limit{64 * 1024, 64 * 1024};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return "no file size limit";
    if (ErrorOf([&] { commands.SaveList(); }) != kWriteFailed) return "the save did not fail as a write";
    return StateOf(session) == before ? "" : "the failed save changed the session";
  });
  EXPECT_EQ(failures, "");
  EXPECT_EQ(FileBytes(PathOf("liste.tnx")), old);
  EXPECT_EQ(Entries(), QStringList{"liste.tnx"});
}

// A save needs a new file beside the list, so a folder the user may not write
// to refuses it even when the list file itself is writable.
TEST_F(SaveFaults, AProgramFolderThatIsNotWritableRefusesTheSave) {
  PutFile(PathOf("liste.tnx"), "old\r\n");
  SetMode(PathOf("liste.tnx"), 0666);
  SetMode(Folder(), 0555);
  const std::string before = StateOf(session);
  {
    OrdinaryUser user;
    if (!user.ok()) GTEST_SKIP() << "root cannot act as the user nobody here";
    const std::string path = PathOf("liste.tnx").toStdString();
    EXPECT_EQ(ErrorOf([&] { commands.BtSauverClick(); }),
              "Impossible de créer le fichier \"" + path + "\". " + std::strerror(EACCES));
  }
  SetMode(Folder(), 0700);
  EXPECT_EQ(StateOf(session), before);
  EXPECT_EQ(Entries(), QStringList{"liste.tnx"}) << "no stray file";
  EXPECT_EQ(FileBytes(PathOf("liste.tnx")), "old\r\n");
}

// The disk is full, on a small file system of the test's own (a tmpfs in a
// mount namespace of a child process): saving the list and storing a setting
// fail and lose nothing.
TEST_F(SaveFaults, AFullDiskFailsTheSaveAndTheSettingsAndLosesNothing) {
  const QString disk = PathOf("disque");
  ASSERT_TRUE(QDir().mkdir(disk));
  const auto [failures, peak] = InChild([&]() -> std::string {
    // The administrator mounts in a namespace of its own; anyone else, or an
    // administrator without that right, as root of a user namespace.
    if (geteuid() != 0 || unshare(CLONE_NEWNS) != 0) {
      const std::string uid = std::to_string(geteuid()), gid = std::to_string(getegid());
      if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return "SKIP no mount nor user namespace can be made";
      PutFile("/proc/self/setgroups", "deny");
      PutFile("/proc/self/uid_map", "0 " + uid + " 1");
      PutFile("/proc/self/gid_map", "0 " + gid + " 1");
    }
    if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m,mode=0777") != 0) {
      return "SKIP no tmpfs can be mounted";
    }
    SetAppFolder(disk);
    PutFile(disk + "/liste.tnx", "old\r\n");
    const RegRoot settings(disk + "/config/Tenaxo.ini");
    WriteRegString(settings, "Tenaxo\\Liste", "ancienne");
    const std::string settingsBefore = FileBytes(settings.FileName());
    const int fd = open(QFile::encodeName(disk + "/remplissage").constData(), O_WRONLY | O_CREAT, 0644);
    for (const size_t size : {4096, 1}) {
      const std::string block(size, 'x');
      while (write(fd, block.data(), size) > 0) {
      }
    }
    close(fd);
    const std::string before = StateOf(session);
    if (ErrorOf([&] { commands.BtSauverClick(); }) != kWriteFailed) return "the save did not fail as a write";
    if (StateOf(session) != before) return "the failed save changed the session";
    if (FileBytes(disk + "/liste.tnx") != "old\r\n") return "the old list is not whole";
    if (ErrorOf([&] { WriteRegString(settings, "Tenaxo\\Liste", "nouvelle"); }) !=
        "Echec à la définition des données pour 'Liste'") {
      return "storing a setting did not fail";
    }
    if (FileBytes(settings.FileName()) != settingsBefore) return "the settings file changed";
    const QStringList entries = QDir(disk).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    return entries == QStringList{"config", "liste.tnx", "remplissage"} ? "" : "a file was left behind";
  });
  if (failures.rfind("SKIP ", 0) == 0) GTEST_SKIP() << failures.substr(5);
  EXPECT_EQ(failures, "");
}

// The program dies at any moment of a save: the list file is the old list or
// the new one, whole. A killed save leaves its new file behind, hidden: it
// never shows among the lists.
TEST_F(SaveFaults, KilledInTheMiddleOfASaveTheOldOrTheNewListStandsWhole) {
  const QString path = PathOf("liste.tnx");
  const std::string lists[2] = {ListOf(60000, "ancienne"), ListOf(50000, "nouvelle")};
  PutFile(path, lists[0]);
  // How long two saves take here, to spread the kills over them.
  const auto start = std::chrono::steady_clock::now();
  WriteListFile(path, lists[1]);
  WriteListFile(path, lists[0]);
  const auto twoSaves = std::chrono::steady_clock::now() - start;

  constexpr int kRounds = 16;
  for (int round = 0; round < kRounds; ++round) {
    int started[2];
    ASSERT_EQ(pipe(started), 0);
    fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (write(started[1], "s", 1) != 1) _exit(1);
      for (int k = 1;; ++k) WriteListFile(path, lists[k % 2]);
    }
    close(started[1]);
    char byte;
    ASSERT_EQ(read(started[0], &byte, 1), 1);
    close(started[0]);
    std::this_thread::sleep_for(twoSaves * round / kRounds);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself";

    const std::string bytes = FileBytes(path);
    ASSERT_TRUE(bytes == lists[0] || bytes == lists[1]) << "round " << round << ": " << bytes.size() << " bytes";
    ASSERT_EQ(ListFiles(Folder() + "*.tnx"), QStringList{"liste.tnx"}) << "round " << round;
  }
}

// ---------------------------------------------------------------- large lists

#if defined(__SANITIZE_ADDRESS__)
constexpr long kMemoryFactor = 2;  // the sanitizer's shadow memory and red zones
#else
constexpr long kMemoryFactor = 1;
#endif

// Loaded, counted and saved again byte for byte, within a generous bound on
// the memory that takes.
TEST_F(SaveFaults, LargeListsLoadAndSaveAgainWithinTheMemoryTheyNeed) {
  const struct {
    const char* name;
    std::string bytes;
    int lines;
    long boundMb;
  } cases[] = {{"a million lines", ListOf(1000000, "w"), 1000000, 512},
               {"a 10 MB cell", std::string(10 << 20, 'x') + "\tdroite\t\t\t\r\n", 1, 48}};
  for (const auto& c : cases) {
    PutFile(PathOf("grande.tnx"), c.bytes);
    window.name = "grande";
    const auto [failures, peakKb] = InChild([&]() -> std::string {
      commands.LoadList();
      if (session.SgListe.DataRowCount() != c.lines) return "not every line was loaded";
      commands.BtSauverClick();
      return FileBytes(PathOf("grande.tnx")) == c.bytes ? "" : "saved again, the file changed";
    });
    EXPECT_EQ(failures, "") << c.name;
    EXPECT_LT(peakKb, c.boundMb * 1024 * kMemoryFactor) << c.name << ": memory peak in KB";
  }
}

// ---------------------------------------------------------------- the window

// The settings cannot be stored at closing: the failure is told once, the
// list is saved all the same, and the window closes.
TEST_F(GuiTest, ClosingWhenTheSettingsCannotBeStoredSavesTheListAndCloses) {
  const struct {
    const char* cause;
    bool unsaved;
    void (*fault)(const QString& settings);
  } cases[] = {{"settings file read-only", true, [](const QString& settings) { SetMode(settings, 0444); }},
               {"settings folder not writable", true,
                [](const QString& settings) { SetMode(QFileInfo(settings).path(), 0555); }},
               {"settings path a folder", false, [](const QString& settings) {
                  QFile::remove(settings);
                  ASSERT_TRUE(QDir().mkdir(settings));
                }}};
  SetMode(Folder(), 0777);
  int k = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cause);
    window.reset();
    const QString settings = Folder() + "config" + QString::number(++k) + "/Tenaxo.ini";
    RegRoot::SetCurrentUser(settings);
    PutList("Anglais", "a\tA\t\t\t\r\n");
    SetMode(ListPath("Anglais"), 0666);
    PutSetting("Liste", "Anglais");
    SetMode(QFileInfo(settings).path(), 0777);
    SetMode(settings, 0666);
    Start();
    if (c.unsaved) {
      ClickFree();
      Click(window->BtOui);
    }
    c.fault(settings);
    boxes.seen.clear();
    {
      OrdinaryUser user;
      if (!user.ok()) GTEST_SKIP() << "root cannot act as the user nobody here";
      EXPECT_TRUE(CloseWindow());
    }
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "Echec à la définition des données pour 'Liste'");
    EXPECT_EQ(ListBytes("Anglais"), c.unsaved ? "a\tA\t1\t1\t\r\n" : "a\tA\t\t\t\r\n");
    SetMode(QFileInfo(settings).path(), 0777);
  }
}

// One running copy per user and settings file: a later start brings the
// running one forward and ends. A copy killed without cleaning up (its
// socket and lock left behind) never blocks a start.
TEST_F(GuiTest, ASecondStartBringsTheRunningCopyForwardAndEnds) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_CONFIG_HOME", Folder() + "home");
  env.insert("XDG_DATA_HOME", Folder() + "data");
  env.insert("QT_QPA_PLATFORM", "offscreen");
  const QString settings = Folder() + "home/Tenaxo.ini";
  const QString socket = SingleInstance(settings).Name();

  QProcess killed;
  killed.setProcessEnvironment(env);
  killed.start(TENAXO_PROGRAM);
  ASSERT_TRUE(killed.waitForStarted());
  for (int wait = 0; wait < 400 && !QFileInfo::exists(socket); ++wait) QTest::qWait(50);
  ASSERT_TRUE(QFileInfo::exists(socket));
  kill(static_cast<pid_t>(killed.processId()), SIGKILL);
  killed.waitForFinished();

  SingleInstance first(settings);
  ASSERT_TRUE(first.Claim()) << "the killed copy's leftovers blocked the start";
  QSignalSpy activated(&first, &SingleInstance::Activated);
  QProcess second;
  second.setProcessEnvironment(env);
  second.start(TENAXO_PROGRAM);
  ASSERT_TRUE(second.waitForFinished(20000)) << "the second copy kept running";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(activated.count() == 1 || activated.wait(5000));
}

// The line editor's own limit of 32767 characters would keep only that much
// of the cell at its first edit.
TEST_F(GuiTest, ACellLongerThanTheLineEditorsLimitIsEditedWhole) {
  PutList("Longue", std::string(40000, 'x') + "\tdroite\t\t\t\r\n");
  PutSetting("Liste", "Longue");
  Start();
  FocusGrid();
  QTest::keyClick(window->SgListe->Editor(), Qt::Key_End);
  QTest::keyClick(window->SgListe->Editor(), Qt::Key_Backspace);
  QTest::keyClick(window->SgListe->Editor(), Qt::Key_Y);
  EXPECT_TRUE(CloseWindow());
  EXPECT_EQ(ListBytes("Longue"), std::string(39999, 'x') + "y\tdroite\t\t\t\r\n");
}

}  // namespace
}  // namespace tenaxo
