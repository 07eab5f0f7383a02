// SPDX-License-Identifier: GPL-3.0-or-later
// The DSOPP message frame and the request builders.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/common/byte_view.h"
#include "core/common/config_block.h"

namespace korvelane {

constexpr size_t kBufferSize = 8192;
constexpr size_t kHeaderSize = 16;
constexpr size_t kMaxBodySize = kBufferSize - kHeaderSize;  // 8176
constexpr char kDsoppSign[8] = {'D', 'S', 'O', 'P', 'P', 'V', '2', '0'};

using MessageBuffer = std::array<uint8_t, kBufferSize>;

// Header offsets.
constexpr size_t kOffsetMsgLen = 8;
constexpr size_t kOffsetMsgType = 12;
constexpr size_t kOffsetOperationId = 13;

constexpr uint8_t INVOKE_MSG = 0;

enum OperationId : int8_t {
  OP_BIND = 1,
  OP_UNBIND = 2,
  OP_PANEL_KEY = 4,
  OP_WAVE_DATA = 5,
  DSOPP_ERROR_RESULT_OPERATION_ID = 9,
  OP_SET_CONFIG = 10,
  OP_BMP_BEGIN = 11,
  OP_BMP_TRANS = 12,
  OP_BMP_END = 13,
};

// Data types of OP_WAVE_DATA.
enum WaveDataType : int8_t {
  WD_PARAMS = 0,
  WD_CH1 = 1,
  WD_CH2 = 2,
  WD_CONFIG = 4,
  WD_CH1_ALL = 5,
  WD_CH2_ALL = 6,
};

// Header fields of a message held in a buffer.
inline uint32_t MsgLen(ByteView message) {
  return message.U32BE(kOffsetMsgLen);
}
inline uint8_t MsgType(ByteView message) {
  return message.U8(kOffsetMsgType);
}
inline int8_t OperationOf(ByteView message) {
  return message.S8(kOffsetOperationId);
}

// Clears the whole buffer and writes a request header (msg_type INVOKE_MSG). Returns the start
// of the body.
uint8_t* BuildHeader(MessageBuffer& buffer, int8_t operation_id, uint32_t msg_len);

// Number of bytes a request in `buffer` occupies on the wire: msg_len + 16.
size_t RequestSize(const MessageBuffer& buffer);

void BuildBindRequest(MessageBuffer& buffer);
void BuildUnbindRequest(MessageBuffer& buffer);
void BuildPanelKeyRequest(MessageBuffer& buffer, uint8_t key_code, uint8_t value);
void BuildParamsRequest(MessageBuffer& buffer);
// `data_type` is WD_CH1, WD_CH2, WD_CH1_ALL or WD_CH2_ALL; `measure_wanted` 0 or 1.
void BuildChannelRequest(MessageBuffer& buffer, WaveDataType data_type, uint8_t measure_wanted);
void BuildConfigUploadRequest(MessageBuffer& buffer);
void BuildConfigDownloadRequest(MessageBuffer& buffer, const ConfigBlock& config_block);
void BuildBmpBeginRequest(MessageBuffer& buffer);
void BuildBmpPieceRequest(MessageBuffer& buffer, uint32_t piece_number);
void BuildBmpEndRequest(MessageBuffer& buffer);

}  // namespace korvelane
