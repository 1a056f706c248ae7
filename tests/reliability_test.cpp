// Faults while saving and closing, and very large lists: whatever happens, the
// list file holds either the old list or the new one, whole, and the answers
// not yet saved stay in the window until a save goes through.
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "Errors.h"
#include "GuiFixture.h"
#include "StorageFixture.h"

namespace tenaxo {
namespace {
using test::FakeWindow;
using test::GuiTest;
using test::FileBytes;
using test::PutFile;
using test::SessionState;

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.Message().toStdString();
  }
  return "(no error)";
}

const std::string kWriteFailed = "Erreur d'écriture dans le flux";

std::string CreateFailed(const QString& path, int error) {
  return "Impossible de créer le fichier \"" + path.toStdString() + "\". " + std::strerror(error);
}

// n lines in the saved form, each made of the tag and the line's number.
std::string ListOf(int n, const std::string& tag) {
  std::string text;
  text.reserve(static_cast<size_t>(n) * (2 * tag.size() + 24));
  for (int i = 1; i <= n; ++i) {
    const std::string k = std::to_string(i);
    text += tag + k + '\t' + tag + "-" + k + '\t' + std::to_string(i % 7) + '\t' + std::to_string(i % 3) +
            "\t0,500\r\n";
  }
  return text;
}

// What a child process reports: the checks that failed ("" when none did),
// and how far its resident memory rose above what it started with.
struct ChildRun {
  std::string failures;
  long peakKb = 0;
};

// Runs the action in a child process, so that it may change what the test
// process must keep (its user, its mounts, its memory peak) or be killed.
ChildRun InChild(const std::function<std::string()>& action) {
  int channel[2];
  if (pipe(channel) != 0) return {"no pipe", 0};
  fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return {"no fork", 0};
  if (child == 0) {
    close(channel[0]);
    signal(SIGXFSZ, SIG_IGN);
    rusage start{};
    getrusage(RUSAGE_SELF, &start);
    std::string failures;
    try {
      failures = action();
    } catch (const Error& e) {
      failures = "unexpected failure: " + e.Message().toStdString();
    } catch (const std::exception& e) {
      failures = std::string("unexpected exception: ") + e.what();
    }
    rusage end{};
    getrusage(RUSAGE_SELF, &end);
    const std::string report = std::to_string(end.ru_maxrss - start.ru_maxrss) + '\n' + failures;
    for (size_t done = 0; done < report.size();) {
      const ssize_t n = write(channel[1], report.data() + done, report.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    _exit(0);
  }
  close(channel[1]);
  std::string report;
  char buffer[4096];
  for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<size_t>(n));
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return {"the child died of signal " + std::to_string(WTERMSIG(status)), 0};
  const size_t line = report.find('\n');
  if (line == std::string::npos) return {"the child reported nothing", 0};
  return {report.substr(line + 1), std::stol(report.substr(0, line))};
}

// Permission bits do not stop the administrator. Running as root, the test
// acts as the ordinary user "nobody" while this lives, and is root again
// after; as any other user nothing changes.
class OrdinaryUser {
 public:
  OrdinaryUser() {
    if (geteuid() != 0) {
      ok_ = true;
      return;
    }
    const passwd* nobody = getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    groups_.resize(static_cast<size_t>(std::max(getgroups(0, nullptr), 0)));
    if (getgroups(static_cast<int>(groups_.size()), groups_.data()) < 0) return;
    if (setgroups(0, nullptr) != 0) return;
    if (setegid(gid) != 0 || seteuid(uid) != 0) {
      Restore();
      return;
    }
    ok_ = switched_ = true;
  }
  ~OrdinaryUser() {
    if (switched_) Restore();
  }
  OrdinaryUser(const OrdinaryUser&) = delete;
  OrdinaryUser& operator=(const OrdinaryUser&) = delete;
  bool ok() const { return ok_; }

 private:
  void Restore() {
    if (seteuid(0) != 0 || setegid(0) != 0 || setgroups(groups_.size(), groups_.data()) != 0) std::abort();
  }
  std::vector<gid_t> groups_;
  bool ok_ = false;
  bool switched_ = false;
};

#define SKIP_UNLESS_ORDINARY(user) \
  if (!(user).ok()) GTEST_SKIP() << "root cannot act as the user nobody here, so permission bits cannot be tested"

void SetMode(const QString& path, mode_t mode) { ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0); }

