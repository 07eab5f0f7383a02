// SPDX-License-Identifier: GPL-3.0-or-later
// The DSO Bitmap view's picture: the instrument's 320 x 240 8-bit screen bitmap decoded into the
// image the view shows, and that image painted stretched over a 1000 x 750 picture area.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <stdexcept>
#include <vector>

#include "bench_world.h"
#include "core/files/bitmap_codec.h"
#include "simulator/simulated_instrument.h"
#include "views/bitmap/dso_bitmap_view.h"

namespace korvelane::bench {
namespace {

// The bitmap file a screen-bitmap transfer brings.
std::vector<uint8_t> ScreenBitmapFile() {
  sim::SimulatedInstrument instrument;
  std::vector<uint8_t> file = instrument.ScreenBitmap();
  DecodedBitmap picture;
  if (file.size() < BitmapFileHeader::kSize + BitmapInfoHeader::kSize ||
      ParseInfoHeader(file.data() + BitmapFileHeader::kSize).bit_count != 8 ||
      DecodeBitmap(ByteView(file.data(), file.size()), picture) != BitmapError::kNone ||
      picture.width() != 320 || picture.height() != 240)
    throw std::runtime_error("the screen bitmap is not a 320 x 240 8-bit picture");
  return file;
}

void BM_DecodeScreenBitmap(benchmark::State& state) {
  const std::vector<uint8_t> file = ScreenBitmapFile();
  for (auto _ : state) {
    DecodedBitmap picture;
    DecodeBitmap(ByteView(file.data(), file.size()), picture);
    QImage image = PictureImage(picture);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_DecodeScreenBitmap)->Apply(WallAndProcessTime)->Unit(benchmark::kMicrosecond);

void BM_PaintStretchedBitmap(benchmark::State& state) {
  const std::vector<uint8_t> file = ScreenBitmapFile();
  DecodedBitmap picture;
  DecodeBitmap(ByteView(file.data(), file.size()), picture);
  BitmapPictureArea area;
  area.SetImage(PictureImage(picture));
  const int frame = area.frameWidth();
  area.resize(1000 + 2 * frame, 750 + 2 * frame);
  area.show();
  QCoreApplication::processEvents();
  if (area.contentsRect().size() != QSize(1000, 750))
    throw std::runtime_error("the picture area is not 1000 x 750");
  for (auto _ : state)
    area.repaint();
}
BENCHMARK(BM_PaintStretchedBitmap)->Apply(WallAndProcessTime)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvelane::bench
