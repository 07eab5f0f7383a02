// SPDX-License-Identifier: GPL-3.0-or-later
// Checks a received message and hands its body to the result handler of its operation.
#pragma once

#include "core/common/byte_view.h"
#include "core/logs/debug_log.h"
#include "core/protocol/acquisition_store.h"
#include "core/protocol/bitmap_results.h"
#include "core/protocol/wave_data_decoder.h"

namespace korvelane {

// What the result handlers read and write.
struct ResultTargets {
  AcquisitionStore& store;
  const RequestSelectors& selectors;
  BitmapTransferState& bitmap;
};

// `message` is the whole received message, header first, as long as msg_len + 16. True when it
// passes the checks and its operation succeeded: the result handler's answer, or a result byte
// of 0.
bool DispatchResult(ByteView message, const ResultTargets& targets, DebugLog& log);

// Bind_Result: a non-negative ProductType is stored (even when the result is a failure).
bool HandleBindResult(ByteView body, AcquisitionStore& store, DebugLog& log);

}  // namespace korvelane
