// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatisticsWindow.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QValueAxis>
#include <algorithm>

#include "AnswerJournal.h"
#include "Dialogs.h"
#include "JournalQueries.h"
#include "Utf8.h"
#include "Widgets.h"

namespace tenaxo {

namespace {
const QLocale kFrench(QLocale::French, QLocale::France);

QString Percent(int32_t part, int32_t whole) {
  return whole == 0 ? QStringLiteral("–") : QString::number(100.0 * part / whole, 'f', 0) + QStringLiteral(" %");
}
// "0 réponse", "1 réponse", "2 réponses".
QString Count(qsizetype n, const QString& word) { return QString::number(n) + u' ' + word + (n > 1 ? u"s" : u""); }
QString Date(int32_t day, const char16_t* format) { return kFrench.toString(DayDate(day), QString::fromUtf16(format)); }

// Lighter shades on a dark background, darker ones on a light one.
struct Colours {
  QColor background, text, grid, right, wrong, line;
};
Colours ColoursOf(const QPalette& palette) {
  const QColor background = palette.color(QPalette::Window);
  const bool dark = background.lightness() < 128;
  return {background,
          ReadableOn(background, palette.color(QPalette::WindowText)),
          palette.color(QPalette::Mid),
          dark ? QColor(102, 187, 106) : QColor(46, 125, 50),
          dark ? QColor(239, 83, 80) : QColor(198, 40, 40),
          dark ? QColor(100, 181, 246) : QColor(21, 101, 192)};
}

QChartView* NewChart(const QString& name, QWidget* parent) {
  auto* view = new QChartView(parent);
  view->setAccessibleName(name);
  view->setMinimumSize(420, 260);
  view->chart()->setTitle(name);
  view->chart()->legend()->setVisible(false);
  return view;
}

// A new chart in the view, with the title and legend of the one it replaces, the series on the two axes, in the
// window's colours and font. Built anew, a chart draws sooner than one emptied and filled again.
void Fill(QChartView* view, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y, const QWidget* window) {
  auto* chart = new QChart;
  QChart* old = view->chart();
  chart->setTitle(old->title());
  chart->legend()->setVisible(old->legend()->isVisible());
  chart->legend()->setAlignment(Qt::AlignBottom);
  chart->addSeries(series);
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);
  view->setChart(chart);
  delete old;
  const Colours colours = ColoursOf(window->palette());
  chart->setBackgroundBrush(colours.background);
  chart->setTitleBrush(colours.text);
  chart->setTitleFont(window->font());
  chart->legend()->setLabelColor(colours.text);
  chart->legend()->setFont(window->font());
  QFont small = window->font();
  small.setPointSizeF(QFontInfo(small).pointSizeF() * 0.9);
  for (QAbstractAxis* axis : {x, y}) {
    axis->setLabelsColor(colours.text);
    axis->setTitleBrush(colours.text);
    axis->setTitleFont(small);
    axis->setLabelsFont(small);
    axis->setGridLineColor(colours.grid);
    axis->setLinePenColor(colours.grid);
  }
}

QValueAxis* CountAxis(int32_t top, const QString& format = QStringLiteral("%d")) {
  auto* axis = new QValueAxis;
  axis->setRange(0, std::max(top, 1));
  axis->setLabelFormat(format);
  axis->applyNiceNumbers();
  // Whole numbers only: every one up to 10.
  if (axis->max() <= 10) axis->setTickCount(static_cast<int>(axis->max()) + 1);
  return axis;
}

const char16_t* const kPeriods[] = {u"Les 30 derniers jours", u"Les 12 derniers mois", u"Depuis le début"};
}  // namespace

