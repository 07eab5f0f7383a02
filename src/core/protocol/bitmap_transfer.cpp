// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/bitmap_transfer.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "core/common/program_folder.h"
#include "core/protocol/frame.h"

namespace korvelane {
namespace {
constexpr const char* kEndFailed = "位图传输‘结束’请求通信失败！";
constexpr const char* kRefreshFailed = "更新‘设备界面位图’失败！";
}  // namespace

// The temporary bitmap file: created empty under a name no other file has, appended to piece
// by piece, and removed when the transfer is over, whatever its outcome.
class BitmapTransfer::TempFile {
 public:
  // `pattern` ends in "XXXXXX" and a suffix of `suffix_length` characters.
  TempFile(std::string pattern, int suffix_length) : path_(std::move(pattern)) {
    // A file under a longer path could not be opened again to be loaded.
    if (!FitsPathLimit(path_))
      return;
    const int fd = mkstemps(path_.data(), suffix_length);
    if (fd < 0)
      return;
    file_ = fdopen(fd, "wb");
    if (!file_) {
      close(fd);
      unlink(path_.c_str());
      return;
    }
    created_ = true;
  }
  ~TempFile() { Remove(); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool created() const { return created_; }
  bool write_failed() const { return write_failed_; }
  const std::string& path() const { return path_; }

  void Append(const uint8_t* data, size_t size) {
    if (!file_ || std::fwrite(data, 1, size, file_) != size)
      write_failed_ = true;
  }
  void Close() {
    if (file_ && std::fclose(file_) != 0)
      write_failed_ = true;
    file_ = nullptr;
  }
  void Remove() {
    Close();
    if (created_)
      std::remove(path_.c_str());
    created_ = false;
  }

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  bool created_ = false;
  bool write_failed_ = false;
};

BitmapTransfer::BitmapTransfer(Protocol& protocol, ExchangeGate& gate, BitmapTransferState& state,
                               AcquisitionStore& store, BusyIndicator& busy, UserInterface& ui,
                               DebugLog& debug_log, const Clock& clock)
    : protocol_(protocol),
      gate_(gate),
      state_(state),
      store_(store),
      busy_(busy),
      ui_(ui),
      debug_log_(debug_log),
      clock_(clock) {}

bool BitmapTransfer::FetchScreenBitmap(const std::string& initial_path, BitmapTarget& target) {
  ExchangeGate::Hold hold(gate_);
  ui_.SetWaitCursor(true);
  const bool loaded = RunTransfer(initial_path, target);
  ui_.SetWaitCursor(false);
  return loaded;
}

// Every answer is read as soon as it arrives, so no fixed pause comes between a request and its
// answer; pieces wait up to the link's own time-out, begin and end up to kBeginEndAnswerMs.
bool BitmapTransfer::RunTransfer(const std::string& initial_path, BitmapTarget& target) {
  BuildBmpBeginRequest(protocol_.send_buffer());
  state_ = BitmapTransferState{};
  protocol_.ProtocolSend();
  Advance(1);
  if (!protocol_.ProtocolReceiveWithin(kBeginEndAnswerMs)) {
    FailBegin();
    return false;
  }
  Advance(1);
  const std::string folder = initial_path.empty() ? ProgramFolder() : initial_path;
  TempFile file(JoinPath(folder, kTempFilePattern), static_cast<int>(std::strlen(".bmp")));
  if (!file.created()) {
    CancelWithoutFile();
    return false;
  }
  Advance(1);
  if (ReceivePieces(file) == PieceLoop::kFailed)
    return false;
  return EndAndLoad(file, target);
}

bool BitmapTransfer::EndExchange(int advance) {
  BuildBmpEndRequest(protocol_.send_buffer());
  protocol_.ProtocolSend();
  if (advance > 0)
    Advance(advance);
  return protocol_.ProtocolReceiveWithin(kBeginEndAnswerMs);
}

void BitmapTransfer::ShowFailure() {
  ui_.ShowMessage("Try to refresh the DSO Bitmap failed", "Error", MessageIcon::kExclamation);
}

void BitmapTransfer::FailBegin() {
  debug_log_.WriteDebugLog("更新失败：位图传输‘开始’请求通信失败！", kWarning);
  Advance(3);
  if (!EndExchange(0))
    debug_log_.WriteDebugLog(kEndFailed, kWarning);
  Advance(3);
  ShowFailure();
  debug_log_.WriteDebugLog(kRefreshFailed, kWarning);
  ResetProgress();
}

void BitmapTransfer::CancelWithoutFile() {
  Advance(3);
  debug_log_.WriteDebugLog("创建‘位图’临时文件失败，取消更新‘位图’！", kNormal);
  if (!EndExchange(3))
    debug_log_.WriteDebugLog(kEndFailed, kWarning);
  ResetProgress();
}

BitmapTransfer::PieceLoop BitmapTransfer::ReceivePieces(TempFile& file) {
  int failures = 0;
  int accepted = 0;
  uint32_t piece = 0;
  while (piece < kMaxPieces) {
    state_.expected_piece = piece;
    BuildBmpPieceRequest(protocol_.send_buffer(), piece);
    protocol_.ProtocolSend();
    // Only an answer that added a piece counts; any other answer is a failed attempt.
    const uint32_t received_before = state_.received_length;
    if (protocol_.ProtocolReceive() && state_.received_length > received_before) {
      file.Append(store_.bmp_piece.data(), state_.piece_length);
      if (state_.complete()) {
        Advance(1);
        return PieceLoop::kDone;
      }
      failures = 0;
      if (++accepted % 2 == 0)
        Advance(1);
      ++piece;
      continue;
    }
    // A failed attempt asks for the same piece again.
    if (++failures > kMaxPieceFailures) {
      GiveUpPiece(piece, file);
      return PieceLoop::kFailed;
    }
  }
  // Twenty pieces without completion count as the whole file.
  return PieceLoop::kDone;
}

void BitmapTransfer::GiveUpPiece(uint32_t piece, TempFile& file) {
  Advance(2);
  debug_log_.WriteDebugLog("Try to get the data piece failed：" + std::to_string(piece), kWarning);
  if (!EndExchange(2))
    debug_log_.WriteDebugLog(kEndFailed, kWarning);
  file.Remove();
  ResetProgress();
  ShowFailure();
  debug_log_.WriteDebugLog(kRefreshFailed, kError);
}

bool BitmapTransfer::EndAndLoad(TempFile& file, BitmapTarget& target) {
  if (!EndExchange(0)) {
    debug_log_.WriteDebugLog("更新失败：位图传输‘结束’请求通信失败！", kWarning);
    ResetProgress();
    file.Remove();
    return false;
  }
  Advance(1);
  file.Close();
  if (file.write_failed()) {
    // A file that could not be written whole would show a broken picture.
    debug_log_.WriteDebugLog("写‘位图’临时文件失败，取消更新‘位图’！", kWarning);
    file.Remove();
    ResetProgress();
    return false;
  }
  target.LoadBitmapFile(file.path());
  file.Remove();
  ResetProgress();
  target.SetTitle(TitleNow());
  return true;
}

std::string BitmapTransfer::TitleNow() const {
  const LocalTime t = clock_.Now();
  char text[64];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

}  // namespace korvelane
