// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/device.h"

namespace korvelane {

Device::Device(UsbLink& link, UserInterface& ui, DebugLog& debug_log, OperateLog& operate_log,
               DeviceHooks& hooks, const Clock& clock)
    : pacing_(ui),
      protocol_(link, debug_log, ResultTargets{store_, selectors_, bitmap_state_}, pacing_),
      busy_(ui, pacing_),
      connection_(link, protocol_, gate_, store_, busy_, ui, debug_log, operate_log, hooks),
      acquisition_(protocol_, gate_, connection_, store_, selectors_, busy_, ui, debug_log,
                   operate_log, hooks),
      bitmap_transfer_(protocol_, gate_, bitmap_state_, store_, busy_, ui, debug_log, clock) {}

}  // namespace korvelane
