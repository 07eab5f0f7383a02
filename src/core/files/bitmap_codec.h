// SPDX-License-Identifier: GPL-3.0-or-later
// Windows bitmap files: decoding of uncompressed 1, 4, 8 and 24-bit pictures into a 24-bit
// buffer, and encoding of that buffer as a 24-bit file. Bytes in, pixels out: nothing here
// touches a file or the user, so every routine can be fed arbitrary bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/common/byte_view.h"

namespace korvelane {

// The 14-byte file header.
struct BitmapFileHeader {
  static constexpr size_t kSize = 14;
  static constexpr uint16_t kSignature = 0x4D42;  // "BM"

  uint16_t type = kSignature;
  uint32_t file_size = 0;
  uint16_t reserved1 = 0;
  uint16_t reserved2 = 0;
  uint32_t pixel_offset = 0;
};

// The 40-byte information header (the first 40 bytes of the longer later versions).
struct BitmapInfoHeader {
  static constexpr size_t kSize = 40;

  uint32_t header_size = kSize;
  int32_t width = 0;
  int32_t height = 0;  // negative: rows stored top row first
  uint16_t planes = 1;
  uint16_t bit_count = 24;
  uint32_t compression = 0;
  uint32_t image_size = 0;
  int32_t x_pixels_per_meter = 0;
  int32_t y_pixels_per_meter = 0;
  uint32_t colours_used = 0;
  uint32_t colours_important = 0;
};

// A decoded picture: blue, green, red for every pixel, rows bottom row first, each row
// width × 3 bytes without padding. The headers are those of the file it came from, with the bit
// count 24 and a positive height, as the rows now are.
struct DecodedBitmap {
  BitmapFileHeader file_header;
  BitmapInfoHeader info_header;
  std::vector<uint8_t> pixels;

  int32_t width() const { return info_header.width; }
  int32_t height() const { return info_header.height; }
  // width × height × 3.
  uint32_t image_byte_count() const { return static_cast<uint32_t>(pixels.size()); }
  // A picture with at least one pixel and a buffer of the size its headers give.
  bool valid() const;
  // Blue, green, red of the pixel at `x` from the left and `y` from the top.
  const uint8_t* PixelAt(int32_t x, int32_t y) const;
};

enum class BitmapError {
  kNone,
  kCannotOpen,     // the file cannot be opened
  kTruncated,      // the data end before the headers, the colour table or the pixels do
  kNotBitmap,      // no "BM" signature
  kBadInfoHeader,  // an information header shorter than 40 bytes
  kCompressed,     // any compression but none
  kBitCount,       // a bit count other than 1, 4, 8 and 24
  kBadDimensions,  // a width or height of 0, a negative width
  kTooLarge,       // more than kMaxBitmapPixels pixels
  kColoursUsed,    // more table entries than the bit count can index
};

// Pictures larger than this are refused: 64 megapixels, a 192 MB pixel buffer.
constexpr uint64_t kMaxBitmapPixels = 64ull * 1000 * 1000;

// Where the decoder reads from: a byte range, or a file that is read piece by piece, so that a
// huge or lying file never makes the decoder hold more than the picture it describes.
class BitmapSource {
 public:
  virtual ~BitmapSource() = default;
  // Total length of the data.
  virtual uint64_t size() const = 0;
  // Reads exactly `count` bytes from `offset`; false when they are not all there.
  virtual bool Read(uint64_t offset, uint8_t* out, size_t count) = 0;
};

class MemoryBitmapSource : public BitmapSource {
 public:
  explicit MemoryBitmapSource(ByteView bytes) : bytes_(bytes) {}
  uint64_t size() const override { return bytes_.size(); }
  bool Read(uint64_t offset, uint8_t* out, size_t count) override;

 private:
  ByteView bytes_;
};

// Decodes a bitmap. On success `out` receives the picture; on failure `out` is left as it was.
BitmapError DecodeBitmap(BitmapSource& source, DecodedBitmap& out);
BitmapError DecodeBitmap(ByteView file, DecodedBitmap& out);

// The header fields, little-endian, as they lie in a file.
BitmapFileHeader ParseFileHeader(const uint8_t* bytes);  // 14 bytes
BitmapInfoHeader ParseInfoHeader(const uint8_t* bytes);  // 40 bytes
std::array<uint8_t, BitmapFileHeader::kSize> EncodeFileHeader(const BitmapFileHeader& header);
std::array<uint8_t, BitmapInfoHeader::kSize> EncodeInfoHeader(const BitmapInfoHeader& header);

// Bytes of one row in a file, padded to a multiple of 4.
uint64_t BitmapRowStride(uint64_t width, unsigned bit_count);

// The headers a picture is saved with: a 24-bit file with no colour table, pixels at byte 54,
// rows padded to a multiple of 4 bytes. The reserved words and the resolution are kept.
struct SavedBitmapHeaders {
  BitmapFileHeader file_header;
  BitmapInfoHeader info_header;
};
SavedBitmapHeaders HeadersForSaving(const DecodedBitmap& picture);

// The pixel rows of the saved file: each row of the picture followed by its padding.
std::vector<uint8_t> PaddedPixelRows(const DecodedBitmap& picture);

// The whole 24-bit file; empty for a picture that is not valid().
std::vector<uint8_t> EncodeBitmapFile(const DecodedBitmap& picture);

}  // namespace korvelane
