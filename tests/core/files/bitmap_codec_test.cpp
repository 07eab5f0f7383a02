// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/bitmap_codec.h"

#include <gtest/gtest.h>

#include <tuple>

#include "bitmap_builder.h"
#include "core/files/bitmap_file.h"
#include "support/temp_dir.h"

namespace korvelane {
namespace {

using testing::BitmapBuilder;
using testing::Gradient;
using Bytes = std::vector<uint8_t>;
using Rows = std::vector<std::vector<uint32_t>>;

// Decodes from memory and, read at the offsets the headers give, from a file; both must agree,
// in success and in failure.
BitmapError Decode(const Bytes& bytes, DecodedBitmap& out) {
  testing::TempDir dir;
  testing::WriteFileBytes(dir.File("b.bmp"), bytes);
  DecodedBitmap from_file = out;
  const BitmapError error = DecodeBitmap(ByteView(bytes.data(), bytes.size()), out);
  EXPECT_EQ(ReadBitmapFile(dir.File("b.bmp"), from_file), error);
  EXPECT_EQ(from_file.pixels, out.pixels);
  return error;
}

// The picture as 0xRRGGBB rows, top row first.
Rows AllPixels(const DecodedBitmap& picture) {
  Rows rows(static_cast<size_t>(picture.height()));
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const uint8_t* p = picture.PixelAt(x, y);
      rows[static_cast<size_t>(y)].push_back(static_cast<uint32_t>(p[2] << 16 | p[1] << 8 | p[0]));
    }
  }
  return rows;
}

TEST(BitmapDecodeTest, IndexesUnpackFromTheHighBitsDownAndTrueColourSkipsPadding) {
  // Two bytes a row, padded to four.
  const Rows indexes = {{1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1}, {0, 1, 1, 1, 1, 1, 1, 0, 0, 1, 0}};
  const BitmapBuilder one{11, 2, 1, indexes, {0x102030, 0xF0E0D0}};
  DecodedBitmap picture;
  ASSERT_EQ(Decode(one.Bytes(), picture), BitmapError::kNone);
  Rows expected(2);
  for (size_t y = 0; y < 2; ++y)
    for (uint32_t index : one.rows[y])
      expected[y].push_back(one.table[index]);
  EXPECT_EQ(AllPixels(picture), expected);

  // 9-byte rows with 3 bytes of padding, stored either way up.
  const Rows rows = {{0x010203, 0x040506, 0x070809}, {0x0A0B0C, 0x0D0E0F, 0x101112}};
  for (int32_t height : {2, -2}) {
    const BitmapBuilder b{3, height, 24, rows};
    ASSERT_EQ(Decode(b.Bytes(), picture), BitmapError::kNone) << height;
    EXPECT_EQ(AllPixels(picture), rows) << height;
  }
}

TEST(BitmapDecodeTest, TheHeadersPlaceTableAndPixels) {
  BitmapBuilder b{4, 1, 4, {{2, 1, 0, 9}}, {0xFF0000, 0x00FF00, 0x0000FF}, 3};
  DecodedBitmap picture;
  // Index 9 lies past the three colours used: black.
  ASSERT_EQ(Decode(b.Bytes(), picture), BitmapError::kNone);
  EXPECT_EQ(AllPixels(picture), (Rows{{0x0000FF, 0x00FF00, 0xFF0000, 0}}));
  // Fewer colours used than the file holds: the pixel offset skips the rest.
  b.colours_used = 2;
  ASSERT_EQ(Decode(b.Bytes(), picture), BitmapError::kNone);
  EXPECT_EQ(AllPixels(picture), (Rows{{0, 0x00FF00, 0xFF0000, 0}}));

  // Unused bytes before the pixels, and a later header version the table follows: the file is
  // read with seeks.
  b.gap = 37;
  b.header_size = 124;
  ASSERT_EQ(Decode(b.Bytes(), picture), BitmapError::kNone);
  EXPECT_EQ(AllPixels(picture), (Rows{{0, 0x00FF00, 0xFF0000, 0}}));

  // An offset pointing back into the table: the pixels are read right after it.
  b.gap = 0;
  b.header_size = 40;
  b.colours_used = 3;
  Bytes bytes = b.Bytes();
  bytes[10] = 54;
  ASSERT_EQ(Decode(bytes, picture), BitmapError::kNone);
  EXPECT_EQ(AllPixels(picture), (Rows{{0x0000FF, 0x00FF00, 0xFF0000, 0}}));
}

