// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/busy_indicator.h"

#include <gtest/gtest.h>

#include "support/fake_user_interface.h"

namespace korvelane {
namespace {

using Positions = std::vector<int>;

TEST(BusyIndicatorTest, TwoHalfStepsFillTheBarAndEndAtOnceWithPausesOnlyWhenPaced) {
  for (bool fast : {false, true}) {
    testing::FakeUserInterface ui;
    ExchangePacing pacing(ui);
    pacing.set_fast(fast);
    BusyIndicator busy(ui, pacing);
    busy.ShowProgress(2, 1);
    EXPECT_EQ(ui.panes[1], "Communicating ...");
    busy.ShowProgress(2, 1);
    EXPECT_EQ(ui.progress, (Positions{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0}));
    EXPECT_EQ(ui.panes[1], "Ready...");
    EXPECT_EQ(ui.sleeps, std::vector<int>(fast ? 0 : 10, 2));
    // Divisor 1 runs the whole bar whatever the multiplier; a negative divisor does nothing.
    ui.progress.clear();
    busy.ShowProgress(1, 7);
    busy.ShowProgress(-2, 1);
    EXPECT_EQ(ui.progress, (Positions{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0}));
  }
}

TEST(BusyIndicatorTest, StepsAreTenOverDivisorTimesMultiplierTruncated) {
  const struct {
    int divisor, multiplier, position;
  } cases[] = {{3, 1, 30}, {4, 1, 20}, {5, 1, 20}, {4, 2, 50}, {3, 2, 60}, {10, 3, 30}, {11, 1, 0}};
  for (const auto& c : cases) {
    testing::FakeUserInterface ui;
    ExchangePacing pacing(ui);
    BusyIndicator busy(ui, pacing);
    busy.ShowProgress(c.divisor, c.multiplier);
    EXPECT_EQ(busy.position(), c.position) << c.divisor << "," << c.multiplier;
  }
}

TEST(BusyIndicatorTest, FinishFillsAPartBarAndAnOvershootWaitsForIt) {
  testing::FakeUserInterface ui;
  ExchangePacing pacing(ui);
  BusyIndicator busy(ui, pacing);
  busy.ShowProgress(5, 1);
  ui.sleeps.clear();
  busy.ShowProgress(5, 0);
  EXPECT_EQ(ui.sleeps, (std::vector<int>{5}));
  EXPECT_EQ(ui.progress, (Positions{10, 20, 100, 0}));
  for (int i = 0; i < 9; ++i)
    busy.ShowProgress(10, 1);
  busy.ShowProgress(10, 2);  // 90 + 20 passes 100 without landing on it
  EXPECT_EQ(busy.position(), 100);
  EXPECT_EQ(ui.panes[1], "Communicating ...");
  ui.sleeps.clear();
  busy.ShowProgress(0, 1);  // a full bar ends without the pause
  EXPECT_TRUE(ui.sleeps.empty());
  EXPECT_EQ(busy.position(), 0);
  EXPECT_EQ(ui.panes[1], "Ready...");
}

}  // namespace
}  // namespace korvelane
