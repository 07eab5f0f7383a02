// The Wave Data and Measurement views over shared tables and a simulated instrument, with
// recorded boxes and logs and a scripted dialog runner.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/logs/gbk_text.h"
#include "core/logs/time_stamp.h"
#include "core/protocol/device.h"
#include "core/views/view_context.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"
#include "support/fake_user_interface.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"
#include "views/dialog_runner.h"

namespace korvelane::testing {

class ListViewWorld : public ::testing::Test {
 protected:
  ListViewWorld() {
    operate_log.set_operate_log_on(OperateLog::kOn);
    operate_log.Start();
    seen = operate_log.operate_lines().size();
  }

  ViewContext Context() { return ViewContext{device, tables, operate_log, debug_log, ui}; }
  // Runs each dialog through `script`; without a script a dialog is cancelled.
  DialogRunner Runner() {
    return [this](QDialog& dialog) {
      ++dialogs_run;
      return script ? script(dialog) : static_cast<int>(QDialog::Rejected);
    };
  }
  std::vector<std::string> Operations() const {
    const size_t stamp = LogTimeStamp(clock.Now()).size();
    std::vector<std::string> texts;
    for (size_t i = seen; i < operate_log.operate_lines().size(); ++i)
      texts.push_back(operate_log.operate_lines()[i].substr(stamp));
    return texts;
  }

  TempDir dir;
  FixedClock clock;
  FakeUserInterface ui;
  DebugLog debug_log{dir.path(), clock};
  OperateLog operate_log{dir.path(), clock, debug_log, ui};
  DeviceHooks hooks;
  sim::SimulatedInstrument instrument;
  sim::SimulatedLink link{instrument};
  Device device{link, ui, debug_log, operate_log, hooks, clock};
  ViewTables tables;
  std::function<int(QDialog&)> script;
  int dialogs_run = 0;
  size_t seen = 0;
};

}  // namespace korvelane::testing
