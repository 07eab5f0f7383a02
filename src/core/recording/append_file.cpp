// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/recording/append_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace korvelane {
namespace {

std::string Reason() {
  return std::strerror(errno);
}

// The last byte of an open file, or 0 when it has none or cannot be read.
char LastByte(int fd, off_t size) {
  char last = 0;
  if (size > 0 && pread(fd, &last, 1, size - 1) != 1)
    last = 0;
  return last;
}

}  // namespace

AppendFile::~AppendFile() {
  Close();
}

bool AppendFile::Open(const std::string& path, std::string& error) {
  Close();
  const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = Reason();
    return false;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = S_ISREG(info.st_mode) ? Reason() : "not a regular file";
    ::close(fd);
    return false;
  }
  fd_ = fd;
  was_empty_ = info.st_size == 0;
  closing_ = false;
  sync_wanted_ = false;
  sync_error_.clear();
  syncer_ = std::thread([this] { SyncUntilClosed(); });
  if (!was_empty_ && LastByte(fd_, info.st_size) != '\n' && !Append("\n", error)) {
    Close();
    return false;
  }
  return true;
}

bool AppendFile::Append(std::string_view text, std::string& error) {
  if (fd_ < 0) {
    error = "the file is not open";
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!sync_error_.empty()) {
      error = sync_error_;
      return false;
    }
  }
  while (!text.empty()) {
    const ssize_t written = ::write(fd_, text.data(), text.size());
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0) {
      error = written < 0 ? Reason() : "nothing could be written";
      return false;
    }
    text.remove_prefix(static_cast<size_t>(written));
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    sync_wanted_ = true;
  }
  wake_.notify_one();
  return true;
}

void AppendFile::Close() {
  if (fd_ < 0)
    return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  wake_.notify_one();
  syncer_.join();
  fdatasync(fd_);
  ::close(fd_);
  fd_ = -1;
}

void AppendFile::SyncUntilClosed() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return sync_wanted_ || closing_; });
    if (closing_)
      return;
    // Rows written while this sync runs are covered by the next one.
    sync_wanted_ = false;
    lock.unlock();
    const bool synced = fdatasync(fd_) == 0;
    const std::string reason = synced ? std::string() : Reason();
    lock.lock();
    if (!synced && sync_error_.empty())
      sync_error_ = reason;
  }
}

}  // namespace korvelane
