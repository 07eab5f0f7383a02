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

BitmapError Decode(const Bytes& bytes, DecodedBitmap& out) {
  return DecodeBitmap(ByteView(bytes.data(), bytes.size()), out);
}

// Decodes from memory and, read at the offsets the headers give, from a file; both must agree.
BitmapError DecodeBoth(const Bytes& bytes, DecodedBitmap& out) {
  testing::TempDir dir;
  testing::WriteFileBytes(dir.File("b.bmp"), bytes);
  DecodedBitmap from_file;
  const BitmapError file_error = ReadBitmapFile(dir.File("b.bmp"), from_file);
  const BitmapError error = Decode(bytes, out);
  EXPECT_EQ(file_error, error);
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
  const BitmapBuilder one{11,
                          2,
                          1,
                          {{1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1}, {0, 1, 1, 1, 1, 1, 1, 0, 0, 1, 0}},
                          {0x102030, 0xF0E0D0}};
  DecodedBitmap picture;
  ASSERT_EQ(Decode(one.Bytes(), picture), BitmapError::kNone);
  Rows expected(2);
  for (size_t y = 0; y < 2; ++y)
    for (uint32_t index : one.rows[y])
      expected[y].push_back(one.table[index]);
  EXPECT_EQ(AllPixels(picture), expected);
  EXPECT_EQ(picture.info_header.bit_count, 24);

  BitmapBuilder four{3, 2, 4, {{15, 0, 7}, {1, 14, 8}}};
  for (uint32_t i = 0; i < 16; ++i)
    four.table.push_back(i * 0x0F0F0F);
  ASSERT_EQ(Decode(four.Bytes(), picture), BitmapError::kNone);
  EXPECT_EQ(AllPixels(picture), (Rows{{0xE1E1E1, 0, 0x696969}, {0x0F0F0F, 0xD2D2D2, 0x787878}}));

  // 9-byte rows with 3 bytes of padding, stored either way up; held bottom row first.
  const Rows rows = {{0x010203, 0x040506, 0x070809}, {0x0A0B0C, 0x0D0E0F, 0x101112}};
  for (int32_t height : {2, -2}) {
    const BitmapBuilder b{3, height, 24, rows};
    ASSERT_EQ(Decode(b.Bytes(), picture), BitmapError::kNone) << height;
    EXPECT_EQ(AllPixels(picture), rows) << height;
    EXPECT_EQ(picture.height(), 2);
    EXPECT_EQ(picture.pixels, (Bytes{0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0x12, 0x11, 0x10, 0x03,
                                     0x02, 0x01, 0x06, 0x05, 0x04, 0x09, 0x08, 0x07}));
  }
}

TEST(BitmapDecodeTest, TheHeadersPlaceTableAndPixels) {
  BitmapBuilder b{4, 1, 4, {{2, 1, 0, 9}}, {0xFF0000, 0x00FF00, 0x0000FF}, 3};
  DecodedBitmap picture;
  // Index 9 lies past the three colours used: black.
  ASSERT_EQ(DecodeBoth(b.Bytes(), picture), BitmapError::kNone);
  EXPECT_EQ(AllPixels(picture), (Rows{{0x0000FF, 0x00FF00, 0xFF0000, 0}}));
  // Fewer colours used than the file holds: the pixel offset skips the rest.
  b.colours_used = 2;
  ASSERT_EQ(DecodeBoth(b.Bytes(), picture), BitmapError::kNone);
  EXPECT_EQ(AllPixels(picture), (Rows{{0, 0x00FF00, 0xFF0000, 0}}));

  // Unused bytes before the pixels, and a later header version the table follows: the file is
  // read with seeks.
  b.gap = 37;
  b.header_size = 124;
  ASSERT_EQ(DecodeBoth(b.Bytes(), picture), BitmapError::kNone);
  EXPECT_EQ(AllPixels(picture), (Rows{{0, 0x00FF00, 0xFF0000, 0}}));

  // An offset pointing back into the table: the pixels are read right after it.
  b.gap = 0;
  b.header_size = 40;
  b.colours_used = 3;
  Bytes bytes = b.Bytes();
  bytes[10] = 54;
  ASSERT_EQ(DecodeBoth(bytes, picture), BitmapError::kNone);
  EXPECT_EQ(AllPixels(picture), (Rows{{0x0000FF, 0x00FF00, 0xFF0000, 0}}));
}

