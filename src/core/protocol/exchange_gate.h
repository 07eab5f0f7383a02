// Marks the time during which an exchange with the instrument is under way. The waits between a
// request and its answer keep the user interface's timers running, so a refresh tick may arrive
// in the middle of another exchange; the refresh cycle asks the gate and lets such a tick pass.
#pragma once

namespace korvelane {

class ExchangeGate {
 public:
  // Held for the length of one command that talks to the instrument.
  class Hold {
   public:
    explicit Hold(ExchangeGate& gate) : gate_(gate) { ++gate_.depth_; }
    ~Hold() { --gate_.depth_; }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    ExchangeGate& gate_;
  };

  bool busy() const { return depth_ > 0; }

 private:
  int depth_ = 0;
};

}  // namespace korvelane
