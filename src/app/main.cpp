// Korvelane's entry point: the command line, the link it names, then the application.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/about_dialog.h"
#include "app/application.h"
#include "transport/link_factory.h"

namespace {

void PrintHelp() {
  std::printf(
      "Usage: korvelane [--device usb[:VID:PID] | sim | socket:PATH]\n"
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
      "  --version               the program's version\n"
      "  --help, -h              this text\n"
      "Qt's own options (-platform NAME, -style NAME, ...) are passed on to Qt.\n");
}

void PrintVersion() {
  std::printf("Korvelane 2.0\nSoftVersion :  %s\n", korvelane::kSoftVersion);
}

int Fail(const std::string& text) {
  std::fprintf(stderr, "korvelane: %s\nTry korvelane --help.\n", text.c_str());
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  std::string device = "usb";
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
    if (std::strcmp(arg, "--device") == 0) {
      if (i + 1 >= argc)
        return Fail("--device needs a value: usb[:VID:PID], sim or socket:PATH");
      device = argv[++i];
    } else if (std::strncmp(arg, "--device=", 9) == 0) {
      device = arg + 9;
    } else if (std::strncmp(arg, "--", 2) == 0) {
      return Fail(std::string("unknown option ") + arg);
    }
  }

  korvelane::transport::DeviceChoice choice;
  std::string error;
  if (!korvelane::transport::ParseDeviceChoice(device, choice, error))
    return Fail(error);
  std::string note;
  std::unique_ptr<korvelane::UsbLink> link = korvelane::transport::MakeLink(choice, note);
  if (!note.empty())
    std::fprintf(stderr, "korvelane: %s\n", note.c_str());

  QApplication app(argc, argv);
  // Lets Wayland desktops find the desktop entry, and with it the icon, for the window.
  QGuiApplication::setDesktopFileName(QStringLiteral("korvelane"));
  return korvelane::RunApplication(app, *link);
}
