// SPDX-License-Identifier: GPL-3.0-or-later
// The print job a view hands to the print preview, and how its items fall onto pages: 39 items on
// the first page, 40 on every further page, then the job's extra pages.
#pragma once

#include <cstdint>

namespace korvelane {

// Which view renders the pages of a job; the numbers are the views' page messages.
enum class PageMessage : int32_t {
  kWaveData = 0x469,
  kWaveGraph = 0x46a,
  kMeasurement = 0x46b,
  kDsoBitmap = 0x46c,
};

struct PrintJob {
  int32_t first_item = 1;  // 1-based
  int32_t item_count = 0;  // the preview closes at once when 0 or less
  int32_t page_count = 0;  // filled by SetPrintJob
  int32_t page_to_draw = 1;
  int32_t to_printer = 0;
  int32_t owner_window = 0;  // kept for the record; the owner is the view itself
  int32_t data_list = 0;
  int32_t extra_pages = 0;
};

constexpr int kItemsOnFirstPage = 39;
constexpr int kItemsOnLaterPages = 40;

// Pages that `item_count` items fill: 1 up to 39 items, then one more for every 40 begun.
int ItemPageCount(int item_count);

// Stores the page count (item pages plus extra pages) into the job.
void SetPrintJob(PrintJob& job);

// The items of item page `page` (1-based) of a job: the 0-based list row of the first item and
// the number of rows, never past the job's last item. Zero rows outside the job.
struct PageRows {
  int first_row = 0;
  int rows = 0;
};
PageRows ItemPageRows(int first_item, int item_count, int page);

}  // namespace korvelane
