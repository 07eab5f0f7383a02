// The codec against an independent encoder and decoder: ImageMagick's convert makes bitmaps of
// every depth from a known picture, the codec decodes them, and convert reads back what the
// codec saves.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "core/files/bitmap_codec.h"
#include "core/files/bitmap_file.h"
#include "support/temp_dir.h"

namespace korvelane {
namespace {

using Bytes = std::vector<uint8_t>;

// Red, green, blue of every pixel, top row first: what convert writes as "rgb:".
struct Picture {
  int width = 0;
  int height = 0;
  Bytes rgb;
};

std::string Quote(const std::string& text) {
  return "'" + text + "'";
}

class ImageMagickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::string(KORVELANE_CONVERT).empty())
      GTEST_SKIP() << "ImageMagick's convert is not installed (scripts/deps.sh test)";
  }

  // Runs convert with warnings treated as errors; true when it succeeded.
  bool Convert(const std::string& arguments) {
    const std::string command =
        Quote(KORVELANE_CONVERT) + " -regard-warnings " + arguments + " 2>/dev/null";
    return std::system(command.c_str()) == 0;
  }

  // A picture of `colours` distinct colours spread so that neighbours differ.
  Picture Pattern(int width, int height, int colours) {
    std::vector<std::array<uint8_t, 3>> palette;
    std::set<uint32_t> seen;
    for (int i = 0; static_cast<int>(palette.size()) < colours; ++i) {
      const std::array<uint8_t, 3> c = {static_cast<uint8_t>(i * 37 + 11),
                                        static_cast<uint8_t>(i * 91 + 200),
                                        static_cast<uint8_t>(i * 53 + 7)};
      if (seen.insert(static_cast<uint32_t>(c[0] << 16 | c[1] << 8 | c[2])).second)
        palette.push_back(c);
    }
    Picture p{width, height, {}};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const auto& c = palette[static_cast<size_t>((x * 3 + y * 5) % colours)];
        p.rgb.insert(p.rgb.end(), c.begin(), c.end());
      }
    }
    return p;
  }

  // Writes the picture as a binary PPM, which convert reads without loss.
  std::string WritePpm(const Picture& p, const std::string& name) {
    const std::string head =
        "P6\n" + std::to_string(p.width) + " " + std::to_string(p.height) + "\n255\n";
    Bytes bytes(head.begin(), head.end());
    bytes.insert(bytes.end(), p.rgb.begin(), p.rgb.end());
    const std::string path = dir.File(name);
    testing::WriteFileBytes(path, bytes);
    return path;
  }

  // Makes a bitmap from `p` with the given convert options; its bytes.
  Bytes MakeBitmap(const Picture& p, const std::string& options, const std::string& format) {
    const std::string source = WritePpm(p, "source.ppm");
    const std::string target = dir.File("made.bmp");
    EXPECT_TRUE(
        Convert(Quote(source) + " " + options + " -compress None " + format + ":" + Quote(target)));
    return testing::ReadFileBytes(target);
  }

  // What convert reads from a bitmap file.
  Picture ReadBack(const std::string& path) {
    const std::string raw = dir.File("back.rgb");
    Picture p;
    if (!Convert(Quote(path) + " -depth 8 rgb:" + Quote(raw)))
      return p;
    p.rgb = testing::ReadFileBytes(raw);
    return p;
  }

  static BitmapInfoHeader Info(const Bytes& file) {
    return file.size() >= 54 ? ParseInfoHeader(file.data() + 14) : BitmapInfoHeader{};
  }

  // The decoded picture as red, green, blue, top row first.
  static Bytes TopDownRgb(const DecodedBitmap& picture) {
    Bytes rgb;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        const uint8_t* p = picture.PixelAt(x, y);
        rgb.insert(rgb.end(), {p[2], p[1], p[0]});
      }
    }
    return rgb;
  }

  void ExpectDecodesTo(const Bytes& file, const Picture& expected, const std::string& what) {
    DecodedBitmap picture;
    ASSERT_EQ(DecodeBitmap(ByteView(file.data(), file.size()), picture), BitmapError::kNone)
        << what;
    EXPECT_EQ(picture.width(), expected.width) << what;
    EXPECT_EQ(picture.height(), expected.height) << what;
    EXPECT_EQ(TopDownRgb(picture), expected.rgb) << what;
  }

  testing::TempDir dir;
};

