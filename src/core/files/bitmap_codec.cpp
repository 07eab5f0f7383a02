// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/bitmap_codec.h"

#include <algorithm>
#include <cstring>

namespace korvelane {
namespace {

uint16_t U16LE(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t U32LE(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void PutU16LE(uint8_t* p, uint16_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
}

void PutU32LE(uint8_t* p, uint32_t value) {
  PutU16LE(p, static_cast<uint16_t>(value));
  PutU16LE(p + 2, static_cast<uint16_t>(value >> 16));
}

bool SupportedBitCount(unsigned bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

// What the headers say about the picture, checked before anything large is read or allocated.
struct Layout {
  uint32_t width = 0;
  uint32_t rows = 0;
  bool top_down = false;
  unsigned bits = 0;
  uint64_t table_offset = 0;
  uint32_t table_entries = 0;  // entries read from the file
  uint64_t pixel_start = 0;
  uint64_t stride = 0;     // bytes from one row to the next
  uint64_t row_bytes = 0;  // bytes of pixels in a row, without padding
};

BitmapError CheckInfoHeader(const BitmapInfoHeader& info, Layout& layout) {
  if (info.header_size < BitmapInfoHeader::kSize)
    return BitmapError::kBadInfoHeader;
  if (info.compression != 0)
    return BitmapError::kCompressed;
  if (!SupportedBitCount(info.bit_count))
    return BitmapError::kBitCount;
  if (info.width <= 0 || info.height == 0 || info.height == INT32_MIN)
    return BitmapError::kBadDimensions;
  layout.width = static_cast<uint32_t>(info.width);
  layout.top_down = info.height < 0;
  layout.rows = static_cast<uint32_t>(layout.top_down ? -info.height : info.height);
  if (static_cast<uint64_t>(layout.width) * layout.rows > kMaxBitmapPixels)
    return BitmapError::kTooLarge;
  layout.bits = info.bit_count;
  if (layout.bits <= 8) {
    const uint32_t indexable = 1u << layout.bits;
    if (info.colours_used > indexable)
      return BitmapError::kColoursUsed;
    layout.table_entries = info.colours_used != 0 ? info.colours_used : indexable;
  }
  layout.table_offset = BitmapFileHeader::kSize + static_cast<uint64_t>(info.header_size);
  layout.stride = BitmapRowStride(layout.width, layout.bits);
  layout.row_bytes = (static_cast<uint64_t>(layout.width) * layout.bits + 7) / 8;
  return BitmapError::kNone;
}

// Blue, green, red for every index the bit count can give; an index past the end of the file's
// table is black.
using Palette = std::array<std::array<uint8_t, 3>, 256>;

Palette MakePalette(const std::vector<uint8_t>& table, uint32_t entries) {
  Palette palette{};
  for (uint32_t i = 0; i < entries && i < palette.size(); ++i)
    std::memcpy(palette[i].data(), &table[static_cast<size_t>(i) * 4], 3);
  return palette;
}

// Unpacks one row of colour-table indexes, the most significant bits first.
void UnpackIndexedRow(const uint8_t* row, uint32_t width, unsigned bits, const Palette& palette,
                      uint8_t* out) {
  if (bits == 8) {
    for (uint32_t x = 0; x < width; ++x, out += 3)
      std::memcpy(out, palette[row[x]].data(), 3);
    return;
  }
  const unsigned per_byte = 8 / bits;
  const unsigned mask = (1u << bits) - 1;
  for (uint32_t x = 0; x < width; ++x, out += 3) {
    const unsigned shift = 8 - bits * (x % per_byte + 1);
    std::memcpy(out, palette[(row[x / per_byte] >> shift) & mask].data(), 3);
  }
}

}  // namespace

bool DecodedBitmap::valid() const {
  return info_header.width > 0 && info_header.height > 0 &&
         static_cast<uint64_t>(info_header.width) * static_cast<uint64_t>(info_header.height) * 3 ==
             pixels.size();
}

const uint8_t* DecodedBitmap::PixelAt(int32_t x, int32_t y) const {
  if (!valid() || x < 0 || y < 0 || x >= width() || y >= height())
    return nullptr;
  const size_t row = static_cast<size_t>(height() - 1 - y);
  return &pixels[(row * static_cast<size_t>(width()) + static_cast<size_t>(x)) * 3];
}

bool MemoryBitmapSource::Read(uint64_t offset, uint8_t* out, size_t count) {
  if (offset > bytes_.size() || count > bytes_.size() - offset)
    return false;
  if (count > 0)
    std::memcpy(out, bytes_.data() + offset, count);
  return true;
}

uint64_t BitmapRowStride(uint64_t width, unsigned bit_count) {
  return (width * bit_count + 31) / 32 * 4;
}

BitmapFileHeader ParseFileHeader(const uint8_t* b) {
  BitmapFileHeader h;
  h.type = U16LE(b);
  h.file_size = U32LE(b + 2);
  h.reserved1 = U16LE(b + 6);
  h.reserved2 = U16LE(b + 8);
  h.pixel_offset = U32LE(b + 10);
  return h;
}

BitmapInfoHeader ParseInfoHeader(const uint8_t* b) {
  BitmapInfoHeader h;
  h.header_size = U32LE(b);
  h.width = static_cast<int32_t>(U32LE(b + 4));
  h.height = static_cast<int32_t>(U32LE(b + 8));
  h.planes = U16LE(b + 12);
  h.bit_count = U16LE(b + 14);
  h.compression = U32LE(b + 16);
  h.image_size = U32LE(b + 20);
  h.x_pixels_per_meter = static_cast<int32_t>(U32LE(b + 24));
  h.y_pixels_per_meter = static_cast<int32_t>(U32LE(b + 28));
  h.colours_used = U32LE(b + 32);
  h.colours_important = U32LE(b + 36);
  return h;
}

std::array<uint8_t, BitmapFileHeader::kSize> EncodeFileHeader(const BitmapFileHeader& h) {
  std::array<uint8_t, BitmapFileHeader::kSize> b{};
  PutU16LE(&b[0], h.type);
  PutU32LE(&b[2], h.file_size);
  PutU16LE(&b[6], h.reserved1);
  PutU16LE(&b[8], h.reserved2);
  PutU32LE(&b[10], h.pixel_offset);
  return b;
}

std::array<uint8_t, BitmapInfoHeader::kSize> EncodeInfoHeader(const BitmapInfoHeader& h) {
  std::array<uint8_t, BitmapInfoHeader::kSize> b{};
  PutU32LE(&b[0], h.header_size);
  PutU32LE(&b[4], static_cast<uint32_t>(h.width));
  PutU32LE(&b[8], static_cast<uint32_t>(h.height));
  PutU16LE(&b[12], h.planes);
  PutU16LE(&b[14], h.bit_count);
  PutU32LE(&b[16], h.compression);
  PutU32LE(&b[20], h.image_size);
  PutU32LE(&b[24], static_cast<uint32_t>(h.x_pixels_per_meter));
  PutU32LE(&b[28], static_cast<uint32_t>(h.y_pixels_per_meter));
  PutU32LE(&b[32], h.colours_used);
  PutU32LE(&b[36], h.colours_important);
  return b;
}

BitmapError DecodeBitmap(BitmapSource& source, DecodedBitmap& out) {
  uint8_t head[BitmapFileHeader::kSize + BitmapInfoHeader::kSize];
  if (!source.Read(0, head, BitmapFileHeader::kSize))
    return BitmapError::kTruncated;
  const BitmapFileHeader file_header = ParseFileHeader(head);
  if (file_header.type != BitmapFileHeader::kSignature)
    return BitmapError::kNotBitmap;
  if (!source.Read(BitmapFileHeader::kSize, head + BitmapFileHeader::kSize,
                   BitmapInfoHeader::kSize))
    return BitmapError::kTruncated;
  BitmapInfoHeader info = ParseInfoHeader(head + BitmapFileHeader::kSize);

  Layout layout;
  if (const BitmapError error = CheckInfoHeader(info, layout); error != BitmapError::kNone)
    return error;

  // The colour table follows the information header, whatever its version's length.
  std::vector<uint8_t> table(static_cast<size_t>(layout.table_entries) * 4);
  if (!table.empty() && !source.Read(layout.table_offset, table.data(), table.size()))
    return BitmapError::kTruncated;

  // The pixels begin at the file header's offset, or right after the table when the offset
  // points into what has been read already.
  layout.pixel_start =
      std::max<uint64_t>(file_header.pixel_offset, layout.table_offset + table.size());
  // Every row's pixels must be there; the padding after the last row need not be.
  const uint64_t end = layout.pixel_start + layout.stride * (layout.rows - 1) + layout.row_bytes;
  if (source.size() < end)
    return BitmapError::kTruncated;

  const Palette palette = MakePalette(table, layout.table_entries);
  const size_t out_row = static_cast<size_t>(layout.width) * 3;
  std::vector<uint8_t> pixels(out_row * layout.rows);
  std::vector<uint8_t> row(static_cast<size_t>(layout.stride));
  for (uint32_t r = 0; r < layout.rows; ++r) {
    const bool last = r + 1 == layout.rows;
    const size_t length = static_cast<size_t>(last ? layout.row_bytes : layout.stride);
    if (!source.Read(layout.pixel_start + layout.stride * r, row.data(), length))
      return BitmapError::kTruncated;
    // Rows are kept bottom row first.
    const uint32_t target = layout.top_down ? layout.rows - 1 - r : r;
    uint8_t* out_pixels = &pixels[out_row * target];
    if (layout.bits == 24) {
      std::memcpy(out_pixels, row.data(), out_row);
    } else {
      UnpackIndexedRow(row.data(), layout.width, layout.bits, palette, out_pixels);
    }
  }

  info.bit_count = 24;
  info.height = static_cast<int32_t>(layout.rows);
  out.file_header = file_header;
  out.info_header = info;
  out.pixels = std::move(pixels);
  return BitmapError::kNone;
}

BitmapError DecodeBitmap(ByteView file, DecodedBitmap& out) {
  MemoryBitmapSource source(file);
  return DecodeBitmap(source, out);
}

SavedBitmapHeaders HeadersForSaving(const DecodedBitmap& picture) {
  const uint64_t stride = BitmapRowStride(static_cast<uint64_t>(std::max(0, picture.width())), 24);
  const uint64_t image_size = stride * static_cast<uint64_t>(std::max(0, picture.height()));
  constexpr uint32_t kPixelOffset = BitmapFileHeader::kSize + BitmapInfoHeader::kSize;

  SavedBitmapHeaders saved;
  saved.file_header = picture.file_header;
  saved.file_header.type = BitmapFileHeader::kSignature;
  saved.file_header.pixel_offset = kPixelOffset;
  saved.file_header.file_size = static_cast<uint32_t>(image_size + kPixelOffset);

  BitmapInfoHeader& info = saved.info_header;
  info = picture.info_header;
  info.header_size = BitmapInfoHeader::kSize;
  info.height = std::max(0, picture.height());
  info.planes = 1;
  info.bit_count = 24;
  info.compression = 0;
  info.image_size = static_cast<uint32_t>(image_size);
  // No colour table follows: a count here would make readers look for one.
  info.colours_used = 0;
  info.colours_important = 0;
  return saved;
}

std::vector<uint8_t> PaddedPixelRows(const DecodedBitmap& picture) {
  if (!picture.valid())
    return {};
  const size_t row = static_cast<size_t>(picture.width()) * 3;
  const size_t stride = static_cast<size_t>(BitmapRowStride(picture.width(), 24));
  const size_t rows = static_cast<size_t>(picture.height());
  std::vector<uint8_t> out(stride * rows, 0);
  for (size_t r = 0; r < rows; ++r)
    std::memcpy(&out[r * stride], &picture.pixels[r * row], row);
  return out;
}

std::vector<uint8_t> EncodeBitmapFile(const DecodedBitmap& picture) {
  if (!picture.valid())
    return {};
  const SavedBitmapHeaders headers = HeadersForSaving(picture);
  const auto file_header = EncodeFileHeader(headers.file_header);
  const auto info_header = EncodeInfoHeader(headers.info_header);
  const std::vector<uint8_t> rows = PaddedPixelRows(picture);
  std::vector<uint8_t> out;
  out.reserve(file_header.size() + info_header.size() + rows.size());
  out.insert(out.end(), file_header.begin(), file_header.end());
  out.insert(out.end(), info_header.begin(), info_header.end());
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

}  // namespace korvelane
