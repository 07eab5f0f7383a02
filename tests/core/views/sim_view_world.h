// SPDX-License-Identifier: GPL-3.0-or-later
// The Wave Graph controller and the view tables over the simulated instrument, bound, with the
// device following the instrument's plug events.
#pragma once

#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"
#include "view_world.h"

namespace korvelane::testing {

// Built before the world so the link can take it.
struct SimInstrumentHolder {
  explicit SimInstrumentHolder(sim::SimulatorOptions options) : instrument(options) {}
  sim::SimulatedInstrument instrument;
};

class SimViewWorld : protected SimInstrumentHolder, public ControllerWorld<sim::SimulatedLink> {
 protected:
  explicit SimViewWorld(sim::SimulatorOptions options)
      : SimInstrumentHolder(options), ControllerWorld(instrument) {
    link.SetDeviceChangeNotifier([this](uintptr_t wparam, intptr_t lparam) {
      device.connection().OnDeviceChange(wparam, lparam);
    });
    device.connection().StartupLinkTest();
    device.connection().Connect();
  }
};

}  // namespace korvelane::testing
