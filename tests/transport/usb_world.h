// SPDX-License-Identifier: GPL-3.0-or-later
// A LibUsbLink over an instrument on the emulated USB bus, and the program's way of talking
// through it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "core/logs/gbk_text.h"
#include "emulated_usb_device.h"
#include "link_test_support.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"
#include "transport/libusb_link.h"

namespace korvelane::testing {

inline transport::LibUsbLinkOptions QuickUsbOptions() {
  transport::LibUsbLinkOptions options;
  options.read_timeout_ms = 400;
  options.write_timeout_ms = 300;
  return options;
}

// Another device on the bus, at `port`: like the instrument unless changed.
inline UsbDeviceSetup OtherDevice(uint16_t vendor_id, uint16_t product_id, int port) {
  UsbDeviceSetup other;
  other.vendor_id = vendor_id;
  other.product_id = product_id;
  other.port = port;
  return other;
}

// Three devices on one emulated bus: one like the instrument (port 1), a hub (no bulk pair) and
// a mass-storage device (a bulk pair, but of a class that is surely no instrument).
struct UsbBus {
  static UsbDeviceSetup Hub() {
    UsbDeviceSetup hub = OtherDevice(0x1d6b, 0x0002, 2);
    hub.device_class = hub.interface_class = 0x09;
    hub.bulk_pair = false;
    hub.manufacturer = "Linux Foundation";
    hub.product = "2.0 root hub";
    return hub;
  }
  static UsbDeviceSetup Storage() {
    UsbDeviceSetup storage = OtherDevice(0x0781, 0x5567, 3);
    storage.interface_class = 0x08;
    storage.manufacturer = "SanDisk";
    storage.product = "Cruzer Blade";
    return storage;
  }
  bool PlugAll() { return instrument.Plug() && hub.Plug() && storage.Plug(); }

  EmulatedUsbDevice instrument;
  EmulatedUsbDevice hub{Hub(), &instrument};
  EmulatedUsbDevice storage{Storage(), &instrument};
};

// The device comes first and goes last: libusb must be gone before the testbed.
class UsbWorld {
 public:
  explicit UsbWorld(UsbDeviceSetup setup = {},
                    transport::LibUsbLinkOptions options = QuickUsbOptions())
      : usb(std::move(setup)),
        link(std::make_unique<transport::LibUsbLink>(
            transport::UsbIds{usb.setup().vendor_id, usb.setup().product_id}, debug_log, options)) {
    link->SetDeviceChangeNotifier([this](uintptr_t wparam, intptr_t) { heard.Add(wparam); });
  }
  ~UsbWorld() { link.reset(); }

  int LogCount(const std::string& utf8) const {
    const std::string text = ReadFileText(debug_log.debug_log_path());
    const std::string wanted = Utf8ToGbk(utf8);
    int count = 0;
    for (size_t at = text.find(wanted); at != std::string::npos; at = text.find(wanted, at + 1))
      ++count;
    return count;
  }

  // Waits for the notification `wparam` and hands it to the link, as the main window does on
  // its own thread.
  bool Deliver(uintptr_t wparam) {
    if (!heard.WaitFor(wparam))
      return false;
    link->UsbDeviceChange(wparam, 0);
    return true;
  }

  EmulatedUsbDevice usb;
  TempDir dir;
  FixedClock clock;
  DebugLog debug_log{dir.path(), clock};
  Notifications heard;
  std::unique_ptr<transport::LibUsbLink> link;
};

}  // namespace korvelane::testing
