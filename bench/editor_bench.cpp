// SPDX-License-Identifier: GPL-3.0-or-later
// The list editor on a list of 100,000 pairs: row operations through the grid's
// model, the first paint of the shown list, and a header sort.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "ColumnSort.h"
#include "ListGrid.h"
#include "ListModel.h"
#include "Ranking.h"
#include "TableRows.h"
#include "Words.h"

namespace tenaxo {
namespace {

constexpr int kRows = 100000;

struct ShownList {
  StudyTable table = bench::MakeList(kRows);
  ListModel model{table};
  ListGrid grid{&model, nullptr};
  ShownList() {
    grid.resize(642, 300);
    grid.show();
    QCoreApplication::processEvents();
  }
};

void BM_InsertRowTop(benchmark::State& state) {
  ShownList list;
  for (auto _ : state) {
    InsertGridRow(list.table, 1, {});
    state.PauseTiming();
    DeleteGridRow(list.table, 1);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InsertRowTop)->Unit(benchmark::kMillisecond);

void BM_DeleteRowTop(benchmark::State& state) {
  ShownList list;
  for (auto _ : state) {
    DeleteGridRow(list.table, 1);
    state.PauseTiming();
    InsertGridRow(list.table, 1, {});
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DeleteRowTop)->Unit(benchmark::kMillisecond);

// From a hidden grid over 100,000 rows to the first picture of it.
void BM_FirstPaintShownList(benchmark::State& state) {
  StudyTable table = bench::MakeList(kRows);
  for (auto _ : state) {
    ListModel model(table);
    ListGrid grid(&model, nullptr);
    grid.resize(642, 300);
    QImage image(grid.size(), QImage::Format_ARGB32_Premultiplied);
    grid.render(&image);
    benchmark::DoNotOptimize(image.bits());
    state.PauseTiming();
    table.SetObserver(nullptr);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FirstPaintShownList)->Unit(benchmark::kMillisecond);

void BM_HeaderSortShownList(benchmark::State& state) {
  ShownList list;
  bool descending = false;
  for (auto _ : state) {
    SortGrid(list.table, 0, descending ? sfDescending : 0);
    QCoreApplication::processEvents();
    descending = !descending;
  }
}
BENCHMARK(BM_HeaderSortShownList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenaxo

namespace tenaxo {
namespace {
// Ranking every fifth question while the list is shown.
void BM_ComputeRatiosShownList(benchmark::State& state) {
  ShownList list;
  for (auto _ : state) {
    ComputeRatios(list.table);
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_ComputeRatiosShownList)->Unit(benchmark::kMillisecond);
}  // namespace
}  // namespace tenaxo
