// SPDX-License-Identifier: GPL-3.0-or-later
// Marks the time during which an exchange with the instrument is under way. The waits between a
// request and its answer keep the user interface's events flowing, so a refresh tick, a device
// change or a close request may arrive in the middle of an exchange: the refresh cycle asks the
// gate and lets such a tick pass; the others wait on the gate until the exchange is over.
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace korvelane {

class ExchangeGate {
 public:
  // Held for the length of one command that talks to the instrument.
  class Hold {
   public:
    explicit Hold(ExchangeGate& gate) : gate_(gate) { ++gate_.depth_; }
    ~Hold() { gate_.Release(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    ExchangeGate& gate_;
  };

  bool busy() const { return depth_ > 0; }

  // Runs `action` now when no exchange is under way, otherwise as soon as the exchange ends, in
  // the order asked.
  void AfterExchange(std::function<void()> action) {
    if (busy())
      waiting_.push_back(std::move(action));
    else
      action();
  }

 private:
  void Release() {
    if (--depth_ > 0)
      return;
    std::vector<std::function<void()>> due;
    due.swap(waiting_);
    for (const std::function<void()>& action : due)
      action();
  }

  int depth_ = 0;
  std::vector<std::function<void()>> waiting_;
};

}  // namespace korvelane
