// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual front panel's behaviour: key presses sent to the instrument, knob steps counted on
// the PC and sent in one go by "Knob Done", knob presses, and the lamps drawn from the
// front-panel state bytes of the acquisition store. The window only shows what it is told.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/common/user_interface.h"
#include "core/logs/operate_log.h"
#include "core/panel/lamp_colours.h"
#include "core/panel/panel_tables.h"
#include "core/protocol/acquisition.h"
#include "core/protocol/acquisition_store.h"
#include "core/protocol/busy_indicator.h"
#include "core/protocol/connection.h"

namespace korvelane {

// What the panel's window shows.
class PanelView {
 public:
  virtual ~PanelView() = default;
  // The colours of the lamp key that shows `panel_state`[lamp].
  virtual void SetLampColours(int lamp, const LampColours& colours) = 0;
  // The indicator lamp beside "SAVE".
  virtual void SetIndicator(bool on) = 0;
  // The texts after "Current Knob:" and "Knob Scale：".
  virtual void ShowKnobTexts(const std::string& current_knob, const std::string& knob_scale) = 0;
  // The system's button-face colour, the rest colour of an unlit lamp.
  virtual LampColour ButtonFaceColour() const = 0;
};

// What the panel works with: the lamp states in the store, the key exchange of the connection,
// the parameter fetch that re-reads the lamps, and the progress bar around them.
struct PanelContext {
  AcquisitionStore& store;
  Connection& connection;
  Acquisition& acquisition;
  BusyIndicator& busy;
  UserInterface& ui;
  OperateLog& operate_log;
  std::function<bool()> auto_refresh;  // the refresh timer is running
};

class SimulantPanel {
 public:
  static constexpr const char* kNoKnobText = "There is no Knob oper";
  static constexpr const char* kNoStepsText = "0";
  static constexpr const char* kDoneText = "Simulant Pane Oper is Complete";
  // The step count travels in one byte.
  static constexpr int kMostStepsPerSend = 255;

  SimulantPanel(const PanelContext& context, PanelView& view);
  SimulantPanel(const SimulantPanel&) = delete;
  SimulantPanel& operator=(const SimulantPanel&) = delete;

  // Before the window is shown: without automatic refresh the lamp states are fetched afresh.
  void PrepareOpening();
  // As the window is created: no knob selected, the lamps drawn. True when "Refresh" is to be
  // shown (automatic refresh is off).
  bool Open();

  // A key or lamp key of kPanelKeys: drops pending knob steps, sends the key, redraws the lamps.
  void PressKey(uint8_t code);
  // One click on a knob's arrow: `direction` > 0 increase, < 0 decrease. Nothing is sent yet.
  void StepKnob(int knob, int direction);
  // A knob-press button of kKnobPresses.
  void PressKnob(uint8_t code);
  // Sends the pending steps of the selected knob.
  void KnobDone();
  // Re-reads the lamp states from the instrument.
  void Refresh();
  // Draws the lamps from `panel_state` and puts the store's parameter fields back to their start
  // values; also called after each automatic refresh while the panel is open.
  void UpdatePanelLamps();
  // Forgets the selected knob and its pending steps.
  void ResetKnobState();

  const std::array<int32_t, kPanelKnobCount>& knob_markers() const { return markers_; }
  int32_t step_count() const { return step_count_; }
  const std::string& current_knob_text() const { return current_knob_text_; }
  const std::string& knob_scale_text() const { return knob_scale_text_; }

 private:
  bool auto_refresh() const { return auto_refresh_ && auto_refresh_(); }
  void ClearKnobs();
  void ShowTexts();
  // The colours of a two-state lamp and of the RUN/STOP lamp.
  LampColours TwoStateColours(uint8_t state) const;
  LampColours RunStopColours(uint8_t state) const;
  void ResetParameterFields();

  AcquisitionStore& store_;
  Connection& connection_;
  Acquisition& acquisition_;
  BusyIndicator& busy_;
  UserInterface& ui_;
  OperateLog& operate_log_;
  std::function<bool()> auto_refresh_;
  PanelView& view_;
  std::array<int32_t, kPanelKnobCount> markers_{};
  int32_t step_count_ = 0;
  std::string current_knob_text_ = kNoKnobText;
  std::string knob_scale_text_ = kNoStepsText;
};

}  // namespace korvelane
