// SPDX-License-Identifier: GPL-3.0-or-later
// Colours of the panel's lamps, 32 bits with red in the low byte, then green, then blue.
#pragma once

#include <cstdint>

namespace korvelane {

using LampColour = uint32_t;

constexpr LampColour LampRgb(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<LampColour>(red) | static_cast<LampColour>(green) << 8 |
         static_cast<LampColour>(blue) << 16;
}
constexpr uint8_t LampRed(LampColour colour) {
  return static_cast<uint8_t>(colour & 0xFF);
}
constexpr uint8_t LampGreen(LampColour colour) {
  return static_cast<uint8_t>(colour >> 8 & 0xFF);
}
constexpr uint8_t LampBlue(LampColour colour) {
  return static_cast<uint8_t>(colour >> 16 & 0xFF);
}

constexpr LampColour kLampGreen = LampRgb(0, 255, 0);
constexpr LampColour kLampMagenta = LampRgb(255, 0, 255);
constexpr LampColour kLampRed = LampRgb(255, 0, 0);
constexpr LampColour kLampWhite = LampRgb(255, 255, 255);
constexpr LampColour kLampBlack = LampRgb(0, 0, 0);

// The two colours of a lamp button: `rest` is shown while the button's value is clear (a key at
// rest), `active` while it is set (a key held down, an indicator that is on).
struct LampColours {
  LampColour rest;
  LampColour active;
  bool operator==(const LampColours& other) const {
    return rest == other.rest && active == other.active;
  }
  bool operator!=(const LampColours& other) const { return !(*this == other); }
};

}  // namespace korvelane
