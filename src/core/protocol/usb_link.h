// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument's USB transfer interface: six operations, called on the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>

namespace korvelane {

// Pipes of the transfer interface.
constexpr int kPipeOut = 7;  // requests, PC to instrument
constexpr int kPipeIn = 8;   // answers, instrument to PC

// Device-change notification codes (the wParam of a device-change message).
constexpr uintptr_t kDeviceArrival = 0x8000;
constexpr uintptr_t kDeviceRemoveComplete = 0x8004;

// Called by a link when it sees the device come or go; may be called from any thread. The
// receiver hands the same two values back to UsbDeviceChange on the user-interface thread.
using DeviceChangeNotifier = std::function<void(uintptr_t wparam, intptr_t lparam)>;

class UsbLink {
 public:
  virtual ~UsbLink() = default;

  // Opens the device; non-zero when it was opened. `window` identifies the receiver of device
  // notifications and may be 0.
  virtual int UsbOpen(uintptr_t window) = 0;
  virtual void UsbClose() = 0;
  // Takes a device-change notification; afterwards UsbIsOpen tells whether the device is there.
  virtual void UsbDeviceChange(uintptr_t wparam, intptr_t lparam) = 0;
  // Non-zero while the device is open and usable.
  virtual int UsbIsOpen() = 0;
  // Reads exactly `count` bytes into the start of `buffer` from pipe 8; non-zero on success.
  // A read of msg_len + 16 bytes that follows a 16-byte read leaves the whole message, header
  // first, at the start of the buffer.
  virtual int UsbRead(int pipe, uint8_t* buffer, uint32_t count) = 0;
  // As UsbRead, but waits up to `timeout_ms` for the bytes to arrive instead of the link's own
  // read time-out, and returns as soon as they have (or at once when the device is lost). Links
  // whose answers are complete as soon as the request is sent read at once.
  virtual int UsbReadWithin(int pipe, uint8_t* buffer, uint32_t count, int timeout_ms) {
    (void)timeout_ms;
    return UsbRead(pipe, buffer, count);
  }
  // How long UsbRead waits for its bytes; 0 for links whose answers never keep it waiting.
  virtual int UsbReadTimeoutMs() const { return 0; }
  // Sends `count` bytes to pipe 7; non-zero when all were sent. Whatever is left unread of the
  // previous answer is discarded first, so every exchange starts on a message boundary.
  virtual int UsbWrite(int pipe, const uint8_t* buffer, uint32_t count) = 0;

  // Where the link reports device changes. Links that never see any may ignore it.
  virtual void SetDeviceChangeNotifier(DeviceChangeNotifier notifier) { (void)notifier; }
};

}  // namespace korvelane
