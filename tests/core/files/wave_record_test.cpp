// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/wave_record.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korvelane {
namespace {

WaveRecord Sample(int count, bool measurements) {
  WaveRecord r;
  r.kind = kGraphKind;
  for (int i = 0; i < count; ++i)
    r.samples.push_back(static_cast<uint8_t>(i * 7));
  r.panel_bytes = {1, 2, 3, 4, 5, 6, 7, 8};
  r.parameter_texts = {"500.00us", "0.00s", "1.00V", "16", "Trig'd"};
  r.has_measurements = measurements;
  for (int i = 0; i < 11; ++i)
    r.measurement_texts[i] = "m" + std::to_string(i) + "mV";
  return r;
}

WaveFileError Decode(const std::vector<uint8_t>& bytes, WaveRecord* out) {
  return DecodeWaveRecord(ByteView(bytes.data(), bytes.size()), out);
}

TEST(WaveRecord, HeaderIsLittleEndianWithKindAndFlag) {
  const std::vector<uint8_t> bytes = EncodeWaveRecord(Sample(2500, true));
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 12),
            (std::vector<uint8_t>{0xC4, 0x09, 0, 0, 110, 0, 0, 0, 1, 2, 0, 0}));
  // Parameter block: panel bytes, then zero-terminated texts in their fields.
  const size_t p = 12 + 2500;
  EXPECT_EQ(bytes[p], 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[p + 8])), "500.00us");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[p + 38])), "16");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[p + 43])), "Trig'd");
}

// Texts are cut to their fields on writing. A field that fills its bytes without a terminator
// reads as its first size - 1 characters, so that the file saves back as it was read.
TEST(WaveRecord, TextsKeepWhatFitsTheirFields) {
  WaveRecord in = Sample(3, true);
  in.parameter_texts[0] = "123456789012";
  in.measurement_texts[10] = "1234567890";
  WaveRecord out;
  ASSERT_EQ(Decode(EncodeWaveRecord(in), &out), WaveFileError::kNone);
  EXPECT_EQ(out.parameter_texts[0], "123456789");
  EXPECT_EQ(out.measurement_texts[10], "123456789");
  EXPECT_EQ(out.measurement_texts[0], "m0mV");

  std::vector<uint8_t> bytes = EncodeWaveRecord(in);
  std::fill(bytes.begin() + 12 + 3 + 8, bytes.end(), uint8_t{'7'});
  ASSERT_EQ(Decode(bytes, &out), WaveFileError::kNone);
  EXPECT_EQ(out.parameter_texts[3], "7777");
  EXPECT_EQ(out.parameter_texts[4], "777777");
  EXPECT_EQ(out.measurement_texts[10], "777777777");
  WaveRecord again;
  ASSERT_EQ(Decode(EncodeWaveRecord(out), &again), WaveFileError::kNone);
  EXPECT_EQ(again.parameter_texts, out.parameter_texts);
  EXPECT_EQ(again.measurement_texts, out.measurement_texts);
}

TEST(WaveRecord, BadHeadersAndShortFilesAreRefused) {
  WaveRecord out;
  std::vector<uint8_t> bytes = EncodeWaveRecord(Sample(250, true));
  std::vector<uint8_t> oversize = bytes;
  oversize[1] = 0x0F;  // 4090
  EXPECT_EQ(Decode(oversize, &out), WaveFileError::kBadCount);
  std::vector<uint8_t> negative = bytes;
  negative[3] = 0x80;
  EXPECT_EQ(Decode(negative, &out), WaveFileError::kBadCount);
  std::vector<uint8_t> odd_size = bytes;
  odd_size[4] = 111;
  EXPECT_EQ(Decode(odd_size, &out), WaveFileError::kBadMeasurementSize);
  std::vector<uint8_t> flag_without_block = EncodeWaveRecord(Sample(250, false));
  flag_without_block[8] = 1;
  EXPECT_EQ(Decode(flag_without_block, &out), WaveFileError::kBadMeasurementSize);
  for (size_t cut : {size_t{0}, size_t{11}, size_t{100}, bytes.size() - 1}) {
    std::vector<uint8_t> short_file(bytes.begin(), bytes.begin() + static_cast<long>(cut));
    EXPECT_EQ(Decode(short_file, &out), WaveFileError::kTooShort) << cut;
  }
}

TEST(SampleFromText, LeadingDigitsLowEightBits) {
  EXPECT_EQ(SampleFromText("**"), 0);
  EXPECT_EQ(SampleFromText("300"), 44);
  EXPECT_EQ(SampleFromText("12345", 4), static_cast<uint8_t>(1234));
}

// A file of another kind is refused where the graph view's loader is tested.
TEST(GraphFile, ReadsCrLfAndLfAndRefusesBadCountsAndShortFiles) {
  GraphRecord in;
  for (int i = 0; i < 300; ++i)
    in.sample_texts.push_back(std::to_string(i));
  in.parameter_texts = {"1.00ms", "0.00s", "500.00mV", "40", "Auto"};
  in.has_measurements = true;
  in.measurement_texts.fill("**");
  std::string text = EncodeGraphFile(in);
  EXPECT_EQ(text.substr(0, 22), "300\r\n110\r\n1\r\n2\r\n0\r\n1\r\n");
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  GraphRecord out;
  std::vector<uint8_t> samples;
  ASSERT_EQ(DecodeGraphFile(text, &out, &samples), WaveFileError::kNone);
  EXPECT_EQ(out.sample_texts, in.sample_texts);
  EXPECT_EQ(out.measurement_texts, in.measurement_texts);
  EXPECT_EQ(samples[299], 299 % 256);
  EXPECT_EQ(DecodeGraphFile(text.substr(0, text.size() - 3), &out, &samples),
            WaveFileError::kTooShort);
  for (const char* bad : {"4001\r\n0\r\n0\r\n2\r\n", "-1\r\n0\r\n0\r\n2\r\n"})
    EXPECT_EQ(DecodeGraphFile(bad, &out, &samples), WaveFileError::kBadCount) << bad;
}

}  // namespace
}  // namespace korvelane
