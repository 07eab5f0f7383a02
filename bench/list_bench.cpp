// SPDX-License-Identifier: GPL-3.0-or-later
// The Wave Data and measurement views after a refresh: the redraw refills the tables, the Qt
// models pass the changes on, and each view repaints the rows in sight. The argument chooses the
// views shown: 1 Wave Data, 2 measurements, 3 both; 0 runs the same redraw with no views, so
// that the views' share is the difference within one run.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTableView>
#include <memory>

#include "bench_world.h"
#include "views/wave_data_view.h"
#include "views/wave_measurement_view.h"

namespace korvelane::bench {
namespace {

// The right pane of a 1280 x 800 main window.
constexpr int kPaneWidth = 1090;
constexpr int kPaneHeight = 700;

template <typename View>
std::unique_ptr<View> ShownView(BenchWorld& world) {
  auto view = std::make_unique<View>(world.context());
  view->resize(kPaneWidth, kPaneHeight);
  view->show();
  QCoreApplication::processEvents();
  return view;
}

void BM_ListViewsAfterRefresh(benchmark::State& state) {
  BenchWorld world;
  std::unique_ptr<WaveDataView> wave_data;
  std::unique_ptr<WaveMeasurementView> measurements;
  if (state.range(0) & 1)
    wave_data = ShownView<WaveDataView>(world);
  if (state.range(0) & 2)
    measurements = ShownView<WaveMeasurementView>(world);
  for (auto _ : state) {
    world.controller.RedrawWaveGraph();
    if (wave_data)
      wave_data->list()->viewport()->repaint();
    if (measurements)
      measurements->list()->viewport()->repaint();
  }
}
BENCHMARK(BM_ListViewsAfterRefresh)
    ->ArgName("views")
    ->DenseRange(0, 3)
    ->Apply(WallAndProcessTime)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvelane::bench
