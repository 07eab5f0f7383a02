// SPDX-License-Identifier: GPL-3.0-or-later
// Everything the instrument last sent, shared by the views, the panel and the file writers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/protocol/frame.h"

namespace korvelane {

constexpr int kMaxSamples = 4000;
constexpr int kMeasurementCount = 11;
constexpr int kMeasurementRecordSize = 16;
constexpr int kMeasureBlockSize = kMeasurementCount * kMeasurementRecordSize;  // 176
constexpr int kPanelStateSize = 8;

using SampleArray = std::array<uint8_t, kMaxSamples>;
using MeasureBlock = std::array<uint8_t, kMeasureBlockSize>;

// What the store keeps of one channel.
struct ChannelData {
  bool enabled = false;
  std::string volts_text = "0 V";  // volts/div, at most 49 characters
  int32_t vert_pos = 0;            // vertical position in screen units
  SampleArray samples{};           // one unsigned byte per sample, in screen units
  int32_t count = 200;             // valid samples at the start of `samples`
  MeasureBlock measure{};          // eleven 16-byte measurement records
};

struct AcquisitionStore {
  int8_t product_type = -1;
  uint8_t acq_status = 255;  // 0 Stop, 1 Auto, 2 Ready, 3 Trig'd, 4 Scan
  // Entry i holds parameter-record byte 11 - i.
  std::array<uint8_t, kPanelStateSize> panel_state{255, 255, 255, 255, 255, 255, 255, 255};
  ChannelData ch1;
  ChannelData ch2;
  std::string sec_div_text = "0 s";   // time/div
  std::string hori_pos_text = "0 s";  // horizontal position
  float timebase_value = 0.0f;
  int8_t timebase_unit = 0;
  bool timebase_stretched = false;
  ConfigBlock config_block{};
  SampleArray file_samples{};  // scratch buffer of the file writers
  SampleArray bmp_piece{};     // piece buffer of the screen bitmap transfer

  // Channel 1 or 2.
  ChannelData& channel(int number) { return number == 2 ? ch2 : ch1; }
  const ChannelData& channel(int number) const { return number == 2 ? ch2 : ch1; }
};

// Puts every field back to its start value.
void ResetAcquisitionStore(AcquisitionStore& store);

}  // namespace korvelane
