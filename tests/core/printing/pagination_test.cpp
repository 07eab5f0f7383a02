// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/printing/preview_state.h"
#include "core/printing/print_job.h"

namespace korvelane {
namespace {

int Pages(int items, int extra) {
  PrintJob job;
  job.item_count = items;
  job.extra_pages = extra;
  SetPrintJob(job);
  return job.page_count;
}

TEST(PaginationTest, FirstPageHoldsThirtyNineItemsAndLaterPagesForty) {
  EXPECT_EQ(Pages(39, 0), 1);
  EXPECT_EQ(Pages(40, 0), 2);
  EXPECT_EQ(Pages(79, 0), 2);
  EXPECT_EQ(Pages(80, 0), 3);
  EXPECT_EQ(Pages(1, 0), 1);
  // Wave Graph jobs add the measurement and parameter pages.
  EXPECT_EQ(Pages(10, 2), 3);
  EXPECT_EQ(Pages(39, 2), 3);
  EXPECT_EQ(Pages(40, 2), 4);
  EXPECT_EQ(Pages(4000, 2), 103);
  EXPECT_EQ(Pages(0x7fffffff, 0), 53687092);  // no overflow on absurd counts
}

TEST(PaginationTest, ItemRangesSplitAcrossPagesAndStopAtTheLastItem) {
  // Items 1..100: 1..39, 40..79, 80..100.
  EXPECT_EQ(ItemPageRows(1, 100, 1).first_row, 0);
  EXPECT_EQ(ItemPageRows(1, 100, 1).rows, 39);
  EXPECT_EQ(ItemPageRows(1, 100, 2).first_row, 39);
  EXPECT_EQ(ItemPageRows(1, 100, 2).rows, 40);
  EXPECT_EQ(ItemPageRows(1, 100, 3).first_row, 79);
  EXPECT_EQ(ItemPageRows(1, 100, 3).rows, 21);
  EXPECT_EQ(ItemPageRows(1, 100, 4).rows, 0);
  // Items 50..60: one page of eleven rows starting at item 50.
  EXPECT_EQ(ItemPageRows(50, 11, 1).first_row, 49);
  EXPECT_EQ(ItemPageRows(50, 11, 1).rows, 11);
  // Forty items: the second page holds the last one alone.
  EXPECT_EQ(ItemPageRows(1, 40, 2).first_row, 39);
  EXPECT_EQ(ItemPageRows(1, 40, 2).rows, 1);
  // Nothing for an empty job or a page outside it.
  EXPECT_EQ(ItemPageRows(1, 0, 1).rows, 0);
  EXPECT_EQ(ItemPageRows(1, 10, 0).rows, 0);
}

TEST(GotoPageTest, TypedValuesClampAndTheUpDownWraps) {
  EXPECT_EQ(ClampGotoPage(0, 5), 1);
  EXPECT_EQ(ClampGotoPage(-7, 5), 1);
  EXPECT_EQ(ClampGotoPage(6, 5), 5);
  EXPECT_EQ(ClampGotoPage(3, 5), 3);
  EXPECT_EQ(StepGotoPage(5, 1, 5), 1);
  EXPECT_EQ(StepGotoPage(1, -1, 5), 5);
  EXPECT_EQ(StepGotoPage(2, 1, 5), 3);
}

}  // namespace
}  // namespace korvelane
