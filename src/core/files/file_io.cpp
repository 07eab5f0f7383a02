// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/common/program_folder.h"

namespace korvelane {
namespace {

// A new file beside the target that nobody else uses, removed again unless it took the
// target's place.
class TemporaryFile : public ByteSink {
 public:
  explicit TemporaryFile(const std::string& target) {
    std::string pattern = target + ".tmp-XXXXXX";
    fd_ = mkstemp(pattern.data());
    if (fd_ >= 0)
      path_ = pattern;
  }
  ~TemporaryFile() override {
    if (fd_ >= 0)
      close(fd_);
    if (!path_.empty())
      unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool created() const { return fd_ >= 0; }

  bool Write(const uint8_t* data, size_t size) override {
    size_t done = 0;
    while (done < size) {
      const ssize_t n = write(fd_, data + done, size - done);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }

  // Flushes the bytes to disk and puts the file at `target`; false when they may not all be
  // there or the name cannot be taken.
  bool Commit(const std::string& target, WriteMode mode) {
    const bool synced = fsync(fd_) == 0;
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed)
      return false;
    // mkstemp makes the file private; a saved file gets the usual mode (if that fails, the
    // owner can still read it).
    [[maybe_unused]] const int moded = fchmodat(AT_FDCWD, path_.c_str(), 0644, 0);
    // link() refuses an existing name, so a file made meanwhile is not overwritten either.
    if (mode == WriteMode::kCreateNew)
      return link(path_.c_str(), target.c_str()) == 0;
    if (rename(path_.c_str(), target.c_str()) != 0)
      return false;
    path_.clear();
    return true;
  }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace

int OpenRegularFile(const std::string& path) {
  struct stat st {};
  if (!FitsPathLimit(path) || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
    return -1;
  // The name may have been given to something else since: still never wait, and check again.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return -1;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, size_t max_size) {
  const int fd = OpenRegularFile(path);
  if (fd < 0)
    return std::nullopt;
  struct stat st {};
  if (fstat(fd, &st) != 0 || static_cast<size_t>(st.st_size) > max_size) {
    close(fd);
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(st.st_size));
  uint8_t chunk[65536];
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      close(fd);
      return std::nullopt;
    }
    if (n == 0)
      break;
    if (bytes.size() + static_cast<size_t>(n) > max_size) {
      close(fd);
      return std::nullopt;
    }
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  close(fd);
  return bytes;
}

bool WriteWholeFile(const std::string& path, const std::function<bool(ByteSink&)>& content,
                    WriteMode mode) {
  if (path.empty())
    return false;
  if (mode == WriteMode::kCreateNew && access(path.c_str(), F_OK) == 0)
    return false;
  TemporaryFile file(path);
  return file.created() && content(file) && file.Commit(path, mode);
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, WriteMode mode) {
  return WriteWholeFile(
      path, [&bytes](ByteSink& sink) { return sink.Write(bytes.data(), bytes.size()); }, mode);
}

bool HasExtension(const std::string& path, const std::string& extension) {
  return path.find(extension) != std::string::npos;
}

}  // namespace korvelane
