// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real main window, with a list folder, settings, a fake voice and Qt's model tester of its own; boxes answered.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <deque>

#include "FakeVoice.h"
#include "ListGrid.h"
#include "Settings.h"
#include "StorageFixture.h"
#include "TFAbout.h"
#include "TFTenaxo.h"
#include "Widgets.h"

namespace tenaxo::test {

// A message box seen; buttons: their texts in order, the default one in brackets.
struct Box {
  QString title, text, buttons;
};

class GuiTest : public ProgramFolder {
 protected:
  void SetUp() override {
    ProgramFolder::SetUp();
    Settings::SetUserFile(Folder() + "config/Tenaxo.ini");  // which also names the one-copy guard
    dataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(Folder() + "data"));
    TextLocale::SetCurrent(QLocale(QLocale::French, QLocale::France));
    QObject::connect(&boxTimer, &QTimer::timeout, [this] { AnswerBox(); });
    boxTimer.start(5);
  }
  void TearDown() override {
    window.reset();
    ProgramFolder::TearDown();
    Settings::SetUserFile(QString());
    dataHome_.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", dataHome_);
  }
  // Records the modal message box shown and clicks the next planned answer ("OK" when none is left).
  void AnswerBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    boxes.push_back({box->windowTitle(), box->text(), {}});
    for (QAbstractButton* b : box->buttons())
      boxes.back().buttons += b == box->defaultButton() ? '[' + b->text() + "] " : b->text() + ' ';
    const QString answer = answers.empty() ? QStringLiteral("OK") : answers.front();
    if (!answers.empty()) answers.pop_front();
    for (QAbstractButton* button : box->buttons())
      if (button->text() == answer) return button->click();
    box->reject();
  }
  std::string LastBox() const { return boxes.empty() ? "" : boxes.back().text.toStdString(); }
  QString ListPath(const char* name) const { return PathOf(name) + ".tnx"; }
  void PutList(const char* name, const std::string& bytes) { PutFile(ListPath(name), bytes); }
  std::string ListBytes(const char* name) const { return FileBytes(ListPath(name)); }
  void PutSetting(const char* name, const char* value) {
    QSettings(Settings::UserFile(), QSettings::IniFormat).setValue("Tenaxo/" + QString(name), value);
  }
  // Creates and shows a new window as the program does, on the list given, with the other settings as {name, value}.
  void Start(const char* list = nullptr, const std::string& bytes = "",
             std::initializer_list<std::pair<const char*, const char*>> settings = {}) {
    if (list) PutList(list, bytes), PutSetting("Liste", list);
    for (const auto& [name, value] : settings) PutSetting(name, value);
    window.reset();
    window = std::make_unique<TFTenaxo>(FakeVoices(voices), [this] { return languages(); });
    new QAbstractItemModelTester(window->SgListe->model(), QAbstractItemModelTester::FailureReportingMode::Fatal,
                                 window.get());
    window->SetAbout(new TFAbout(window.get()));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
  }
  void Focus(QWidget* control) {
    QApplication::setActiveWindow(window.get());
    control->setFocus();
    QCoreApplication::processEvents();
  }
  // Shows the list and gives the grid the focus, so its editor stands on a cell.
  void FocusGrid() {
    window->CbVisuListe->setChecked(true);
    Focus(window->SgListe);
    ASSERT_TRUE(window->SgListe->Editor()->hasFocus());
  }
  void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
  // A key to the menu open, else to the focus of the window, made active again as offscreen Qt does not.
  void Press(int key, Qt::KeyboardModifiers with = {}) {
    QWidget* popup = QApplication::activePopupWidget();
    if (!popup) QApplication::setActiveWindow(window.get());
    QTest::keyClick(popup ? popup : QApplication::focusWidget(), static_cast<Qt::Key>(key), with);
  }
  void Undo() { Press(Qt::Key_Z, Qt::ControlModifier); }
  void Redo() { Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }
  void ClickFree() { QTest::mouseClick(window->PnFiche, Qt::LeftButton, {}, QPoint(440, 125)); }
  std::string Title() const { return window->windowTitle().toStdString(); }
  std::string Caption(Panel* panel) const { return panel->Caption().toStdString(); }
  bool SauverBold() const { return window->BtSauver->font().bold(); }
  std::string Cell(int c, int r) const { return std::string(window->State().table.Cell(c, r)); }

  std::unique_ptr<TFTenaxo> window;
  std::shared_ptr<VoiceLog> voices = std::make_shared<VoiceLog>();
  VoiceLanguages languages = [] {
    return std::vector<VoiceLanguage>{{"pl", "Polish"}, {"el", "Greek"}, {"ja", "Japanese"}};
  };
  std::deque<QString> answers;  // to the next boxes
  std::vector<Box> boxes;       // seen
  QTimer boxTimer;              // looks for them
  QByteArray dataHome_;         // XDG_DATA_HOME before the test
};

// What a screen reader is told of an object, through the interfaces the platform bridge reads.
inline QAccessibleInterface* Of(QObject* object) { return QAccessible::queryAccessibleInterface(object); }
inline std::string Read(QObject* object, QAccessible::Text what = QAccessible::Name) {
  return Of(object)->text(what).toStdString();
}

// n pairs "w1\tm1\t\t\t" ... in the saved form.
inline std::string Pairs(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += "w" + std::to_string(i) + "\tm" + std::to_string(i) + "\t\t\t\r\n";
  return text;
}

}  // namespace tenaxo::test
