#include "transport/link_factory.h"

#include <sys/un.h>

#include <cctype>

#include "core/common/clock.h"
#include "core/common/program_folder.h"
#include "core/logs/debug_log.h"
#include "simulator/simulated_link.h"
#include "transport/libusb_link.h"
#include "transport/socket_link.h"

#ifndef KORVELANE_DEFAULT_USB_IDS
#define KORVELANE_DEFAULT_USB_IDS ""
#endif

namespace korvelane::transport {
namespace {

// A simulated link that owns its instrument (the instrument is made before the link).
struct InstrumentHolder {
  sim::SimulatedInstrument instrument;
};

class OwnSimulatedLink : private InstrumentHolder, public sim::SimulatedLink {
 public:
  OwnSimulatedLink() : sim::SimulatedLink(InstrumentHolder::instrument) {}
};

// A USB link with a debug log of its own in the program's folder (the file the application
// writes too; every line is appended whole).
struct UsbLogHolder {
  SystemClock clock;
  DebugLog debug_log{ProgramFolder(), clock};
};

class LoggedUsbLink : private UsbLogHolder, public LibUsbLink {
 public:
  explicit LoggedUsbLink(std::optional<UsbIds> ids) : LibUsbLink(ids, UsbLogHolder::debug_log) {}
};

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

bool ParseDeviceChoice(const std::string& text, DeviceChoice& choice, std::string& error) {
  DeviceChoice result;
  if (text == "sim") {
    result.kind = DeviceChoice::kSim;
  } else if (text.rfind("socket:", 0) == 0) {
    result.kind = DeviceChoice::kSocket;
    result.socket_path = text.substr(7);
    if (result.socket_path.empty()) {
      error = "socket: needs the path of the instrument's socket, e.g. socket:/tmp/dso.sock";
      return false;
    }
    if (result.socket_path.size() > kMaxSocketPath) {
      error = "the socket path is longer than a socket address holds (" +
              std::to_string(kMaxSocketPath) + " bytes)";
      return false;
    }
  } else if (text == "usb") {
    result.kind = DeviceChoice::kUsb;
  } else if (text.rfind("usb:", 0) == 0) {
    result.kind = DeviceChoice::kUsb;
    const std::string ids = text.substr(4);
    const size_t colon = ids.find(':');
    if (colon == std::string::npos || !ParseHexId(ids.substr(0, colon), result.vendor_id) ||
        !ParseHexId(ids.substr(colon + 1), result.product_id)) {
      error = "usb: takes a vendor and a product id in hexadecimal, e.g. usb:1234:5678";
      return false;
    }
    result.has_ids = true;
  } else {
    error = "unknown device \"" + text + "\": use usb[:VID:PID], sim or socket:PATH";
    return false;
  }
  choice = result;
  return true;
}

std::string BuildTimeUsbIds() {
  return KORVELANE_DEFAULT_USB_IDS;
}

bool ApplyDefaultUsbIds(DeviceChoice& choice, const std::string& build_ids) {
  if (build_ids.empty())
    return true;
  DeviceChoice configured;
  std::string error;
  if (!ParseDeviceChoice("usb:" + build_ids, configured, error))
    return false;
  if (choice.kind == DeviceChoice::kUsb && !choice.has_ids) {
    choice.has_ids = true;
    choice.vendor_id = configured.vendor_id;
    choice.product_id = configured.product_id;
  }
  return true;
}

std::unique_ptr<UsbLink> MakeLink(const DeviceChoice& choice, std::string& note) {
  note.clear();
  switch (choice.kind) {
    case DeviceChoice::kSim:
      return std::make_unique<OwnSimulatedLink>();
    case DeviceChoice::kSocket:
      return std::make_unique<SocketLink>(choice.socket_path);
    case DeviceChoice::kUsb:
      break;
  }
  DeviceChoice usb = choice;
  ApplyDefaultUsbIds(usb, BuildTimeUsbIds());
  if (!usb.has_ids) {
    note =
        "no USB instrument named and none configured in this build: use --device usb:VID:PID "
        "with the hexadecimal ids lsusb shows for the instrument.";
    return std::make_unique<LoggedUsbLink>(std::nullopt);
  }
  return std::make_unique<LoggedUsbLink>(UsbIds{usb.vendor_id, usb.product_id});
}

}  // namespace korvelane::transport
