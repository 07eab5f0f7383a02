// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/bitmap_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "core/files/file_io.h"

namespace korvelane {
namespace {

// A file read at the offsets the decoder asks for; consecutive reads need no seek.
class FileBitmapSource : public BitmapSource {
 public:
  FileBitmapSource(std::FILE* file, uint64_t size) : file_(file), size_(size) {}

  uint64_t size() const override { return size_; }

  bool Read(uint64_t offset, uint8_t* out, size_t count) override {
    if (offset > size_ || count > size_ - offset)
      return false;
    if (offset != position_) {
      if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0)
        return false;
      position_ = offset;
    }
    const size_t got = std::fread(out, 1, count, file_);
    position_ += got;
    return got == count;
  }

 private:
  std::FILE* file_;
  uint64_t size_;
  uint64_t position_ = 0;
};

// A new file beside the target that takes the picture and replaces the target only once it is
// complete, so that a failed save leaves the old file as it was.
class TemporaryFileSink : public ByteSink {
 public:
  explicit TemporaryFileSink(const std::string& target) : target_(target) {
    std::string pattern = target + ".tmp-XXXXXX";
    fd_ = mkstemp(pattern.data());
    if (fd_ >= 0)
      temp_ = pattern;
  }
  ~TemporaryFileSink() override {
    if (fd_ >= 0)
      close(fd_);
    if (!temp_.empty())
      unlink(temp_.c_str());
  }
  TemporaryFileSink(const TemporaryFileSink&) = delete;
  TemporaryFileSink& operator=(const TemporaryFileSink&) = delete;

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

  // Makes the written bytes durable; false when they may not all be on disk.
  bool Finish() {
    const bool synced = fsync(fd_) == 0;
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    return synced && closed;
  }

  // Puts the finished file in the target's place.
  bool Replace() {
    // mkstemp makes the file private; a saved file gets the usual mode (if that fails, the
    // owner can still read it).
    [[maybe_unused]] const int moded = fchmodat(AT_FDCWD, temp_.c_str(), 0644, 0);
    if (rename(temp_.c_str(), target_.c_str()) != 0)
      return false;
    temp_.clear();
    return true;
  }

 private:
  std::string target_;
  std::string temp_;
  int fd_ = -1;
};

}  // namespace

BitmapError ReadBitmapFile(const std::string& path, DecodedBitmap& out) {
  const int fd = OpenRegularFile(path);
  if (fd < 0)
    return BitmapError::kCannotOpen;
  struct stat info {};
  std::FILE* file = nullptr;
  if (fstat(fd, &info) != 0 || !(file = fdopen(fd, "rb"))) {
    close(fd);
    return BitmapError::kCannotOpen;
  }
  FileBitmapSource source(file, static_cast<uint64_t>(info.st_size));
  const BitmapError error = DecodeBitmap(source, out);
  std::fclose(file);
  return error;
}

BitmapWriteResult WriteBitmap(const DecodedBitmap& picture, ByteSink& sink) {
  if (!picture.valid())
    return BitmapWriteResult::kPixelsFailed;
  const SavedBitmapHeaders headers = HeadersForSaving(picture);
  const auto file_header = EncodeFileHeader(headers.file_header);
  if (!sink.Write(file_header.data(), file_header.size()))
    return BitmapWriteResult::kFileHeaderFailed;
  const auto info_header = EncodeInfoHeader(headers.info_header);
  if (!sink.Write(info_header.data(), info_header.size()))
    return BitmapWriteResult::kInfoHeaderFailed;
  // Rows whose length is already a multiple of 4 (the instrument's 320 pixels) go out as held.
  const bool padded = picture.width() % 4 != 0;
  const std::vector<uint8_t> rows = padded ? PaddedPixelRows(picture) : std::vector<uint8_t>();
  const std::vector<uint8_t>& pixels = padded ? rows : picture.pixels;
  if (!sink.Write(pixels.data(), pixels.size()))
    return BitmapWriteResult::kPixelsFailed;
  return BitmapWriteResult::kOk;
}

BitmapWriteResult WriteBitmapFile(const std::string& path, const DecodedBitmap& picture) {
  if (path.empty())
    return BitmapWriteResult::kCreateFailed;
  TemporaryFileSink sink(path);
  if (!sink.created())
    return BitmapWriteResult::kCreateFailed;
  const BitmapWriteResult result = WriteBitmap(picture, sink);
  if (result != BitmapWriteResult::kOk)
    return result;
  if (!sink.Finish())
    return BitmapWriteResult::kPixelsFailed;
  // The name itself cannot be taken (a folder of that name, say).
  if (!sink.Replace())
    return BitmapWriteResult::kCreateFailed;
  return BitmapWriteResult::kOk;
}

}  // namespace korvelane
