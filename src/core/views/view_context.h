// SPDX-License-Identifier: GPL-3.0-or-later
// What every view works with: the instrument, the shared tables, the logs and the user.
#pragma once

#include "core/common/user_interface.h"
#include "core/logs/debug_log.h"
#include "core/logs/operate_log.h"
#include "core/protocol/device.h"
#include "core/views/view_tables.h"

namespace korvelane {

struct ViewContext {
  Device& device;
  ViewTables& tables;
  OperateLog& operate_log;
  DebugLog& debug_log;
  UserInterface& ui;
};

}  // namespace korvelane
