// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/device_result_handlers.h"

namespace korvelane {

bool DeviceResultHandlers::HandleBindResult(ByteView body) {
  return korvelane::HandleBindResult(body, store_, log_);
}

bool DeviceResultHandlers::HandleWaveDataResult(ByteView body) {
  return korvelane::HandleWaveDataResult(body, store_, selectors_, log_);
}

bool DeviceResultHandlers::HandleBmpBeginResult(ByteView body) {
  return korvelane::HandleBmpBeginResult(body, bitmap_state_, log_);
}

bool DeviceResultHandlers::HandleBmpTransResult(ByteView body) {
  return korvelane::HandleBmpTransResult(body, bitmap_state_, store_.bmp_piece, log_);
}

bool DeviceResultHandlers::HandleBmpEndResult(ByteView body) {
  return korvelane::HandleBmpEndResult(body, log_);
}

}  // namespace korvelane
