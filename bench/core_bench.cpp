// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <QLocale>
#include <algorithm>
#include <ctime>
#include <random>

#include "ColumnSort.h"
#include "Ranking.h"
#include "Words.h"

namespace tenaxo {
namespace {

const TextLocale& FrenchLocale() {
  static const TextLocale locale{QLocale(QLocale::French, QLocale::France)};
  return locale;
}

// 100,000 doubles in random order, as the ranking's keys would be.
std::vector<double> RandomDoubles() {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> ratio(0, 1);
  std::vector<double> values(100000);
  for (double& value : values) value = ratio(random);
  return values;
}

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The baseline: std::sort of 100,000 doubles, in CPU seconds (the median of 5).
double SortSeconds() {
  const std::vector<double> values = RandomDoubles();
  std::vector<double> times;
  for (int run = 0; run < 5; ++run) {
    std::vector<double> copy = values;
    const double start = CpuSeconds();
    std::sort(copy.begin(), copy.end());
    benchmark::DoNotOptimize(copy.data());
    times.push_back(CpuSeconds() - start);
  }
  std::nth_element(times.begin(), times.begin() + 2, times.end());
  return times[2];
}

// The time of one iteration (CPU) as a multiple of the baseline measured now.
void VsSort(benchmark::State& state) {
  state.counters["vs_sort"] =
      benchmark::Counter(SortSeconds(), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_SortDoubles(benchmark::State& state) {
  const std::vector<double> values = RandomDoubles();
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<double> copy = values;
    state.ResumeTiming();
    std::sort(copy.begin(), copy.end());
    benchmark::DoNotOptimize(copy.data());
  }
  VsSort(state);
}
BENCHMARK(BM_SortDoubles)->Unit(benchmark::kMillisecond);

// Times f on a fresh copy of the list each iteration; making and destroying the copy are not timed.
template <typename F>
void OnCopies(benchmark::State& state, const StudyTable& original, F f) {
  for (auto _ : state) {
    state.PauseTiming();
    auto table = std::make_unique<StudyTable>(original);
    state.ResumeTiming();
    f(*table);
    benchmark::DoNotOptimize(table->Cell(0, 1));
    state.PauseTiming();
    table.reset();
    state.ResumeTiming();
  }
  VsSort(state);
}

void BM_ComputeRatios(benchmark::State& state) {
  OnCopies(state, bench::MakeList(static_cast<int>(state.range(0))),
           [](StudyTable& table) { ComputeRatios(table, FrenchLocale()); });
}
BENCHMARK(BM_ComputeRatios)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Ranking an already ranked list, as every fifth question does.
void BM_ComputeRatiosRanked(benchmark::State& state) {
  StudyTable table = bench::MakeList(static_cast<int>(state.range(0)));
  ComputeRatios(table, FrenchLocale());
  for (auto _ : state) {
    ComputeRatios(table, FrenchLocale());
    benchmark::DoNotOptimize(table.Cell(0, 1));
  }
  VsSort(state);
}
BENCHMARK(BM_ComputeRatiosRanked)->Arg(100000)->Unit(benchmark::kMillisecond);

// Second argument: the script of the sorted column, Latin (0), Cyrillic (1) or CJK (2).
void BM_SortGridText(benchmark::State& state) {
  OnCopies(state, bench::MakeList(static_cast<int>(state.range(0)), 42, static_cast<bench::Script>(state.range(1))),
           [](StudyTable& table) { SortGrid(table, 0, 0, FrenchLocale()); });
}
BENCHMARK(BM_SortGridText)->Args({100000, 0})->Args({100000, 1})->Args({100000, 2})->Unit(benchmark::kMillisecond);

// Demandé as numbers, many equal.
void BM_SortGridNumbers(benchmark::State& state) {
  OnCopies(state, bench::MakeList(static_cast<int>(state.range(0))),
           [](StudyTable& table) { SortGrid(table, ColDemande, sfNumeric, FrenchLocale()); });
}
BENCHMARK(BM_SortGridNumbers)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TableMemory(benchmark::State& state) {
  for (auto _ : state) {
    const StudyTable table =
        bench::MakeList(static_cast<int>(state.range(0)), 42, static_cast<bench::Script>(state.range(1)));
    state.counters["MB"] = static_cast<double>(table.MemoryUsage()) / (1024.0 * 1024.0);
    state.counters["bytes_per_pair"] = static_cast<double>(table.MemoryUsage()) / static_cast<double>(state.range(0));
  }
}
BENCHMARK(BM_TableMemory)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Args({100000, 2})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenaxo
