// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/wave_graph_controller.h"

#include <algorithm>

#include "core/views/measurement_column.h"
#include "core/views/parameter_column.h"
#include "core/views/plot_slot.h"
#include "core/views/wave_data_column.h"

namespace korvelane {
namespace {

// A channel with this many samples or fewer has nothing to draw; it is the count the store
// starts with.
constexpr int32_t kMinDrawnCount = 200;
// Marker position of a vertical position: 0 at the bottom of the screen, 10 at the top.
constexpr double kMarkerOrigin = 216.0;
constexpr double kMarkerScale = 0.05;
constexpr double kMarkerTop = 10.0;

constexpr const char* kNotLinked = "The software is not link with device!";

}  // namespace

const char* const WaveGraphController::kShowHideTexts[kSlotCount] = {
    "Show/Hide the first graph",  "Show/Hide the second graph", "Show/Hide the third graph",
    "Show/Hide the fourth graph", "Show/Hide the fifth graph",  "Show/Hide the sixth graph",
    "Show/Hide the seventh graph"};

WaveGraphController::WaveGraphController(const ViewContext& context, Acquisition& acquisition,
                                         const Connection& connection, GraphControl& graph,
                                         WaveGraphForm& form, RefreshTimer& timer)
    : context_(context),
      acquisition_(acquisition),
      connection_(connection),
      graph_(graph),
      form_(form),
      timer_(timer) {
  context_.tables.AddListener(this);
}

WaveGraphController::~WaveGraphController() {
  context_.tables.RemoveListener(this);
}

void WaveGraphController::Initialise() {
  if (!context_.tables.graph_buttons_enabled) {
    for (int slot = 1; slot <= kSlotCount; ++slot)
      form_.EnableShowBox(slot, false);
    form_.EnableFileButtons(false);
  }
  form_.EnableModeButtons(!timer_.auto_refresh());
}

void WaveGraphController::ButtonsEnabled(ButtonGroup group) {
  if (group == ButtonGroup::kWaveGraph)
    form_.EnableFileButtons(true);
}

void WaveGraphController::RefreshWaveGraph() {
  // The timer's cycle, under the same exchange guard: the boxes are read and the view redrawn
  // through the device's hooks.
  acquisition_.RefreshAll();
}

void WaveGraphController::RedrawChannelSlot(int channel) {
  const ChannelData& data = context_.store.channel(channel);
  WaveSlot& slot = context_.tables.wave_slots[channel];
  slot.in_graph = 0;
  slot.count = 0;
  slot.in_wave_data = 0;
  if (data.enabled && data.count > kMinDrawnCount) {
    PlotSlot(data.samples.data(), data.count, channel);
    slot.in_graph = 1;
    slot.count = data.count;
    slot.in_wave_data = 1;
  } else if (GraphPlot* plot = graph_.PlotByName(channel == kCh1Slot ? "Plot-1" : "Plot-2")) {
    plot->ClearPlot();
  }
}

void WaveGraphController::ShowChannelMarker(int channel) {
  const ChannelData& data = context_.store.channel(channel);
  if (GraphAnnotation* marker = graph_.AnnotationByIndex(channel)) {
    marker->SetAnnotationVisible(data.enabled);
    const double position = (kMarkerOrigin - data.vert_pos) * kMarkerScale;
    marker->SetCaptionPosition(std::clamp(position, 0.0, kMarkerTop));
  }
  if (GraphPlot* plot = graph_.PlotByIndex(channel))
    plot->SetPlotVisible(data.enabled);
}

void WaveGraphController::RedrawWaveGraph() {
  const AcquisitionStore& store = context_.store;
  ViewTables& tables = context_.tables;
  RedrawChannelSlot(kCh1Slot);
  RedrawChannelSlot(kCh2Slot);
  ShowChannelMarker(kCh1Slot);
  ShowChannelMarker(kCh2Slot);
  graph_.Redraw();
  FillParameterColumn(tables, store, kCh1Slot);
  FillParameterColumn(tables, store, kCh2Slot);
  FillWaveDataColumn(tables, store, kCh1Slot);
  FillWaveDataColumn(tables, store, kCh2Slot);
  const RequestSelectors& selectors = acquisition_.selectors();
  ShowChannelMeasurements(tables, store, selectors, kCh1Slot);
  ShowChannelMeasurements(tables, store, selectors, kCh2Slot);
  // Hiding CH1 or CH2 with its box lasts until here.
  form_.EnableShowBox(kCh1Slot, store.ch1.enabled);
  form_.EnableShowBox(kCh2Slot, store.ch2.enabled);
  fields_.show[kCh1Slot] = store.ch1.enabled ? 1 : 0;
  fields_.show[kCh2Slot] = store.ch2.enabled ? 1 : 0;
  EnableViewButtons(tables);
  form_.WriteBoxes(fields_);
}

void WaveGraphController::PlotSlot(const uint8_t* samples, int count, int slot) {
  // A wave loaded into a file slot replaces the curve of the wave that had the slot before, even
  // when its own count is not drawn.
  if (slot >= kFirstFileSlot && !IsPlottedCount(count)) {
    if (GraphPlot* plot = graph_.PlotByIndex(slot))
      plot->ClearPlot();
    return;
  }
  korvelane::PlotSlot(graph_, samples, count, slot);
}

RequestOptions WaveGraphController::ReadRequestOptions() {
  form_.ReadBoxes(fields_);
  RequestOptions options;
  options.ch1_measure = fields_.measure_ch1 != 0;
  options.ch2_measure = fields_.measure_ch2 != 0;
  options.get_all_data = fields_.all_data != 0;
  return options;
}

void WaveGraphController::PressAuto() {
  context_.operate_log.RecordOperation("Set the refresh mode is : Auto");
  if (!connection_.bound()) {
    context_.ui.ShowMessage(kNotLinked, "Error", MessageIcon::kExclamation);
    context_.ui.RefreshMenuLamps();
    return;
  }
  if (timer_.auto_refresh())
    return;
  timer_.StartRefreshTimer();
  form_.EnableModeButtons(false);
}

void WaveGraphController::PressManual() {
  context_.operate_log.RecordOperation("Set the refresh mode is : Manual");
  if (!timer_.auto_refresh())
    return;
  timer_.StopRefreshTimer();
  form_.EnableModeButtons(true);
}

void WaveGraphController::ToggleShow(int slot) {
  if (!WaveSlotTable::Valid(slot))
    return;
  form_.ReadBoxes(fields_);
  const bool shown = fields_.show[static_cast<size_t>(slot)] != 0;
  context_.tables.wave_slots[slot].in_graph = shown ? 1 : 0;
  if (GraphPlot* plot = graph_.PlotByIndex(slot))
    plot->SetPlotVisible(shown);
  if (slot == kCh1Slot || slot == kCh2Slot) {
    if (GraphAnnotation* marker = graph_.AnnotationByIndex(slot))
      marker->SetAnnotationVisible(shown);
  }
  graph_.Redraw();
  context_.operate_log.RecordOperation(kShowHideTexts[slot - 1]);
}

void WaveGraphController::ShowLoadedSlot(int slot, LoadMode mode) {
  if (slot < kFirstFileSlot || slot > kSlotCount)
    return;
  form_.EnableShowBox(slot, true);
  // Boxes ticked since they were last read stay ticked when the fields are written back.
  form_.ReadBoxes(fields_);
  const bool show = mode == LoadMode::kShow;
  fields_.show[static_cast<size_t>(slot)] = show ? 1 : 0;
  if (GraphPlot* plot = graph_.PlotByIndex(slot))
    plot->SetPlotVisible(show);
  form_.WriteBoxes(fields_);
}

void WaveGraphController::Copy() {
  context_.operate_log.RecordOperation("Copy Wave Graph Interface");
  context_.ui.SetWaitCursor(true);
  if (!form_.CopyViewPicture())
    context_.debug_log.WriteDebugLog("复制波形图像界面位图数据到内存失败", kWarning);
  context_.ui.SetWaitCursor(false);
}

void WaveGraphController::Print() {
  context_.operate_log.RecordOperation("Print Wave Graph data");
  int item_count = 0;
  bool any_shown = false;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (fields_.show[static_cast<size_t>(slot)] == 0)
      continue;
    any_shown = true;
    item_count = std::max(item_count, context_.tables.wave_slots[slot].count);
  }
  if (!any_shown) {
    context_.debug_log.WriteDebugLog("打印失败：波形界面没有波形显示", kNormal);
    context_.ui.ShowMessage("There is no graph showed!", "Error", MessageIcon::kInformation);
    return;
  }
  form_.OpenPrintPreview(item_count);
}

}  // namespace korvelane
