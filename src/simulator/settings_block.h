// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument's 2500-byte settings block.
//
// Layout (numbers big-endian):
//   0..3     "NRGS"
//   4        layout version, 1
//   5        product type of the instrument that wrote it
//   6..7     0
//   8..63    front-panel settings (see EncodeSettings); unused bytes 0
//   64..2495 settings this simulation keeps without acting on them
//   2496..2499 CRC-32 (IEEE 802.3) of bytes 0..2495
// A block is accepted only whole: tag, version, product type, every field in its range, unused
// bytes zero, and the check.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "simulator/scope.h"

namespace korvelane::sim {

constexpr size_t kSettingsSize = 2500;
constexpr size_t kSettingsFieldsEnd = 64;
constexpr size_t kSettingsCheckAt = 2496;
using SettingsBlock = std::array<uint8_t, kSettingsSize>;

// CRC-32 as used by zlib and Ethernet.
uint32_t Crc32(const uint8_t* data, size_t size);

// The block of a new instrument: `state` in the field area and the factory pattern after it.
SettingsBlock NewSettingsBlock(int8_t product_type, const ScopeState& state);

// Writes `state` into the field area of `block` and renews the check.
void EncodeSettings(const ScopeState& state, SettingsBlock& block);

// Reads a block; false, with `state` untouched, when the block is not one this instrument wrote.
bool DecodeSettings(const uint8_t* block, size_t size, int8_t product_type, ScopeState& state);

}  // namespace korvelane::sim
