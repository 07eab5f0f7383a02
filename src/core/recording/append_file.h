// A text file that only grows: each piece is written whole at the end and reaches the disk before
// Append returns, so a crash or power loss can cut at most the piece being written.
#pragma once

#include <string>
#include <string_view>

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
  // Writes `text` at the end of the file and waits until it is on the disk; false with the
  // reason in `error`.
  bool Append(std::string_view text, std::string& error);
  void Close();

  bool is_open() const { return fd_ >= 0; }
  // The file was empty when it was opened.
  bool was_empty() const { return was_empty_; }

 private:
  int fd_ = -1;
  bool was_empty_ = true;
};

}  // namespace korvelane
