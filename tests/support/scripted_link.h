// SPDX-License-Identifier: GPL-3.0-or-later
// A UsbLink that answers from a script written by the test and records every request.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "core/protocol/usb_link.h"
#include "support/messages.h"

namespace korvelane::testing {

class ScriptedLink : public UsbLink {
 public:
  enum class Fault {
    kNone,
    kWriteFails,       // the next UsbWrite fails
    kHeaderReadFails,  // the next 16-byte read fails
    kBodyReadFails,    // the next whole-message read fails
  };

  // The next exchange is answered with `message` (whole, header first).
  void QueueAnswer(const Bytes& message) { steps_.push_back({message, Fault::kNone}); }
  // The next exchange is answered `after_ms` after the read for it starts: a read waiting less
  // fails, and the answer is lost.
  void QueueLateAnswer(const Bytes& message, int after_ms) {
    steps_.push_back({message, Fault::kNone, after_ms});
  }
  // The next exchange suffers `fault`; a write fault is followed by an unanswered read.
  void QueueFault(Fault fault, const Bytes& message = {}) { steps_.push_back({message, fault}); }

  int UsbOpen(uintptr_t window) override;
  void UsbClose() override { open_ = false; }
  void UsbDeviceChange(uintptr_t wparam, intptr_t lparam) override;
  int UsbIsOpen() override { return open_ ? 1 : 0; }
  int UsbRead(int pipe, uint8_t* buffer, uint32_t count) override {
    read_timeouts_.push_back(kOwnTimeout);
    return Read(pipe, buffer, count, read_timeout_ms);
  }
  int UsbReadWithin(int pipe, uint8_t* buffer, uint32_t count, int timeout_ms) override {
    read_timeouts_.push_back(timeout_ms);
    return Read(pipe, buffer, count, timeout_ms);
  }
  int UsbReadTimeoutMs() const override { return read_timeout_ms; }
  int UsbWrite(int pipe, const uint8_t* buffer, uint32_t count) override;
  void SetDeviceChangeNotifier(DeviceChangeNotifier notifier) override {
    notifier_ = std::move(notifier);
  }

  // Makes the link report a plug event as the operating system would.
  void Unplug();
  void Plug();

  const std::vector<Bytes>& writes() const { return writes_; }
  const std::vector<uint32_t>& read_sizes() const { return read_sizes_; }
  // The time-out each read was given; kOwnTimeout for a plain UsbRead.
  static constexpr int kOwnTimeout = -1;
  const std::vector<int>& read_timeouts() const { return read_timeouts_; }
  size_t pending_steps() const { return steps_.size(); }

  bool open_ = true;
  bool open_succeeds = true;
  int read_timeout_ms = 1000;
  bool present = true;
  int open_calls = 0;
  int close_calls = 0;
  std::vector<uintptr_t> device_changes;

 private:
  struct Step {
    Bytes message;
    Fault fault;
    int after_ms = 0;
  };
  int Read(int pipe, uint8_t* buffer, uint32_t count, int timeout_ms);

  std::deque<Step> steps_;
  Step current_{};
  bool have_current_ = false;
  bool header_done_ = false;
  std::vector<Bytes> writes_;
  std::vector<uint32_t> read_sizes_;
  std::vector<int> read_timeouts_;
  DeviceChangeNotifier notifier_;
};

}  // namespace korvelane::testing
