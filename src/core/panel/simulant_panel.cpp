// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/panel/simulant_panel.h"

#include <cstdio>
#include <limits>

namespace korvelane {
namespace {

// A busy indicator's divisor for each kind of action.
constexpr int kKeyProgress = 4;
constexpr int kKnobProgress = 3;
constexpr int kOpenProgress = 2;

std::string FormatSteps(const char* format, int32_t steps) {
  char text[16];
  std::snprintf(text, sizeof text, format, static_cast<int>(steps));
  return text;
}

}  // namespace

SimulantPanel::SimulantPanel(const PanelContext& context, PanelView& view)
    : store_(context.store),
      connection_(context.connection),
      acquisition_(context.acquisition),
      busy_(context.busy),
      ui_(context.ui),
      operate_log_(context.operate_log),
      auto_refresh_(context.auto_refresh),
      view_(view) {}

void SimulantPanel::PrepareOpening() {
  if (auto_refresh())
    return;
  ui_.SetWaitCursor(true);
  store_.panel_state.fill(0);
  busy_.ShowProgress(kOpenProgress, 1);
  acquisition_.FetchFromDevice(kFetchParams);  // the lamps show what came, if anything
  busy_.ShowProgress(kOpenProgress, 1);
  ui_.SetWaitCursor(false);
}

bool SimulantPanel::Open() {
  ClearKnobs();
  current_knob_text_ = kNoKnobText;
  knob_scale_text_ = kNoStepsText;
  ShowTexts();
  UpdatePanelLamps();
  return !auto_refresh();
}

void SimulantPanel::ClearKnobs() {
  markers_.fill(0);
  step_count_ = 0;
}

void SimulantPanel::ShowTexts() {
  view_.ShowKnobTexts(current_knob_text_, knob_scale_text_);
}

void SimulantPanel::ResetKnobState() {
  if (current_knob_text_ == kNoKnobText)
    return;
  ClearKnobs();
  knob_scale_text_ = kNoStepsText;
  current_knob_text_ = kNoKnobText;
  ShowTexts();
}

void SimulantPanel::PressKey(uint8_t code) {
  const PanelKeyEntry* key = FindPanelKey(code);
  if (!key)
    return;
  operate_log_.RecordOperation(key->log_text);
  ResetKnobState();
  ui_.SetWaitCursor(true);
  const bool automatic = auto_refresh();
  if (!automatic)
    store_.panel_state.fill(0);
  busy_.ShowProgress(kKeyProgress, 1);
  if (connection_.SendPanelKey(code, 1)) {
    busy_.ShowProgress(kKeyProgress, 2);
    // With the timer running the next tick brings the new lamp states anyway.
    if (automatic || acquisition_.FetchFromDevice(kFetchParams))
      UpdatePanelLamps();
  }
  busy_.ShowProgress(kKeyProgress, 0);
  ui_.SetWaitCursor(false);
}

void SimulantPanel::StepKnob(int knob, int direction) {
  const int row = KnobRow(knob);
  if (row < 0 || direction == 0)
    return;
  const PanelKnobEntry& entry = kPanelKnobs[row];
  if (markers_[row] == 0) {
    ClearKnobs();
    current_knob_text_ = entry.name;
    operate_log_.RecordOperation(entry.log_text);
  }
  // One unit per click whatever the arrow proposes; the count stops short of the int range so
  // that its magnitude always exists.
  constexpr int32_t kMost = std::numeric_limits<int32_t>::max();
  if (direction > 0) {
    markers_[row] = 1;
    if (step_count_ < kMost)
      ++step_count_;
  } else {
    markers_[row] = -1;
    if (step_count_ > -kMost)
      --step_count_;
  }
  knob_scale_text_ = FormatSteps(entry.scale_format, step_count_);
  ShowTexts();
}

void SimulantPanel::PressKnob(uint8_t code) {
  const KnobPressEntry* press = FindKnobPress(code);
  if (!press)
    return;
  ClearKnobs();
  knob_scale_text_ = kNoStepsText;
  current_knob_text_ = kPanelKnobs[KnobRow(press->knob)].name;
  ShowTexts();
  operate_log_.RecordOperation(press->log_text);
  ui_.SetWaitCursor(true);
  busy_.ShowProgress(kKnobProgress, 1);
  connection_.SendPanelKey(code, 1);
  busy_.ShowProgress(kKnobProgress, 0);
  ui_.SetWaitCursor(false);
}

void SimulantPanel::KnobDone() {
  if (step_count_ == 0) {
    if (current_knob_text_ == kNoKnobText)
      return;
    operate_log_.RecordOperation(kDoneText);
    ResetKnobState();
    return;
  }
  int row = 0;
  while (row < kPanelKnobCount && markers_[row] == 0)
    ++row;
  if (row == kPanelKnobCount)
    return;
  const int knob = kPanelKnobs[row].knob;
  const uint8_t code = step_count_ > 0 ? KnobIncreaseCode(knob) : KnobDecreaseCode(knob);
  step_count_ = step_count_ < 0 ? -step_count_ : step_count_;
  // More steps than one byte holds send as many as it can: the low 8 bits alone would turn 256
  // steps into none and 300 into 44.
  const uint8_t value =
      static_cast<uint8_t>(step_count_ > kMostStepsPerSend ? kMostStepsPerSend : step_count_);
  ui_.SetWaitCursor(true);
  busy_.ShowProgress(kKnobProgress, 1);
  connection_.SendPanelKey(code, value);
  busy_.ShowProgress(kKnobProgress, 0);
  ui_.SetWaitCursor(false);
  // The steps are gone whether the instrument took them or not.
  ResetKnobState();
  operate_log_.RecordOperation(kDoneText);
}

void SimulantPanel::Refresh() {
  ui_.SetWaitCursor(true);
  busy_.ShowProgress(kKnobProgress, 1);
  if (acquisition_.FetchFromDevice(kFetchParams)) {
    busy_.ShowProgress(kKnobProgress, 1);
    UpdatePanelLamps();
  }
  busy_.ShowProgress(kKnobProgress, 0);
  ui_.SetWaitCursor(false);
}

LampColours SimulantPanel::TwoStateColours(uint8_t state) const {
  if (state != 0)
    return {kLampGreen, kLampMagenta};
  return {view_.ButtonFaceColour(), kLampBlack};
}

LampColours SimulantPanel::RunStopColours(uint8_t state) const {
  switch (state) {
    case 1:
      return {kLampGreen, kLampMagenta};
    case 2:
      return {kLampRed, kLampWhite};
    default:
      return {view_.ButtonFaceColour(), kLampBlack};
  }
}

void SimulantPanel::UpdatePanelLamps() {
  const auto& state = store_.panel_state;
  view_.SetLampColours(kLampRunStop, RunStopColours(state[kLampRunStop]));
  for (int lamp : {kLampSingle, kLampCursor, kLampCh1, kLampCh2, kLampMath, kLampRef})
    view_.SetLampColours(lamp, TwoStateColours(state[static_cast<size_t>(lamp)]));
  view_.SetIndicator(state[kLampIndicator] != 0);
  ResetParameterFields();
}

void SimulantPanel::ResetParameterFields() {
  static const AcquisitionStore kStart{};
  AcquisitionStore& store = store_;
  store.acq_status = kStart.acq_status;
  for (int channel = 1; channel <= 2; ++channel) {
    ChannelData& data = store.channel(channel);
    data.enabled = kStart.channel(channel).enabled;
    data.vert_pos = kStart.channel(channel).vert_pos;
    data.volts_text = kStart.channel(channel).volts_text;
  }
  store.sec_div_text = kStart.sec_div_text;
  store.hori_pos_text = kStart.hori_pos_text;
}

}  // namespace korvelane
