// SPDX-License-Identifier: GPL-3.0-or-later
// Checks a received message and hands its body to the result handler of its operation.
#pragma once

#include "core/common/byte_view.h"
#include "core/logs/debug_log.h"
#include "core/protocol/acquisition_store.h"

namespace korvelane {

// Result handlers of the operations that carry data. Each returns true when the result is a
// success it has taken in.
class ResultHandlers {
 public:
  virtual ~ResultHandlers() = default;
  virtual bool HandleBindResult(ByteView body) = 0;
  virtual bool HandleWaveDataResult(ByteView body) = 0;
  virtual bool HandleBmpBeginResult(ByteView body) = 0;
  virtual bool HandleBmpTransResult(ByteView body) = 0;
  virtual bool HandleBmpEndResult(ByteView body) = 0;
};

// `message` is the whole received message, header first, as long as msg_len + 16. True when it
// passes the checks and its operation succeeded: the handler's answer, or a result byte of 0.
bool DispatchResult(ByteView message, ResultHandlers& handlers, DebugLog& log);

// Bind_Result: a non-negative ProductType is stored (even when the result is a failure).
bool HandleBindResult(ByteView body, AcquisitionStore& store, DebugLog& log);

}  // namespace korvelane
