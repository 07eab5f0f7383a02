// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/instrument_chooser.h"

#include <QTimer>

#include "app/instrument_dialog.h"
#include "core/shell/settings.h"

namespace korvelane {
namespace {

constexpr int kActionPane = 0;
constexpr int kConnectionPane = 3;

}  // namespace

void InstrumentChooser::StartUp() {
  if (!parts_.access)
    return;
  InstrumentAccess& access = *parts_.access;
  ShellSettings stored_settings;
  stored_settings.device = parts_.device_setting;
  std::vector<UsbIds> candidates;
  if (!access.command_line && !StoredDevice(stored_settings) && !access.build_ids &&
      access.list_usb)
    candidates = transport::InstrumentCandidates(access.list_usb());
  const StartupDevice startup = ChooseStartupDevice(
      access.command_line, StoredDevice(stored_settings), access.build_ids, candidates);
  current_ = startup.choice;
  access.use(current_);
  if (startup.offer == StartupDevice::kNoOffer)
    return;
  DeviceChoice preset;
  if (startup.offer == StartupDevice::kOfferUsb) {
    preset.has_ids = true;
    preset.vendor_id = startup.offered.vendor_id;
    preset.product_id = startup.offered.product_id;
    parts_.ui.SetPaneText(kActionPane, "An instrument was found on USB (" +
                                           FormatUsbIds(startup.offered) +
                                           "): confirm it in Setting > Instrument...");
  } else {
    preset.kind = DeviceChoice::kSim;
    parts_.ui.SetPaneText(kActionPane,
                          "No instrument chosen: the simulated instrument is proposed in "
                          "Setting > Instrument...");
  }
  QTimer::singleShot(0, parts_.parent, [this, preset] { RunDialog(preset); });
}

void InstrumentChooser::Choose() {
  parts_.operate_log.RecordOperation("Choose the instrument");
  RunDialog(current_);
}

void InstrumentChooser::RunDialog(const DeviceChoice& preset) {
  if (!parts_.access)
    return;
  if (parts_.connection.bound()) {
    parts_.ui.ShowMessage("The instrument is bound: UnBind it before choosing another instrument.",
                          "Error", MessageIcon::kExclamation);
    parts_.ui.RefreshMenuLamps();
    return;
  }
  InstrumentDialog dialog(
      *parts_.access, preset,
      [this](const QString& notice) {
        parts_.ui.ShowMessage(notice.toStdString(), "Instrument", MessageIcon::kExclamation);
      },
      parts_.parent);
  if (parts_.run_dialog(dialog) != QDialog::Accepted)
    return;
  current_ = dialog.choice();
  parts_.device_setting = FormatDeviceChoice(current_);
  parts_.access->use(current_);
  parts_.operate_log.RecordOperation("Instrument: " + parts_.device_setting);
  parts_.ui.SetPaneText(kConnectionPane, "Dentrallo");
  parts_.connection.StartupLinkTest();
  parts_.ui.RefreshMenuLamps();
}

}  // namespace korvelane
