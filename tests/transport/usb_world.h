// SPDX-License-Identifier: GPL-3.0-or-later
// Instruments and other devices on the emulated USB bus, and a LibUsbLink's quick options.
#pragma once

#include "emulated_usb_device.h"
#include "link_test_support.h"
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

// Three devices on one emulated bus: one like the instrument (port 1), one without the bulk
// pair and a mass-storage device (a bulk pair, but of a class that is surely no instrument).
struct UsbBus {
  static UsbDeviceSetup WithoutPair() {
    UsbDeviceSetup other = OtherDevice(0x1d6b, 0x0002, 2);
    other.bulk_pair = false;
    return other;
  }
  static UsbDeviceSetup Storage() {
    UsbDeviceSetup storage = OtherDevice(0x0781, 0x5567, 3);
    storage.interface_class = 0x08;
    storage.manufacturer = "SanDisk";
    storage.product = "Cruzer Blade";
    return storage;
  }
  bool PlugAll() { return instrument.Plug() && without_pair.Plug() && storage.Plug(); }

  EmulatedUsbDevice instrument;
  EmulatedUsbDevice without_pair{WithoutPair(), &instrument};
  EmulatedUsbDevice storage{Storage(), &instrument};
};

}  // namespace korvelane::testing
