#include "transport/link_factory.h"

#include <sys/un.h>

#include <cctype>

#include "simulator/simulated_link.h"
#include "transport/socket_link.h"

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

// Stands for the USB link until this build talks to USB devices: nothing opens.
class UnavailableUsbLink : public UsbLink {
 public:
  int UsbOpen(uintptr_t) override { return 0; }
  void UsbClose() override {}
  void UsbDeviceChange(uintptr_t, intptr_t) override {}
  int UsbIsOpen() override { return 0; }
  int UsbRead(int, uint8_t*, uint32_t) override { return 0; }
  int UsbWrite(int, const uint8_t*, uint32_t) override { return 0; }
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
  note =
      "USB instruments are not supported by this build yet; the link stays closed. Use "
      "--device sim or --device socket:PATH.";
  return std::make_unique<UnavailableUsbLink>();
}

}  // namespace korvelane::transport
