// SPDX-License-Identifier: GPL-3.0-or-later
// What the program offers for choosing its instrument: the command line's choice, the build's
// ids, the USB devices attached, their plug events, and putting the link to a choice in place.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/shell/device_choice.h"
#include "transport/usb_devices.h"

namespace korvelane {

// Lives while a dialog lists the devices; reports plug events until it goes.
class UsbPlugWatch {
 public:
  virtual ~UsbPlugWatch() = default;
};

struct InstrumentAccess {
  std::optional<DeviceChoice> command_line;
  std::optional<UsbIds> build_ids;
  std::function<std::vector<transport::UsbDeviceInfo>()> list_usb;
  // Calls `changed`, from any thread, when a USB device comes or goes.
  std::function<std::unique_ptr<UsbPlugWatch>(std::function<void()> changed)> watch_usb;
  // Closes the link in use and puts the link to `choice` in its place (not yet opened).
  std::function<void(const DeviceChoice& choice)> use;
};

}  // namespace korvelane