// ---------------------------------------------------------------- saving

class SaveFaults : public test::ProgramFolder {
 protected:
  void SetUp() override {
    test::ProgramFolder::SetUp();
    session.SgListe = test::MakeTable({"un;one;5;4;0,800", "deux;two;1;0;0,000"});
    session.FListName = "liste";
    session.FAskedCount = 6;
    session.FFoundCount = 4;
    session.Unsaved = true;
    window.name = "liste";
  }
  // The list entries of the folder, as the drop-down gets them.
  QStringList ListedNames() {
    FakeWindow names;
    ListCommands(session, names.Bind()).FillListNames();
    return names.items.value_or(QStringList());
  }

  Session session;
  FakeWindow window;
  ListCommands commands{session, window.Bind()};
};

// A save needs a new file beside the list, so a folder the user may not write
// to refuses it even when the list file itself is writable; loading and
// listing go on working.
TEST_F(SaveFaults, AProgramFolderThatIsNotWritableRefusesTheSaveAndKeepsEverything) {
  const std::string old = "old\tancien\t\t\t\r\n";
  PutFile(PathOf("liste.tnx"), old);
  SetMode(PathOf("liste.tnx"), 0666);
  SetMode(Folder(), 0555);
  const QStringList before = Entries();
  const SessionState state(session);
  {
    OrdinaryUser user;
    SKIP_UNLESS_ORDINARY(user);
    EXPECT_EQ(ErrorOf([&] { commands.BtSauverClick(); }), CreateFailed(PathOf("liste.tnx"), EACCES));
    window.name = "nouvelle";
    EXPECT_EQ(ErrorOf([&] { commands.BtSauverClick(); }), CreateFailed(PathOf("nouvelle.tnx"), EACCES));
    EXPECT_TRUE(SessionState(session) == state) << "the unsaved list is still there";
    EXPECT_EQ(ListedNames(), QStringList{"liste"});
    window.name = "liste";
    commands.LoadList();
    EXPECT_EQ(test::Rows(session.SgListe), std::vector<std::string>{"old;ancien;;;"});
  }
  SetMode(Folder(), 0700);
  EXPECT_EQ(Entries(), before) << "no stray file";
  EXPECT_EQ(FileBytes(PathOf("liste.tnx")), old);
}

