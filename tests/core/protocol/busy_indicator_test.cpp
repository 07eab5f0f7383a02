// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/busy_indicator.h"

#include <gtest/gtest.h>

#include "support/fake_user_interface.h"

namespace korvelane {
namespace {

using Positions = std::vector<int>;

struct Bar {
  testing::FakeUserInterface ui;
  ExchangePacing pacing{ui};
  BusyIndicator busy{ui, pacing};
};

// Divisor 1 runs the whole bar whatever the multiplier, a negative divisor does nothing, and
// the pauses between steps are made only when paced. (The finish of a part bar is shown by the
// refresh cycle.)
TEST(BusyIndicatorTest, AFullBarEndsAtOnceWithPausesOnlyWhenPaced) {
  for (bool fast : {false, true}) {
    Bar bar;
    bar.pacing.set_fast(fast);
    bar.busy.ShowProgress(1, 7);
    bar.busy.ShowProgress(-2, 1);
    EXPECT_EQ(bar.ui.progress, (Positions{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0}));
    EXPECT_EQ(bar.ui.panes[1], "Ready...");
    EXPECT_EQ(bar.ui.sleeps, std::vector<int>(fast ? 0 : 10, 2));
  }
}

TEST(BusyIndicatorTest, StepsAreTenOverDivisorTimesMultiplierTruncated) {
  const struct {
    int divisor, multiplier, position;
  } cases[] = {{3, 1, 30}, {4, 1, 20}, {5, 1, 20}, {4, 2, 50}, {3, 2, 60}, {10, 3, 30}, {11, 1, 0}};
  for (const auto& c : cases) {
    Bar bar;
    bar.busy.ShowProgress(c.divisor, c.multiplier);
    EXPECT_EQ(bar.busy.position(), c.position) << c.divisor << "," << c.multiplier;
    EXPECT_EQ(bar.ui.panes[1], "Communicating ...");
  }
}

TEST(BusyIndicatorTest, TwoHalvesEndTheBarAndAnOvershootWaitsForTheFinish) {
  Bar bar;
  bar.busy.ShowProgress(2, 1);
  bar.busy.ShowProgress(2, 1);
  EXPECT_EQ(bar.busy.position(), 0);
  EXPECT_EQ(bar.ui.panes[1], "Ready...");
  for (int i = 0; i < 9; ++i)
    bar.busy.ShowProgress(10, 1);
  bar.busy.ShowProgress(10, 2);  // 90 + 20 passes 100 without landing on it
  EXPECT_EQ(bar.busy.position(), 100);
  EXPECT_EQ(bar.ui.panes[1], "Communicating ...");
  bar.ui.sleeps.clear();
  bar.busy.ShowProgress(0, 1);  // a full bar ends without the pause
  EXPECT_TRUE(bar.ui.sleeps.empty());
  EXPECT_EQ(bar.busy.position(), 0);
  EXPECT_EQ(bar.ui.panes[1], "Ready...");
}

}  // namespace
}  // namespace korvelane
