// The Wave Data and Measurement views over shared tables and a simulated instrument, with
// recorded boxes and logs and a scripted dialog runner.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/protocol/device.h"
#include "core/views/view_context.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"
#include "support/log_world.h"
#include "views/dialog_runner.h"

namespace korvelane::testing {

class ListViewWorld : public LogWorld {
 protected:
  ViewContext Context() { return ViewContext{device, tables, operate_log, debug_log, ui}; }
  // Runs each dialog through `script`; without a script a dialog is cancelled.
  DialogRunner Runner() {
    return [this](QDialog& dialog) {
      ++dialogs_run;
      return script ? script(dialog) : static_cast<int>(QDialog::Rejected);
    };
  }

  DeviceHooks hooks;
  sim::SimulatedInstrument instrument;
  sim::SimulatedLink link{instrument};
  Device device{link, ui, debug_log, operate_log, hooks, clock};
  ViewTables tables;
  std::function<int(QDialog&)> script;
  int dialogs_run = 0;
};

}  // namespace korvelane::testing
