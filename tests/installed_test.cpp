// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a desktop gets it: its command line, and the window's captions where Tahoma is missing.
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyleOptionButton>

#include "CommandLine.h"
#include "Fonts.h"
#include "GuiFixture.h"
#include "Version.h"

namespace tenaxo {
namespace {
using test::GuiTest;

// Where the caption of a control may draw: buttons centre it, check boxes and labels start it at the left of their text
// area.
qreal Room(QWidget* control) {
  auto* button = qobject_cast<QAbstractButton*>(control);
  if (!button) return control->contentsRect().width();
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  const auto area = qobject_cast<QCheckBox*>(button) ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents;
  return button->style()->subElementRect(area, &option, button).width();
}

qreal Width(const QFont& font, const QString& text, bool centred) {
  const QFontMetricsF metrics(font);
  return centred ? metrics.horizontalAdvance(text) : metrics.tightBoundingRect(text).right();
}

// Also run at QT_SCALE_FACTOR 1.5 and 2.
TEST_F(GuiTest, WithoutTahomaEveryCaptionFitsItsControl) {
  UseFallbackUiFont();
  Start();
  window->CbVisuListe->setChecked(true);
  QCoreApplication::processEvents();
  EXPECT_NE(QFontInfo(window->font()).family(), "Tahoma");
  EXPECT_GE(QFontInfo(window->font()).pixelSize(), 9) << "still readable";
  int checked = 0;
  for (QWidget* control : window->findChildren<QWidget*>()) {
    auto* label = qobject_cast<QLabel*>(control);
    auto* button = qobject_cast<QAbstractButton*>(control);
    const QString text = label ? label->text() : button ? button->text() : QString();
    if (text.isEmpty()) continue;
    QFont font = control->font();
    font.setBold(font.bold() || control == window->BtSauver);  // with the unsaved mark
    EXPECT_LE(Width(font, text, qobject_cast<QPushButton*>(control)), Room(control)) << text.toStdString();
    ++checked;
  }
  const QHeaderView* header = window->SgListe->horizontalHeader();
  for (int col = 0; col < 5; ++col, ++checked) {
    const QString text = window->SgListe->model()->headerData(col, Qt::Horizontal).toString();
    EXPECT_LE(Width(header->font(), text, false), header->sectionSize(col) - 3) << text.toStdString();
  }
  EXPECT_EQ(checked, 2 + 9 + 3 + 5) << "labels, buttons, check boxes, header";
  LoadUiFonts();
}

TEST(CommandLine, HelpAndVersionAnswerAnythingElseOpensTheWindow) {
  const std::pair<QStringList, const char*> cases[] = {
      // the answer's start; nullptr: the window opens
      {{"tenaxo", "--version"}, "tenaxo " TENAXO_VERSION "\n"},
      {{"tenaxo", "-v"}, "tenaxo " TENAXO_VERSION "\n"},
      {{"tenaxo", "--help"}, "Utilisation : tenaxo [option]\n"},
      {{"tenaxo", "-h"}, "Utilisation : tenaxo [option]\n"},
      {{"tenaxo"}, nullptr},
      {{"tenaxo", "-platform", "offscreen", "-reverse"}, nullptr}};  // the toolkit's options
  for (const auto& [arguments, start] : cases) {
    const std::optional<QString> answer = CommandLineAnswer(arguments);
    ASSERT_EQ(answer.has_value(), start != nullptr) << arguments.join(u' ').toStdString();
    EXPECT_TRUE(!answer || answer->startsWith(QString::fromUtf8(start))) << answer.value_or("").toStdString();
  }
}

}  // namespace
}  // namespace tenaxo
