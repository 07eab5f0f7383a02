// SPDX-License-Identifier: GPL-3.0-or-later
// Recording the measurements: one row appended (formatted, written and on the disk), the refresh
// with and without a recording, and a day-long recording opened into the trend window.
#include <benchmark/benchmark.h>

#include <qcustomplot.h>

#include <fstream>

#include "bench_world.h"
#include "core/recording/measurement_recorder.h"
#include "day_recording.h"
#include "views/trend_window.h"

namespace korvelane::bench {
namespace {

// Resident and peak resident memory of this process, in MB.
double MemoryMb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0)
      return std::stod(line.substr(std::string(field).size())) / 1024.0;
  }
  return 0;
}

// One row for CH1's measurements from the last refresh, as a refresh appends it.
void BM_AppendRow(benchmark::State& state) {
  BenchWorld world;
  MeasurementRecorder recorder(world.tables, world.device.store(), world.clock, world.debug_log,
                               world.ui);
  if (!recorder.Start(world.dir.File("rows.csv")))
    state.SkipWithError("cannot record");
  for (auto _ : state)
    world.tables.NotifyChannelMeasured(1);
  if (recorder.rows_written() != static_cast<long long>(state.iterations()))
    state.SkipWithError("rows went missing");
}
BENCHMARK(BM_AppendRow)->Apply(WallAndProcessTime)->Unit(benchmark::kMicrosecond);

// RefreshAll as BM_RefreshAll times it, without (0) and with (1) a recording under way, which
// then appends two rows a refresh.
void BM_RefreshRecording(benchmark::State& state) {
  BenchWorld world;
  MeasurementRecorder recorder(world.tables, world.device.store(), world.clock, world.debug_log,
                               world.ui);
  if (state.range(0) != 0 && !recorder.Start(world.dir.File("refresh.csv")))
    state.SkipWithError("cannot record");
  for (auto _ : state) {
    if (!world.device.acquisition().RefreshAll())
      state.SkipWithError("refresh failed");
  }
}
BENCHMARK(BM_RefreshRecording)
    ->ArgName("recording")
    ->Arg(0)
    ->Arg(1)
    ->Apply(WallAndProcessTime)
    ->Unit(benchmark::kMicrosecond);

// The day-long recording, written once.
const std::string& DayRecording(const ScratchDir& dir) {
  static const std::string path = [&dir] {
    const std::string file = dir.File("day.csv");
    WriteDayRecording(file);
    return file;
  }();
  return path;
}

// The recording opened into the trend window and drawn; the counters give the resident memory
// of this process after opening and its peak.
void BM_OpenDayRecording(benchmark::State& state) {
  static ScratchDir dir;
  const std::string& path = DayRecording(dir);
  ViewTables tables;
  for (auto _ : state) {
    TrendWindow window(tables, nullptr, {});
    if (!window.OpenRecording(path) || window.data().rows() != kDayRecordingRows)
      state.SkipWithError("the recording did not load");
    window.plot()->replot();
    state.counters["rss_mb"] = MemoryMb("VmRSS:");
  }
  state.counters["peak_rss_mb"] = MemoryMb("VmHWM:");
}
BENCHMARK(BM_OpenDayRecording)
    ->Apply(WallAndProcessTime)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace korvelane::bench