// The disk fills up during a save, on a small file system of the test's own
// (a tmpfs in a mount namespace of a child process).
TEST_F(SaveFaults, AFullDiskFailsTheSaveAndTheSettingsAndLosesNothing) {
  const QString mountPoint = PathOf("disque");
  ASSERT_TRUE(QDir().mkdir(mountPoint));
  const ChildRun run = InChild([&]() -> std::string {
    const QByteArray point = QFile::encodeName(mountPoint);
    // The administrator mounts in a namespace of its own; anyone else, or an
    // administrator without that right, as root of a user namespace.
    if (geteuid() != 0 || unshare(CLONE_NEWNS) != 0) {
      const uid_t uid = geteuid();
      const gid_t gid = getegid();
      if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
        return "SKIP neither a mount nor a user namespace can be made: " + std::string(std::strerror(errno));
      }
      PutFile("/proc/self/setgroups", "deny");
      PutFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
      PutFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
    }
    if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", point.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m,mode=0777") != 0) {
      return "SKIP no tmpfs: " + std::string(std::strerror(errno));
    }
    SetAppFolder(mountPoint);
    const QString list = mountPoint + "/liste.tnx";
    const QString filler = mountPoint + "/remplissage";
    const RegRoot settings(mountPoint + "/config/Tenaxo.ini");
    std::string failures;
    const auto check = [&failures](bool ok, const std::string& what) {
      if (!ok) failures += what + "\n";
    };

    const std::string old = ListOf(20, "old");
    PutFile(list, old);
    WriteRegString(settings, "Tenaxo\\Liste", "ancienne");
    const std::string settingsBefore = FileBytes(settings.FileName());
    // Everything but 64 KB is taken; the list to save needs several times that.
    {
      const int fd = open(QFile::encodeName(filler).constData(), O_WRONLY | O_CREAT, 0644);
      const std::string block(4096, 'x');
      while (write(fd, block.data(), block.size()) > 0) {
      }
      struct stat st;
      fstat(fd, &st);
      if (ftruncate(fd, st.st_size - 64 * 1024) != 0) failures += "ftruncate\n";
      close(fd);
    }
    session.SgListe.SetRowCount(10001);
    for (int r = 1; r <= 10000; ++r) session.SgListe.SetRowTexts(r, {"mot", "word", "3", "1", "0,333"});
    const SessionState state(session);
    const QStringList entries = QDir(mountPoint).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    check(ErrorOf([&] { commands.BtSauverClick(); }) == kWriteFailed, "the save did not fail as a write");
    check(SessionState(session) == state, "the failed save changed the session");
    check(FileBytes(list) == old, "the old list is not whole");
    check(QDir(mountPoint).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) == entries,
          "a file was left behind");

    // Not a byte left: the settings cannot be stored either.
    {
      const int fd = open(QFile::encodeName(filler).constData(), O_WRONLY | O_APPEND);
      const std::string block(4096, 'x');
      while (write(fd, block.data(), block.size()) > 0) {
      }
      while (write(fd, "x", 1) > 0) {
      }
      close(fd);
    }
    check(ErrorOf([&] { WriteRegString(settings, "Tenaxo\\Liste", "nouvelle"); }) ==
              "Echec à la définition des données pour 'Liste'",
          "storing a setting on a full disk did not fail");
    check(FileBytes(settings.FileName()) == settingsBefore, "the settings file changed");

    // Room again: both go through.
    unlink(QFile::encodeName(filler).constData());
    check(ErrorOf([&] { commands.BtSauverClick(); }) == "(no error)", "the save failed with room on the disk");
    check(FileBytes(list) == ListText(session.SgListe), "the saved list is not the session's");
    check(!session.Unsaved, "the mark stayed after the save");
    WriteRegString(settings, "Tenaxo\\Liste", "nouvelle");
    AnsiString value;
    ReadRegString(settings, "Tenaxo\\Liste", value);
    check(value == "nouvelle", "the setting was not stored with room on the disk");
    return failures;
  });
  if (run.failures.rfind("SKIP ", 0) == 0) GTEST_SKIP() << run.failures.substr(5);
  EXPECT_EQ(run.failures, "");
}

// The program dies at any moment of a save: the list file is the old list
// or the new one, whole. A killed save leaves its new file behind, hidden
// (".tnx-" and six characters): it never shows among the lists.
TEST_F(SaveFaults, KilledInTheMiddleOfASaveTheOldOrTheNewListStandsWhole) {
  const QString path = PathOf("liste.tnx");
  const std::string lists[2] = {ListOf(60000, "ancienne"), ListOf(50000, "nouvelle")};
  PutFile(path, lists[0]);
  // How long one save takes here, to spread the kills over a few of them.
  const auto start = std::chrono::steady_clock::now();
  WriteListFile(path, lists[1]);
  WriteListFile(path, lists[0]);
  const auto twoSaves = std::chrono::steady_clock::now() - start;

  constexpr int kRounds = 16;
  int whole[2] = {0, 0};
  for (int round = 0; round < kRounds; ++round) {
    int started[2];
    ASSERT_EQ(pipe(started), 0);
    fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(started[0]);
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
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the saving child ended by itself";

    const std::string bytes = FileBytes(path);
    const int which = bytes == lists[0] ? 0 : bytes == lists[1] ? 1 : -1;
    ASSERT_NE(which, -1) << "round " << round << ": " << bytes.size() << " bytes, neither list whole";
    ++whole[which];
    for (const QString& entry : Entries()) {
      if (entry != "liste.tnx") {
        ASSERT_TRUE(entry.startsWith(".tnx-") && entry.size() == 11) << entry.toStdString();
      }
    }
    ASSERT_EQ(ListedNames(), QStringList{"liste"}) << "round " << round;
  }
  RecordProperty("old list whole", whole[0]);
  RecordProperty("new list whole", whole[1]);
  RecordProperty("new files left", static_cast<int>(Entries().size()) - 1);
  // The list is still usable after it all.
  commands.LoadList();
  EXPECT_EQ(ListText(session.SgListe), FileBytes(path));
}

