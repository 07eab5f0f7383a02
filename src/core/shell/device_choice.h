// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument the program talks to, in the --device syntax ("usb[:VID:PID]", "sim",
// "socket:PATH"), and which one start-up takes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvelane {

struct UsbIds {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  bool operator==(const UsbIds& other) const {
    return vendor_id == other.vendor_id && product_id == other.product_id;
  }
};

// "1234:abcd", as lsusb prints ids.
std::string FormatUsbIds(const UsbIds& ids);

// What a malformed choice is told to look like.
constexpr const char* kDeviceForms = "usb[:VID:PID], sim or socket:PATH";

struct DeviceChoice {
  enum Kind { kUsb, kSim, kSocket } kind = kUsb;
  std::string socket_path;  // kSocket
  bool has_ids = false;     // kUsb with VID:PID
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;

  UsbIds ids() const { return {vendor_id, product_id}; }
};

// The choice a text names; none, with `error` (one line naming the expected form) telling why,
// for a text of none of the forms. VID and PID are 1 to 4 hexadecimal digits each, in either case.
std::optional<DeviceChoice> ParseDeviceChoice(const std::string& text, std::string& error);

// The choice in the --device syntax, ids in lower case with four digits.
std::string FormatDeviceChoice(const DeviceChoice& choice);

// Which instrument start-up opens, and what it proposes when it opens none.
struct StartupDevice {
  enum Offer { kNoOffer, kOfferUsb, kOfferSim };
  DeviceChoice choice;  // with an offer: "usb" without ids, which opens nothing
  Offer offer = kNoOffer;
  UsbIds offered;  // kOfferUsb
};

// The command line wins, then the stored choice, then USB with the build-time ids; otherwise a
// single attached instrument-like device is offered (never opened), and without exactly one the
// simulated instrument is.
StartupDevice ChooseStartupDevice(const std::optional<DeviceChoice>& command_line,
                                  const std::optional<DeviceChoice>& stored,
                                  const std::optional<UsbIds>& build_ids,
                                  const std::vector<UsbIds>& candidates);

}  // namespace korvelane
