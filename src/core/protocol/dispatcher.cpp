// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/dispatcher.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/protocol/frame.h"

namespace korvelane {
namespace {

// A result too short to hold the bytes its operation needs fails like any other bad answer.
bool HoldsBytes(ByteView body, size_t count, const char* name, DebugLog& log) {
  if (body.size() >= count)
    return true;
  log.WriteDebugLog(std::string("解析‘") + name + "’信息包错误：包身长度不足", kWarning);
  return false;
}

}  // namespace

bool DispatchResult(ByteView message, const ResultTargets& targets, DebugLog& log) {
  for (size_t i = 0; i < sizeof kDsoppSign; ++i) {
    if (message.U8(i) != static_cast<uint8_t>(kDsoppSign[i])) {
      log.WriteDebugLog("解析接收到的信息包的包身信息dsopp_sign错误", kWarning);
      return false;
    }
  }
  if (MsgType(message) == INVOKE_MSG) {
    log.WriteDebugLog("解析接收到的信息包的包身信息msg_type == INVOKE_MSG", kWarning);
    return false;
  }
  const ByteView body = message.Sub(kHeaderSize);
  switch (OperationOf(message)) {
    case OP_BIND:
      return HandleBindResult(body, targets.store, log);
    case OP_UNBIND:
      return HoldsBytes(body, 1, "UnBind_Result", log) && body.S8(0) == 0;
    case OP_PANEL_KEY:
      return HoldsBytes(body, 1, "PanelKey_Result", log) && body.S8(0) == 0;
    case OP_SET_CONFIG:
      return HoldsBytes(body, 1, "SetConfig_Result", log) && body.S8(0) == 0;
    case OP_WAVE_DATA:
      return HandleWaveDataResult(body, targets.store, targets.selectors, log);
    case DSOPP_ERROR_RESULT_OPERATION_ID: {
      log.WriteDebugLog(
          "解析接收到的信息包的包身信息operationID == DSOPP_ERROR_RESULT_OPERATION_ID", kWarning);
      char text[128];
      std::snprintf(
          text, sizeof text, "%s%d",
          "The received message is error! The error msg info is: ", static_cast<int>(body.S8(0)));
      log.WriteDebugLog(text, kWarning);
      return false;
    }
    case OP_BMP_BEGIN:
      return HandleBmpBeginResult(body, targets.bitmap, log);
    case OP_BMP_TRANS:
      return HandleBmpTransResult(body, targets.bitmap, targets.store.bmp_piece, log);
    case OP_BMP_END:
      return HandleBmpEndResult(body, log);
    default:
      return false;
  }
}

bool HandleBindResult(ByteView body, AcquisitionStore& store, DebugLog& log) {
  if (!HoldsBytes(body, 2, "Bind_Result", log))
    return false;
  const int8_t product_type = body.S8(1);
  if (product_type < 0) {
    log.WriteDebugLog("解析‘Bind_Result’得到的 ProductType < 0", kWarning);
    return false;
  }
  store.product_type = product_type;
  return body.S8(0) == 0;
}

}  // namespace korvelane
