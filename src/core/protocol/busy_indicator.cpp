// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/busy_indicator.h"

namespace korvelane {
namespace {
constexpr int kStepPoints = 10;
constexpr int kStepSleepMs = 2;
constexpr int kFinishSleepMs = 5;
constexpr const char* kBusyText = "Communicating ...";
constexpr const char* kReadyText = "Ready...";
constexpr double kMostSteps = 1000;  // far beyond a full bar; keeps the count an int

// 10 / divisor x multiplier, in floating point, truncated.
int StepCount(int divisor, int multiplier) {
  const double steps = 10.0 / divisor * multiplier;
  return steps <= 0 ? 0 : static_cast<int>(steps < kMostSteps ? steps : kMostSteps);
}
}  // namespace

void BusyIndicator::SetPosition(int position) {
  // The bar holds no position outside its range.
  position_ = position < 0 ? 0 : position > kMaxPosition ? kMaxPosition : position;
  ui_.SetProgressPosition(position_);
}

void BusyIndicator::Finish() {
  SetPosition(0);
  ui_.SetPaneText(1, kReadyText);
}

void BusyIndicator::ShowProgress(int divisor, int multiplier) {
  if (divisor == 0 || multiplier == 0) {
    if (position_ > 0 && position_ < kMaxPosition) {
      pacing_.Pause(kFinishSleepMs);
      SetPosition(kMaxPosition);
    }
    Finish();
    return;
  }
  if (divisor < 0)
    return;
  ui_.SetPaneText(1, kBusyText);
  if (divisor == 1) {
    for (int position = kStepPoints; position <= kMaxPosition; position += kStepPoints) {
      pacing_.Pause(kStepSleepMs);
      SetPosition(position);
    }
    Finish();
    return;
  }
  const int steps = StepCount(divisor, multiplier);
  int position = position_;
  for (int i = 0; i < steps; ++i) {
    pacing_.Pause(kStepSleepMs);
    position += kStepPoints;
    SetPosition(position);
  }
  if (position == kMaxPosition)
    Finish();
}

}  // namespace korvelane
