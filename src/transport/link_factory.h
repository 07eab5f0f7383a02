// The link named on the command line: "sim", "socket:PATH" or "usb[:VID:PID]".
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/protocol/usb_link.h"

namespace korvelane::transport {

struct DeviceChoice {
  enum Kind { kUsb, kSim, kSocket } kind = kUsb;
  std::string socket_path;  // kSocket
  bool has_ids = false;     // kUsb with VID:PID
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
};

// False, with `error` telling why, for a text of none of the forms. VID and PID are 1 to 4
// hexadecimal digits each.
bool ParseDeviceChoice(const std::string& text, DeviceChoice& choice, std::string& error);

// A new link of the kind named. "sim" makes an instrument of its own inside the link. The USB
// link of this build cannot open anything yet; `note` then says so (empty otherwise).
std::unique_ptr<UsbLink> MakeLink(const DeviceChoice& choice, std::string& note);

}  // namespace korvelane::transport
