// SPDX-License-Identifier: GPL-3.0-or-later
#include "panes/right_pane.h"

#include <gtest/gtest.h>

#include <QLabel>

namespace korvelane {
namespace {

TEST(RightPane, ShowsOnePageSelectedByIndex) {
  RightPane pane;
  EXPECT_EQ(pane.current_index(), kWelcomePage);
  EXPECT_TRUE(pane.SelectView(kWaveDataView));
  EXPECT_EQ(pane.current_index(), kWaveDataView);
  EXPECT_TRUE(pane.SelectView(kWaveDataView));  // already current: nothing changes
  EXPECT_EQ(pane.current_index(), kWaveDataView);
  EXPECT_FALSE(pane.SelectView(5));
  EXPECT_FALSE(pane.SelectView(-1));
  EXPECT_EQ(pane.current_index(), kWaveDataView);
  EXPECT_EQ(RightPane::Caption(kWaveMeasurementView), QString::fromUtf8("测量值"));
}

TEST(RightPane, AViewTakesThePlaceOfItsPlaceholderWithoutChangingTheCurrentPage) {
  RightPane pane;
  pane.SelectView(kWaveGraphView);
  auto* view = new QLabel(QStringLiteral("bitmap view"));
  pane.SetPage(kDsoBitmapView, view);
  EXPECT_EQ(pane.page(kDsoBitmapView), view);
  EXPECT_EQ(pane.current_index(), kWaveGraphView);
  pane.SetPage(kWelcomePage, new QLabel);  // the welcome page stays
  EXPECT_NE(pane.page(kWelcomePage), nullptr);
  EXPECT_EQ(pane.page(kWelcomePage)->accessibleName(), QStringLiteral("Welcome"));
}

}  // namespace
}  // namespace korvelane
