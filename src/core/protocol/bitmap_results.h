// SPDX-License-Identifier: GPL-3.0-or-later
// The results of the screen bitmap exchanges (begin, piece, end), decoded against the state of
// the transfer in progress. Bytes in, state out.
#pragma once

#include <cstdint>

#include "core/common/byte_view.h"
#include "core/logs/debug_log.h"
#include "core/protocol/acquisition_store.h"

namespace korvelane {

// State of one screen bitmap transfer; all zero when a transfer begins.
struct BitmapTransferState {
  uint32_t total_length = 0;     // bytes of the whole bitmap file, from the begin result
  uint32_t received_length = 0;  // bytes accepted so far
  uint32_t expected_piece = 0;   // number of the piece last requested (0-based)
  uint32_t piece_length = 0;     // bytes of the piece last accepted

  // Whether the pieces accepted so far make the whole file.
  bool complete() const { return received_length >= total_length; }
};

// Body offsets of the bitmap results.
namespace bmp_result {
// Bmp_Begin_Result.
constexpr size_t kBeginDataType = 0;
constexpr size_t kBeginTotalLength = 4;
constexpr size_t kBeginResult = 8;
constexpr size_t kBeginSize = 9;
// Bmp_Trans_Result.
constexpr size_t kFileNum = 0;
constexpr size_t kFileLen = 4;
constexpr size_t kChecksum = 8;
constexpr size_t kData = 12;
constexpr size_t kPieceCapacity = 4000;
constexpr size_t kTransDataType = 4012;
constexpr size_t kTransResult = 4013;
constexpr size_t kTransSize = 4014;
// Bmp_End_Result.
constexpr size_t kEndDataType = 0;
constexpr size_t kEndResult = 1;
constexpr size_t kEndSize = 2;
}  // namespace bmp_result

// The checksum that makes the 32-bit byte sum of `data` plus the checksum zero.
uint32_t PieceChecksum(const uint8_t* data, size_t size);

// Records total_length from the body before any check; true when the instrument began the
// transfer.
bool HandleBmpBeginResult(ByteView body, BitmapTransferState& state, DebugLog& log);

// Checks one piece against `state.expected_piece`; an accepted piece is copied into `bmp_piece`
// and counted, and true is returned (`state.complete()` tells whether it was the last).
bool HandleBmpTransResult(ByteView body, BitmapTransferState& state, SampleArray& bmp_piece,
                          DebugLog& log);

// True when the instrument ended the transfer.
bool HandleBmpEndResult(ByteView body, DebugLog& log);

}  // namespace korvelane
