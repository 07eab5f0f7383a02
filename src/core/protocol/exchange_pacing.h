// SPDX-License-Identifier: GPL-3.0-or-later
// How the program waits for the instrument. Paced (the default): a fixed sleep between a request
// and the reading of its answer, and short pauses between the busy indicator's steps. Fast
// exchange: no sleeps at all; the answer is read as soon as it arrives, the read being granted
// the wait it would have slept on top of the link's own read time-out, so an answer that comes
// as late as it may today is still taken.
#pragma once

#include <utility>

#include "core/common/user_interface.h"

namespace korvelane {

class ExchangePacing {
 public:
  explicit ExchangePacing(UserInterface& ui) : ui_(ui) {}

  bool fast() const { return fast_; }
  void set_fast(bool fast) { fast_ = fast; }

  // A pause for the eye between the busy indicator's steps.
  void Pause(int milliseconds) {
    if (!fast_)
      ui_.Sleep(milliseconds);
  }

  // The instrument's time for the answer to the request just sent.
  void AwaitAnswer(int milliseconds) {
    if (fast_)
      grace_ms_ += milliseconds;
    else
      ui_.Sleep(milliseconds);
  }

  // The time granted to the next read beyond the link's own time-out; taking it clears it.
  int TakeGrace() { return std::exchange(grace_ms_, 0); }

 private:
  UserInterface& ui_;
  bool fast_ = false;
  int grace_ms_ = 0;
};

}  // namespace korvelane