TEST(BitmapDecodeTest, RefusalsLeaveThePreviousPicture) {
  DecodedBitmap previous = Gradient(3, 1);
  const Bytes before = previous.pixels;
  const struct {
    const char* what;
    BitmapError error;
    BitmapBuilder b;
    size_t at = 0;  // a byte put over the file's
    uint8_t byte = 'B';
  } cases[] = {
      {"not BM", BitmapError::kNotBitmap, {}, 1, 'A'},
      {"RLE8", BitmapError::kCompressed, {}, 30, 1},
      {"old core header", BitmapError::kBadInfoHeader, {}, 14, 12},
      {"2 bits", BitmapError::kBitCount, {2, 2, 2}},
      {"32 bits", BitmapError::kBitCount, {2, 2, 32}},
      {"zero width", BitmapError::kBadDimensions, {0, 2}},
      {"lowest height", BitmapError::kBadDimensions, {2, INT32_MIN}},
      {"32-bit overflow", BitmapError::kTooLarge, {65536, 65536}},
      {"just over 64 megapixels", BitmapError::kTooLarge, {8000, -8001}},
      {"more colours than 1 bit indexes", BitmapError::kColoursUsed, {2, 2, 1, {}, {0, 1, 2}, 3}},
  };
  for (const auto& c : cases) {
    Bytes bytes = c.b.Bytes();
    bytes[c.at] = c.byte;
    EXPECT_EQ(Decode(bytes, previous), c.error) << c.what;
    EXPECT_EQ(previous.pixels, before) << c.what;
  }
}

TEST(BitmapDecodeTest, EveryTruncationIsRefusedButTheLastRowsPaddingIsNotNeeded) {
  for (uint16_t bits : {1, 4, 8, 24}) {
    // Two colours, which a true-colour file carries as unused bytes before its pixels.
    const BitmapBuilder b{
        5, 3, bits, {{1, 0, 1, 0, 1}, {0, 1, 0, 1, 0}, {1, 1, 0, 0, 1}}, {0x123456, 0x654321}, 2};
    const Bytes full = b.Bytes();
    const size_t needed = full.size() - (BitmapRowStride(5, bits) - (5u * bits + 7) / 8);
    DecodedBitmap picture;
    for (size_t length = 0; length <= full.size(); ++length) {
      const Bytes cut(full.begin(), full.begin() + static_cast<long>(length));
      EXPECT_EQ(Decode(cut, picture) == BitmapError::kNone, length >= needed)
          << bits << " bits, " << length << " bytes";
    }
  }
}

TEST(BitmapEncodeTest, SavedFilesAreTrueColourWithPaddedRowsAndDecodeBack) {
  DecodedBitmap picture = Gradient(3, 2);
  picture.file_header.reserved1 = 7;
  // As read from an 8-bit file with a later header version.
  picture.info_header.header_size = 124;
  picture.info_header.x_pixels_per_meter = 3780;
  picture.info_header.y_pixels_per_meter = 3779;
  picture.info_header.colours_used = 256;
  picture.info_header.colours_important = 256;
  picture.info_header.image_size = 1;

  const Bytes file = EncodeBitmapFile(picture);
  const Bytes expected_head = {
      'B',  'M',  78, 0, 0,    0,    7,  0, 0, 0, 54, 0, 0, 0,  // file header
      40,   0,    0,  0, 3,    0,    0,  0, 2, 0, 0,  0, 1, 0,  // size, width, height, planes
      24,   0,    0,  0, 0,    0,    24, 0, 0, 0,               // bits, compression, image size
      0xC4, 0x0E, 0,  0, 0xC3, 0x0E, 0,  0,                     // resolution kept
      0,    0,    0,  0, 0,    0,    0,  0};                    // no colour table
  ASSERT_EQ(file.size(), 54u + 24);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 54), expected_head);
  // Each 9-byte row is followed by 3 zero bytes.
  EXPECT_EQ(Bytes(file.begin() + 54, file.end()),
            (Bytes{1,  8,  15, 22, 29, 36, 43,  50,  57,  0, 0, 0,  //
                   64, 71, 78, 85, 92, 99, 106, 113, 120, 0, 0, 0}));

  EXPECT_TRUE(EncodeBitmapFile(DecodedBitmap{}).empty());
}

// A sink that takes `capacity` bytes and fails on the write that would pass them.
struct LimitedSink : ByteSink {
  explicit LimitedSink(size_t capacity_) : capacity(capacity_) {}
  bool Write(const uint8_t* data, size_t size) override {
    if (written.size() + size > capacity)
      return false;
    written.insert(written.end(), data, data + size);
    return true;
  }
  size_t capacity;
  Bytes written;
};

// Replacing files whole is the one file writer's rule; here, what the bitmap adds to it.
TEST(BitmapWriteTest, EachPartReportsItsOwnFailure) {
  const DecodedBitmap picture = Gradient(3, 2);  // rows that need padding
  LimitedSink none(0), file_header(14), headers(54), all(1000);
  EXPECT_EQ(WriteBitmap(picture, none), BitmapWriteResult::kFileHeaderFailed);
  EXPECT_EQ(WriteBitmap(picture, file_header), BitmapWriteResult::kInfoHeaderFailed);
  EXPECT_EQ(WriteBitmap(picture, headers), BitmapWriteResult::kPixelsFailed);
  EXPECT_EQ(WriteBitmap(picture, all), BitmapWriteResult::kOk);
  EXPECT_EQ(all.written, EncodeBitmapFile(picture));

  testing::TempDir dir;
  EXPECT_EQ(WriteBitmapFile(dir.File("x.bmp"), DecodedBitmap{}), BitmapWriteResult::kPixelsFailed);
  EXPECT_EQ(WriteBitmapFile(dir.path(), picture), BitmapWriteResult::kCreateFailed);
}

}  // namespace
}  // namespace korvelane
