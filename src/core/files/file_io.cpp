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

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// A new file beside `path` that nobody else uses; -1 when none can be made.
int MakeTemporary(const std::string& path, std::string* temp_path) {
  std::string pattern = path + ".tmp-XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd >= 0)
    *temp_path = pattern;
  return fd;
}

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

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, WriteMode mode) {
  if (path.empty())
    return false;
  if (mode == WriteMode::kCreateNew && access(path.c_str(), F_OK) == 0)
    return false;
  std::string temp;
  const int fd = MakeTemporary(path, &temp);
  if (fd < 0)
    return false;
  bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok) {
    // mkstemp makes the file private; a saved file gets the usual mode (if that fails, the
    // owner can still read it).
    [[maybe_unused]] const int moded = fchmodat(AT_FDCWD, temp.c_str(), 0644, 0);
    if (mode == WriteMode::kCreateNew) {
      // link() refuses an existing name, so a file made meanwhile is not overwritten either.
      ok = link(temp.c_str(), path.c_str()) == 0;
      unlink(temp.c_str());
      return ok;
    }
    ok = rename(temp.c_str(), path.c_str()) == 0;
  }
  if (!ok)
    unlink(temp.c_str());
  return ok;
}

bool HasExtension(const std::string& path, const std::string& extension) {
  return path.find(extension) != std::string::npos;
}

}  // namespace korvelane
