// SPDX-License-Identifier: GPL-3.0-or-later
// Link tests: waiting for a condition and for the device changes a link reports, and the
// program's way of exchanging through a link.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include "core/protocol/frame.h"
#include "core/protocol/usb_link.h"
#include "support/messages.h"

namespace korvelane::testing {

// Polls `done` every 10 ms until it holds or the time is up.
template <typename Predicate>
bool WaitUntil(Predicate done, int milliseconds = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// Device-change notifications from a link's background thread, counted by kind.
class Notifications {
 public:
  void Add(uintptr_t wparam) { ++Of(wparam); }
  bool WaitFor(uintptr_t wparam) {
    return WaitUntil([&] { return Of(wparam) > 0; });
  }
  bool none() const { return arrivals_ == 0 && removals_ == 0; }

 private:
  std::atomic<int>& Of(uintptr_t wparam) {
    return wparam == kDeviceArrival ? arrivals_ : removals_;
  }
  std::atomic<int> arrivals_{0};
  std::atomic<int> removals_{0};
};

inline Bytes RequestBytes(void (*build)(MessageBuffer&)) {
  MessageBuffer request{};
  build(request);
  return Bytes(request.begin(), request.begin() + static_cast<long>(RequestSize(request)));
}

// The program's exchange: the whole request in one write, then the header, then the whole
// message. The whole answer, or an empty one when a read fails.
inline Bytes ReadAnswer(UsbLink& link) {
  MessageBuffer buffer{};
  if (!link.UsbRead(kPipeIn, buffer.data(), kHeaderSize))
    return {};
  const uint32_t size = MsgLen(ByteView(buffer.data(), kHeaderSize)) + kHeaderSize;
  if (size > buffer.size() || !link.UsbRead(kPipeIn, buffer.data(), size))
    return {};
  return Bytes(buffer.begin(), buffer.begin() + size);
}

inline int Write(UsbLink& link, const Bytes& request) {
  return link.UsbWrite(kPipeOut, request.data(), static_cast<uint32_t>(request.size()));
}

}  // namespace korvelane::testing
