#include "app/application.h"

#include "app/main_window.h"
#include "app/qt_settings_store.h"
#include "app/single_instance.h"
#include "core/common/program_folder.h"

namespace korvelane {

int RunApplication(QApplication& app, UsbLink& link) {
  const std::string folder = ProgramFolder();
  SystemClock clock;
  DebugLog debug_log(folder, clock);

  SingleInstance instance;
  if (!instance.Acquire()) {
    debug_log.WriteDebugLog("已有该软件的实例打开，不支持重复打开该软件。启动软件失败！", kFatal);
    return 0;
  }

  QtSettingsStore settings;
  AppContext context;
  context.link = &link;
  context.debug_log = &debug_log;
  context.clock = &clock;
  context.settings_store = &settings;
  context.program_folder = folder;

  MainWindow window(context);
  window.show();
  return app.exec();
}

}  // namespace korvelane
