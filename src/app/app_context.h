// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window is built from: the link and how to choose another, the logs' clock and
// folder, the settings store, and how boxes, dialogs and sleeps behave (tests replace these).
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/common/clock.h"
#include "core/logs/debug_log.h"
#include "core/protocol/usb_link.h"
#include "core/shell/settings.h"

namespace korvelane {

class MessagePresenter;
struct InstrumentAccess;

struct AppContext {
  UsbLink* link = nullptr;
  DebugLog* debug_log = nullptr;
  const Clock* clock = nullptr;
  SettingsStore* settings_store = nullptr;
  MessagePresenter* presenter = nullptr;  // null: real message boxes
  std::string program_folder;
  bool real_sleeps = true;
  // Runs a modal dialog and returns its result; null: QDialog::exec.
  std::function<int(QDialog&)> run_dialog;
  // Choosing the instrument; null: the link given is the only one.
  InstrumentAccess* instruments = nullptr;
};

}  // namespace korvelane
