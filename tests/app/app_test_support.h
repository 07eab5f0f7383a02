// SPDX-License-Identifier: GPL-3.0-or-later
// A main window over the simulated instrument, with captured boxes, scripted dialogs,
// zero-length sleeps and settings in a scratch folder.
#pragma once

#include <QDialog>
#include <QSettings>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/main_window.h"
#include "app/qt_settings_store.h"
#include "app/qt_user_interface.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"
#include "support/fake_user_interface.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace korvelane::testing {

class CapturingPresenter : public MessagePresenter {
 public:
  void Show(QWidget*, const std::string& text, const std::string& caption,
            MessageIcon icon) override {
    boxes.push_back({text, caption, icon});
    if (while_shown)
      while_shown();
  }
  std::vector<MessageRecord> boxes;
  std::function<void()> while_shown;  // what the box's own event loop dispatches
};

class AppTest : public ::testing::Test {
 protected:
  AppTest() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(dir.File("config")));
    store = std::make_unique<QtSettingsStore>();
    context.link = &link;
    context.debug_log = &debug_log;
    context.clock = &clock;
    context.settings_store = store.get();
    context.presenter = &presenter;
    context.program_folder = dir.path();
    context.real_sleeps = false;
    context.run_dialog = [this](QDialog& dialog) {
      return dialog_script ? dialog_script(dialog) : static_cast<int>(QDialog::Rejected);
    };
  }

  MainWindow& Open() {
    window = std::make_unique<MainWindow>(context);
    return *window;
  }

  // Destroys the window as at exit (the settings are written).
  void CloseWindow() { window.reset(); }

  QSettings StoredSettings() const {
    return QSettings(QStringLiteral("Dentrallo Korvelane Application"),
                     QStringLiteral("Korvelane"));
  }

  TempDir dir;
  FixedClock clock;
  DebugLog debug_log{dir.path(), clock};
  std::unique_ptr<QtSettingsStore> store;  // made once the settings path points into `dir`
  CapturingPresenter presenter;
  sim::SimulatedInstrument instrument;
  sim::SimulatedLink link{instrument};
  AppContext context;
  std::function<int(QDialog&)> dialog_script;
  std::unique_ptr<MainWindow> window;
};

}  // namespace korvelane::testing
