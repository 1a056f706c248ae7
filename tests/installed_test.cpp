// The program as a desktop gets it: an installed copy and its lists, and the
// window's captions where Tahoma is missing.
#include <sys/stat.h>

#include <QAbstractButton>
#include <QDir>
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

void Put(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

std::string Text(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

void SetMode(const QString& path, mode_t mode) { chmod(QFile::encodeName(path).constData(), mode); }

// An installed copy (<prefix>/bin/tenaxo, <prefix>/share/tenaxo/Anglais.tnx)
// answered once and closed: the list is saved in the user's data folder, and
// the prefix, read-only, stays as it was.
TEST_F(GuiTest, AnInstalledCopySavesItsListsInTheUsersDataFolder) {
  QTemporaryDir root;
  const QString prefix = root.path() + QStringLiteral("/usr/");
  const QString data = root.path() + QStringLiteral("/data/");
  QDir().mkpath(prefix + QStringLiteral("bin"));
  QDir().mkpath(prefix + QStringLiteral("share/tenaxo"));
  Put(prefix + QStringLiteral("bin/tenaxo"), "");
  Put(prefix + QStringLiteral("share/tenaxo/Anglais.tnx"), "dog\tchien\t\t\t\r\n");
  const QStringList folders = {prefix, prefix + "bin", prefix + "share", prefix + "share/tenaxo"};
  SetMode(prefix + QStringLiteral("share/tenaxo/Anglais.tnx"), 0444);
  for (const QString& folder : folders) SetMode(folder, 0555);
  qputenv("XDG_DATA_HOME", QFile::encodeName(data));
  SetAppFolder(QString());
  SetProgramFile(prefix + QStringLiteral("bin/tenaxo"));
  PutSetting("Liste", "Anglais");

  Start();
  EXPECT_EQ(window->CbListes->itemText(0), "Anglais");
  ClickFree();
  Click(window->BtOui);
  EXPECT_TRUE(CloseWindow());
  EXPECT_EQ(Text(data + QStringLiteral("Tenaxo/Anglais.tnx")), "dog\tchien\t1\t1\t\r\n");
  EXPECT_EQ(Text(prefix + QStringLiteral("share/tenaxo/Anglais.tnx")), "dog\tchien\t\t\t\r\n");
  EXPECT_EQ(QDir(prefix + QStringLiteral("share/tenaxo")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"Anglais.tnx"});

  SetProgramFile(QString());
  qunsetenv("XDG_DATA_HOME");
  for (const QString& folder : folders) SetMode(folder, 0755);
}

// Where the caption of a control may draw: buttons centre it, check boxes
// and labels start it at the left of their text area.
int Room(QWidget* control) {
  auto* button = qobject_cast<QAbstractButton*>(control);
  if (!button) return control->contentsRect().width();
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  const bool box = qobject_cast<QCheckBox*>(button) != nullptr;
  return button->style()
      ->subElementRect(box ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, button)
      .width();
}

qreal Width(const QFont& font, const QString& text, bool centred) {
  const QFontMetricsF metrics(font);
  return centred ? metrics.horizontalAdvance(text) : metrics.tightBoundingRect(text).right();
}

// Run once at 96 DPI and once at twice that scale (QT_SCALE_FACTOR=2).
TEST_F(GuiTest, WithoutTahomaEveryCaptionFitsItsControl) {
  UseFallbackUiFont();
  Start();
  window->CbVisuListe->setChecked(true);
  QCoreApplication::processEvents();
  EXPECT_NE(QFontInfo(window->font()).family(), "Tahoma");
  EXPECT_GE(QFontInfo(window->font()).pixelSize(), 9) << "still readable";

  int checked = 0;
  for (QWidget* control : window->findChildren<QWidget*>()) {
    QString text;
    if (auto* button = qobject_cast<QAbstractButton*>(control)) text = button->text();
    if (auto* label = qobject_cast<QLabel*>(control)) text = label->text();
    if (text.isEmpty()) continue;
    const bool centred = qobject_cast<QPushButton*>(control) != nullptr;
    QFont font = control->font();
    if (control == window->BtSauver) font.setBold(true);  // with the unsaved mark
    EXPECT_LE(Width(font, text, centred), Room(control)) << text.toStdString();
    ++checked;
  }
  const QHeaderView* header = window->SgListe->horizontalHeader();
  for (int col = 0; col < 5; ++col) {
    const QString text = window->SgListe->model()->headerData(col, Qt::Horizontal).toString();
    EXPECT_LE(Width(header->font(), text, false), header->sectionSize(col) - 3) << text.toStdString();
    ++checked;
  }
  EXPECT_EQ(checked, 2 + 9 + 3 + 5) << "labels, buttons, check boxes, header";
  LoadUiFonts();
  EXPECT_EQ(QFontInfo(UiFont(11)).family(), "Tahoma") << "back to the Tahoma of fonts-wine";
  EXPECT_EQ(QFontInfo(UiFont(11)).pixelSize(), 11);
}

TEST(CommandLine, HelpAndVersionAnswerAnythingElseOpensTheWindow) {
  const struct {
    QStringList arguments;
    const char* answer;  // its start; nullptr: the window opens
  } cases[] = {
      {{"tenaxo", "--version"}, "tenaxo " TENAXO_VERSION "\n"},
      {{"tenaxo", "-v"}, "tenaxo " TENAXO_VERSION "\n"},
      {{"tenaxo", "--help"}, "Utilisation : tenaxo [option]\n"},
      {{"tenaxo", "-h"}, "Utilisation : tenaxo [option]\n"},
      {{"tenaxo"}, nullptr},
      {{"tenaxo", "-platform", "offscreen", "-reverse"}, nullptr},  // the toolkit's
  };
  for (const auto& c : cases) {
    const std::optional<QString> answer = CommandLineAnswer(c.arguments);
    SCOPED_TRACE(c.arguments.join(u' ').toStdString());
    ASSERT_EQ(answer.has_value(), c.answer != nullptr);
    if (answer) {
      EXPECT_TRUE(answer->startsWith(QString::fromUtf8(c.answer))) << answer->toStdString();
    }
  }
}

}  // namespace
}  // namespace tenaxo
