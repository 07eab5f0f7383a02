// SPDX-License-Identifier: GPL-3.0-or-later
// The world the benchmarks run in: a device bound to the simulated instrument, the view tables,
// and the Wave Graph view's controller over a graph that only keeps its data, with the request
// boxes ticked so that a refresh fetches both channels' 4000 samples and their measurements.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/common/clock.h"
#include "core/common/silent_user_interface.h"
#include "core/logs/debug_log.h"
#include "core/logs/operate_log.h"
#include "core/protocol/device.h"
#include "core/views/view_context.h"
#include "core/views/view_tables.h"
#include "core/views/wave_graph_controller.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"

namespace korvelane::bench {

// Every benchmark runs for a wall-clock time and reports the CPU time of the whole process, as
// Qt paints large areas on helper threads.
inline void WallAndProcessTime(benchmark::internal::Benchmark* benchmark) {
  benchmark->MeasureProcessCPUTime()->UseRealTime();
}

// A user interface that shows nothing. Its waits last zero milliseconds unless `paced`, when
// they last as long as asked; `asked_ms` adds up what was asked for.
class QuietUserInterface : public SilentUserInterface {
 public:
  void Sleep(int milliseconds) override {
    asked_ms += milliseconds;
    if (paced && milliseconds > 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }

  bool paced = false;
  long asked_ms = 0;
};

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvelane-bench-XXXXXX");
    if (!mkdtemp(pattern.data()))
      throw std::runtime_error("cannot make a scratch folder");
    path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

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

// The Wave Graph view's widgets with "Measure" CH1 and CH2 and "GetAllData" ticked.
class TickedForm : public WaveGraphForm {
 public:
  void ReadBoxes(WaveGraphFields& fields) override {
    fields.measure_ch1 = 1;
    fields.measure_ch2 = 1;
    fields.all_data = 1;
  }
  void WriteBoxes(const WaveGraphFields&) override {}
  void EnableShowBox(int, bool) override {}
  void EnableModeButtons(bool) override {}
  void EnableFileButtons(bool) override {}
  bool CopyViewPicture() override { return true; }
  void OpenPrintPreview(int) override {}
};

class ManualTimer : public RefreshTimer {
 public:
  bool auto_refresh() const override { return false; }
  void StartRefreshTimer() override {}
  void StopRefreshTimer() override {}
};

// The main window's part in a refresh: the request boxes and the redraw come from the Wave
// Graph view's controller.
class ControllerHooks : public DeviceHooks {
 public:
  RequestOptions ReadRequestOptions() override { return controller->ReadRequestOptions(); }
  void RedrawWaveGraph() override { controller->RedrawWaveGraph(); }

  WaveGraphController* controller = nullptr;
};

struct BenchWorld {
  // Bound to the instrument, with one refresh done: the store, the slots and the three tables
  // hold both channels at 4000 samples with their measurements.
  BenchWorld() {
    hooks.controller = &controller;
    device.connection().StartupLinkTest();
    device.connection().Connect();
    if (!device.connection().bound() || !device.acquisition().RefreshAll() ||
        device.store().ch1.count != 4000 || device.store().ch2.count != 4000)
      throw std::runtime_error("the simulated instrument did not answer as expected");
  }

  ViewContext context() { return ViewContext{device.store(), tables, operate_log, debug_log, ui}; }

  ScratchDir dir;
  SystemClock clock;
  QuietUserInterface ui;
  DebugLog debug_log{dir.path(), clock};
  OperateLog operate_log{dir.path(), clock, debug_log, ui};
  ControllerHooks hooks;
  sim::SimulatedInstrument instrument;
  sim::SimulatedLink link{instrument};
  Device device{link, ui, debug_log, operate_log, hooks, clock};
  ViewTables tables;
  CopyingGraph graph;
  TickedForm form;
  ManualTimer timer;
  WaveGraphController controller{context(), device.acquisition(), device.connection(), graph, form,
                                 timer};
};

}  // namespace korvelane::bench
