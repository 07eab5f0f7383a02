// SPDX-License-Identifier: GPL-3.0-or-later
// Hand-made bitmap files for the codec tests: every field can be set, including wrong ones; and
// decoded pictures whose pixels all differ.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/files/bitmap_codec.h"

namespace korvelane::testing {

struct BitmapBuilder {
  int32_t width = 1;
  int32_t height = 1;  // rows are given top row first; a negative height stores them so too
  uint16_t bits = 24;  // pixels are written for 1, 4, 8 and 24 bits only
  // Pixels, top row first: colour-table indexes, or 0xRRGGBB for 24 bits.
  std::vector<std::vector<uint32_t>> rows = {};
  // Colour-table entries as 0xRRGGBB; written blue, green, red, 0.
  std::vector<uint32_t> table = {};
  uint32_t colours_used = 0;
  // Bytes between the colour table and the pixels; the pixel offset counts them.
  uint32_t gap = 0;
  uint32_t header_size = 40;

  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> pixels;  // rows in file order, each padded to a multiple of 4 bytes
    const size_t stride = (static_cast<size_t>(std::max(width, 0)) * bits + 31) / 32 * 4;
    for (size_t i = 0; i < rows.size(); ++i) {
      const auto& row = height < 0 ? rows[i] : rows[rows.size() - 1 - i];
      std::vector<uint8_t> bytes(stride, 0);
      for (size_t x = 0; x < row.size(); ++x) {
        for (int c = 0; bits == 24 && c < 3; ++c)
          bytes[x * 3 + c] = static_cast<uint8_t>(row[x] >> 8 * c);
        if (bits < 24)
          bytes[x * bits / 8] |= static_cast<uint8_t>(row[x] << (8 - bits - x * bits % 8));
      }
      pixels.insert(pixels.end(), bytes.begin(), bytes.end());
    }
    std::vector<uint8_t> out = {'B', 'M'};
    auto put = [&out](uint32_t value, int size) {
      for (int i = 0; i < size; ++i)
        out.push_back(static_cast<uint8_t>(value >> 8 * i));
    };
    const uint32_t head = 14 + std::max<uint32_t>(header_size, 40);
    const uint32_t offset = head + static_cast<uint32_t>(table.size() * 4) + gap;
    const auto size = static_cast<uint32_t>(pixels.size());
    for (uint32_t value :
         {offset + size, 0u, offset, header_size, static_cast<uint32_t>(width),
          static_cast<uint32_t>(height), bits << 16 | 1u, 0u, size, 2835u, 2835u, colours_used, 0u})
      put(value, 4);
    out.resize(head, 0);
    for (uint32_t colour : table)
      put(colour, 4);
    out.resize(out.size() + gap, 0xAB);
    out.insert(out.end(), pixels.begin(), pixels.end());
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
