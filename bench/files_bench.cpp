// SPDX-License-Identifier: GPL-3.0-or-later
// Saving CH1 after a refresh (4000 samples with measurements) as a ".wdf" and a ".csv" file
// through the Wave Graph view's "Save", and loading each back into a free slot through its
// reader, as the commands do it: list texts to file bytes, the whole-file write through a
// temporary file (flushed to disk), the operate log, and on loading the slot, plot and lists.
#include <benchmark/benchmark.h>

#include "bench_world.h"
#include "core/files/wave_file_commands.h"

namespace korvelane::bench {
namespace {

// The save and open dialogs always answer `path`.
class FixedChooser : public FileChooser {
 public:
  std::string ChooseFileToOpen(int) override { return path; }
  std::string ChooseFileToSave(int) override { return path; }
  std::string path;
};

// "Select the Chan" picks CH1; loaded waves go to the Wave Graph view's controller.
class GraphViewHost : public WaveFileHost {
 public:
  explicit GraphViewHost(WaveGraphController& controller) : controller_(controller) {}
  std::optional<int> SelectChannel(SelectChanMode) override { return kCh1Slot; }
  void PlotSlot(const uint8_t* samples, int count, int slot) override {
    controller_.PlotSlot(samples, count, slot);
  }
  void ShowLoadedSlot(int slot, LoadMode mode) override { controller_.ShowLoadedSlot(slot, mode); }

 private:
  WaveGraphController& controller_;
};

struct FileWorld : BenchWorld {
  explicit FileWorld(const char* extension) {
    chooser.path = dir.File(std::string("wave") + extension);
    const WaveRecord record = commands.RecordOfSlot(kCh1Slot, kGraphKind);
    if (record.samples.size() != 4000 || !record.has_measurements)
      throw std::runtime_error("CH1 has not 4000 samples with measurements");
    commands.SaveWaveGraphFile();
  }
  FixedChooser chooser;
  GraphViewHost host{controller};
  WaveFileCommands commands{context(), chooser, host};
};

void BM_SaveWaveGraphFile(benchmark::State& state, const char* extension) {
  FileWorld world(extension);
  for (auto _ : state)
    world.commands.SaveWaveGraphFile();
}
BENCHMARK_CAPTURE(BM_SaveWaveGraphFile, wdf, ".wdf")
    ->Apply(WallAndProcessTime)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SaveWaveGraphFile, csv, ".csv")
    ->Apply(WallAndProcessTime)
    ->Unit(benchmark::kMicrosecond);

void BM_LoadWaveGraphFile(benchmark::State& state, const char* extension) {
  FileWorld world(extension);
  for (auto _ : state) {
    if (!world.commands.LoadWaveGraphFile(world.chooser.path))
      state.SkipWithError("the file did not load");
  }
}
BENCHMARK_CAPTURE(BM_LoadWaveGraphFile, wdf, ".wdf")
    ->Apply(WallAndProcessTime)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadWaveGraphFile, csv, ".csv")
    ->Apply(WallAndProcessTime)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvelane::bench
