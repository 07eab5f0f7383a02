// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/bitmap_results.h"

namespace korvelane {

using namespace bmp_result;

uint32_t PieceChecksum(const uint8_t* data, size_t size) {
  uint32_t sum = 0;
  for (size_t i = 0; i < size; ++i)
    sum += data[i];
  return 0u - sum;
}

bool HandleBmpBeginResult(ByteView body, BitmapTransferState& state, DebugLog& log) {
  state.total_length = body.U32BE(kBeginTotalLength);
  if (body.U8(kBeginDataType) != 0) {
    log.WriteDebugLog("解析‘Bmp_Begin_Result’信息包得到的 data_type 与请求的类型不符", kWarning);
    return false;
  }
  if (body.size() < kBeginSize) {
    log.WriteDebugLog("解析‘Bmp_Begin_Result’信息包错误：包身长度不足", kWarning);
    return false;
  }
  return body.S8(kBeginResult) == 0;
}

namespace {

bool RejectPiece(const char* text, DebugLog& log) {
  log.WriteDebugLog(text, kWarning);
  return false;
}

}  // namespace

bool HandleBmpTransResult(ByteView body, BitmapTransferState& state, SampleArray& bmp_piece,
                          DebugLog& log) {
  if (body.size() < kTransSize)
    return RejectPiece("解析‘Bmp_Trans_Result’信息包错误：包身长度不足", log);
  if (body.U8(kTransResult) != 0)
    return RejectPiece("解析‘Bmp_Trans_Result’信息包得到的 result 为错误值", log);
  if (body.U8(kTransDataType) != 0)
    return RejectPiece("解析‘Bmp_Trans_Result’信息包的 data_type 与请求的类型不符", log);
  const uint32_t file_num = body.U32BE(kFileNum);
  if (file_num < state.expected_piece)
    return RejectPiece("解析‘Bmp_Trans_Result’信息包的 file_num 错误:小于请求值", log);
  if (file_num > state.expected_piece)
    return RejectPiece("解析‘Bmp_Trans_Result’信息包的 file_num 错误:大于请求值", log);
  const uint32_t file_len = body.U32BE(kFileLen);
  if (file_len == 0)
    return RejectPiece("解析‘Bmp_Trans_Result’信息包的 file_len 错误:len < 1", log);
  if (file_len > kPieceCapacity)
    return RejectPiece("解析‘Bmp_Trans_Result’信息包的 file_len 错误:len > 4000", log);

  state.piece_length = file_len;
  bmp_piece.fill(0);
  body.CopyTo(kData, bmp_piece.data(), file_len);
  if (PieceChecksum(bmp_piece.data(), file_len) != body.U32BE(kChecksum))
    return RejectPiece("解析‘Bmp_Trans_Result’信息包错误：校验不通过", log);

  state.received_length += file_len;
  if (state.complete())
    log.WriteDebugLog("位图文件传输全部完成！", kNormal);
  return true;
}

bool HandleBmpEndResult(ByteView body, DebugLog& log) {
  if (body.U8(kEndDataType) != 0) {
    log.WriteDebugLog("解析‘Bmp_End_Result’信息包得到的 data_type 与请求的类型不符", kWarning);
    return false;
  }
  if (body.size() < kEndSize) {
    log.WriteDebugLog("解析‘Bmp_End_Result’信息包错误：包身长度不足", kWarning);
    return false;
  }
  return body.S8(kEndResult) == 0;
}

}  // namespace korvelane
