// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/panel/panel_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace korvelane {
namespace {

TEST(PanelTables, KnobsTurnWithTheInstrumentsCodesInMarkerOrder) {
  const struct {
    const char* name;
    int increase;
    int decrease;
  } expected[kPanelKnobCount] = {
      {"S/div knob", 47, 49},     {"Hor Position knob", 127, 129},
      {"CH1 V/div knob", 63, 65}, {"CH1 Ver Position knob", 143, 145},
      {"CH2 V/div knob", 79, 81}, {"CH2 Ver Position knob", 159, 161},
      {"Universal knob", 95, 97}, {"Level knob", 111, 113},
  };
  for (int row = 0; row < kPanelKnobCount; ++row) {
    const PanelKnobEntry& knob = kPanelKnobs[row];
    EXPECT_EQ(knob.name, std::string(expected[row].name));
    EXPECT_EQ(KnobIncreaseCode(knob.knob), expected[row].increase) << knob.name;
    EXPECT_EQ(KnobDecreaseCode(knob.knob), expected[row].decrease) << knob.name;
    EXPECT_EQ(std::string(knob.log_text), std::string(knob.name) + " oper");
  }
}

TEST(PanelTables, EveryKeyHasItsOwnCodeAndEveryKeyLampIsShownOnce) {
  std::set<int> codes;
  std::set<int> lamps;
  for (const PanelKeyEntry& key : kPanelKeys) {
    EXPECT_TRUE(codes.insert(key.code).second) << key.caption;
    if (key.lamp != kNoLamp) {
      EXPECT_TRUE(lamps.insert(key.lamp).second) << key.caption;
    }
  }
  EXPECT_EQ(lamps.size(), 7u);
  EXPECT_EQ(lamps.count(kLampIndicator), 0u);
}

}  // namespace
}  // namespace korvelane
