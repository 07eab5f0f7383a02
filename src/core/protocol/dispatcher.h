// SPDX-License-Identifier: GPL-3.0-or-later
// Checks a received message and hands its body to the result handler of its operation.
#pragma once

#include "core/common/byte_view.h"
#include "core/logs/debug_log.h"
#include "core/protocol/acquisition_store.h"

namespace korvelane {

// Result handlers of the operations that carry data. Each returns 0 for success and non-zero
// for failure; the bitmap piece handler also returns 2 when the file is complete.
class ResultHandlers {
 public:
  virtual ~ResultHandlers() = default;
  virtual int HandleBindResult(ByteView body) = 0;
  virtual int HandleWaveDataResult(ByteView body) = 0;
  virtual int HandleBmpBeginResult(ByteView body) = 0;
  virtual int HandleBmpTransResult(ByteView body) = 0;
  virtual int HandleBmpEndResult(ByteView body) = 0;
};

// `message` is the whole received message, header first, as long as msg_len + 16. Returns the
// handler's value, or 1 for a message that fails the checks.
int DispatchResult(ByteView message, ResultHandlers& handlers, DebugLog& log);

// Bind_Result: a non-negative ProductType is stored (even when the result is a failure).
int HandleBindResult(ByteView body, AcquisitionStore& store, DebugLog& log);

}  // namespace korvelane
