// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics window from the main window, with the keyboard, under light and dark palettes; a journal that cannot
// be written while the quiz goes on; a journal of a later schema.
#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineSeries>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTableWidget>
#include <QValueAxis>
#include <numeric>

#include "AnswerJournal.h"
#include "GuiFixture.h"
#include "StatisticsWindow.h"

namespace tenaxo {
namespace {
using namespace test;

class StatisticsTest : public GuiTest {
 protected:
  // n answers, "Oui" for the even ones.
  void Answer(int n) {
    for (int k = 0; k < n; ++k) {
      ClickFree();
      Click(k % 2 ? window->BtNon : window->BtOui);
    }
  }
  StatisticsWindow* Open() {
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_F9);
    StatisticsWindow* statistics = window->Statistics();
    EXPECT_TRUE(statistics && statistics->isVisible());
    return statistics;
  }
  // The visible notices, not modal.
  QStringList Notices() const {
    QStringList texts;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) texts << box->text();
    return texts;
  }
};

QList<QBarSet*> Sets(QChartView* view) {
  const auto* series = qobject_cast<QAbstractBarSeries*>(view->chart()->series().value(0));
  return series ? series->barSets() : QList<QBarSet*>();
}
std::vector<qreal> Bars(QChartView* view, int set) {
  std::vector<qreal> values;
  for (int k = 0; k < Sets(view)[set]->count(); ++k) values.push_back(Sets(view)[set]->at(k));
  return values;
}

