// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/device_choice.h"

#include <sys/un.h>

#include <cctype>
#include <cstdio>

namespace korvelane {
namespace {

constexpr size_t kMaxSocketPath = sizeof(sockaddr_un::sun_path) - 1;

bool ParseHexId(const std::string& text, uint16_t& id) {
  if (text.empty() || text.size() > 4)
    return false;
  unsigned value = 0;
  for (char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c)))
      return false;
    value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                   ? c - '0'
                                                   : std::tolower(c) - 'a' + 10);
  }
  id = static_cast<uint16_t>(value);
  return true;
}

}  // namespace

std::string FormatUsbIds(const UsbIds& ids) {
  char text[16];
  std::snprintf(text, sizeof text, "%04x:%04x", ids.vendor_id, ids.product_id);
  return text;
}

std::optional<DeviceChoice> ParseDeviceChoice(const std::string& text, std::string& error) {
  DeviceChoice result;
  if (text == "sim") {
    result.kind = DeviceChoice::kSim;
  } else if (text.rfind("socket:", 0) == 0) {
    result.kind = DeviceChoice::kSocket;
    result.socket_path = text.substr(7);
    if (result.socket_path.empty()) {
      error = "socket: needs the path of the instrument's socket, e.g. socket:/tmp/dso.sock";
      return std::nullopt;
    }
    if (result.socket_path.size() > kMaxSocketPath) {
      error = "the socket path is longer than a socket address holds (" +
              std::to_string(kMaxSocketPath) + " bytes)";
      return std::nullopt;
    }
  } else if (text == "usb") {
    result.kind = DeviceChoice::kUsb;
  } else if (text.rfind("usb:", 0) == 0) {
    result.kind = DeviceChoice::kUsb;
    const std::string ids = text.substr(4);
    const size_t colon = ids.find(':');
    if (colon == std::string::npos || !ParseHexId(ids.substr(0, colon), result.vendor_id) ||
        !ParseHexId(ids.substr(colon + 1), result.product_id)) {
      error =
          "usb: takes a vendor and a product id in hexadecimal as lsusb prints them, e.g. "
          "usb:1234:abcd";
      return std::nullopt;
    }
    result.has_ids = true;
  } else {
    error = "unknown device \"" + text + "\": use " + kDeviceForms;
    return std::nullopt;
  }
  return result;
}

std::string FormatDeviceChoice(const DeviceChoice& choice) {
  switch (choice.kind) {
    case DeviceChoice::kSim:
      return "sim";
    case DeviceChoice::kSocket:
      return "socket:" + choice.socket_path;
    case DeviceChoice::kUsb:
      break;
  }
  return choice.has_ids ? "usb:" + FormatUsbIds(choice.ids()) : "usb";
}

StartupDevice ChooseStartupDevice(const std::optional<DeviceChoice>& command_line,
                                  const std::optional<DeviceChoice>& stored,
                                  const std::optional<UsbIds>& build_ids,
                                  const std::vector<UsbIds>& candidates) {
  StartupDevice startup;
  if (command_line) {
    startup.choice = *command_line;
  } else if (stored) {
    startup.choice = *stored;
  } else if (build_ids) {
    startup.choice.has_ids = true;
    startup.choice.vendor_id = build_ids->vendor_id;
    startup.choice.product_id = build_ids->product_id;
  } else if (candidates.size() == 1) {
    startup.offer = StartupDevice::kOfferUsb;
    startup.offered = candidates.front();
  } else {
    startup.offer = StartupDevice::kOfferSim;
  }
  return startup;
}

}  // namespace korvelane
