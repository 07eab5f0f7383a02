// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/settings_block.h"

#include <cstring>

#include "core/common/byte_view.h"

namespace korvelane::sim {
namespace {

constexpr uint8_t kTag[4] = {'N', 'R', 'G', 'S'};
constexpr uint8_t kVersion = 1;

// Field offsets.
enum : size_t {
  kRunning = 8,
  kSingle = 9,
  kSingleArmed = 10,
  kCursor = 11,
  kMath = 12,
  kRef = 13,
  kCh1On = 14,
  kCh1VoltsDiv = 15,
  kCh1Position = 16,  // 2 bytes
  kCh2On = 18,
  kCh2VoltsDiv = 19,
  kCh2Position = 20,  // 2 bytes
  kTimeDiv = 22,
  kMenu = 23,
  kHorSteps = 24,   // 2 bytes, signed
  kTriggerUv = 26,  // 4 bytes, signed
  kMenuItem = 30,
  kUnused = 31,
  kCursorX = 32,  // 2 bytes
  kFieldsUsedEnd = 34,
};

void PutU16(uint8_t* out, int value) {
  out[0] = static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8);
  out[1] = static_cast<uint8_t>(value);
}

int GetS16(ByteView in, size_t offset) {
  return static_cast<int16_t>(static_cast<uint16_t>(in.U8(offset) << 8 | in.U8(offset + 1)));
}

bool IsMenuKey(uint8_t code) {
  for (uint8_t key : {5, 17, 26, 6, 2, 14, 21}) {
    if (code == key)
      return true;
  }
  return code == 0;
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

SettingsBlock NewSettingsBlock(int8_t product_type, const ScopeState& state) {
  SettingsBlock block{};
  std::memcpy(block.data(), kTag, sizeof kTag);
  block[4] = kVersion;
  block[5] = static_cast<uint8_t>(product_type);
  // The settings this simulation does not act on (display, measure menu, storage...) start
  // with a pattern of their own, so that a block is never mostly zero.
  for (size_t i = kSettingsFieldsEnd; i < kSettingsCheckAt; ++i)
    block[i] = static_cast<uint8_t>((i * 37 + static_cast<size_t>(block[5]) * 11) >> 2);
  EncodeSettings(state, block);
  return block;
}

void EncodeSettings(const ScopeState& s, SettingsBlock& block) {
  std::memset(block.data() + 8, 0, kSettingsFieldsEnd - 8);
  uint8_t* b = block.data();
  b[kRunning] = s.running;
  b[kSingle] = s.single;
  b[kSingleArmed] = s.single_armed;
  b[kCursor] = s.cursor;
  b[kMath] = s.math;
  b[kRef] = s.ref;
  b[kCh1On] = s.ch1.on;
  b[kCh1VoltsDiv] = static_cast<uint8_t>(s.ch1.volts_div);
  PutU16(b + kCh1Position, s.ch1.position);
  b[kCh2On] = s.ch2.on;
  b[kCh2VoltsDiv] = static_cast<uint8_t>(s.ch2.volts_div);
  PutU16(b + kCh2Position, s.ch2.position);
  b[kTimeDiv] = static_cast<uint8_t>(s.time_div);
  b[kMenu] = s.menu;
  PutU16(b + kHorSteps, s.hor_steps);
  PutU32BE(b + kTriggerUv, static_cast<uint32_t>(s.trigger_uv));
  b[kMenuItem] = s.menu_item;
  PutU16(b + kCursorX, s.cursor_x);
  PutU32BE(b + kSettingsCheckAt, Crc32(b, kSettingsCheckAt));
}

bool DecodeSettings(const uint8_t* block, size_t size, int8_t product_type, ScopeState& state) {
  if (!block || size != kSettingsSize)
    return false;
  const ByteView in(block, size);
  if (std::memcmp(block, kTag, sizeof kTag) != 0 || in.U8(4) != kVersion ||
      in.S8(5) != product_type || in.U8(6) != 0 || in.U8(7) != 0)
    return false;
  if (in.U32BE(kSettingsCheckAt) != Crc32(block, kSettingsCheckAt))
    return false;
  if (in.U8(kUnused) != 0)
    return false;
  for (size_t i = kFieldsUsedEnd; i < kSettingsFieldsEnd; ++i) {
    if (in.U8(i) != 0)
      return false;
  }
  for (size_t flag : {kRunning, kSingle, kSingleArmed, kCursor, kMath, kRef, kCh1On, kCh2On}) {
    if (in.U8(flag) > 1)
      return false;
  }
  ScopeState s;
  s.running = in.U8(kRunning);
  s.single = in.U8(kSingle);
  s.single_armed = in.U8(kSingleArmed);
  s.cursor = in.U8(kCursor);
  s.math = in.U8(kMath);
  s.ref = in.U8(kRef);
  s.ch1 = {in.U8(kCh1On) != 0, in.U8(kCh1VoltsDiv), GetS16(in, kCh1Position)};
  s.ch2 = {in.U8(kCh2On) != 0, in.U8(kCh2VoltsDiv), GetS16(in, kCh2Position)};
  s.time_div = in.U8(kTimeDiv);
  s.menu = in.U8(kMenu);
  s.hor_steps = GetS16(in, kHorSteps);
  s.trigger_uv = in.S32BE(kTriggerUv);
  s.menu_item = in.U8(kMenuItem);
  s.cursor_x = GetS16(in, kCursorX);
  const auto in_range = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
  const bool valid = in_range(s.ch1.volts_div, 0, VoltsDivCount() - 1) &&
                     in_range(s.ch2.volts_div, 0, VoltsDivCount() - 1) &&
                     in_range(s.ch1.position, 0, kMaxPosition) &&
                     in_range(s.ch2.position, 0, kMaxPosition) &&
                     in_range(s.time_div, 0, TimeDivCount() - 1) &&
                     in_range(s.hor_steps, -kMaxHorSteps, kMaxHorSteps) &&
                     in_range(s.trigger_uv, -100'000'000, 100'000'000) && IsMenuKey(s.menu) &&
                     in_range(s.menu_item, 0, 5) && in_range(s.cursor_x, 0, kCursorColumns - 1) &&
                     !(s.single_armed && (s.running || !s.single));
  if (!valid)
    return false;
  state = s;
  return true;
}

}  // namespace korvelane::sim
