// SPDX-License-Identifier: GPL-3.0-or-later
// A text file that only grows. Each piece is written whole at the end of the file before Append
// returns, so a crash of the program can cut at most the piece being written; a helper thread
// then puts it on the disk (fdatasync) without holding up the caller, so a power loss can lose
// only what was written in the last few milliseconds, and never damages what came before.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace korvelane {

class AppendFile {
 public:
  AppendFile() = default;
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  // Opens `path` for appending, creating it when missing. A file whose last line was cut short
  // gets a line end first, so the next piece starts a line of its own. False with the reason in
  // `error` when it cannot be opened.
  bool Open(const std::string& path, std::string& error);
  // Writes `text` at the end of the file; false with the reason in `error` when it could not be
  // written, or when putting an earlier piece on the disk failed.
  bool Append(std::string_view text, std::string& error);
  // Puts everything on the disk and closes the file.
  void Close();

  bool is_open() const { return fd_ >= 0; }
  // The file was empty when it was opened.
  bool was_empty() const { return was_empty_; }

 private:
  void SyncUntilClosed();

  int fd_ = -1;
  bool was_empty_ = true;
  std::thread syncer_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool sync_wanted_ = false;  // written since the last sync began
  bool closing_ = false;
  std::string sync_error_;  // the first failed sync, reported by the next Append
};

}  // namespace korvelane
