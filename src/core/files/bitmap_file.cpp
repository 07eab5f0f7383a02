// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/bitmap_file.h"

#include <sys/stat.h>
#include <unistd.h>

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
  // A file that is never begun, or that cannot take the target's name (a folder of that name,
  // say), was not created.
  BitmapWriteResult result = BitmapWriteResult::kCreateFailed;
  const bool written = WriteWholeFile(path, [&](ByteSink& sink) {
    result = WriteBitmap(picture, sink);
    return result == BitmapWriteResult::kOk;
  });
  if (written)
    return BitmapWriteResult::kOk;
  return result == BitmapWriteResult::kOk ? BitmapWriteResult::kCreateFailed : result;
}

}  // namespace korvelane