StatisticsWindow::StatisticsWindow(AnswerJournal& journal, const Session& session, QWidget* parent)
    : QDialog(parent), journal_(journal), session_(session) {
  setWindowTitle(QStringLiteral("Statistiques"));
  CbScope = new QComboBox(this);
  CbScope->addItems({QString(), QStringLiteral("Toutes les listes")});
  CbPeriod = new QComboBox(this);
  for (const char16_t* period : kPeriods) CbPeriod->addItem(QString::fromUtf16(period));
  auto* scopeLabel = new QLabel(QStringLiteral("&Listes :"), this);
  scopeLabel->setBuddy(CbScope);
  auto* periodLabel = new QLabel(QStringLiteral("&Période :"), this);
  periodLabel->setBuddy(CbPeriod);
  BtExport = new QPushButton(QStringLiteral("E&xporter le journal…"), this);
  AcExportJournal = new QAction(QStringLiteral("Exporter le journal…"), this);
  AcExportJournal->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  addAction(AcExportJournal);
  LbSummary = new QLabel(this);
  LbSummary->setWordWrap(true);
  LbSummary->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  LbSummary->setFocusPolicy(Qt::StrongFocus);
  LbSummary->setAccessibleName(QStringLiteral("Résumé"));
  ChAnswers = NewChart(QStringLiteral("Réponses"), this);
  ChAnswers->chart()->legend()->setVisible(true);
  ChShare = NewChart(QStringLiteral("Part de réponses justes par semaine"), this);
  ChShare->setRenderHint(QPainter::Antialiasing);  // the bars need none
  ChRatios = NewChart(QString(), this);
  auto* resistingLabel =
      new QLabel(QStringLiteral("Les &associations qui résistent (demandées au moins 5 fois) :"), this);
  TbResisting = new QTableWidget(0, 6, this);
  resistingLabel->setBuddy(TbResisting);
  TbResisting->setHorizontalHeaderLabels({QStringLiteral("Liste"), QStringLiteral("Gauche"), QStringLiteral("Droite"),
                                          QStringLiteral("Demandé"), QStringLiteral("Juste"), QStringLiteral("Part")});
  TbResisting->setAccessibleName(QStringLiteral("Associations qui résistent"));
  TbResisting->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TbResisting->setTabKeyNavigation(false);
  TbResisting->verticalHeader()->hide();
  TbResisting->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  TbResisting->horizontalHeader()->setStretchLastSection(true);
  BtClose = new QPushButton(QStringLiteral("Fermer"), this);
  BtClose->setDefault(true);

  auto* layout = new QGridLayout(this);
  auto* top = new QHBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{scopeLabel, CbScope, periodLabel, CbPeriod}) top->addWidget(w);
  top->addStretch();
  top->addWidget(BtExport);
  layout->addLayout(top, 0, 0, 1, 2);
  layout->addWidget(LbSummary, 1, 0, 1, 2);
  layout->addWidget(ChAnswers, 2, 0);
  layout->addWidget(ChShare, 2, 1);
  layout->addWidget(ChRatios, 3, 0, 2, 1);
  layout->addWidget(resistingLabel, 3, 1);
  layout->addWidget(TbResisting, 4, 1);
  layout->addWidget(BtClose, 5, 1, Qt::AlignRight);
  layout->setRowStretch(2, 1);
  layout->setRowStretch(4, 1);
  QWidget* order[] = {CbScope, CbPeriod, BtExport, LbSummary, ChAnswers, ChShare, ChRatios, TbResisting, BtClose};
  for (size_t k = 1; k < std::size(order); ++k) setTabOrder(order[k - 1], order[k]);
  resize(1100, 760);

  connect(CbScope, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { DrawScope(); });
  connect(CbPeriod, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { DrawPeriod(); });
  connect(BtExport, &QPushButton::clicked, AcExportJournal, &QAction::trigger);
  connect(AcExportJournal, &QAction::triggered, this, [this] { ExportJournal(); });
  connect(BtClose, &QPushButton::clicked, this, &QDialog::close);
}

void StatisticsWindow::Reload() {
  const QString name = session_.listName.empty() ? QStringLiteral("sans nom") : ToQString(session_.listName);
  CbScope->setItemText(0, QStringLiteral("Liste étudiée : %1").arg(name));
  BtExport->setEnabled(journal_.Store().IsOpen());
  AcExportJournal->setEnabled(journal_.Store().IsOpen());
  DrawScope();
  DrawRatios();
}

