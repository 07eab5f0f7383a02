// SPDX-License-Identifier: GPL-3.0-or-later
// Fetching a picture of the instrument's screen: a begin exchange, up to twenty numbered pieces
// written into a temporary bitmap file, and an end exchange; the file is then handed to the
// DSO Bitmap view and deleted.
#pragma once

#include <cstdint>
#include <string>

#include "core/common/clock.h"
#include "core/common/user_interface.h"
#include "core/logs/debug_log.h"
#include "core/protocol/acquisition_store.h"
#include "core/protocol/bitmap_results.h"
#include "core/protocol/busy_indicator.h"
#include "core/protocol/device_hooks.h"
#include "core/protocol/exchange_gate.h"
#include "core/protocol/protocol.h"

namespace korvelane {

class BitmapTransfer {
 public:
  // The temporary file's name: "myTempBmp-" and six characters that make it unique.
  static constexpr const char* kTempFilePattern = "myTempBmp-XXXXXX.bmp";
  // How long the begin and end answers may take: the instrument renders its screen first.
  static constexpr int kBeginEndAnswerMs = 5000;
  static constexpr uint32_t kMaxPieces = 20;
  // One piece may fail this often in a row; the next failure ends the transfer.
  static constexpr int kMaxPieceFailures = 5;

  BitmapTransfer(Protocol& protocol, ExchangeGate& gate, BitmapTransferState& state,
                 AcquisitionStore& store, BusyIndicator& busy, UserInterface& ui,
                 DebugLog& debug_log, const Clock& clock);

  uint32_t total_length() const { return state_.total_length; }
  uint32_t received_length() const { return state_.received_length; }
  uint32_t expected_piece() const { return state_.expected_piece; }
  uint32_t piece_length() const { return state_.piece_length; }

  // The whole transfer, under the wait cursor. The pieces go into a new temporary file in
  // `initial_path` (the program's folder when it is empty), which `target` loads; its title
  // becomes the local time. No other file of the folder is touched. True when the picture was
  // handed to `target`.
  bool FetchScreenBitmap(const std::string& initial_path, BitmapTarget& target);

 private:
  class TempFile;
  enum class PieceLoop { kDone, kFailed };

  bool RunTransfer(const std::string& initial_path, BitmapTarget& target);
  void FailBegin();
  void CancelWithoutFile();
  PieceLoop ReceivePieces(TempFile& file);
  void GiveUpPiece(uint32_t piece, TempFile& file);
  bool EndAndLoad(TempFile& file, BitmapTarget& target);
  // Sends bitmap-end, advances the bar by `advance` tenths, reads the answer; true when the
  // instrument ended the transfer.
  bool EndExchange(int advance);
  void Advance(int tenths) { busy_.ShowProgress(10, tenths); }
  void ResetProgress() { busy_.ShowProgress(10, 0); }
  void ShowFailure();
  std::string TitleNow() const;

  Protocol& protocol_;
  ExchangeGate& gate_;
  BitmapTransferState& state_;
  AcquisitionStore& store_;
  BusyIndicator& busy_;
  UserInterface& ui_;
  DebugLog& debug_log_;
  const Clock& clock_;
};

}  // namespace korvelane
