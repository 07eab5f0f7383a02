// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/frame.h"

#include <cstring>

namespace korvelane {

uint8_t* BuildHeader(MessageBuffer& buffer, int8_t operation_id, uint32_t msg_len) {
  buffer.fill(0);
  std::memcpy(buffer.data(), kDsoppSign, sizeof kDsoppSign);
  PutU32BE(buffer.data() + kOffsetMsgLen, msg_len);
  buffer[kOffsetMsgType] = INVOKE_MSG;
  buffer[kOffsetOperationId] = static_cast<uint8_t>(operation_id);
  return buffer.data() + kHeaderSize;
}

size_t RequestSize(const MessageBuffer& buffer) {
  const uint32_t len = MsgLen(ByteView(buffer.data(), buffer.size()));
  return len > kMaxBodySize ? kBufferSize : len + kHeaderSize;
}

void BuildBindRequest(MessageBuffer& buffer) {
  BuildHeader(buffer, OP_BIND, 4);
}

void BuildUnbindRequest(MessageBuffer& buffer) {
  BuildHeader(buffer, OP_UNBIND, 4);
}

void BuildPanelKeyRequest(MessageBuffer& buffer, uint8_t key_code, uint8_t value) {
  uint8_t* body = BuildHeader(buffer, OP_PANEL_KEY, 4);
  body[0] = key_code;
  body[1] = value;
}

void BuildParamsRequest(MessageBuffer& buffer) {
  uint8_t* body = BuildHeader(buffer, OP_WAVE_DATA, 4);
  body[0] = static_cast<uint8_t>(WD_PARAMS);
}

void BuildChannelRequest(MessageBuffer& buffer, WaveDataType data_type, uint8_t measure_wanted) {
  uint8_t* body = BuildHeader(buffer, OP_WAVE_DATA, 4);
  body[0] = static_cast<uint8_t>(data_type);
  body[1] = measure_wanted;
}

void BuildConfigUploadRequest(MessageBuffer& buffer) {
  uint8_t* body = BuildHeader(buffer, OP_WAVE_DATA, 4);
  body[0] = static_cast<uint8_t>(WD_CONFIG);
}

void BuildConfigDownloadRequest(MessageBuffer& buffer, const ConfigBlock& config_block) {
  uint8_t* body = BuildHeader(buffer, OP_SET_CONFIG, kConfigBlockSize);
  std::memcpy(body, config_block.data(), kConfigBlockSize);
}

void BuildBmpBeginRequest(MessageBuffer& buffer) {
  BuildHeader(buffer, OP_BMP_BEGIN, 4);
}

void BuildBmpPieceRequest(MessageBuffer& buffer, uint32_t piece_number) {
  uint8_t* body = BuildHeader(buffer, OP_BMP_TRANS, 8);
  PutU32BE(body + 4, piece_number);
}

void BuildBmpEndRequest(MessageBuffer& buffer) {
  BuildHeader(buffer, OP_BMP_END, 4);
}

}  // namespace korvelane
