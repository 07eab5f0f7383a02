// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/lamp_button.h"

#include <gtest/gtest.h>

namespace korvelane {
namespace {

TEST(LampButton, ColoursCarryRedInTheLowByte) {
  EXPECT_EQ(LampButton::ToQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(LampButton::ToQColor(0x00FF00), QColor(0, 255, 0));
  EXPECT_EQ(LampButton::ToQColor(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(LampButton::FromQColor(QColor(255, 0, 255)), kLampMagenta);
  EXPECT_EQ(LampButton::FromQColor(QColor(12, 34, 56)), LampRgb(12, 34, 56));
  EXPECT_EQ(LampButton::FromQColor(QColor::fromHsv(120, 255, 255)), kLampGreen);
}

}  // namespace
}  // namespace korvelane
