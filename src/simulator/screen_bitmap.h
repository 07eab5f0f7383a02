// SPDX-License-Identifier: GPL-3.0-or-later
// A picture of the simulated instrument's screen, as the Windows bitmap file it sends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "simulator/scope.h"

namespace korvelane::sim {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
// 14-byte file header, 40-byte info header, 256 palette entries, one byte a pixel.
constexpr size_t kBitmapHeaderSize = 14 + 40 + 256 * 4;
constexpr size_t kBitmapFileSize = kBitmapHeaderSize + kScreenWidth * kScreenHeight;  // 77878

// The screen: graticule, the traces of the channels that are on, math, reference and cursor
// when shown, markers for 0 V and the trigger, status and scales in the bars.
std::vector<uint8_t> RenderScreenBitmap(const Scope& scope, int8_t product_type);

}  // namespace korvelane::sim
