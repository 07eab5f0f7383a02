// Start-up of the program: one instance per user, the logs' folder, the settings store and the
// main window over the chosen link.
#pragma once

#include <QApplication>

#include "core/protocol/usb_link.h"

namespace korvelane {

// Runs Korvelane over `link` until the main window closes; returns the exit code. A second
// instance writes its FATAL line to the debug log and returns 0 before any window appears.
int RunApplication(QApplication& app, UsbLink& link);

}  // namespace korvelane
