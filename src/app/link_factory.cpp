// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/link_factory.h"

#include "core/common/clock.h"
#include "core/common/program_folder.h"
#include "core/logs/debug_log.h"
#include "simulator/simulated_link.h"
#include "transport/libusb_link.h"
#include "transport/socket_link.h"

#ifndef KORVELANE_DEFAULT_USB_IDS
#define KORVELANE_DEFAULT_USB_IDS ""
#endif

namespace korvelane {
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

class LoggedUsbLink : private UsbLogHolder, public transport::LibUsbLink {
 public:
  explicit LoggedUsbLink(std::optional<UsbIds> ids)
      : transport::LibUsbLink(ids, UsbLogHolder::debug_log) {}
};

}  // namespace

std::string BuildTimeUsbIds() {
  return KORVELANE_DEFAULT_USB_IDS;
}

std::optional<UsbIds> BuildTimeIds() {
  DeviceChoice usb;
  if (!ApplyDefaultUsbIds(usb, BuildTimeUsbIds()) || !usb.has_ids)
    return std::nullopt;
  return usb.ids();
}

bool ApplyDefaultUsbIds(DeviceChoice& choice, const std::string& build_ids) {
  if (build_ids.empty())
    return true;
  std::string error;
  const std::optional<DeviceChoice> configured = ParseDeviceChoice("usb:" + build_ids, error);
  if (!configured)
    return false;
  if (choice.kind == DeviceChoice::kUsb && !choice.has_ids) {
    choice.has_ids = true;
    choice.vendor_id = configured->vendor_id;
    choice.product_id = configured->product_id;
  }
  return true;
}

std::unique_ptr<UsbLink> MakeLink(const DeviceChoice& choice, std::string& note) {
  note.clear();
  switch (choice.kind) {
    case DeviceChoice::kSim:
      return std::make_unique<OwnSimulatedLink>();
    case DeviceChoice::kSocket:
      return std::make_unique<transport::SocketLink>(choice.socket_path);
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

}  // namespace korvelane