void StatisticsWindow::DrawScope() {
  const ListScope scope = CbScope->currentIndex() == 0 ? ListScope(session_.listName) : std::nullopt;
  days_ = AnswersPerDay(journal_.Store(), scope);
  const std::vector<PairCount> pairs = ResistingPairs(journal_.Store(), scope);
  TbResisting->setColumnHidden(0, scope.has_value());
  TbResisting->setRowCount(static_cast<int>(pairs.size()));
  for (int row = 0; row < TbResisting->rowCount(); ++row) {
    const PairCount& pair = pairs[static_cast<size_t>(row)];
    const QString texts[] = {ToQString(pair.list),        ToQString(pair.left),        ToQString(pair.right),
                             QString::number(pair.asked), QString::number(pair.found), Percent(pair.found, pair.asked)};
    for (int col = 0; col < 6; ++col) TbResisting->setItem(row, col, new QTableWidgetItem(texts[col]));
  }
  TbResisting->setAccessibleDescription(pairs.empty() ? QStringLiteral("Aucune association demandée 5 fois.")
                                                      : QStringLiteral("%1, la moins trouvée : %2 – %3")
                                                            .arg(Count(pairs.size(), QStringLiteral("association")))
                                                            .arg(ToQString(pairs[0].left), ToQString(pairs[0].right)));
  DrawPeriod();
}

void StatisticsWindow::DrawPeriod() {
  today_ = DayNumber(QDate::currentDate());
  const auto period = static_cast<Period>(CbPeriod->currentIndex());
  const Colours colours = ColoursOf(palette());

  const std::vector<DayCount> bars = AnswerBars(days_, period, today_);
  const bool daily = period == Period::Last30Days;
  auto* right = new QBarSet(QStringLiteral("Justes"));
  auto* wrong = new QBarSet(QStringLiteral("Fausses"));
  right->setColor(colours.right);
  wrong->setColor(colours.wrong);
  QStringList labels;
  int32_t asked = 0, found = 0, top = 0;
  DayCount busiest;
  for (const DayCount& bar : bars) {
    *right << bar.found;
    *wrong << bar.asked - bar.found;
    labels << Date(bar.day, daily ? u"dd/MM" : u"MM/yy");
    asked += bar.asked;
    found += bar.found;
    top = std::max(top, bar.asked);
    if (bar.asked > busiest.asked) busiest = bar;
  }
  auto* series = new QStackedBarSeries;
  series->append(right);
  series->append(wrong);
  // Six dates at most along the bars, the last bar's always among them.
  auto* x = new QCategoryAxis;
  x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  x->setRange(-0.5, static_cast<qreal>(labels.size()) - 0.5);
  const qsizetype step = std::max<qsizetype>(1, (labels.size() + 5) / 6);
  for (qsizetype k = 0; k < labels.size(); ++k) {
    if ((labels.size() - 1 - k) % step == 0) x->append(labels[k], static_cast<qreal>(k));
  }
  Fill(ChAnswers, series, x, CountAxis(top), this);
  ChAnswers->chart()->setTitle(daily ? QStringLiteral("Réponses par jour") : QStringLiteral("Réponses par mois"));
  ChAnswers->setAccessibleName(ChAnswers->chart()->title());
  ChAnswers->setAccessibleDescription(
      asked == 0 ? QStringLiteral("Aucune réponse.")
                 : QStringLiteral("%1, %2 (%3) ; le plus : %4 %5 %6.")
                       .arg(Count(asked, QStringLiteral("réponse")), Count(found, QStringLiteral("juste")))
                       .arg(Percent(found, asked))
                       .arg(busiest.asked)
                       .arg(daily ? QStringLiteral("le") : QStringLiteral("en"),
                            Date(busiest.day, daily ? u"dd/MM" : u"MMMM yyyy")));

  const std::vector<DayCount> weeks = WeeklyAnswers(days_, period, today_);
  auto* line = new QLineSeries;
  line->setColor(colours.line);
  line->setPointsVisible(true);
  auto msecs = [](int32_t day) { return static_cast<qreal>(DayDate(day).startOfDay().toMSecsSinceEpoch()); };
  for (const DayCount& week : weeks) line->append(msecs(week.day), 100.0 * week.found / week.asked);
  auto* time = new QDateTimeAxis;
  time->setFormat(QStringLiteral("dd/MM/yy"));
  time->setRange(DayDate(PeriodStart(days_, period, today_)).startOfDay(), DayDate(today_ + 1).startOfDay());
  auto* share = new QValueAxis;
  share->setRange(0, 100);
  share->setLabelFormat(QStringLiteral("%d %%"));
  Fill(ChShare, line, time, share, this);
  ChShare->setAccessibleDescription(
      weeks.empty() ? QStringLiteral("Aucune réponse.")
                    : QStringLiteral("%1 ; la première, du %2 : %3 ; la dernière, du %4 : %5.")
                          .arg(Count(weeks.size(), QStringLiteral("semaine")))
                          .arg(Date(weeks.front().day, u"dd/MM/yy"), Percent(weeks.front().found, weeks.front().asked),
                               Date(weeks.back().day, u"dd/MM/yy"), Percent(weeks.back().found, weeks.back().asked)));

  const Streak streak = AnswerStreak(days_, today_);
  QString summary =
      QStringLiteral(
          "%1 : %2, dont %3 (%4). Jours d'affilée avec au moins une réponse : %5 "
          "(record : %6).")
          .arg(CbPeriod->currentText(), Count(asked, QStringLiteral("réponse")), Count(found, QStringLiteral("juste")))
          .arg(Percent(found, asked))
          .arg(streak.current)
          .arg(streak.longest);
  if (!journal_.Store().IsOpen()) {
    summary = QStringLiteral(
        "Le journal des réponses n'a pas pu être ouvert : seules les associations par ratio "
        "sont montrées.");
  } else if (journal_.Store().ReadOnly()) {
    summary = QStringLiteral("Journal d'une version plus récente de Tenaxo, en lecture seule. ") + summary;
  }
  LbSummary->setText(summary);
}

