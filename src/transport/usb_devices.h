// SPDX-License-Identifier: GPL-3.0-or-later
// What the machine's USB devices are, as far as choosing the instrument goes: one line each
// for --list-devices, which of them may be the instrument, and the udev rule that lets this
// user open one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/shell/device_choice.h"

namespace korvelane::transport {

struct UsbDeviceInfo {
  enum class Access { kMayOpen, kNoPermission, kBusy };

  UsbIds ids;
  int bus = 0;
  int address = 0;
  std::string manufacturer;  // empty when unreadable
  std::string product;
  uint8_t device_class = 0;     // bDeviceClass
  uint8_t interface_class = 0;  // bInterfaceClass of interface 0
  bool bulk_pair = false;       // interface 0 offers one bulk IN and one bulk OUT endpoint
  Access access = Access::kMayOpen;
};

// The name of a class that is surely no oscilloscope (hub, input device, storage, audio,
// video, printer, wireless), or null.
const char* OtherClassName(const UsbDeviceInfo& device);

// Offers the bulk pair and is of no other known class.
bool IsInstrumentCandidate(const UsbDeviceInfo& device);

std::vector<UsbIds> InstrumentCandidates(const std::vector<UsbDeviceInfo>& devices);

// One line: ids, bus and address, the strings, the class, the bulk pair and the access.
std::string FormatDeviceLine(const UsbDeviceInfo& device);

// The udev rule line that gives the user at the seat access to the device with `ids`.
std::string UdevRuleLine(const UsbIds& ids);

// The rule line and the two commands that install it, one a line.
std::string UdevInstructions(const UsbIds& ids);

}  // namespace korvelane::transport
