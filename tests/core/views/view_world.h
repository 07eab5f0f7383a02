// SPDX-License-Identifier: GPL-3.0-or-later
// A Wave Graph controller over a scripted instrument, with a recording graph, form and timer.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/views/view_tables.h"
#include "core/views/wave_graph_controller.h"
#include "support/device_world.h"

namespace korvelane::testing {

class FakeGraph : public GraphControl {
 public:
  struct Plot : GraphPlot {
    void SetPlotData(const uint8_t* values, size_t count) override {
      data.assign(values, values + count);
      ++data_sets;
    }
    void ClearPlot() override { data.clear(); }
    void SetPlotVisible(bool on) override { visible = on; }
    std::vector<uint8_t> data;
    int data_sets = 0;
    bool visible = true;
  };
  struct Marker : GraphAnnotation {
    void SetAnnotationVisible(bool on) override { visible = on; }
    void SetCaptionPosition(double at) override { position = at; }
    bool visible = true;
    double position = -1;
  };

  GraphPlot* PlotByIndex(int n) override { return n >= 1 && n <= 7 ? &plots[n] : nullptr; }
  GraphPlot* PlotByName(std::string_view name) override {
    return name.size() == 6 && name.substr(0, 5) == "Plot-" ? PlotByIndex(name[5] - '0') : nullptr;
  }
  GraphAnnotation* AnnotationByIndex(int n) override {
    return n == 1 || n == 2 ? &markers[n] : nullptr;
  }
  void Redraw() override {}

  Plot plots[8];
  Marker markers[3];
};

class FakeForm : public WaveGraphForm {
 public:
  void ReadBoxes(WaveGraphFields& fields) override { fields = boxes; }
  void WriteBoxes(const WaveGraphFields& fields) override { boxes = fields; }
  void EnableShowBox(int slot, bool enable) override { show_enabled[slot] = enable; }
  void EnableModeButtons(bool auto_enabled) override { auto_enabled_ = auto_enabled; }
  void EnableFileButtons(bool enable) override { file_buttons = enable; }
  bool CopyViewPicture() override { return true; }
  void OpenPrintPreview(int item_count) override { previews.push_back(item_count); }

  WaveGraphFields boxes;
  std::map<int, bool> show_enabled;
  bool auto_enabled_ = true;
  bool file_buttons = true;
  std::vector<int> previews;
};

class FakeTimer : public RefreshTimer {
 public:
  bool auto_refresh() const override { return starts > stops; }
  void StartRefreshTimer() override { ++starts; }
  void StopRefreshTimer() override { ++stops; }
  int starts = 0;
  int stops = 0;
};

// The device's hooks lead to the controller, as the main window's do.
class ControllerHooks : public DeviceHooks {
 public:
  RequestOptions ReadRequestOptions() override { return controller->ReadRequestOptions(); }
  void RedrawWaveGraph() override { controller->RedrawWaveGraph(); }
  WaveGraphController* controller = nullptr;
};

// The device over a link of type `Link` (built from `link_args`), the view tables and the Wave
// Graph controller the device's hooks lead to.
template <typename Link>
class ControllerWorld : public LogWorld {
 protected:
  template <typename... Args>
  explicit ControllerWorld(Args&&... link_args) : link(std::forward<Args>(link_args)...) {
    hooks.controller = &controller;
  }

  ControllerHooks hooks;
  Link link;
  Device device{link, ui, debug_log, operate_log, hooks, clock};
  ViewTables tables;
  FakeGraph graph;
  FakeForm form;
  FakeTimer timer;
  ViewContext context{device.store(), tables, operate_log, debug_log, ui};
  WaveGraphController controller{context, device.acquisition(), device.connection(), graph, form,
                                 timer};
};

class ViewWorld : public ScriptedDevice<ControllerWorld<ScriptedLink>> {
 protected:
  AcquisitionStore& store() { return device.store(); }
  RequestSelectors& selectors() { return device.acquisition().selectors(); }
};

}  // namespace korvelane::testing
