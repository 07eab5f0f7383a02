// SPDX-License-Identifier: GPL-3.0-or-later
// The device layer against the simulated instrument: one refresh with zero-length waits, the
// core of its redraw alone, and a whole screen-bitmap transfer.
#include <benchmark/benchmark.h>

#include "bench_world.h"
#include "core/files/bitmap_file.h"

namespace korvelane::bench {
namespace {

// The waits asked for in one iteration (the instrument's pacing and the progress bar's steps),
// whether or not they were waited.
void ReportWaits(benchmark::State& state, const QuietUserInterface& ui) {
  state.counters["waits_ms"] =
      benchmark::Counter(static_cast<double>(ui.asked_ms), benchmark::Counter::kAvgIterations);
}

// RefreshAll: the parameter record and both channels' records (4000 samples and measurements
// each) through the instrument's wire format, decoding, the store, the slots, the plot data and
// the parameter, Wave Data and measurement tables.
void BM_RefreshAll(benchmark::State& state) {
  BenchWorld world;
  world.ui.asked_ms = 0;
  for (auto _ : state) {
    if (!world.device.acquisition().RefreshAll())
      state.SkipWithError("refresh failed");
    benchmark::DoNotOptimize(world.tables.wave_data_list.text(3999, 2).data());
  }
  ReportWaits(state, world.ui);
}
BENCHMARK(BM_RefreshAll)->Apply(WallAndProcessTime)->Unit(benchmark::kMicrosecond);

// The redraw step of a refresh on its own: slots, plot data and the three tables from the store.
void BM_RedrawWaveGraphCore(benchmark::State& state) {
  BenchWorld world;
  for (auto _ : state) {
    world.controller.RedrawWaveGraph();
    benchmark::DoNotOptimize(world.tables.wave_data_list.text(3999, 2).data());
  }
}
BENCHMARK(BM_RedrawWaveGraphCore)->Apply(WallAndProcessTime)->Unit(benchmark::kMicrosecond);

// The DSO Bitmap view's part of a transfer: the temporary file decoded into a picture.
class DecodingTarget : public BitmapTarget {
 public:
  void LoadBitmapFile(const std::string& path) override {
    loaded = ReadBitmapFile(path, picture) == BitmapError::kNone;
  }
  void SetTitle(const std::string&) override {}
  DecodedBitmap picture;
  bool loaded = false;
};

// A whole screen-bitmap transfer: begin, twenty pieces of the 320 x 240 picture written to the
// temporary file, end, the file decoded. Argument 1 keeps the progress bar's own waits (2 ms a
// step, as the program does them); argument 0 makes them zero-length.
void BM_BitmapTransfer(benchmark::State& state) {
  BenchWorld world;
  world.ui.paced = state.range(0) != 0;
  world.ui.asked_ms = 0;
  DecodingTarget target;
  BitmapTransfer& transfer = world.device.bitmap_transfer();
  for (auto _ : state) {
    target.loaded = false;
    if (!transfer.FetchScreenBitmap(world.dir.path(), target) || !target.loaded ||
        transfer.expected_piece() != BitmapTransfer::kMaxPieces - 1)
      state.SkipWithError("the transfer did not bring twenty pieces");
  }
  ReportWaits(state, world.ui);
}
BENCHMARK(BM_BitmapTransfer)
    ->ArgName("paced")
    ->Arg(1)
    ->Arg(0)
    ->Apply(WallAndProcessTime)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvelane::bench
