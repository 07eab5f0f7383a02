// SPDX-License-Identifier: GPL-3.0-or-later
// Korvelane's entry point: the command line, the link it names, then the application.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/about_dialog.h"
#include "app/application.h"
#include "app/end_signals.h"
#include "transport/libusb_link.h"

namespace {

void PrintHelp() {
  std::printf(
      "Usage: korvelane [--device usb[:VID:PID] | sim | socket:PATH] [--list-devices]\n"
      "A desktop companion for the instrument family's USB oscilloscopes.\n"
      "\n"
      "Options:\n"
      "  --device usb[:VID:PID]  an instrument on USB (the default): the one with those\n"
      "                          hexadecimal ids as lsusb shows them, or without ids the\n"
      "                          one configured in this build\n"
      "  --device sim            the simulated instrument built into Korvelane\n"
      "  --device socket:PATH    an instrument served on a Unix-domain socket, such as\n"
      "                          korvelane-sim --socket PATH\n"
      "  --device=VALUE          the same as --device VALUE\n"
      "                          without --device: the instrument chosen last in\n"
      "                          Setting > Instrument..., else the one of this build\n"
      "  --list-devices          every USB device attached, one a line: ids, bus and\n"
      "                          address, names, bulk endpoints and whether this user\n"
      "                          may open it\n"
      "  --version               the program's version\n"
      "  --help, -h              this text\n"
      "Qt's own options (-platform NAME, -style NAME, ...) are passed on to Qt.\n");
}

void PrintVersion() {
  std::printf("Korvelane 2.0\nSoftVersion :  %s\n", korvelane::kSoftVersion);
}

// One line on the error output, exit status 2.
int Fail(const std::string& text) {
  std::fprintf(stderr, "korvelane: %s (see korvelane --help)\n", text.c_str());
  return 2;
}

int ListDevices() {
  const auto devices = korvelane::transport::LibUsbLink::ListDevices();
  for (const auto& device : devices)
    std::printf("%s\n", korvelane::transport::FormatDeviceLine(device).c_str());
  if (devices.empty())
    std::printf("no USB devices found\n");
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Before the link or Qt start threads of their own, which inherit the mask.
  korvelane::EndSignals::Block();
  std::optional<std::string> device;
  bool list_devices = false;
  // Qt's own options (-platform, -style...) are left for QApplication.
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      PrintHelp();
      return 0;
    }
    if (std::strcmp(arg, "--version") == 0) {
      PrintVersion();
      return 0;
    }
    if (std::strcmp(arg, "--list-devices") == 0) {
      list_devices = true;
    } else if (std::strcmp(arg, "--device") == 0) {
      if (i + 1 >= argc)
        return Fail(std::string("--device needs a value: ") + korvelane::kDeviceForms);
      device = argv[++i];
    } else if (std::strncmp(arg, "--device=", 9) == 0) {
      device = arg + 9;
    } else if (std::strncmp(arg, "--", 2) == 0) {
      return Fail(std::string("unknown option ") + arg);
    }
  }

  std::optional<korvelane::DeviceChoice> choice;
  if (device) {
    std::string error;
    choice = korvelane::ParseDeviceChoice(*device, error);
    if (!choice)
      return Fail(error);
  }
  if (list_devices)
    return ListDevices();

  QApplication app(argc, argv);
  // Lets Wayland desktops find the desktop entry, and with it the icon, for the window.
  QGuiApplication::setDesktopFileName(QStringLiteral("korvelane"));
  return korvelane::RunApplication(app, choice);
}
