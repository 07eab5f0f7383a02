// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/simulated_link.h"

#include <cstring>

namespace korvelane::sim {

SimulatedLink::SimulatedLink(SimulatedInstrument& instrument) : instrument_(instrument) {
  instrument_.SetPlugListener([this](bool plugged) {
    if (notifier_)
      notifier_(plugged ? kDeviceArrival : kDeviceRemoveComplete, 0);
  });
}

SimulatedLink::~SimulatedLink() {
  instrument_.SetPlugListener(nullptr);
}

int SimulatedLink::UsbOpen(uintptr_t) {
  removal_seen_ = false;
  open_ = instrument_.plugged();
  answer_.clear();
  return open_ ? 1 : 0;
}

void SimulatedLink::UsbClose() {
  open_ = false;
  answer_.clear();
}

void SimulatedLink::UsbDeviceChange(uintptr_t wparam, intptr_t) {
  if (wparam == kDeviceRemoveComplete) {
    removal_seen_ = true;
    answer_.clear();
  } else if (wparam == kDeviceArrival) {
    // The device is opened again by the link itself, as a USB library does.
    removal_seen_ = false;
    if (instrument_.plugged())
      open_ = true;
  }
}

int SimulatedLink::UsbIsOpen() {
  return open_ && !removal_seen_ && instrument_.plugged() ? 1 : 0;
}

int SimulatedLink::UsbRead(int pipe, uint8_t* buffer, uint32_t count) {
  if (pipe != kPipeIn || !buffer || !UsbIsOpen() || answer_.empty())
    return 0;
  if (count > answer_.size()) {
    answer_.clear();
    return 0;
  }
  std::memcpy(buffer, answer_.data(), count);
  if (count == answer_.size())
    answer_.clear();
  return 1;
}

int SimulatedLink::UsbWrite(int pipe, const uint8_t* buffer, uint32_t count) {
  answer_.clear();
  if (pipe != kPipeOut || !buffer || !UsbIsOpen())
    return 0;
  answer_ = instrument_.Exchange(buffer, count);
  return instrument_.plugged() ? 1 : 0;  // an unplugging as it arrived loses the request
}

void SimulatedLink::SetDeviceChangeNotifier(DeviceChangeNotifier notifier) {
  notifier_ = std::move(notifier);
}

}  // namespace korvelane::sim
