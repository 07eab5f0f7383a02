// SPDX-License-Identifier: GPL-3.0-or-later
// The harnesses of the file codecs; they link nothing but the codecs.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/files/bitmap_codec.h"
#include "core/files/file_io.h"
#include "core/files/setting_file.h"
#include "core/files/wave_record.h"
#include "harnesses.h"

namespace korvelane::fuzz {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
  }
}

namespace {

// A file's record read back after writing it.
void CheckWaveRoundTrip(const WaveRecord& record) {
  WaveRecord again;
  const std::vector<uint8_t> bytes = EncodeWaveRecord(record);
  Check(DecodeWaveRecord(ByteView(bytes.data(), bytes.size()), &again) == WaveFileError::kNone,
        "a written wave record reads back");
  Check(again.kind == record.kind, "wave record kind kept");
  Check(again.samples == record.samples, "wave record samples kept");
  Check(again.panel_bytes == record.panel_bytes, "wave record panel bytes kept");
  Check(again.parameter_texts == record.parameter_texts, "wave record parameter texts kept");
  Check(again.has_measurements == record.has_measurements, "wave record measurement flag kept");
  Check(again.measurement_texts == record.measurement_texts, "wave record measurements kept");
}

// A scratch file of this process for the readers that take a path.
const std::string& ScratchPath() {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/korvelane-fuzz-" +
           std::to_string(static_cast<long>(getpid())) + ".ssf";
  }();
  return path;
}

}  // namespace

void FuzzBitmapDecoder(const uint8_t* data, size_t size) {
  DecodedBitmap picture;
  if (DecodeBitmap(ByteView(data, size), picture) != BitmapError::kNone)
    return;
  Check(picture.valid(), "a decoded bitmap is valid");
  Check(picture.width() > 0 && picture.height() > 0, "a decoded bitmap has pixels");
  Check(static_cast<uint64_t>(picture.width()) * static_cast<uint64_t>(picture.height()) <=
            kMaxBitmapPixels,
        "a decoded bitmap within the pixel limit");
  // Saving and reopening keeps every pixel.
  const std::vector<uint8_t> saved = EncodeBitmapFile(picture);
  DecodedBitmap reopened;
  Check(DecodeBitmap(ByteView(saved.data(), saved.size()), reopened) == BitmapError::kNone,
        "a saved bitmap reopens");
  Check(reopened.width() == picture.width() && reopened.height() == picture.height(),
        "a saved bitmap keeps its size");
  Check(reopened.pixels == picture.pixels, "a saved bitmap keeps its pixels");
}

void FuzzWaveRecord(const uint8_t* data, size_t size) {
  WaveRecord record;
  if (DecodeWaveRecord(ByteView(data, size), &record) != WaveFileError::kNone)
    return;
  Check(record.samples.size() <= static_cast<size_t>(kMaxWaveSamples), "at most 4000 samples");
  CheckWaveRoundTrip(record);
}

void FuzzGraphFile(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  GraphRecord record;
  std::vector<uint8_t> samples;
  if (DecodeGraphFile(text, &record, &samples) != WaveFileError::kNone)
    return;
  Check(samples.size() == record.sample_texts.size(), "one sample per sample text");
  Check(samples.size() <= static_cast<size_t>(kMaxWaveSamples), "at most 4000 samples");
  // Written again, the file reads back the same.
  GraphRecord again;
  std::vector<uint8_t> again_samples;
  Check(DecodeGraphFile(EncodeGraphFile(record), &again, &again_samples) == WaveFileError::kNone,
        "a written graph file reads back");
  Check(again_samples == samples, "graph samples kept");
  Check(again.sample_texts == record.sample_texts, "graph sample texts kept");
  Check(again.parameter_texts == record.parameter_texts, "graph parameter texts kept");
  Check(again.has_measurements == record.has_measurements, "graph measurement flag kept");
  Check(again.measurement_texts == record.measurement_texts, "graph measurements kept");
}

void FuzzSettingFile(const uint8_t* data, size_t size) {
  if (!WriteWholeFile(ScratchPath(), std::vector<uint8_t>(data, data + size)))
    return;
  ConfigBlock block;
  block.fill(0xA5);
  const SettingFileError error = ReadSettingFile(ScratchPath(), &block);
  std::remove(ScratchPath().c_str());
  if (size != kConfigBlockSize) {
    Check(error == SettingFileError::kWrongSize, "a file of another size is refused");
    Check(std::all_of(block.begin(), block.end(), [](uint8_t b) { return b == 0xA5; }),
          "a refused file leaves the block alone");
    return;
  }
  Check(error == SettingFileError::kNone, "a 2500-byte file is read");
  Check(std::equal(block.begin(), block.end(), data), "the block is the file");
}

}  // namespace korvelane::fuzz
