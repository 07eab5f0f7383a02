// SPDX-License-Identifier: GPL-3.0-or-later
// Which instrument the main window talks to: the one start-up takes (or offers), and the
// "Instrument..." command that changes it while nothing is bound.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "app/instrument_access.h"
#include "core/common/user_interface.h"
#include "core/logs/operate_log.h"
#include "core/protocol/connection.h"

namespace korvelane {

class InstrumentChooser {
 public:
  struct Parts {
    InstrumentAccess* access;  // null: the link given stays
    Connection& connection;
    UserInterface& ui;
    OperateLog& operate_log;
    std::string& device_setting;  // the stored choice, "Device"
    std::function<int(QDialog&)> run_dialog;
    QWidget* parent;
  };
  explicit InstrumentChooser(Parts parts) : parts_(std::move(parts)) {}

  // Puts the link of the start-up choice in place, before the start-up link test. Without a
  // choice nothing is opened: the instrument found (or the simulated one) is proposed in the
  // status bar and in the dialog, which opens once the window runs.
  void StartUp();

  // The "Instrument..." command: refused while bound; otherwise the choice is stored and the
  // link to it opened at once.
  void Choose();

  bool available() const { return parts_.access != nullptr; }

 private:
  void RunDialog(const DeviceChoice& preset);
  DeviceChoice current_;
  Parts parts_;
};

}  // namespace korvelane
