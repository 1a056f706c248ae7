// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real main window in a program folder and a settings file of its own,
// with a fake voice, driven by clicks and keys; message boxes answered.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <memory>

#include "FakeVoice.h"
#include "ListFolder.h"
#include "ListGrid.h"
#include "QuestionCycle.h"
#include "Settings.h"
#include "StorageFixture.h"
#include "TFAbout.h"
#include "TFTenaxo.h"
#include "TableText.h"
#include "Widgets.h"

namespace tenaxo::test {

// buttons: their texts in order, the default one in brackets.
struct Box {
  QString title, text;
  QMessageBox::Icon icon;
  QString buttons;
};

// Records every modal message box and clicks the next planned answer ("OK").
class BoxWatcher : public QObject {
 public:
  BoxWatcher() {
    connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start(5);
  }
  std::deque<QString> answers;
  std::vector<Box> seen;

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    seen.push_back({box->windowTitle(), box->text(), box->icon(), {}});
    for (QAbstractButton* b : box->buttons())
      seen.back().buttons += b == box->defaultButton() ? '[' + b->text() + "] " : b->text() + ' ';
    const QString answer = answers.empty() ? QStringLiteral("OK") : answers.front();
    if (!answers.empty()) answers.pop_front();
    for (QAbstractButton* button : box->buttons())
      if (button->text() == answer) return button->click();
    box->reject();
  }
  QTimer timer_;
};

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    SetAppFolder(folder_.path());
    // Its own settings file also gives the one-copy guard a name of its own.
    Settings::SetUserFile(folder_.path() + QStringLiteral("/config/Tenaxo.ini"));
    dataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder_.path() + QStringLiteral("/data")));
    TextLocale::SetCurrent(QLocale(QLocale::French, QLocale::France));
  }
  void TearDown() override {
    if (window) window->setAttribute(Qt::WA_DeleteOnClose, false);
    window.reset();
    SetAppFolder(QString());
    Settings::SetUserFile(QString());
    dataHome_.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", dataHome_);
  }

  QString Folder() const { return folder_.path() + QLatin1Char('/'); }
  QString ListPath(const char* name) const { return Folder() + QString::fromUtf8(name) + QStringLiteral(".tnx"); }
  void PutList(const char* name, const std::string& bytes) { PutFile(ListPath(name), bytes); }
  std::string ListBytes(const char* name) const { return FileBytes(ListPath(name)); }
  // A value of the group [Tenaxo] of the settings file, as the file holds it.
  void PutSetting(const char* name, const char* value) {
    QSettings(Settings::UserFile(), QSettings::IniFormat).setValue("Tenaxo/" + QString(name), QString(value));
  }
  std::string Setting(const char* name) {
    return QSettings(Settings::UserFile(), QSettings::IniFormat)
        .value("Tenaxo/" + QString(name))
        .toString()
        .toStdString();
  }

  // Creates and shows the window as the program does; the first word waits for the first picture.
  void Start() {
    window = std::make_unique<TFTenaxo>(FakeVoices(voices), [] {
      return std::vector<VoiceLanguage>{{"pl", "Polish"}, {"el", "Greek"}, {"ja", "Japanese"}};
    });
    window->SetAbout(new TFAbout(window.get()));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
  }
  // The list as the study list, with other settings given as {name, value}, then Start().
  void StartWith(const char* list, const std::string& bytes,
                 std::initializer_list<std::pair<const char*, const char*>> settings = {}) {
    PutList(list, bytes);
    PutSetting("Liste", list);
    for (const auto& [name, value] : settings) PutSetting(name, value);
    Start();
  }
  // Shows the list and gives the grid the focus, so its editor stands on a cell.
  void FocusGrid() {
    window->CbVisuListe->setChecked(true);
    QApplication::setActiveWindow(window.get());
    window->SgListe->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window->SgListe->EditorShown());
    ASSERT_TRUE(window->SgListe->Editor()->hasFocus());
  }
  // Closes it as the user does; true when it closed.
  bool CloseWindow() {
    window->close();
    QCoreApplication::processEvents();
    return !window->isVisible();
  }

  void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
  void ClickFree() { QTest::mouseClick(window->PnFiche, Qt::LeftButton, {}, QPoint(440, 125)); }
  std::string Title() const { return window->windowTitle().toStdString(); }
  std::string Caption(Panel* panel) const { return panel->Caption().toStdString(); }
  bool SauverBold() const { return window->BtSauver->font().bold(); }
  std::string Cell(int c, int r) const { return ToQString(window->State().table.Cell(c, r)).toStdString(); }

  std::unique_ptr<TFTenaxo> window;
  std::shared_ptr<VoiceLog> voices = std::make_shared<VoiceLog>();
  BoxWatcher boxes;

 private:
  QTemporaryDir folder_;
  QByteArray dataHome_;
};

// n pairs "w1\tm1\t\t\t" ... in the saved form.
inline std::string Pairs(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += "w" + std::to_string(i) + "\tm" + std::to_string(i) + "\t\t\t\r\n";
  return text;
}

}  // namespace tenaxo::test
