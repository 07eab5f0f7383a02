// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <cstdio>

#include "app/end_signals.h"
#include "app/instrument_access.h"
#include "app/link_factory.h"
#include "app/main_window.h"
#include "app/qt_settings_store.h"
#include "app/single_instance.h"
#include "core/common/program_folder.h"
#include "transport/libusb_link.h"
#include "transport/switchable_link.h"

namespace korvelane {
namespace {

class BusWatch : public UsbPlugWatch {
 public:
  explicit BusWatch(std::function<void()> changed) : watch_(std::move(changed)) {}

 private:
  transport::UsbBusWatch watch_;
};

}  // namespace

int RunApplication(QApplication& app, const std::optional<DeviceChoice>& command_line) {
  const std::string folder = ProgramFolder();
  SystemClock clock;
  DebugLog debug_log(folder, clock);

  SingleInstance instance;
  if (!instance.Acquire()) {
    debug_log.WriteDebugLog("已有该软件的实例打开，不支持重复打开该软件。启动软件失败！", kFatal);
    return 0;
  }

  transport::SwitchableLink link;
  InstrumentAccess instruments;
  instruments.command_line = command_line;
  instruments.build_ids = BuildTimeIds();
  instruments.list_usb = [] { return transport::LibUsbLink::ListDevices(); };
  instruments.watch_usb = [](std::function<void()> changed) -> std::unique_ptr<UsbPlugWatch> {
    return std::make_unique<BusWatch>(std::move(changed));
  };
  instruments.use = [&link](const DeviceChoice& choice) {
    std::string note;
    link.Replace(MakeLink(choice, note));
    if (!note.empty())
      std::fprintf(stderr, "korvelane: %s\n", note.c_str());
  };

  QtSettingsStore settings;
  AppContext context;
  context.link = &link;
  context.debug_log = &debug_log;
  context.clock = &clock;
  context.settings_store = &settings;
  context.program_folder = folder;
  context.instruments = &instruments;

  MainWindow window(context);
  EndSignals end_signals;
  QObject::connect(&end_signals, &EndSignals::Received, &window, &MainWindow::EndOnSignal);
  window.show();
  return app.exec();
}

}  // namespace korvelane
