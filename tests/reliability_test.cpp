// SPDX-License-Identifier: GPL-3.0-or-later
// Faults while saving and closing: the file holds the old list or the new one, whole; unsaved answers stay.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <cstring>

#include "GuiFixture.h"
#include "SingleInstance.h"
#include "Termination.h"

namespace tenaxo {
namespace {
using namespace test;

enum Fault { kNone, kSettingsReadOnly, kFileSizeLimit, kFolderReadOnly, kNoRescue, kSignal, kSignalInBox };

// Closing unsaved saves the list; a refusal or failed save keeps the window, or leaves a rescue copy.
TEST_F(GuiTest, ClosingLosesNoAnswer) {
  const QString rescue = Folder() + "data/Tenaxo/secours";
  const std::string answered = "a\tA\t1\t1\t\r\n", old = "a\tA\t\t\t\r\n", none = "<missing>";
  const QString asked = "La liste n'a pas pu être sauvegardée. Quitter quand même ? Une copie sera gardée dans « " +
                        rescue + " ».",
                noFolder = "Anglais.tnx\". " + QString(std::strerror(EACCES)) + ".";
  const struct {
    const char *name, *shown;     // shown: the list name at closing
    std::deque<QString> answers;  // then "OK", or Escape
    Fault fault;
    bool closes;
    std::string list, copy;  // the list file and the rescue copy then
    QString told;            // how a box's text ends
    const char* buttons;     // of the last box
  } cases[] = {
      {"saved", "Anglais", {}, kNone, true, answered, none, "", ""},
      {"by a termination signal", "Anglais", {}, kSignal, true, answered, none, "", ""},
      {"by a signal while a box asks", "Anglais", {}, kSignalInBox, true, answered, none, "", ""},
      {"staying", "Autre", {"Annuler", "Non"}, kNone, false, old, none, asked, "Oui [Non] "},
      {"closing with a copy", "Autre", {"Annuler", "Oui"}, kNone, true, old, answered, asked, "Oui [Non] "},
      {"the copy cannot be made", "Autre", {"Annuler", "Oui"}, kNoRescue, false, old, none, asked, "[OK] "},
      {"the settings not stored", "Anglais", {}, kSettingsReadOnly, true, answered, none, "pour 'Liste'", "[OK] "},
      {"the file size limit", "Anglais", {}, kFileSizeLimit, false, old, none, "dans le flux.", "Oui [Non] "},
      {"a folder the user may not write to", "Anglais", {}, kFolderReadOnly, false, old, none, noFolder, "Oui [Non] "},
  };
  CloseOnTerminationSignals();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutList("Autre", "x\tX\t\t\t\r\n");
    Start("Anglais", old, {{"Gauche", "-1"}, {"Voix", "el"}});
    ClickFree(), Click(window->BtOui);
    window->CbListes->setEditText(c.shown);
    boxes.clear(), answers = c.answers;
    if (c.fault == kNoRescue) QDir().mkpath(Folder() + "data/Tenaxo"), PutFile(rescue, "");  // a file in the way
    SetMode(Folder(), c.fault == kFolderReadOnly ? 0555 : 0777);
    SetMode(ListPath("Anglais"), 0666);
    SetMode(Settings::UserFile(), c.fault == kSettingsReadOnly ? 0444 : 0666);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{c.fault == kFileSizeLimit ? 8 : limit.rlim_cur, limit.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    // Permission bits do not stop the administrator: running as root, the window closes as the user nobody.
    const bool asNobody = geteuid() == 0 && (c.fault == kSettingsReadOnly || c.fault == kFolderReadOnly);
    ASSERT_TRUE(!asNobody || (setegid(65534) == 0 && seteuid(65534) == 0));
    if (c.fault == kSignalInBox) boxTimer.stop(), QTimer::singleShot(0, [] { raise(SIGTERM); }), Click(window->Button4);
    if (c.fault == kSignal) raise(SIGTERM);
    if (c.fault < kSignal) window->close();
    const bool closed = QTest::qWaitFor([&] { return !window->isVisible(); }, c.closes ? 5000 : 100);
    ASSERT_TRUE(!asNobody || (seteuid(0) == 0 && setegid(0) == 0));
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    SetMode(Folder(), 0700), boxTimer.start(5);
    EXPECT_EQ(closed, c.closes);
    EXPECT_EQ(ListBytes("Anglais"), c.list);
    EXPECT_EQ(ListBytes("Autre"), "x\tX\t\t\t\r\n");
    QStringList files = QDir(Folder()).entryList(QDir::Files);
    files.removeIf([](const QString& name) { return name.startsWith("journal.sqlite"); });  // the practice journal
    EXPECT_EQ(files, (QStringList{"Anglais.tnx", "Autre.tnx"})) << "nothing left of a save";
    EXPECT_TRUE(closed || SauverBold()) << "the answers stay";
    EXPECT_EQ(FileBytes(rescue + '/' + QDir(rescue).entryList(QDir::Files).value(0)), c.copy);
    QDir(rescue).removeRecursively(), QFile::remove(rescue);
    EXPECT_TRUE(c.told.isEmpty() ||
                std::any_of(boxes.begin(), boxes.end(), [&](const Box& box) { return box.text.endsWith(c.told); }))
        << LastBox();
    EXPECT_EQ(boxes.empty() ? "" : boxes.back().buttons.toStdString(), c.buttons);
    if (c.fault == kNone && c.closes) {  // the settings file as it holds them
      const QSettings ini(Settings::UserFile(), QSettings::IniFormat);
      for (const auto& [name, value] : {std::pair{"Liste", c.shown}, {"Vocal", "0"}, {"Gauche", "-1"}, {"Voix", "el"}})
        EXPECT_EQ(ini.value(QString("Tenaxo/") + name).toString(), value) << name;
    }
  }
}

// One running copy: a later start hands it its files, brings it forward and ends; leftovers never block.
TEST_F(GuiTest, ASecondStartBringsTheRunningCopyForwardAndEnds) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();  // offscreen, the data in the test's folder
  env.insert("XDG_CONFIG_HOME", Folder() + "home");
  const QString settings = Folder() + "home/Tenaxo.ini";
  const QString socket = SingleInstance(settings).Name();  // where no other user can put one first
  EXPECT_TRUE(socket.startsWith(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/tenaxo-"));
  QProcess killed, second;
  for (QProcess* copy : {&killed, &second}) copy->setProcessEnvironment(env);
  killed.start(TENAXO_PROGRAM);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(socket); }, 20000));
  kill(static_cast<pid_t>(killed.processId()), SIGKILL);
  killed.waitForFinished();
  SingleInstance first(settings);
  ASSERT_TRUE(first.Claim()) << "the killed copy's leftovers blocked the start";
  EXPECT_FALSE(QFileInfo(socket).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::WriteOther)) << "ours";
  Start();
  EXPECT_TRUE(window->About()->isVisible()) << "without a list, the About window comes up";
  window->showMinimized(), window->hide();
  QStringList handed;
  QObject::connect(&first, &SingleInstance::Activated,
                   [&](const QStringList& files) { handed = files, BringToFront(window.get()); });
  second.setWorkingDirectory(Folder());
  second.start(TENAXO_PROGRAM, {"mots.txt", "/x/Autre.tnx"});
  ASSERT_TRUE(second.waitForFinished(20000)) << "the second copy kept running";
  EXPECT_TRUE(second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !handed.isEmpty(); }, 5000));
  EXPECT_EQ(handed, QStringList({Folder() + "mots.txt", "/x/Autre.tnx"}));
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 5000)) << "not brought forward";
  EXPECT_FALSE(window->isMinimized());
  EXPECT_TRUE(QTest::qWaitForWindowActive(window.get(), 1000));
}

}  // namespace
}  // namespace tenaxo
