// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt side of the Wave Graph: one replot of seven 4000-point plots at 1280 x 800 and at
// 2560 x 1440 (the graph grown with a large window), and a whole redraw of the view with its graph
// and parameter list.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <vector>

#include "bench_world.h"
#include "views/scope_graph.h"
#include "views/wave_graph_view.h"

namespace korvelane::bench {
namespace {

void BM_ReplotSevenFullPlots(benchmark::State& state) {
  ScopeGraph graph;
  graph.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  std::vector<uint8_t> values(4000);
  for (int n = 1; n <= 7; ++n) {
    for (size_t i = 0; i < values.size(); ++i)
      values[i] = static_cast<uint8_t>((i * (n + 3) / 7 + n * 25) % 200);
    graph.PlotByIndex(n)->SetPlotData(values.data(), values.size());
  }
  graph.Redraw();
  for (auto _ : state)
    graph.Redraw();
}
BENCHMARK(BM_ReplotSevenFullPlots)
    ->Args({1280, 800})
    ->Args({2560, 1440})
    ->Apply(WallAndProcessTime)
    ->Unit(benchmark::kMillisecond);

void BM_RedrawWaveGraphView(benchmark::State& state) {
  BenchWorld world;
  WaveGraphView view(world.context(), world.device.acquisition(), world.device.connection(),
                     RefreshTimerCalls{});
  view.resize(view.sizeHint());
  for (auto _ : state) {
    view.RedrawWaveGraph();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_RedrawWaveGraphView)->Apply(WallAndProcessTime)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvelane::bench
