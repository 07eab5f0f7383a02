// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the program: one instance per user, the logs' folder, the settings store and the
// main window over the instrument chosen.
#pragma once

#include <QApplication>
#include <optional>

#include "core/shell/device_choice.h"

namespace korvelane {

// Runs Korvelane until the main window closes; returns the exit code. `command_line`: the
// instrument named with --device, which wins over the stored choice. A second instance writes
// its FATAL line to the debug log and returns 0 before any window appears.
int RunApplication(QApplication& app, const std::optional<DeviceChoice>& command_line);

}  // namespace korvelane