TEST_F(ImageMagickTest, EveryDepthDecodesToTheSourcePicture) {
  struct Case {
    int width, height, colours;
    const char* options;
    const char* format;
    uint16_t bits;
    uint32_t header_size;
  };
  const Case cases[] = {
      {7, 5, 60, "-type TrueColor", "BMP3", 24, 40},  // 21-byte rows, 3 of padding
      {5, 3, 60, "-type TrueColor", "BMP", 24, 124},  // a later header version
      {9, 4, 40, "+dither -type Palette", "BMP3", 8, 40},
      {5, 6, 12, "+dither -type Palette", "BMP3", 4, 40},  // 3-byte rows
      {13, 3, 2, "+dither -type Palette", "BMP3", 1, 40},  // 2-byte rows
      {6, 2, 9, "+dither -type Palette", "BMP", 4, 124},   // table after the longer header
  };
  for (const Case& c : cases) {
    const std::string what =
        std::to_string(c.bits) + " bits, " + c.format + ", width " + std::to_string(c.width);
    const Picture source = Pattern(c.width, c.height, c.colours);
    const Bytes file = MakeBitmap(source, c.options, c.format);
    const BitmapInfoHeader info = Info(file);
    // The file is of the kind this case is about.
    ASSERT_EQ(info.bit_count, c.bits) << what;
    ASSERT_EQ(info.header_size, c.header_size) << what;
    ASSERT_EQ(info.compression, 0u) << what;
    ExpectDecodesTo(file, source, what);
  }
}

TEST_F(ImageMagickTest, SmallerColoursUsedCountsAndTopDownRows) {
  const Picture source = Pattern(11, 4, 20);
  const Bytes file = MakeBitmap(source, "+dither -type Palette", "BMP3");
  ASSERT_EQ(Info(file).bit_count, 8);
  ASSERT_EQ(Info(file).colours_used, 256u);
  const uint32_t offset = ParseFileHeader(file.data()).pixel_offset;
  uint8_t highest = 0;
  for (size_t i = offset; i < file.size(); ++i)
    highest = std::max(highest, file[i]);  // padding bytes are 0
  const uint32_t used = highest + 1u;
  ASSERT_LE(used, 20u);

  // The count given, the unused entries still in the file: the pixel offset skips them.
  auto set_u32 = [](Bytes& bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
      bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  Bytes counted = file;
  set_u32(counted, 46, used);
  ExpectDecodesTo(counted, source, "colours used with the whole table");

  // The table cut to the colours used and the pixels moved up.
  Bytes compact(file.begin(), file.begin() + 54 + used * 4);
  compact.insert(compact.end(), file.begin() + offset, file.end());
  set_u32(compact, 46, used);
  set_u32(compact, 10, 54 + used * 4);
  ExpectDecodesTo(compact, source, "compact table");

  // A true-colour file turned top-down: rows reversed, height negated.
  const Picture colour = Pattern(7, 5, 60);
  const Bytes bottom_up = MakeBitmap(colour, "-type TrueColor", "BMP3");
  const size_t stride = BitmapRowStride(7, 24);
  Bytes top_down(bottom_up.begin(), bottom_up.begin() + 54);
  for (int row = 4; row >= 0; --row) {
    const auto start = bottom_up.begin() + 54 + static_cast<long>(stride) * row;
    top_down.insert(top_down.end(), start, start + static_cast<long>(stride));
  }
  set_u32(top_down, 22, static_cast<uint32_t>(-5));
  ExpectDecodesTo(top_down, colour, "top-down");
}

TEST_F(ImageMagickTest, SavedFilesReadBackWithTheSamePixels) {
  // An 8-bit palette picture is saved in true colour.
  const Picture source = Pattern(10, 6, 30);
  const Bytes file = MakeBitmap(source, "+dither -type Palette", "BMP3");
  ASSERT_EQ(Info(file).bit_count, 8);
  DecodedBitmap picture;
  ASSERT_EQ(DecodeBitmap(ByteView(file.data(), file.size()), picture), BitmapError::kNone);
  const std::string saved = dir.File("saved.bmp");
  ASSERT_EQ(WriteBitmapFile(saved, picture), BitmapWriteResult::kOk);
  EXPECT_EQ(Info(testing::ReadFileBytes(saved)).bit_count, 24);
  EXPECT_EQ(ReadBack(saved).rgb, source.rgb);

  // Widths whose rows need padding give valid files.
  for (int width : {1, 2, 3, 5}) {
    const Picture odd = Pattern(width, 3, 60);
    const Bytes made = MakeBitmap(odd, "-type TrueColor", "BMP3");
    DecodedBitmap decoded;
    ASSERT_EQ(DecodeBitmap(ByteView(made.data(), made.size()), decoded), BitmapError::kNone);
    const std::string path = dir.File("odd.bmp");
    ASSERT_EQ(WriteBitmapFile(path, decoded), BitmapWriteResult::kOk);
    EXPECT_EQ(ReadBack(path).rgb, odd.rgb) << "width " << width;
  }
}

}  // namespace
}  // namespace korvelane
