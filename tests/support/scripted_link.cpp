// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scripted_link.h"

#include <cstring>

namespace korvelane::testing {

int ScriptedLink::UsbOpen(uintptr_t) {
  ++open_calls;
  if (open_succeeds && present)
    open_ = true;
  return open_ ? 1 : 0;
}

void ScriptedLink::UsbDeviceChange(uintptr_t wparam, intptr_t) {
  device_changes.push_back(wparam);
  if (wparam == kDeviceRemoveComplete)
    open_ = false;
  if (wparam == kDeviceArrival)
    open_ = present;
}

void ScriptedLink::Unplug() {
  present = false;
  if (notifier_)
    notifier_(kDeviceRemoveComplete, 0);
}

void ScriptedLink::Plug() {
  present = true;
  if (notifier_)
    notifier_(kDeviceArrival, 0);
}

int ScriptedLink::UsbWrite(int pipe, const uint8_t* buffer, uint32_t count) {
  if (pipe != kPipeOut)
    return 0;
  writes_.emplace_back(buffer, buffer + count);
  have_current_ = false;
  if (!steps_.empty() && steps_.front().fault == Fault::kWriteFails) {
    steps_.pop_front();
    return 0;
  }
  return open_ ? 1 : 0;
}

int ScriptedLink::Read(int pipe, uint8_t* buffer, uint32_t count, int timeout_ms) {
  read_sizes_.push_back(count);
  if (pipe != kPipeIn || !open_)
    return 0;
  if (!have_current_) {
    if (steps_.empty())
      return 0;
    current_ = steps_.front();
    steps_.pop_front();
    have_current_ = true;
    header_done_ = false;
    if (current_.fault == Fault::kHeaderReadFails || current_.after_ms > timeout_ms) {
      have_current_ = false;
      return 0;
    }
  } else if (current_.fault == Fault::kBodyReadFails) {
    have_current_ = false;
    return 0;
  }
  if (count > current_.message.size()) {
    have_current_ = false;
    return 0;
  }
  std::memcpy(buffer, current_.message.data(), count);
  if (header_done_) {
    have_current_ = false;
  } else {
    header_done_ = true;
  }
  return 1;
}

}  // namespace korvelane::testing