TEST(BitmapDecodeTest, RefusalsLeaveThePreviousPicture) {
  const BitmapBuilder good{2, 2, 24, {{1, 2}, {3, 4}}};
  DecodedBitmap previous = Gradient(3, 1);
  const Bytes before = previous.pixels;

  BitmapBuilder rle = good, core = good;
  rle.compression = 1;
  core.header_size = 12;  // the old core header
  const std::tuple<const char*, BitmapError, BitmapBuilder> cases[] = {
      {"RLE8", BitmapError::kCompressed, rle},
      {"old core header", BitmapError::kBadInfoHeader, core},
      {"2 bits", BitmapError::kBitCount, {2, 2, 2, good.rows}},
      {"32 bits", BitmapError::kBitCount, {2, 2, 32, good.rows}},
      {"zero width", BitmapError::kBadDimensions, {0, 2, 24, good.rows}},
      {"lowest height", BitmapError::kBadDimensions, {2, INT32_MIN, 24, good.rows}},
      {"32-bit overflow", BitmapError::kTooLarge, {65536, 65536}},
      {"just over 64 megapixels", BitmapError::kTooLarge, {8000, -8001}},
      {"more colours than 1 bit indexes",
       BitmapError::kColoursUsed,
       {2, 2, 1, good.rows, {0, 1, 2}, 3}},
      {"table cut short", BitmapError::kTruncated, {2, 2, 8, good.rows, {0, 1}}},  // of 256
  };
  for (const auto& [what, error, b] : cases) {
    EXPECT_EQ(Decode(b.Bytes(), previous), error) << what;
    EXPECT_EQ(previous.pixels, before) << what;
    EXPECT_EQ(previous.width(), 3) << what;
  }
  Bytes not_bmp = good.Bytes();
  not_bmp[1] = 'A';
  EXPECT_EQ(Decode(not_bmp, previous), BitmapError::kNotBitmap);
  EXPECT_EQ(previous.pixels, before);
}

TEST(BitmapDecodeTest, EveryTruncationIsRefusedButTheLastRowsPaddingIsNotNeeded) {
  for (uint16_t bits : {1, 4, 8, 24}) {
    BitmapBuilder b{5, 3, bits, {{1, 0, 1, 0, 1}, {0, 1, 0, 1, 0}, {1, 1, 0, 0, 1}}};
    if (bits <= 8) {
      b.table = {0x123456, 0x654321};
      b.colours_used = 2;
    }
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

  // The instrument's 320-pixel rows need no padding.
  EXPECT_EQ(EncodeBitmapFile(Gradient(320, 2)).size(), 54u + 320 * 3 * 2);
  EXPECT_TRUE(EncodeBitmapFile(DecodedBitmap{}).empty());
}

// A sink that takes `capacity` bytes and fails on the write that would pass them.
class LimitedSink : public ByteSink {
 public:
  explicit LimitedSink(size_t capacity) : capacity_(capacity) {}
  bool Write(const uint8_t* data, size_t size) override {
    if (written.size() + size > capacity_)
      return false;
    written.insert(written.end(), data, data + size);
    return true;
  }
  Bytes written;

 private:
  size_t capacity_;
};

TEST(BitmapWriteTest, EachPartReportsItsOwnFailure) {
  const DecodedBitmap picture = Gradient(4, 2);
  LimitedSink none(0), file_header(14), headers(54), all(1000);
  EXPECT_EQ(WriteBitmap(picture, none), BitmapWriteResult::kFileHeaderFailed);
  EXPECT_EQ(WriteBitmap(picture, file_header), BitmapWriteResult::kInfoHeaderFailed);
  EXPECT_EQ(WriteBitmap(picture, headers), BitmapWriteResult::kPixelsFailed);
  EXPECT_EQ(WriteBitmap(picture, all), BitmapWriteResult::kOk);
  EXPECT_EQ(all.written, EncodeBitmapFile(picture));
  EXPECT_EQ(WriteBitmap(DecodedBitmap{}, all), BitmapWriteResult::kPixelsFailed);
}

TEST(BitmapFileTest, FilesAreReplacedWholeAndOnlyRegularFilesAreRead) {
  testing::TempDir dir;
  const DecodedBitmap picture = Gradient(5, 4);
  const std::string path = dir.File("shot.bmp");
  testing::WriteFileBytes(path, {1, 2, 3});
  ASSERT_EQ(WriteBitmapFile(path, picture), BitmapWriteResult::kOk);
  EXPECT_EQ(testing::ReadFileBytes(path), EncodeBitmapFile(picture));
  DecodedBitmap back;
  ASSERT_EQ(ReadBitmapFile(path, back), BitmapError::kNone);
  EXPECT_EQ(back.pixels, picture.pixels);

  EXPECT_EQ(WriteBitmapFile(dir.File("no/such/folder.bmp"), picture),
            BitmapWriteResult::kCreateFailed);
  // A folder cannot be replaced by the file.
  EXPECT_EQ(WriteBitmapFile(dir.path(), picture), BitmapWriteResult::kCreateFailed);
  // A failed save keeps the file that was there.
  testing::WriteFileBytes(path, {9, 9});
  EXPECT_EQ(WriteBitmapFile(path, DecodedBitmap{}), BitmapWriteResult::kPixelsFailed);
  EXPECT_EQ(testing::ReadFileBytes(path), (Bytes{9, 9}));

  EXPECT_EQ(ReadBitmapFile(dir.File("missing.bmp"), back), BitmapError::kCannotOpen);
  EXPECT_EQ(ReadBitmapFile(dir.path(), back), BitmapError::kCannotOpen);
  // A file announcing 192 MB of pixels it does not hold is refused before they are allocated.
  const BitmapBuilder liar{8000, 8000};
  testing::WriteFileBytes(dir.File("liar.bmp"), liar.Bytes());
  EXPECT_EQ(ReadBitmapFile(dir.File("liar.bmp"), back), BitmapError::kTruncated);
  EXPECT_EQ(back.pixels, picture.pixels);
}

}  // namespace
}  // namespace korvelane
