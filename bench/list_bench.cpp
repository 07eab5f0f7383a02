// The Wave Data view after a refresh: both live columns refilled with 4000 samples each, the
// model's change signals, and one repaint of the rows in sight.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>

#include "bench_world.h"
#include "core/views/measurement_column.h"
#include "core/views/wave_data_column.h"
#include "views/wave_data_view.h"
#include "views/wave_measurement_view.h"

namespace korvelane::bench {
namespace {

// The right pane of a 1280 x 800 main window.
constexpr int kPaneWidth = 1090;
constexpr int kPaneHeight = 700;

void BM_FillWaveDataViewLiveColumns(benchmark::State& state) {
  BenchWorld world;
  WaveDataView view(
      ViewContext{world.device, world.tables, world.operate_log, world.debug_log, world.ui});
  view.resize(kPaneWidth, kPaneHeight);
  view.show();
  QCoreApplication::processEvents();
  AcquisitionStore& store = world.device.store();
  uint8_t shift = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // A new acquisition each time, as the refresh brings.
    for (int channel : {1, 2}) {
      ChannelData& data = store.channel(channel);
      for (int i = 0; i < 40; ++i)
        data.samples[static_cast<size_t>(i)] = static_cast<uint8_t>(i + shift);
    }
    ++shift;
    state.ResumeTiming();
    FillWaveDataColumn(world.tables, store, kCh1Slot);
    FillWaveDataColumn(world.tables, store, kCh2Slot);
    view.list()->viewport()->repaint();
  }
}
BENCHMARK(BM_FillWaveDataViewLiveColumns)->Unit(benchmark::kMicrosecond);

void BM_ShowMeasurementsInTheView(benchmark::State& state) {
  BenchWorld world;
  WaveMeasurementView view(
      ViewContext{world.device, world.tables, world.operate_log, world.debug_log, world.ui});
  view.resize(kPaneWidth, kPaneHeight);
  view.show();
  QCoreApplication::processEvents();
  const RequestSelectors& selectors = world.device.acquisition().selectors();
  for (auto _ : state) {
    ShowChannelMeasurements(world.tables, world.device.store(), selectors, kCh1Slot);
    ShowChannelMeasurements(world.tables, world.device.store(), selectors, kCh2Slot);
    view.list()->viewport()->repaint();
  }
}
BENCHMARK(BM_ShowMeasurementsInTheView)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvelane::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
