// SPDX-License-Identifier: GPL-3.0-or-later
// Printing the Wave Graph after a refresh: the layout of all 103 pages of its document (4000
// samples on 101 pages, then the measurement and parameter pages), and one page rendered into
// the preview's image.
#include <benchmark/benchmark.h>

#include <stdexcept>

#include "bench_world.h"
#include "core/printing/page_renderers.h"
#include "printing/print_preview.h"

namespace korvelane::bench {
namespace {

struct PrintWorld : BenchWorld {
  PrintWorld() {
    job.item_count = 4000;
    job.extra_pages = 2;
    SetPrintJob(job);
    if (job.page_count != 103)
      throw std::runtime_error("the Wave Graph document has not 103 pages");
  }
  // CH1 and CH2 shown, as after a refresh.
  WaveGraphPages renderer{tables.wave_data_list, tables.measurement_list, tables.parameter_list,
                          ShownSlots{0, 1, 1, 0, 0, 0, 0, 0}};
  PrintJob job;
};

void BM_LayoutWaveGraphDocument(benchmark::State& state) {
  PrintWorld world;
  const std::string date = PrintDateText(world.clock.Now());
  for (auto _ : state) {
    for (int page = 1; page <= world.job.page_count; ++page) {
      Page laid_out = world.renderer.Layout(world.job, page, false, date);
      benchmark::DoNotOptimize(laid_out.items.data());
    }
  }
}
BENCHMARK(BM_LayoutWaveGraphDocument)->Apply(WallAndProcessTime)->Unit(benchmark::kMillisecond);

// Page 1 (title and 39 rows) and page 2 (40 rows).
void BM_RenderPreviewPage(benchmark::State& state) {
  PrintWorld world;
  const PreviewSource source{&world.renderer, {}};
  CPreView view(source, world.job, world.clock);
  view.set_current_page(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    QImage image = view.RenderPage();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_RenderPreviewPage)
    ->ArgName("page")
    ->Arg(1)
    ->Arg(2)
    ->Apply(WallAndProcessTime)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvelane::bench