TEST_F(StatisticsTest, F9ShowsTheAnswersOfTheDayAndEscapeCloses) {
  Start("Anglais", Pairs(14));
  Answer(3);
  StatisticsWindow* s = Open();
  EXPECT_EQ(s->windowTitle(), "Statistiques");
  EXPECT_EQ(s->LbSummary->text(),
            "Les 30 derniers jours : 3 réponses, dont 2 justes (67 %). Jours d'affilée avec au moins une réponse : 1 "
            "(record : 1).");
  const struct {
    const char* name;
    int period;
    size_t bars;
    const char *chart, *lastDate, *busiest;  // busiest: the busiest bar, today, as the description says it
  } periods[] = {{"days", 0, 30, "Réponses par jour", "dd/MM", "'le' dd/MM"},
                 {"months", 1, 12, "Réponses par mois", "MM/yy", "'en' MMMM yyyy"}};
  for (const auto& p : periods) {
    SCOPED_TRACE(p.name);
    s->CbPeriod->setCurrentIndex(p.period);
    EXPECT_EQ(Bars(s->ChAnswers, 0).size(), p.bars);
    EXPECT_EQ(Bars(s->ChAnswers, 0).back(), 2) << "right";
    EXPECT_EQ(Bars(s->ChAnswers, 1).back(), 1) << "wrong";
    EXPECT_EQ(s->ChAnswers->accessibleName(), p.chart);
    EXPECT_EQ(s->ChAnswers->accessibleDescription(),
              "3 réponses, 2 justes (67 %) ; le plus : 3 " +
                  QLocale(QLocale::French).toString(QDate::currentDate(), p.busiest) + ".");
    const QStringList dates =
        qobject_cast<QCategoryAxis*>(s->ChAnswers->chart()->axes(Qt::Horizontal)[0])->categoriesLabels();
    EXPECT_EQ(dates.size(), 6) << "six dates along the bars";
    EXPECT_EQ(dates.back(), QLocale(QLocale::French).toString(QDate::currentDate(), p.lastDate));
  }
  const QStringList tenths =
      qobject_cast<QBarCategoryAxis*>(s->ChRatios->chart()->axes(Qt::Horizontal)[0])->categories();
  EXPECT_EQ(tenths.value(0), "—") << "never asked; the others as the description below reads them";
  const auto* count = qobject_cast<QValueAxis*>(s->ChRatios->chart()->axes(Qt::Vertical)[0]);
  EXPECT_EQ(count->max(), 15);
  EXPECT_EQ(count->tickCount(), 4) << "0, 5, 10, 15: 14 pairs never asked or nearly";
  EXPECT_EQ(s->ChRatios->accessibleName(), "Associations de « Anglais » par ratio");
  for (QChartView* chart : {s->ChAnswers, s->ChShare, s->ChRatios})  // right and wrong answers told apart
    EXPECT_EQ(chart->chart()->legend()->isVisible(), chart == s->ChAnswers) << chart->accessibleName().toStdString();
  const std::vector<qreal> ratios = Bars(s->ChRatios, 0);
  EXPECT_EQ(std::accumulate(ratios.begin(), ratios.end(), 0.0), 14) << "every pair";
  const QString monday = QDate::currentDate().addDays(1 - QDate::currentDate().dayOfWeek()).toString("dd/MM/yy");
  EXPECT_EQ(s->ChShare->accessibleDescription(),
            "1 semaine ; la première, du " + monday + " : 67 % ; la dernière, du " + monday + " : 67 %.");
  const auto* time = qobject_cast<QDateTimeAxis*>(s->ChShare->chart()->axes(Qt::Horizontal)[0]);
  EXPECT_EQ(time->max().date(), QDate::currentDate().addDays(1)) << "up to today";
  EXPECT_EQ(qobject_cast<QValueAxis*>(s->ChShare->chart()->axes(Qt::Vertical)[0])->labelFormat(), "%d %%");
  // A week alone is a point, not a line.
  EXPECT_TRUE(qobject_cast<QLineSeries*>(s->ChShare->chart()->series()[0])->pointsVisible());
  EXPECT_EQ(s->TbResisting->rowCount(), 0);
  EXPECT_EQ(s->TbResisting->accessibleName(), "Associations qui résistent");
  EXPECT_EQ(s->TbResisting->horizontalHeader()->length(), s->TbResisting->viewport()->width()) << "columns fill it";
  EXPECT_EQ(s->CbScope->itemText(1), "Toutes les listes");
  EXPECT_GE(s->minimumSizeHint().width(), 2 * 420) << "two charts side by side, never squeezed";
  QList<QWidget*> parts = {s->ChAnswers, s->ChShare, s->ChRatios, s->TbResisting};
  for (QLabel* label : s->findChildren<QLabel*>()) parts << label;
  for (QWidget* a : parts)
    for (QWidget* b : parts) EXPECT_TRUE(a == b || !a->geometry().intersects(b->geometry())) << "laid out apart";
  EXPECT_EQ(s->BtExport->geometry().right(), s->BtClose->geometry().right()) << "on the right";

  // Tab goes through the controls in reading order.
  QApplication::setActiveWindow(s);
  s->CbScope->setFocus();
  for (QWidget* next : std::initializer_list<QWidget*>{s->CbPeriod, s->BtExport, s->LbSummary, s->ChAnswers, s->ChShare,
                                                       s->ChRatios, s->TbResisting, s->BtClose}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->accessibleName().toStdString();
  }
  QTest::keyClick(s, Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), s->TbResisting) << "the letter of its label";
  QTest::keyClick(s, Qt::Key_Escape);
  EXPECT_FALSE(s->isVisible());
  window->ShowStatistics();
  QApplication::setActiveWindow(s);
  QTest::keyClick(s->CbPeriod, Qt::Key_Return);
  EXPECT_FALSE(s->isVisible()) << "Enter closes";
}

// Pairs asked 5 times or more, the least found first, of the list studied (its name hidden) or of all lists.
TEST_F(StatisticsTest, TheResistingPairsOfTheListOrOfAll) {
  const QString left = "une expression assez longue pour sa colonne";
  Start("Anglais", left.toStdString() + "\tm\t\t\t\r\n");
  Answer(6);
  StatisticsWindow* s = Open();
  QTableWidget* t = s->TbResisting;
  for (int scope : {0, 1}) {
    SCOPED_TRACE(scope);
    s->CbScope->setCurrentIndex(scope);
    EXPECT_EQ(t->isColumnHidden(0), scope == 0);
    ASSERT_EQ(t->rowCount(), 1);
    const QStringList texts = {"Anglais", left, "m", "6", "3", "50 %"};
    for (int col = 0; col < 6; ++col) EXPECT_EQ(t->item(0, col)->text(), texts[col]) << col;
    EXPECT_GE(t->columnWidth(1), t->fontMetrics().horizontalAdvance(left)) << "the text whole";
    EXPECT_EQ(t->accessibleDescription(), "1 association, la moins trouvée : " + left + " – m");
  }
  EXPECT_EQ(s->ChRatios->accessibleDescription(),  // 3 of 6, doubled below 10: 0,250
            "jamais demandées : 0 ; à partir de 0,0 : 0 ; à partir de 0,1 : 0 ; à partir de 0,2 : 1 ; à partir de 0,3 "
            ": 0 ; à partir de 0,4 : 0 ; à partir de 0,5 : 0 ; à partir de 0,6 : 0 ; à partir de 0,7 : 0 ; à partir de "
            "0,8 : 0 ; à partir de 0,9 : 0.");
}

