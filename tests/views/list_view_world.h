// SPDX-License-Identifier: GPL-3.0-or-later
// The views over shared tables and a simulated instrument, with recorded boxes and logs and a
// scripted dialog runner.
#pragma once

#include <QDialog>
#include <functional>

#include "core/protocol/device.h"
#include "core/protocol/measurement_record.h"
#include "core/views/measurement_column.h"
#include "core/views/view_context.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"
#include "support/log_world.h"
#include "views/dialog_runner.h"

namespace korvelane::testing {

class ListViewWorld : public LogWorld {
 protected:
  ViewContext Context() { return ViewContext{device.store(), tables, operate_log, debug_log, ui}; }
  // Runs each dialog through `script`; without a script a dialog is cancelled.
  DialogRunner Runner() {
    return [this](QDialog& dialog) {
      return script ? script(dialog) : static_cast<int>(QDialog::Rejected);
    };
  }

  // CH1 or CH2 measured, as a refresh that asks for both leaves it: eleven records of `value` in
  // `unit`.
  void Measured(int channel, float value, int unit) {
    ChannelData& data = device.store().channel(channel);
    data.enabled = true;
    for (int item = 0; item < kMeasurementItemCount; ++item) {
      EncodeMeasurementRecord({true, value, static_cast<int8_t>(unit), 2},
                              data.measure.data() + item * kMeasurementRecordSize);
    }
    RequestSelectors selectors;
    selectors.ch1_measure_wanted = 1;
    selectors.ch2_measure_wanted = 1;
    ShowChannelMeasurements(tables, device.store(), selectors, channel);
    EnableViewButtons(tables);
  }

  DeviceHooks hooks;
  sim::SimulatedInstrument instrument;
  sim::SimulatedLink link{instrument};
  Device device{link, ui, debug_log, operate_log, hooks, clock};
  ViewTables tables;
  std::function<int(QDialog&)> script;
};

}  // namespace korvelane::testing
