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
  // Wave Graph jobs add the measurement and parameter pages; absurd counts do not overflow.
  const struct {
    int items, extra, pages;
  } jobs[] = {{1, 0, 1},  {39, 0, 1}, {40, 0, 2}, {79, 0, 2},     {80, 0, 3},
              {10, 2, 3}, {39, 2, 3}, {40, 2, 4}, {4000, 2, 103}, {0x7fffffff, 0, 53687092}};
  for (const auto& j : jobs)
    EXPECT_EQ(Pages(j.items, j.extra), j.pages) << j.items << " + " << j.extra;

  // The rows of each page stop at the last item; nothing for an empty job or a page outside it.
  const struct {
    int first_item, count, page, first_row, rows;
  } ranges[] = {{1, 100, 1, 0, 39},  {1, 100, 2, 39, 40}, {1, 100, 3, 79, 21}, {1, 100, 4, 0, 0},
                {50, 11, 1, 49, 11}, {1, 40, 2, 39, 1},   {1, 0, 1, 0, 0},     {1, 10, 0, 0, 0}};
  for (const auto& r : ranges) {
    const PageRows rows = ItemPageRows(r.first_item, r.count, r.page);
    EXPECT_EQ(rows.rows, r.rows) << r.first_item << "+" << r.count << " page " << r.page;
    if (r.rows > 0) {
      EXPECT_EQ(rows.first_row, r.first_row)
          << r.first_item << "+" << r.count << " page " << r.page;
    }
  }
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
