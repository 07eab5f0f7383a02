// SPDX-License-Identifier: GPL-3.0-or-later
// The busy indicator: the progress bar over status pane 2 and the text of status pane 1, moved
// on while the instrument is being talked to.
#pragma once

#include "core/common/user_interface.h"
#include "core/protocol/exchange_pacing.h"

namespace korvelane {

class BusyIndicator {
 public:
  static constexpr int kMaxPosition = 100;

  BusyIndicator(UserInterface& ui, ExchangePacing& pacing) : ui_(ui), pacing_(pacing) {}

  // Divisor 0 or multiplier 0 ends the indication ("Ready..."). Divisor 1 fills the bar and ends
  // it. Divisor 2 or more moves the bar on by 10 / divisor x multiplier steps (truncated) of 10
  // points; when the last step lands exactly on 100 the indication ends. A negative divisor does
  // nothing.
  void ShowProgress(int divisor, int multiplier);

  // Position of the bar, 0..100.
  int position() const { return position_; }

 private:
  void SetPosition(int position);
  void Finish();

  UserInterface& ui_;
  ExchangePacing& pacing_;
  int position_ = 0;
};

}  // namespace korvelane
