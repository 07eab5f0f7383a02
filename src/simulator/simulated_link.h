// SPDX-License-Identifier: GPL-3.0-or-later
// A UsbLink over a SimulatedInstrument in the same process.
#pragma once

#include <vector>

#include "core/protocol/usb_link.h"
#include "simulator/simulated_instrument.h"

namespace korvelane::sim {

// Reads give the answer from its start: a 16-byte read the header, a read of msg_len + 16 bytes
// the whole message, which it then consumes. The instrument must outlive the link, and only one
// link at a time may be made over an instrument (the link takes its plug listener).
//
// UsbIsOpen follows the instrument once the program has heard of a change: after the unplug
// notification has been handed to UsbDeviceChange it stays 0 until the plug-in notification
// is handed over too, so that the program sees every unplugging even when the instrument is back
// before the first notification is handled.
class SimulatedLink : public UsbLink {
 public:
  explicit SimulatedLink(SimulatedInstrument& instrument);
  ~SimulatedLink() override;

  int UsbOpen(uintptr_t window) override;
  void UsbClose() override;
  void UsbDeviceChange(uintptr_t wparam, intptr_t lparam) override;
  int UsbIsOpen() override;
  int UsbRead(int pipe, uint8_t* buffer, uint32_t count) override;
  int UsbWrite(int pipe, const uint8_t* buffer, uint32_t count) override;
  // Unplugging and plugging the instrument are reported here as device changes, on the thread
  // that unplugged or plugged it.
  void SetDeviceChangeNotifier(DeviceChangeNotifier notifier) override;

  SimulatedInstrument& instrument() { return instrument_; }

 private:
  SimulatedInstrument& instrument_;
  DeviceChangeNotifier notifier_;
  std::vector<uint8_t> answer_;  // the answer being read
  bool open_ = false;
  bool removal_seen_ = false;  // UsbDeviceChange had an unplugging and no plugging-in since
};

}  // namespace korvelane::sim