// ---------------------------------------------------------------- large lists

struct LargeList {
  const char* name;
  std::function<std::string()> bytes;
  long boundMb;  // a generous bound on what loading and saving it may take
};

class LargeLists : public SaveFaults, public ::testing::WithParamInterface<LargeList> {};

#if defined(__SANITIZE_ADDRESS__)
constexpr long kMemoryFactor = 2;  // the sanitizer's shadow memory and red zones
#else
constexpr long kMemoryFactor = 1;
#endif

// Loaded, counted, saved again byte for byte, in a child process whose memory
// peak is measured.
TEST_P(LargeLists, LoadAndSaveAgainWithinTheMemoryTheyNeed) {
  const std::string bytes = GetParam().bytes();
  PutFile(PathOf("grande.tnx"), bytes);
  const long fileKb = static_cast<long>(bytes.size() / 1024);
  const size_t lines = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  window.name = "grande";
  const ChildRun run = InChild([&]() -> std::string {
    commands.LoadList();
    std::string failures;
    if (static_cast<size_t>(session.SgListe.DataRowCount()) != lines) failures += "wrong row count\n";
    if (session.LbNbMots != std::to_string(lines) + " Lignes") failures += "wrong label " + session.LbNbMots + "\n";
    session.Unsaved = true;
    commands.BtSauverClick();
    if (FileBytes(PathOf("grande.tnx")) != bytes) failures += "saved again, the file changed\n";
    return failures;
  });
  EXPECT_EQ(run.failures, "");
  RecordProperty("file KB", static_cast<int>(fileKb));
  RecordProperty("peak KB", static_cast<int>(run.peakKb));
  std::printf("%s: file %ld KB, memory peak %ld KB\n", GetParam().name, fileKb, run.peakKb);
  EXPECT_LT(run.peakKb, GetParam().boundMb * 1024 * kMemoryFactor);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LargeLists,
    ::testing::Values(LargeList{"MillionLines", [] { return ListOf(1000000, "w"); }, 512},
                      LargeList{"TenMegabyteCell",
                                [] { return std::string(10 * 1024 * 1024, 'x') + "\tdroite\t\t\t\r\n"; }, 48}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- closing

// The folder that refuses writes at closing: the settings' or the program's.
struct ClosingFault {
  const char* name;
  const char* folder;  // under the program folder; "" for the program folder
  bool settingsWritten;  // before the failure
};

class ClosingFaults : public test::GuiTest, public ::testing::WithParamInterface<ClosingFault> {};

// The first close fails with its error box and the window stays open with the
// unsaved answers; once the folder takes writes again, closing saves them.
TEST_P(ClosingFaults, TheWindowStaysOpenUntilTheAnswersAreSaved) {
  const ClosingFault& c = GetParam();
  PutList("Anglais", "a\tA\t\t\t\r\n");
  PutSetting("Liste", "Anglais");
  Start();
  ClickFree();
  Click(window->BtOui);
  ASSERT_TRUE(SauverBold());
  const QString settings = Folder() + "config/Tenaxo.ini";
  const std::string settingsBefore = FileBytes(settings);
  SetMode(Folder(), 0777);
  SetMode(Folder() + "config", 0777);
  SetMode(settings, 0666);
  SetMode(ListPath("Anglais"), 0666);
  const QString faulty = Folder() + c.folder;
  SetMode(faulty, 0555);
  {
    OrdinaryUser user;
    SKIP_UNLESS_ORDINARY(user);
    EXPECT_FALSE(CloseWindow());
  }
  ASSERT_EQ(boxes.seen.size(), 1u);
  EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Critical);
  EXPECT_EQ(boxes.seen[0].text.toStdString(),
            c.settingsWritten ? CreateFailed(ListPath("Anglais"), EACCES) + "."
                              : "Echec à la définition des données pour 'Liste'");
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(SauverBold()) << "the answers are still there";
  EXPECT_EQ(ListBytes("Anglais"), "a\tA\t\t\t\r\n");
  if (!c.settingsWritten) {
    EXPECT_EQ(FileBytes(settings), settingsBefore);
  }

  SetMode(faulty, 0777);
  {
    OrdinaryUser user;
    SKIP_UNLESS_ORDINARY(user);
    EXPECT_TRUE(CloseWindow());
  }
  EXPECT_EQ(boxes.seen.size(), 1u) << "no other box";
  EXPECT_EQ(ListBytes("Anglais"), "a\tA\t1\t1\t\r\n");
  EXPECT_EQ(Setting("Liste"), "Anglais");
  EXPECT_EQ(Setting("Vocal"), "0");
  EXPECT_EQ(Setting("Gauche"), "0");
}

INSTANTIATE_TEST_SUITE_P(Folders, ClosingFaults,
                         ::testing::Values(ClosingFault{"SettingsFolder", "config", false},
                                           ClosingFault{"ProgramFolder", "", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A stored list that cannot be read (a pipe under the list's name) fails the
// start-up's load with its box; the window comes up and works, closing keeps
// the name for the next start and touches no file.
TEST_F(GuiTest, AStoredListThatCannotBeReadIsShownAndKept) {
  ASSERT_EQ(mkfifo(QFile::encodeName(ListPath("Anglais")).constData(), 0644), 0);
  PutList("Autre", "x\tX\t\t\t\r\n");
  PutSetting("Liste", "Anglais");
  Start();
  EXPECT_TRUE(window->isVisible());
  ASSERT_EQ(boxes.seen.size(), 1u);
  EXPECT_EQ(boxes.seen[0].text.toStdString(),
            "Impossible d'ouvrir le fichier \"" + ListPath("Anglais").toStdString() + "\". " +
                std::strerror(EINVAL) + ".");
  window->CbListes->setEditText(QStringLiteral("Autre"));
  Click(window->Button5);
  EXPECT_EQ(window->LbNbMots->text(), "1 Lignes");
  window->CbListes->setEditText(QStringLiteral("Anglais"));
  EXPECT_TRUE(CloseWindow());
  EXPECT_EQ(Setting("Liste"), "Anglais");
  struct stat st;
  ASSERT_EQ(stat(QFile::encodeName(ListPath("Anglais")).constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// The grid's editor takes a cell of any length: the line editor's own limit
// of 32767 characters would keep only that much of the cell at its first edit.
TEST_F(GuiTest, ACellLongerThanTheLineEditorsLimitIsEditedWhole) {
  const std::string longText(40000, 'x');
  PutList("Longue", longText + "\tdroite\t\t\t\r\n");
  PutSetting("Liste", "Longue");
  Start();
  window->CbVisuListe->setChecked(true);
  QApplication::setActiveWindow(window.get());
  window->SgListe->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(window->SgListe->EditorShown());
  QTest::keyClick(window->SgListe->Editor(), Qt::Key_End);
  QTest::keyClick(window->SgListe->Editor(), Qt::Key_Backspace);
  QTest::keyClick(window->SgListe->Editor(), Qt::Key_Y);
  EXPECT_EQ(Cell(0, 1), std::string(39999, 'x') + "y");
  EXPECT_TRUE(CloseWindow());
  EXPECT_EQ(ListBytes("Longue"), std::string(39999, 'x') + "y\tdroite\t\t\t\r\n");
}

// A list with a cell of 10 MB comes up, is asked and answered, and is saved
// whole at closing.
TEST_F(GuiTest, ATenMegabyteCellIsAskedAndSavedWhole) {
  const std::string huge(10 * 1024 * 1024, 'x');
  PutList("Grande", huge + "\tdroite\t\t\t\r\n");
  PutSetting("Liste", "Grande");
  PutSetting("Gauche", "-1");
  Start();
  EXPECT_EQ(window->PnQL->Caption().size(), static_cast<qsizetype>(huge.size()));
  ClickFree();
  Click(window->BtOui);
  EXPECT_TRUE(CloseWindow());
  EXPECT_TRUE(boxes.seen.empty());
  EXPECT_EQ(ListBytes("Grande"), huge + "\tdroite\t1\t1\t\r\n");
}

}  // namespace
}  // namespace tenaxo
