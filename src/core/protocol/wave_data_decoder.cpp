// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/wave_data_decoder.h"

#include <string>

#include "core/protocol/frame.h"
#include "core/protocol/unit_table.h"

namespace korvelane {

using namespace wave_data;

namespace {

constexpr const char* kResultFailed = "解析 WaveData_Result 信息包的失败，result != 0";
constexpr const char* kTooShort = "解析 WaveData_Result 信息包失败：包身长度不足";

std::string ChannelPrefix(int channel) {
  return std::string("解析 WaveData_Result 信息包之——CH") + (channel == 2 ? "2" : "1") +
         "数据包失败： ";
}

bool LongEnough(ByteView body, size_t size, DebugLog& log) {
  if (body.size() >= size)
    return true;
  log.WriteDebugLog(kTooShort, kWarning);
  return false;
}

std::string ValueText(ByteView body, size_t value_offset, size_t unit_offset) {
  return FormatValueText(body.F32BE(value_offset), body.S8(unit_offset));
}

void DecodeChannelSettings(ByteView body, ChannelData& channel, size_t on, size_t volts,
                           size_t unit, size_t vert_pos) {
  channel.enabled = body.U8(on) != 0;
  // A channel that is off keeps its last text and position.
  if (!channel.enabled)
    return;
  channel.volts_text = ValueText(body, volts, unit);
  channel.vert_pos = body.S32BE(vert_pos);
}

bool DecodeParamRecord(ByteView body, AcquisitionStore& store, DebugLog& log) {
  if (!LongEnough(body, kParamRecordSize, log))
    return false;
  for (int k = 0; k < kPanelStateSize; ++k)
    store.panel_state[kPanelStateSize - 1 - k] = body.U8(kPanelState + k);
  store.acq_status = body.U8(kAcqStatus);
  store.sec_div_text = ValueText(body, kTimebase, kTimebaseUnit);
  store.timebase_value = body.F32BE(kTimebase);
  store.timebase_unit = body.S8(kTimebaseUnit);
  store.timebase_stretched = false;
  store.hori_pos_text = ValueText(body, kHoriPos, kHoriPosUnit);
  DecodeChannelSettings(body, store.ch1, kCh1On, kCh1Volts, kCh1VoltsUnit, kCh1VertPos);
  DecodeChannelSettings(body, store.ch2, kCh2On, kCh2Volts, kCh2VoltsUnit, kCh2VertPos);
  return true;
}

// The time/div of an all-data record of 4000 points is 1.6 times the instrument's; applied once
// per parameter record.
void StretchTimebase(AcquisitionStore& store) {
  if (store.timebase_stretched)
    return;
  store.timebase_value = static_cast<float>(store.timebase_value * kAllDataStretch);
  store.sec_div_text = FormatValueText(store.timebase_value, store.timebase_unit);
  store.timebase_stretched = true;
}

bool DecodeChannelRecord(ByteView body, int channel_number, bool all_data, AcquisitionStore& store,
                         const RequestSelectors& selectors, DebugLog& log) {
  const int32_t count = body.S32BE(kCount);
  if (count < 1) {
    log.WriteDebugLog(ChannelPrefix(channel_number) + "波形点数为 0", kWarning);
    return false;
  }
  if (count > kMaxSamples) {
    log.WriteDebugLog(ChannelPrefix(channel_number) + "波形点数超过 4000", kWarning);
    return false;
  }
  if (!LongEnough(body, kSamples + static_cast<size_t>(count), log))
    return false;
  if (all_data && count == kMaxSamples)
    StretchTimebase(store);

  ChannelData& channel = store.channel(channel_number);
  channel.samples.fill(0);
  body.CopyTo(kSamples, channel.samples.data(), static_cast<size_t>(count));
  channel.count = count;
  channel.measure.fill(0);
  if (selectors.measure_wanted(channel_number) == 1)
    body.CopyTo(kMeasure, channel.measure.data(), channel.measure.size());
  return true;
}

bool DecodeConfigRecord(ByteView body, AcquisitionStore& store, DebugLog& log) {
  if (!LongEnough(body, kConfigRecordSize, log))
    return false;
  store.config_block.fill(0);
  body.CopyTo(kConfig, store.config_block.data(), store.config_block.size());
  return true;
}

}  // namespace

bool HandleWaveDataResult(ByteView body, AcquisitionStore& store, const RequestSelectors& selectors,
                          DebugLog& log) {
  if (body.S8(kResult) != 0) {
    log.WriteDebugLog(kResultFailed, kWarning);
    return false;
  }
  switch (body.S8(kDataType)) {
    case WD_PARAMS:
      return DecodeParamRecord(body, store, log);
    case WD_CH1:
      return DecodeChannelRecord(body, 1, false, store, selectors, log);
    case WD_CH2:
      return DecodeChannelRecord(body, 2, false, store, selectors, log);
    case WD_CH1_ALL:
      return DecodeChannelRecord(body, 1, true, store, selectors, log);
    case WD_CH2_ALL:
      return DecodeChannelRecord(body, 2, true, store, selectors, log);
    case WD_CONFIG:
      return DecodeConfigRecord(body, store, log);
    default:
      // Types the program does not ask for change nothing.
      return true;
  }
}

}  // namespace korvelane
