// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated oscilloscope itself: its front-panel settings, how its keys and knobs change
// them, and the acquisitions it takes.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "simulator/measure.h"
#include "simulator/waveform.h"

namespace korvelane::sim {

// One setting of a 1-2-5 scale as the instrument reports it: a number and a unit index.
struct ScaleStep {
  float value;
  int8_t unit;
  double si;  // the same in volts or seconds
};

int VoltsDivCount();
const ScaleStep& VoltsDivStep(int index);  // 2 mV .. 10 V
int TimeDivCount();
const ScaleStep& TimeDivStep(int index);  // 2 ns .. 50 s

// Values of the RUN/STOP lamp.
constexpr uint8_t kLampRunning = 1;
constexpr uint8_t kLampStopped = 2;

// Acquisition status of the parameter record.
enum AcqStatus : uint8_t { kStatusStop = 0, kStatusAuto, kStatusReady, kStatusTrigd, kStatusScan };

struct ChannelSettings {
  bool on = true;
  int volts_div = 7;   // index into the volts/div steps
  int position = 100;  // 0 V, in screen units above the bottom (0..200)

  bool operator==(const ChannelSettings& o) const {
    return on == o.on && volts_div == o.volts_div && position == o.position;
  }
};

constexpr int kMaxPosition = 200;
constexpr int kMaxHorSteps = 250;  // horizontal position, 1/25 division a step, either way
constexpr int kCursorColumns = 300;

// Everything the front panel sets. The settings block carries all of it.
struct ScopeState {
  bool running = true;
  bool single = false;        // single-shot mode (its lamp)
  bool single_armed = false;  // waiting for the trigger of a single shot
  bool cursor = false;
  bool math = false;
  bool ref = false;
  ChannelSettings ch1{true, 7, 140};
  ChannelSettings ch2{true, 8, 30};
  int time_div = 16;       // 500 us
  int hor_steps = 0;       // horizontal position
  int32_t trigger_uv = 0;  // trigger level on CH1, microvolts
  uint8_t menu = 0;        // key code of the menu shown, 0 for none
  uint8_t menu_item = 0;   // 1..5 once a menu key chose one
  int cursor_x = 150;      // 0..299

  ChannelSettings& channel(int n) { return n == 2 ? ch2 : ch1; }
  const ChannelSettings& channel(int n) const { return n == 2 ? ch2 : ch1; }
  bool operator==(const ScopeState& o) const;
};

class Scope {
 public:
  explicit Scope(uint32_t seed);

  const ScopeState& state() const { return state_; }
  // Takes settings (from a settings block); a new acquisition follows.
  void SetState(const ScopeState& state);

  // Acts on a panel key (value ignored) or a knob turn (value = steps). False for a code the
  // panel does not have.
  bool PressKey(uint8_t code, uint8_t value);

  // The instrument acquires continuously; each parameter request sees a new acquisition while it
  // runs, and a waiting single shot fires once it can trigger.
  void Acquire();
  AcqStatus Status() const;
  // Parameter-record bytes 4..11. `remote` lights the indicator lamp.
  std::array<uint8_t, 8> Lamps(bool remote) const;

  // Timing of a record: the screen (10 divisions) or all data (4000 samples, 16 divisions).
  RecordTiming Timing(bool all_data) const;
  VerticalScale Scale(int channel) const;
  std::vector<uint8_t> Samples(int channel, bool all_data) const;
  Measurements MeasureRecord(int channel, bool all_data) const;

  // Reference trace stored when REF was switched on (screen samples of CH1).
  const std::vector<uint8_t>& reference() const { return reference_; }
  double TriggerVolts() const { return state_.trigger_uv * 1e-6; }

 private:
  void NewAcquisition(bool forced);
  bool CanTrigger() const;
  void TurnKnob(int knob, int steps);
  void AutoSet();

  uint32_t seed_;
  ScopeState state_;
  uint64_t frame_ = 0;  // number of the current acquisition
  double shift_ = 0;    // signal time at the trigger point
  std::vector<uint8_t> reference_;
};

}  // namespace korvelane::sim
