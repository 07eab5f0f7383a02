// SPDX-License-Identifier: GPL-3.0-or-later
// Hand-made bitmap files for the codec tests: every field can be set, including wrong ones; and
// decoded pictures whose pixels all differ.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/files/bitmap_codec.h"

namespace korvelane::testing {

struct BitmapBuilder {
  using Rows = std::vector<std::vector<uint32_t>>;
  BitmapBuilder(int32_t width_ = 1, int32_t height_ = 1, uint16_t bits_ = 24, Rows rows_ = {},
                std::vector<uint32_t> table_ = {}, uint32_t colours_used_ = 0)
      : width(width_),
        height(height_),
        bits(bits_),
        rows(std::move(rows_)),
        table(std::move(table_)),
        colours_used(colours_used_) {}

  int32_t width;
  int32_t height;  // rows are given top row first; a negative height stores them so too
  uint16_t bits;
  // Pixels, top row first: colour-table indexes, or 0xRRGGBB for 24 bits.
  Rows rows;
  // Colour-table entries as 0xRRGGBB; written blue, green, red, 0.
  std::vector<uint32_t> table;
  uint32_t colours_used;
  // Bytes between the colour table and the pixels; the pixel offset counts them.
  uint32_t gap = 0;
  uint32_t header_size = 40;
  uint32_t compression = 0;

  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> out;
    auto u16 = [&out](uint32_t v) {
      out.push_back(static_cast<uint8_t>(v));
      out.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
      u16(v & 0xFFFF);
      u16(v >> 16);
    };
    const uint32_t table_bytes = static_cast<uint32_t>(table.size() * 4);
    const uint32_t offset = 14 + std::max<uint32_t>(header_size, 40) + table_bytes + gap;
    const std::vector<uint8_t> pixels = PixelBytes();
    out.push_back('B');
    out.push_back('M');
    u32(offset + static_cast<uint32_t>(pixels.size()));
    u32(0);
    u32(offset);
    u32(header_size);
    u32(static_cast<uint32_t>(width));
    u32(static_cast<uint32_t>(height));
    u16(1);
    u16(bits);
    u32(compression);
    u32(static_cast<uint32_t>(pixels.size()));
    u32(2835);
    u32(2835);
    u32(colours_used);
    u32(0);
    out.resize(14 + std::max<uint32_t>(header_size, 40), 0);
    for (uint32_t c : table) {
      out.push_back(static_cast<uint8_t>(c));
      out.push_back(static_cast<uint8_t>(c >> 8));
      out.push_back(static_cast<uint8_t>(c >> 16));
      out.push_back(0);
    }
    out.resize(out.size() + gap, 0xAB);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
  }

  // Rows in file order, each padded to a multiple of 4 bytes; zeros for another bit count, none
  // for a huge width.
  std::vector<uint8_t> PixelBytes() const {
    std::vector<uint8_t> out;
    const size_t stride = (static_cast<size_t>(static_cast<uint32_t>(width)) * bits + 31) / 32 * 4;
    if (stride > (1u << 20))
      return out;  // a width only meant to be refused
    for (size_t i = 0; i < rows.size(); ++i) {
      const auto& row = height < 0 ? rows[i] : rows[rows.size() - 1 - i];
      std::vector<uint8_t> bytes(stride, 0);
      const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 24;
      const size_t given = std::min(row.size(), static_cast<size_t>(std::max(width, 0)));
      for (size_t x = 0; known && x < given; ++x) {
        if (bits == 24) {
          bytes[x * 3] = static_cast<uint8_t>(row[x]);
          bytes[x * 3 + 1] = static_cast<uint8_t>(row[x] >> 8);
          bytes[x * 3 + 2] = static_cast<uint8_t>(row[x] >> 16);
        } else {
          const size_t bit = x * bits;
          bytes[bit / 8] |= static_cast<uint8_t>(row[x] << (8 - bits - bit % 8));
        }
      }
      out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
  }
};

// A picture of `width` × `height` whose pixels all differ.
inline DecodedBitmap Gradient(int32_t width, int32_t height) {
  DecodedBitmap picture;
  picture.info_header.width = width;
  picture.info_header.height = height;
  for (int32_t i = 0; i < width * height * 3; ++i)
    picture.pixels.push_back(static_cast<uint8_t>(i * 7 + 1));
  return picture;
}

}  // namespace korvelane::testing
