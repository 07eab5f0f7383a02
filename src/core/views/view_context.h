// SPDX-License-Identifier: GPL-3.0-or-later
// What every view works with: the acquisition store, the shared tables, the logs and the user.
// A view that also talks to the instrument is handed the exchange it runs besides.
#pragma once

#include "core/common/user_interface.h"
#include "core/logs/debug_log.h"
#include "core/logs/operate_log.h"
#include "core/protocol/acquisition_store.h"
#include "core/views/view_tables.h"

namespace korvelane {

struct ViewContext {
  AcquisitionStore& store;
  ViewTables& tables;
  OperateLog& operate_log;
  DebugLog& debug_log;
  UserInterface& ui;
};

}  // namespace korvelane
