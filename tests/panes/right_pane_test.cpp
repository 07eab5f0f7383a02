// SPDX-License-Identifier: GPL-3.0-or-later
#include "panes/right_pane.h"

#include <gtest/gtest.h>

#include <QLabel>

namespace korvelane {
namespace {

TEST(RightPane, ShowsOnePageSelectedByIndexAndAViewTakesThePlaceOfItsPlaceholder) {
  RightPane pane;
  EXPECT_EQ(pane.current_index(), kWelcomePage);
  EXPECT_TRUE(pane.SelectView(kWaveDataView));
  EXPECT_TRUE(pane.SelectView(kWaveDataView));  // already current: nothing changes
  EXPECT_FALSE(pane.SelectView(kWaveMeasurementView + 1));
  EXPECT_FALSE(pane.SelectView(-1));
  EXPECT_EQ(pane.current_index(), kWaveDataView);
  EXPECT_TRUE(pane.SelectView(kWaveMeasurementView));

  // Without changing the current page; the welcome page stays.
  auto* view = new QLabel(QStringLiteral("bitmap view"));
  pane.SelectView(kWaveGraphView);
  pane.SetPage(kDsoBitmapView, view);
  EXPECT_EQ(pane.page(kDsoBitmapView), view);
  EXPECT_EQ(pane.current_index(), kWaveGraphView);
  pane.SetPage(kWelcomePage, new QLabel);
  EXPECT_EQ(pane.page(kWelcomePage)->accessibleName(), QStringLiteral("Welcome"));
}

}  // namespace
}  // namespace korvelane
