// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding of WaveData_Result bodies into the acquisition store: the parameter record, the
// channel records and the settings record. Bytes in, store out; nothing else is touched.
#pragma once

#include <cstdint>

#include "core/common/byte_view.h"
#include "core/logs/debug_log.h"
#include "core/protocol/acquisition_store.h"

namespace korvelane {

// What the next channel requests ask for, copied from the Wave Graph view's check boxes at the
// start of every refresh. Each is 0 or 1.
struct RequestSelectors {
  uint8_t ch1_measure_wanted = 0;  // CH1 requests ask for the measurement block
  uint8_t ch2_measure_wanted = 0;  // CH2 requests ask for the measurement block
  uint8_t get_all_data = 0;        // channel requests use the all-data types 5 and 6

  uint8_t measure_wanted(int channel) const {
    return channel == 2 ? ch2_measure_wanted : ch1_measure_wanted;
  }
};

// Body offsets of a WaveData_Result.
namespace wave_data {
constexpr size_t kResult = 0;
constexpr size_t kDataType = 1;
// Parameter record.
constexpr size_t kPanelState = 4;  // 8 bytes, stored in reverse order
constexpr size_t kCh1On = 12;
constexpr size_t kCh1Volts = 16;
constexpr size_t kCh1VoltsUnit = 20;
constexpr size_t kCh1VertPos = 24;
constexpr size_t kCh2On = 28;
constexpr size_t kCh2Volts = 32;
constexpr size_t kCh2VoltsUnit = 36;
constexpr size_t kCh2VertPos = 40;
constexpr size_t kTimebase = 44;
constexpr size_t kTimebaseUnit = 48;
constexpr size_t kHoriPos = 52;
constexpr size_t kHoriPosUnit = 56;
constexpr size_t kAcqStatus = 60;
constexpr size_t kParamRecordSize = 61;  // shortest body that holds every field
// Channel record.
constexpr size_t kCount = 4;
constexpr size_t kSamples = 8;
constexpr size_t kMeasure = 4008;
constexpr size_t kChannelRecordSize = 4184;
// Settings record.
constexpr size_t kConfig = 4;
constexpr size_t kConfigRecordSize = kConfig + kConfigBlockSize;  // 2504
}  // namespace wave_data

// How much the time/div text grows after a 4000-point all-data record.
constexpr double kAllDataStretch = 1.6;

// Decodes one WaveData_Result body. False, with the reason logged, when the instrument reported a
// failure, for a channel record whose count is outside 1..4000 and for a body too short for its
// data type; the store is then left as it was.
bool HandleWaveDataResult(ByteView body, AcquisitionStore& store, const RequestSelectors& selectors,
                          DebugLog& log);

}  // namespace korvelane
