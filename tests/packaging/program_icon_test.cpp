// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_icon.h"

#include <gtest/gtest.h>

#include <QColor>

namespace korvelane {
namespace {

// The artwork is drawn on a 128 x 128 grid: a grey case, a dark screen, a yellow trace whose first
// crest is near (27.5, 39.4).
TEST(ProgramIcon, IsTheBuiltInArtworkAtEachSize) {
  const QImage image = ProgramImage(128);
  ASSERT_FALSE(image.isNull()) << "the built-in artwork could not be read";
  ASSERT_EQ(image.size(), QSize(128, 128));
  EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0) << "the corners are transparent";
  EXPECT_EQ(QColor(image.pixel(8, 64)), QColor(0x34, 0x3a, 0x46)) << "the case";
  EXPECT_EQ(QColor(image.pixel(20, 32)), QColor(0x0a, 0x1c, 0x28)) << "the screen";
  const QColor crest(image.pixel(27, 40));
  EXPECT_GT(crest.red(), 200);
  EXPECT_GT(crest.green(), 180);
  EXPECT_LT(crest.blue(), 80);

  const QImage small = ProgramImage(16);
  ASSERT_EQ(small.size(), QSize(16, 16));
  EXPECT_EQ(qAlpha(small.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(small.pixel(8, 8)), 255);
  EXPECT_TRUE(ProgramImage(0).isNull());
}

TEST(ProgramIcon, OffersTheSmallAndLargeSizes) {
  const QList<QSize> sizes = ProgramIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)));
  EXPECT_TRUE(sizes.contains(QSize(48, 48)));
  EXPECT_TRUE(sizes.contains(QSize(256, 256)));
  EXPECT_FALSE(ProgramPixmap(48).isNull());
}

}  // namespace
}  // namespace korvelane
