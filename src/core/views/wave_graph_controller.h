// SPDX-License-Identifier: GPL-3.0-or-later
// The Wave Graph view without its widgets: the refresh from the instrument, the redraw from the
// acquisition store into the graph and the lists, and the handlers of the view's buttons and
// boxes.
#pragma once

#include <array>
#include <cstdint>

#include "core/protocol/acquisition.h"
#include "core/protocol/connection.h"
#include "core/protocol/device_hooks.h"
#include "core/views/graph_control.h"
#include "core/views/view_context.h"

namespace korvelane {

// The view's check boxes as the commands read them, 0 or 1 each. They move between the fields
// and the boxes only when the view reads or writes its boxes.
struct WaveGraphFields {
  int measure_ch1 = 0;                     // "Measure" box "CH1 "
  int measure_ch2 = 0;                     // "Measure" box "CH2"
  int all_data = 0;                        // "GetAllData"
  std::array<int, kSlotCount + 1> show{};  // "Graph Show" box of slot 1..7; entry 0 unused
};

// The widgets of the view as its commands see them.
class WaveGraphForm {
 public:
  virtual ~WaveGraphForm() = default;
  virtual void ReadBoxes(WaveGraphFields& fields) = 0;
  virtual void WriteBoxes(const WaveGraphFields& fields) = 0;
  // The "Graph Show" box of slot 1..7.
  virtual void EnableShowBox(int slot, bool enable) = 0;
  // "Auto" gets `auto_enabled`, "Manu" the opposite.
  virtual void EnableModeButtons(bool auto_enabled) = 0;
  // "Save", "Copy" and "Print".
  virtual void EnableFileButtons(bool enable) = 0;
  // Puts a picture of the whole view on the clipboard; false when none could be taken.
  virtual bool CopyViewPicture() = 0;
  // Opens the print preview of the graph's pages, `item_count` samples long.
  virtual void OpenPrintPreview(int item_count) = 0;
};

// The main window's refresh timer.
class RefreshTimer {
 public:
  virtual ~RefreshTimer() = default;
  virtual bool auto_refresh() const = 0;
  // Starts the timer with the refresh interval; `auto_refresh` is set while it runs.
  virtual void StartRefreshTimer() = 0;
  virtual void StopRefreshTimer() = 0;
};

class WaveGraphController : private ViewTablesListener {
 public:
  // Action texts of the show/hide boxes of slots 1..7.
  static const char* const kShowHideTexts[kSlotCount];

  // `acquisition` runs "Refresh" and holds the request selectors; `connection` tells whether the
  // instrument is bound.
  WaveGraphController(const ViewContext& context, Acquisition& acquisition,
                      const Connection& connection, GraphControl& graph, WaveGraphForm& form,
                      RefreshTimer& timer);
  ~WaveGraphController() override;
  WaveGraphController(const WaveGraphController&) = delete;
  WaveGraphController& operator=(const WaveGraphController&) = delete;

  // The view has been created: buttons and boxes that wait for data are disabled, and the mode
  // buttons follow the timer.
  void Initialise();

  // "Refresh": the refresh cycle of the timer (`RefreshAll`).
  void RefreshWaveGraph();
  // Redraws the graph, the lists and the slots of CH1 and CH2 from the acquisition store.
  void RedrawWaveGraph();
  // Plot `slot` shows the first `count` samples, when the graph draws that count. Otherwise the
  // plot of CH1 or CH2 keeps what it showed and the plot of a file slot is emptied.
  void PlotSlot(const uint8_t* samples, int count, int slot);

  // The request boxes, read at the start of a timer refresh.
  RequestOptions ReadRequestOptions();

  void PressAuto();
  void PressManual();
  // The mode buttons after the refresh timer was stopped or started elsewhere.
  void SetAutoButtonEnabled(bool auto_enabled) { form_.EnableModeButtons(auto_enabled); }

  // The "Graph Show" box of slot 1..7 was clicked.
  void ToggleShow(int slot);
  // A wave was loaded from a file into slot 3..7 and is shown or hidden as `mode` says.
  void ShowLoadedSlot(int slot, LoadMode mode);

  void Copy();
  void Print();

  const WaveGraphFields& fields() const { return fields_; }
  GraphControl& graph() { return graph_; }

 private:
  void ButtonsEnabled(ButtonGroup group) override;
  // Steps 1 and 2 of the redraw for CH1 or CH2: the slot and the plot.
  void RedrawChannelSlot(int channel);
  // The plot and the level marker of CH1 or CH2.
  void ShowChannelMarker(int channel);

  ViewContext context_;
  Acquisition& acquisition_;
  const Connection& connection_;
  GraphControl& graph_;
  WaveGraphForm& form_;
  RefreshTimer& timer_;
  WaveGraphFields fields_;
};

}  // namespace korvelane
