// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the statistics window draws, worked out from the answers counted per
// day and from the study list's own counters.
//
// Days are numbered from 1970-01-01 (day 0) in the user's own calendar; weeks
// start on Monday.
#include <QDate>
#include <array>
#include <cstdint>
#include <vector>

#include "StudyTable.h"

namespace tenaxo {

// The answers of one day, or of the bar or the week starting that day.
struct DayCount {
  int32_t day = 0;
  int32_t asked = 0;
  int32_t found = 0;
};

enum class Period {
  Last30Days,    // one bar a day, today and the 29 days before
  Last12Months,  // one bar a month, this month and the 11 before
  Everything,    // one bar a month, from the month of the first answer to this one
};

int32_t DayNumber(const QDate& date);
QDate DayDate(int32_t day);

// The bars of the answers chart over the period; days: the answers per day,
// in any order. Each bar starts on its first day (the 1st of a month); bars
// without an answer are there, with 0. Everything without an answer has none.
std::vector<DayCount> AnswerBars(const std::vector<DayCount>& days, Period period, int32_t today);

// The first day the period counts.
int32_t PeriodStart(const std::vector<DayCount>& days, Period period, int32_t today);

// The answers per week over the period (its first week counts from the
// period's first day), each starting on its Monday; weeks without an answer
// are left out.
std::vector<DayCount> WeeklyAnswers(const std::vector<DayCount>& days, Period period, int32_t today);

// Days in a row with at least one answer: the run ending today, or yesterday
// while today has none yet; and the longest run.
struct Streak {
  int32_t current = 0;
  int32_t longest = 0;
};
Streak AnswerStreak(const std::vector<DayCount>& days, int32_t today);

// The study list's pairs by their ratio (Ranking.h): [0] the pairs never
// asked, then [1 + k] those from k tenths up to (k + 1) tenths, 1 itself and
// above in the last one and below 0 in the first tenth.
using RatioCounts = std::array<int32_t, 11>;
RatioCounts RatioHistogram(const StudyTable& grid);

}  // namespace tenaxo
