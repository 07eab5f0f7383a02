// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument's settings block: what a setting file holds and a configuration download sends.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace korvelane {

constexpr size_t kConfigBlockSize = 2500;
using ConfigBlock = std::array<uint8_t, kConfigBlockSize>;

}  // namespace korvelane