void StatisticsWindow::DrawRatios() {
  const RatioCounts counts = RatioHistogram(session_.table);
  auto* set = new QBarSet(QStringLiteral("Associations"));
  set->setColor(ColoursOf(palette()).line);
  QStringList labels{QStringLiteral("—")};
  QStringList said;
  for (size_t k = 0; k < counts.size(); ++k) {
    *set << counts[k];
    if (k > 0) labels << kFrench.toString(0.1 * static_cast<double>(k - 1), 'f', 1);
    said << QStringLiteral("%1 : %2").arg(
        k == 0 ? QStringLiteral("jamais demandées") : QStringLiteral("à partir de ") + labels.back(),
        QString::number(counts[k]));
  }
  auto* series = new QBarSeries;
  series->append(set);
  auto* x = new QBarCategoryAxis;
  x->append(labels);
  Fill(ChRatios, series, x, CountAxis(*std::max_element(counts.begin(), counts.end())), this);
  x->setTitleText(QStringLiteral("Ratio (— : jamais demandées)"));
  const QString name = session_.listName.empty() ? QStringLiteral("sans nom") : ToQString(session_.listName);
  ChRatios->chart()->setTitle(QStringLiteral("Associations de « %1 » par ratio").arg(name));
  ChRatios->setAccessibleName(ChRatios->chart()->title());
  ChRatios->setAccessibleDescription(said.join(QStringLiteral(" ; ")) + u'.');
}

void StatisticsWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) {
    DrawPeriod();
    DrawRatios();
  }
}

void StatisticsWindow::ExportJournal() {
  QFileDialog dialog(this, QStringLiteral("Exporter le journal"), QDir::home().filePath(QStringLiteral("journal.csv")));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(QStringLiteral("CSV, UTF-8 (*.csv)"));
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  try {
    ExportJournalCsv(journal_.Store(), dialog.selectedFiles().constFirst());
  } catch (...) {
    ShowCurrentFailure(this);
  }
}

}  // namespace tenaxo
