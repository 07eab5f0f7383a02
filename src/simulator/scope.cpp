// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/scope.h"

#include <algorithm>
#include <cmath>

#include "core/protocol/panel_codes.h"
#include "core/protocol/unit_table.h"

namespace korvelane::sim {
namespace {

constexpr ScaleStep kVoltsDiv[] = {
    {2, kUnitMv, 0.002}, {5, kUnitMv, 0.005}, {10, kUnitMv, 0.01}, {20, kUnitMv, 0.02},
    {50, kUnitMv, 0.05}, {100, kUnitMv, 0.1}, {200, kUnitMv, 0.2}, {500, kUnitMv, 0.5},
    {1, kUnitV, 1.0},    {2, kUnitV, 2.0},    {5, kUnitV, 5.0},    {10, kUnitV, 10.0},
};

constexpr ScaleStep kTimeDiv[] = {
    {2, kUnitNs, 2e-9},   {5, kUnitNs, 5e-9},   {10, kUnitNs, 1e-8},  {20, kUnitNs, 2e-8},
    {50, kUnitNs, 5e-8},  {100, kUnitNs, 1e-7}, {200, kUnitNs, 2e-7}, {500, kUnitNs, 5e-7},
    {1, kUnitUs, 1e-6},   {2, kUnitUs, 2e-6},   {5, kUnitUs, 5e-6},   {10, kUnitUs, 1e-5},
    {20, kUnitUs, 2e-5},  {50, kUnitUs, 5e-5},  {100, kUnitUs, 1e-4}, {200, kUnitUs, 2e-4},
    {500, kUnitUs, 5e-4}, {1, kUnitMs, 1e-3},   {2, kUnitMs, 2e-3},   {5, kUnitMs, 5e-3},
    {10, kUnitMs, 1e-2},  {20, kUnitMs, 2e-2},  {50, kUnitMs, 5e-2},  {100, kUnitMs, 0.1},
    {200, kUnitMs, 0.2},  {500, kUnitMs, 0.5},  {1, kUnitS, 1.0},     {2, kUnitS, 2.0},
    {5, kUnitS, 5.0},     {10, kUnitS, 10.0},   {20, kUnitS, 20.0},   {50, kUnitS, 50.0},
};

constexpr int kScreenDivisions = 10;
constexpr int kAllDataDivisions = 16;
constexpr int kAllDataCount = 4000;
constexpr double kScanFrom = 0.1;  // s/div from which the screen rolls

// Samples across the screen: fewer at the fastest time bases.
int ScreenCount(int time_div) {
  static constexpr int kCounts[] = {250, 250, 500, 1000, 1250, 2000};
  return time_div < 6 ? kCounts[std::max(time_div, 0)] : 2500;
}

// The smallest step of a 1-2-5 scale that is at least `wanted`.
int StepAtLeast(const ScaleStep* steps, int count, double wanted) {
  for (int i = 0; i < count; ++i) {
    if (steps[i].si >= wanted * 0.999)
      return i;
  }
  return count - 1;
}

// Signal time of the rising crossing of `level`, or a negative value when there is none.
double RisingCrossing(const SignalShape& signal, double level) {
  if (level <= signal.low || level >= signal.high)
    return -1;
  const double fraction = (level - signal.low) / signal.peak_to_peak();  // 0..1
  if (signal.kind == SignalShape::kSquare)
    return fraction * signal.edge;
  constexpr double kPi = 3.14159265358979323846;
  const double t = std::asin(2 * fraction - 1) / (2 * kPi * signal.frequency);
  return t < 0 ? t + signal.period() : t;
}

}  // namespace

int VoltsDivCount() {
  return static_cast<int>(std::size(kVoltsDiv));
}
const ScaleStep& VoltsDivStep(int index) {
  return kVoltsDiv[std::clamp(index, 0, VoltsDivCount() - 1)];
}
int TimeDivCount() {
  return static_cast<int>(std::size(kTimeDiv));
}
const ScaleStep& TimeDivStep(int index) {
  return kTimeDiv[std::clamp(index, 0, TimeDivCount() - 1)];
}

bool ScopeState::operator==(const ScopeState& o) const {
  return running == o.running && single == o.single && single_armed == o.single_armed &&
         cursor == o.cursor && math == o.math && ref == o.ref && ch1 == o.ch1 && ch2 == o.ch2 &&
         time_div == o.time_div && hor_steps == o.hor_steps && trigger_uv == o.trigger_uv &&
         menu == o.menu && menu_item == o.menu_item && cursor_x == o.cursor_x;
}

Scope::Scope(uint32_t seed) : seed_(seed) {
  NewAcquisition(false);
}

void Scope::SetState(const ScopeState& state) {
  state_ = state;
  if (state_.ref && reference_.empty())
    reference_ = Samples(1, false);
  NewAcquisition(false);
}

bool Scope::CanTrigger() const {
  return RisingCrossing(InputSignal(1), TriggerVolts()) >= 0;
}

void Scope::NewAcquisition(bool forced) {
  ++frame_;
  const double crossing = forced ? -1 : RisingCrossing(InputSignal(1), TriggerVolts());
  if (crossing >= 0) {
    shift_ = crossing;
  } else {
    // Untriggered: the screen shows the signals from wherever the sweep started.
    shift_ = UnitRandom(MixBits(seed_) ^ frame_) * InputSignal(1).period();
  }
}

void Scope::Acquire() {
  if (state_.single_armed) {
    if (CanTrigger()) {
      NewAcquisition(false);
      state_.single_armed = false;
      state_.running = false;
    }
    return;
  }
  if (state_.running)
    NewAcquisition(false);
}

AcqStatus Scope::Status() const {
  if (state_.single_armed)
    return kStatusReady;
  if (!state_.running)
    return kStatusStop;
  if (TimeDivStep(state_.time_div).si >= kScanFrom)
    return kStatusScan;
  return CanTrigger() ? kStatusTrigd : kStatusAuto;
}

std::array<uint8_t, 8> Scope::Lamps(bool remote) const {
  // Byte 4 + k of the parameter record is panel_state entry 7 - k.
  std::array<uint8_t, 8> bytes{};
  auto set = [&bytes](int lamp, uint8_t value) { bytes[7 - lamp] = value; };
  const bool running = state_.running || state_.single_armed;
  set(kLampRunStop, running ? kLampRunning : kLampStopped);
  set(kLampIndicator, remote ? 1 : 0);
  set(kLampSingle, state_.single ? 1 : 0);
  set(kLampCh1, state_.ch1.on ? 1 : 0);
  set(kLampCh2, state_.ch2.on ? 1 : 0);
  set(kLampMath, state_.math ? 1 : 0);
  set(kLampRef, state_.ref ? 1 : 0);
  set(kLampCursor, state_.cursor ? 1 : 0);
  return bytes;
}

RecordTiming Scope::Timing(bool all_data) const {
  const double per_div = TimeDivStep(state_.time_div).si;
  RecordTiming timing;
  timing.count = all_data ? kAllDataCount : ScreenCount(state_.time_div);
  const int divisions = all_data ? kAllDataDivisions : kScreenDivisions;
  timing.interval = divisions * per_div / timing.count;
  const double hor_position = state_.hor_steps * per_div / 25.0;
  timing.first_time = -(timing.count / 2) * timing.interval - hor_position;
  return timing;
}

VerticalScale Scope::Scale(int channel) const {
  const ChannelSettings& c = state_.channel(channel);
  return VerticalScale{VoltsDivStep(c.volts_div).si, c.position};
}

std::vector<uint8_t> Scope::Samples(int channel, bool all_data) const {
  const uint64_t key =
      MixBits(seed_ ^ MixBits(frame_ * 4 + (channel == 2 ? 2 : 0) + (all_data ? 1 : 0)));
  return SynthesizeSamples(InputSignal(channel), Scale(channel), Timing(all_data), shift_, key);
}

Measurements Scope::MeasureRecord(int channel, bool all_data) const {
  const std::vector<uint8_t> samples = Samples(channel, all_data);
  return Measure(samples.data(), static_cast<int>(samples.size()), Scale(channel),
                 Timing(all_data).interval);
}

bool Scope::PressKey(uint8_t code, uint8_t value) {
  // Knob n turns with 16n + 15 (increase) and 16n + 17 (decrease).
  for (int knob = kKnobSdiv; knob <= kKnobCh2VerPosition; ++knob) {
    if (code == KnobIncreaseCode(knob)) {
      TurnKnob(knob, value);
      return true;
    }
    if (code == KnobDecreaseCode(knob)) {
      TurnKnob(knob, -static_cast<int>(value));
      return true;
    }
  }
  ScopeState& s = state_;
  switch (code) {
    case kKeyRunStop:
      if (s.running || s.single_armed) {
        s.running = false;
        s.single_armed = false;
      } else {
        s.running = true;
        s.single = false;
        NewAcquisition(false);
      }
      return true;
    case kKeySingle:
      s.single = true;
      s.single_armed = true;
      s.running = false;
      Acquire();
      return true;
    case kKeyForce:
      if (s.single_armed) {
        s.single_armed = false;
        NewAcquisition(true);
      } else if (s.running) {
        NewAcquisition(true);
      }
      return true;
    case kKeyCh1:
      s.ch1.on = !s.ch1.on;
      return true;
    case kKeyCh2:
      s.ch2.on = !s.ch2.on;
      return true;
    case kKeyMath:
      s.math = !s.math;
      return true;
    case kKeyRef:
      s.ref = !s.ref;
      reference_ = s.ref ? Samples(1, false) : std::vector<uint8_t>();
      return true;
    case kKeyCursor:
      s.cursor = !s.cursor;
      return true;
    case kKeyAuto:
      AutoSet();
      return true;
    case kKeyDefaultSetup:
      state_ = ScopeState();
      reference_.clear();
      NewAcquisition(false);
      return true;
    case kKeySetTo50:
      s.trigger_uv = static_cast<int32_t>(std::lround(InputSignal(1).middle() * 1e6));
      return true;
    case kKeySdivPress:  // pressing the time base knob brings the trigger back to the centre
      s.hor_steps = 0;
      return true;
    case kKeyCh1VdivPress:  // pressing a scale knob centres the channel's 0 V
      s.ch1.position = kMaxPosition / 2;
      return true;
    case kKeyCh2VdivPress:
      s.ch2.position = kMaxPosition / 2;
      return true;
    case kKeyMeasure:
    case kKeyAcquire:
    case kKeyDisplay:
    case kKeySave:
    case kKeyUtility:
    case kKeyTrigMenu:
    case kKeyHoriMenu:
      // A menu key shows its menu, or hides it when it is already shown.
      s.menu = s.menu == code ? 0 : code;
      s.menu_item = 0;
      return true;
    case kKeyMb1:
    case kKeyMb2:
    case kKeyMb3:
    case kKeyMb4:
    case kKeyMb5:
      if (s.menu != 0) {
        static constexpr uint8_t kOrder[] = {kKeyMb1, kKeyMb2, kKeyMb3, kKeyMb4, kKeyMb5};
        s.menu_item = static_cast<uint8_t>(std::find(kOrder, kOrder + 5, code) - kOrder + 1);
      }
      return true;
    default:
      return false;
  }
}

void Scope::TurnKnob(int knob, int steps) {
  ScopeState& s = state_;
  switch (knob) {
    case kKnobSdiv:
      s.time_div = std::clamp(s.time_div + steps, 0, TimeDivCount() - 1);
      break;
    case kKnobCh1Vdiv:
    case kKnobCh2Vdiv: {
      ChannelSettings& c = s.channel(knob == kKnobCh1Vdiv ? 1 : 2);
      c.volts_div = std::clamp(c.volts_div + steps, 0, VoltsDivCount() - 1);
      break;
    }
    case kKnobUniversal:
      // Moves the cursor while it is shown, else walks through the items of the menu shown.
      if (s.cursor) {
        s.cursor_x = std::clamp(s.cursor_x + steps, 0, kCursorColumns - 1);
      } else if (s.menu != 0) {
        s.menu_item = static_cast<uint8_t>(std::clamp(s.menu_item + steps, 1, 5));
      }
      break;
    case kKnobLevel: {
      // One step is one screen unit of CH1; the level stays on the screen.
      const double per_unit_uv = Scale(1).volts_per_code() * 1e6;
      const double lowest = -s.ch1.position * per_unit_uv;
      const double highest = (kMaxPosition - s.ch1.position) * per_unit_uv;
      const double level = std::clamp(s.trigger_uv + steps * per_unit_uv, lowest, highest);
      s.trigger_uv = static_cast<int32_t>(std::lround(level));
      break;
    }
    case kKnobHorPosition:
      s.hor_steps = std::clamp(s.hor_steps + steps, -kMaxHorSteps, kMaxHorSteps);
      break;
    case kKnobCh1VerPosition:
    case kKnobCh2VerPosition: {
      ChannelSettings& c = s.channel(knob == kKnobCh1VerPosition ? 1 : 2);
      c.position = std::clamp(c.position + steps, 0, kMaxPosition);
      break;
    }
    default:
      break;
  }
}

void Scope::AutoSet() {
  // Both channels on, each swing over about three divisions, CH1 in the upper half of the
  // screen and CH2 in the lower, two to five cycles of CH1 across, triggered at its middle.
  ScopeState& s = state_;
  s.running = true;
  s.single = false;
  s.single_armed = false;
  s.hor_steps = 0;
  for (int n = 1; n <= 2; ++n) {
    const SignalShape& signal = InputSignal(n);
    ChannelSettings& c = s.channel(n);
    c.on = true;
    c.volts_div = StepAtLeast(kVoltsDiv, VoltsDivCount(), signal.peak_to_peak() / 3);
    const double units_per_volt = 25.0 / VoltsDivStep(c.volts_div).si;
    const int centre = n == 1 ? 150 : 50;
    c.position = std::clamp(
        static_cast<int>(std::lround(centre - signal.middle() * units_per_volt)), 0, kMaxPosition);
  }
  s.time_div = StepAtLeast(kTimeDiv, TimeDivCount(), 3 * InputSignal(1).period() / 10);
  s.trigger_uv = static_cast<int32_t>(std::lround(InputSignal(1).middle() * 1e6));
  NewAcquisition(false);
}

}  // namespace korvelane::sim
