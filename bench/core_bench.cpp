// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <QLocale>

#include "ColumnSort.h"
#include "Ranking.h"
#include "Words.h"

namespace tenaxo {
namespace {

const TextLocale& FrenchLocale() {
  static const TextLocale locale{QLocale(QLocale::French, QLocale::France)};
  return locale;
}

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
  }
}
BENCHMARK(BM_TableMemory)->Args({100000, 0})->Args({100000, 2})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenaxo
