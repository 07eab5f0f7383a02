// The core work of one redraw with both channels at 4000 samples and their measurements: slots,
// plot data, parameter, Wave Data and measurement texts.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_world.h"
#include "core/views/wave_graph_controller.h"

namespace korvelane::bench {
namespace {

// A graph that keeps its data as a drawing control would receive them.
class CopyingGraph : public GraphControl {
 public:
  struct Plot : GraphPlot {
    void SetPlotData(const uint8_t* values, size_t count) override {
      data.assign(values, values + count);
    }
    void ClearPlot() override { data.clear(); }
    void SetPlotVisible(bool) override {}
    std::vector<uint8_t> data;
  };
  struct Marker : GraphAnnotation {
    void SetAnnotationVisible(bool) override {}
    void SetCaptionPosition(double) override {}
  };
  GraphPlot* PlotByIndex(int n) override { return n >= 1 && n <= 7 ? &plots[n] : nullptr; }
  GraphPlot* PlotByName(std::string_view name) override {
    return name == "Plot-1" ? &plots[1] : name == "Plot-2" ? &plots[2] : nullptr;
  }
  GraphAnnotation* AnnotationByIndex(int n) override {
    return n == 1 || n == 2 ? &markers[n] : nullptr;
  }
  void Redraw() override {}
  Plot plots[8];
  Marker markers[3];
};

class NoForm : public WaveGraphForm {
 public:
  void ReadBoxes(WaveGraphFields&) override {}
  void WriteBoxes(const WaveGraphFields&) override {}
  void EnableShowBox(int, bool) override {}
  void EnableModeButtons(bool) override {}
  void EnableFileButtons(bool) override {}
  bool CopyViewPicture() override { return true; }
  void OpenPrintPreview(int) override {}
};

class NoTimer : public RefreshTimer {
 public:
  bool auto_refresh() const override { return false; }
  void StartRefreshTimer() override {}
  void StopRefreshTimer() override {}
};

void BM_RedrawWaveGraphCore(benchmark::State& state) {
  BenchWorld world;
  CopyingGraph graph;
  NoForm form;
  NoTimer timer;
  WaveGraphController controller(
      ViewContext{world.device, world.tables, world.operate_log, world.debug_log, world.ui}, graph,
      form, timer);
  for (auto _ : state) {
    controller.RedrawWaveGraph();
    benchmark::DoNotOptimize(world.tables.wave_data_list.text(3999, 2).data());
  }
}
BENCHMARK(BM_RedrawWaveGraphCore)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvelane::bench

BENCHMARK_MAIN();