// Ctrl+E writes the whole journal where the dialog says, as CSV.
TEST_F(StatisticsTest, CtrlEExportsTheJournal) {
  Start("Anglais", Pairs(1));
  Answer(1);
  StatisticsWindow* s = Open();
  QTimer::singleShot(20, s, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    EXPECT_EQ(dialog->windowTitle(), "Exporter le journal");
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    name->setText(Folder() + "j"), QTest::keyClick(name, Qt::Key_Return);
  });
  QApplication::setActiveWindow(s);
  QTest::keyClick(s, Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(FileBytes(Folder() + "j.csv").substr(0, 47), "date,liste,gauche,droite,question,trouvee,serie");
}

// Every text of the charts reads on their background under both palettes.
TEST_F(StatisticsTest, TheChartsFollowLightAndDarkPalettes) {
  Start("Anglais", Pairs(10));
  StatisticsWindow* s = Open();
  const QPalette before = s->palette();
  QPalette dark(QColor(53, 53, 53));
  for (const QPalette& palette : {before, dark}) {
    s->setPalette(palette);
    for (QChartView* view : {s->ChAnswers, s->ChShare, s->ChRatios}) {
      SCOPED_TRACE(view->accessibleName().toStdString());
      const QColor background = view->chart()->backgroundBrush().color();
      EXPECT_EQ(background, palette.color(QPalette::Window));
      EXPECT_GE(ContrastRatio(view->chart()->titleBrush().color(), background), 4.5);
      for (QBarSet* bars : Sets(view)) EXPECT_GE(ContrastRatio(bars->color(), background), 3) << "bars";
      if (auto* line = qobject_cast<QLineSeries*>(view->chart()->series()[0])) {
        EXPECT_GE(ContrastRatio(line->color(), background), 3) << "line";
      }
      for (QAbstractAxis* axis : view->chart()->axes()) {
        EXPECT_GE(ContrastRatio(axis->labelsColor(), background), 4.5);
        EXPECT_LT(axis->labelsFont().pointSizeF(), QFontInfo(s->font()).pointSizeF());
      }
    }
  }
}

// A journal that cannot be opened or was written by a later version: one notice, the answers go on into the list,
// the statistics say why.
TEST_F(StatisticsTest, AJournalThatCannotBeWrittenLeavesTheQuizGoingOn) {
  const std::tuple<const char*, std::function<void()>, QString> cases[] = {
      {"cannot be opened", [&] { QDir().mkdir(Folder() + "journal.sqlite"); },
       "Le journal des réponses n'a pas pu être ouvert"},
      {"of a later schema",
       [&] {
         Journal later(Folder() + "journal.sqlite");
         ASSERT_FALSE(later.Add({QDateTime::currentSecsSinceEpoch(), DayNumber(QDate::currentDate()), "Anglais", "a",
                                 "b", true, true, true}));
         QSqlQuery(later.Database()).exec("PRAGMA user_version = 2");
       },
       "Journal d'une version plus récente de Tenaxo, en lecture seule. Les 30 derniers jours : 1 réponse,"},
  };
  for (const auto& [name, fault, summary] : cases) {
    SCOPED_TRACE(name);
    fault();
    Start("Anglais", Pairs(1));
    Answer(3);
    EXPECT_EQ(Notices().size(), 1u);
    EXPECT_EQ(Cell(ColDemande, 1), "3");
    EXPECT_TRUE(Open()->LbSummary->text().startsWith(summary));
    window.reset();
    QDir(Folder() + "journal.sqlite").removeRecursively();
  }
}

}  // namespace
}  // namespace tenaxo
