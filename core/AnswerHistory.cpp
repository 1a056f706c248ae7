// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnswerHistory.h"

#include <algorithm>
#include <map>

#include "Ranking.h"

namespace tenaxo {

namespace {
// The Julian day of 1970-01-01.
constexpr qint64 kDayZero = 2440588;

int32_t MonthStart(int32_t day) {
  const QDate date = DayDate(day);
  return DayNumber(QDate(date.year(), date.month(), 1));
}

// Day 0 was a Thursday.
int32_t WeekStart(int32_t day) { return day - (((day + 3) % 7) + 7) % 7; }

int32_t FirstDay(const std::vector<DayCount>& days) {
  int32_t first = days.front().day;
  for (const DayCount& d : days) first = std::min(first, d.day);
  return first;
}

// The answers of the days from..today, summed per bucket (start: the first day of a day's bucket).
template <typename Start>
std::map<int32_t, DayCount> Sum(const std::vector<DayCount>& days, int32_t from, int32_t today, Start start) {
  std::map<int32_t, DayCount> buckets;
  for (const DayCount& d : days) {
    if (d.day < from || d.day > today) continue;
    DayCount& bucket = buckets[start(d.day)];
    bucket.day = start(d.day);
    bucket.asked += d.asked;
    bucket.found += d.found;
  }
  return buckets;
}
}  // namespace

int32_t DayNumber(const QDate& date) { return static_cast<int32_t>(date.toJulianDay() - kDayZero); }
QDate DayDate(int32_t day) { return QDate::fromJulianDay(day + kDayZero); }

int32_t PeriodStart(const std::vector<DayCount>& days, Period period, int32_t today) {
  switch (period) {
    case Period::Last30Days: return today - 29;
    case Period::Last12Months: return DayNumber(DayDate(MonthStart(today)).addMonths(-11));
    case Period::Everything: break;
  }
  return days.empty() ? today : std::min(FirstDay(days), today);
}

std::vector<DayCount> AnswerBars(const std::vector<DayCount>& days, Period period, int32_t today) {
  std::vector<DayCount> bars;
  if (period == Period::Everything && days.empty()) return bars;
  const int32_t from = PeriodStart(days, period, today);
  if (period == Period::Last30Days) {
    const std::map<int32_t, DayCount> sums = Sum(days, from, today, [](int32_t day) { return day; });
    for (int32_t day = from; day <= today; ++day) {
      const auto found = sums.find(day);
      bars.push_back(found == sums.end() ? DayCount{day, 0, 0} : found->second);
    }
    return bars;
  }
  const std::map<int32_t, DayCount> sums = Sum(days, from, today, MonthStart);
  for (QDate month = DayDate(MonthStart(from)); DayNumber(month) <= today; month = month.addMonths(1)) {
    const auto found = sums.find(DayNumber(month));
    bars.push_back(found == sums.end() ? DayCount{DayNumber(month), 0, 0} : found->second);
  }
  return bars;
}

std::vector<DayCount> WeeklyAnswers(const std::vector<DayCount>& days, Period period, int32_t today) {
  std::vector<DayCount> weeks;
  for (const auto& [start, week] : Sum(days, PeriodStart(days, period, today), today, WeekStart)) {
    if (week.asked > 0) weeks.push_back(week);
  }
  return weeks;
}

Streak AnswerStreak(const std::vector<DayCount>& days, int32_t today) {
  std::vector<int32_t> answered;
  for (const DayCount& d : days) {
    if (d.asked > 0 && d.day <= today) answered.push_back(d.day);
  }
  std::sort(answered.begin(), answered.end());
  answered.erase(std::unique(answered.begin(), answered.end()), answered.end());
  Streak streak;
  int32_t run = 0;
  for (size_t k = 0; k < answered.size(); ++k) {
    run = k > 0 && answered[k - 1] == answered[k] - 1 ? run + 1 : 1;
    streak.longest = std::max(streak.longest, run);
  }
  if (!answered.empty() && answered.back() >= today - 1) streak.current = run;
  return streak;
}

RatioCounts RatioHistogram(const StudyTable& grid) {
  RatioCounts counts{};
  for (int row = StudyTable::FixedRows; grid.IsDataRow(row); ++row) {
    const std::optional<int64_t> ratio = RatioThousandths(grid, row);
    ++counts[ratio ? 1 + static_cast<size_t>(std::clamp<int64_t>(*ratio / 100, 0, 9)) : 0];
  }
  return counts;
}

}  // namespace tenaxo
