// SPDX-License-Identifier: GPL-3.0-or-later
// Routes the results that carry data to their decoders.
#pragma once

#include "core/logs/debug_log.h"
#include "core/protocol/acquisition_store.h"
#include "core/protocol/bitmap_results.h"
#include "core/protocol/dispatcher.h"
#include "core/protocol/wave_data_decoder.h"

namespace korvelane {

class DeviceResultHandlers : public ResultHandlers {
 public:
  DeviceResultHandlers(AcquisitionStore& store, const RequestSelectors& selectors,
                       BitmapTransferState& bitmap_state, DebugLog& log)
      : store_(store), selectors_(selectors), bitmap_state_(bitmap_state), log_(log) {}

  bool HandleBindResult(ByteView body) override;
  bool HandleWaveDataResult(ByteView body) override;
  bool HandleBmpBeginResult(ByteView body) override;
  bool HandleBmpTransResult(ByteView body) override;
  bool HandleBmpEndResult(ByteView body) override;

 private:
  AcquisitionStore& store_;
  const RequestSelectors& selectors_;
  BitmapTransferState& bitmap_state_;
  DebugLog& log_;
};

}  // namespace korvelane
