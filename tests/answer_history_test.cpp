// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics' figures from the answers per day and from the list's counters, worked out by hand.
#include <gtest/gtest.h>

#include "AnswerHistory.h"
#include "TableText.h"

namespace tenaxo {
namespace {

int32_t Day(int y, int m, int d) { return DayNumber(QDate(y, m, d)); }
const int32_t kToday = Day(2026, 3, 4);  // a Wednesday
const std::vector<DayCount> kDays = {
    {Day(2026, 3, 4), 3, 2},  {Day(2026, 3, 2), 1, 1}, {Day(2026, 2, 25), 2, 0},
    {Day(2026, 2, 3), 4, 4},  {Day(2026, 2, 2), 9, 9}, {Day(2025, 12, 31), 5, 1},
    {Day(2025, 3, 15), 7, 7}, {Day(2024, 6, 1), 1, 0}, {Day(2026, 3, 5), 8, 8}};  // tomorrow: not counted

// The bars a function makes of kDays, the given ones checked: {index, year, month, day, asked, found}.
using Bars = std::vector<DayCount> (*)(const std::vector<DayCount>&, Period, int32_t);
void ExpectBars(Bars bars, Period period, size_t count, std::initializer_list<std::array<int32_t, 6>> expected) {
  const std::vector<DayCount> made = bars(kDays, period, kToday);
  ASSERT_EQ(made.size(), count);
  for (const auto& [index, y, m, d, asked, found] : expected) {
    SCOPED_TRACE(index);
    EXPECT_EQ(made[index].day, Day(y, m, d));
    EXPECT_EQ(made[index].asked, asked);
    EXPECT_EQ(made[index].found, found);
  }
}

// Days, months, and weeks from Monday within the period.
TEST(AnswerHistory, TheBarsAndWeeksOfEachPeriod) {
  ExpectBars(AnswerBars, Period::Last30Days, 30,
             {{0, 2026, 2, 3, 4, 4}, {1, 2026, 2, 4, 0, 0}, {27, 2026, 3, 2, 1, 1}, {29, 2026, 3, 4, 3, 2}});
  ExpectBars(AnswerBars, Period::Last12Months, 12,
             {{0, 2025, 4, 1, 0, 0}, {8, 2025, 12, 1, 5, 1}, {10, 2026, 2, 1, 15, 13}, {11, 2026, 3, 1, 4, 3}});
  ExpectBars(AnswerBars, Period::Everything, 22,
             {{0, 2024, 6, 1, 1, 0}, {9, 2025, 3, 1, 7, 7}, {21, 2026, 3, 1, 4, 3}});
  EXPECT_TRUE(AnswerBars({}, Period::Everything, kToday).empty());
  EXPECT_EQ(AnswerBars({}, Period::Last12Months, kToday).size(), 12u);
  // The 2nd of February falls before the 30 days; the 3rd, a Tuesday, counts in the week of the 2nd.
  ExpectBars(WeeklyAnswers, Period::Last30Days, 3,
             {{0, 2026, 2, 2, 4, 4}, {1, 2026, 2, 23, 2, 0}, {2, 2026, 3, 2, 4, 3}});
  ExpectBars(WeeklyAnswers, Period::Everything, 6,
             {{0, 2024, 5, 27, 1, 0}, {1, 2025, 3, 10, 7, 7}, {2, 2025, 12, 29, 5, 1}, {3, 2026, 2, 2, 13, 13}});
}

TEST(AnswerHistory, TheStreakEndsTodayOrYesterday) {
  // The days around today with one answer each (-1 is yesterday); the current run and the longest.
  const std::tuple<const char*, std::vector<int32_t>, int32_t, int32_t> cases[] = {
      {"none", {}, 0, 0},
      {"today and the two days before", {0, -1, -2, -5, -6}, 3, 3},
      {"up to yesterday", {-1, -2, -10, -11, -12, -13}, 2, 4},
      {"broken the day before yesterday", {-2, -3}, 0, 2},
      {"tomorrow does not count", {1, 0}, 1, 1}};
  for (const auto& [name, answered, current, longest] : cases) {
    SCOPED_TRACE(name);
    std::vector<DayCount> days{{kToday - 3, 0, 0}};  // a day without an answer
    for (int32_t day : answered) days.push_back({kToday + day, 1, 0});
    const Streak streak = AnswerStreak(days, kToday);
    EXPECT_EQ(streak.current, current);
    EXPECT_EQ(streak.longest, longest);
  }
}

TEST(AnswerHistory, ThePairsByRatioFromTheListsCounters) {
  // The ratio halves below 10 questions: 1 of 4 is 0,125.
  const StudyTable table = test::MakeTable({"a;A;;;", "b;B;0;0;", "c;C;10;10;", "d;D;10;5;", "e;E;4;1;", "f;F;20;19;",
                                            "g;G;10;0;", "h;H;10;12;", "i;I;10;-3;", "j;J;20;1;", "k;K;10;1;"});
  EXPECT_EQ(RatioHistogram(table), (RatioCounts{2, 3, 2, 0, 0, 0, 1, 0, 0, 0, 3}));
}

}  // namespace
}  // namespace tenaxo
