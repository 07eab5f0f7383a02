// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/printing/print_job.h"

#include <algorithm>

namespace korvelane {

int ItemPageCount(int item_count) {
  if (item_count <= kItemsOnFirstPage)
    return 1;
  const int64_t rest = static_cast<int64_t>(item_count) - kItemsOnFirstPage;
  return static_cast<int>(1 + (rest + kItemsOnLaterPages - 1) / kItemsOnLaterPages);
}

void SetPrintJob(PrintJob& job) {
  job.page_count = ItemPageCount(job.item_count) + std::max(0, job.extra_pages);
}

PageRows ItemPageRows(int first_item, int item_count, int page) {
  if (page < 1 || item_count <= 0)
    return {};
  // Offsets within the job, 0-based.
  const int64_t start =
      page == 1 ? 0 : kItemsOnFirstPage + static_cast<int64_t>(page - 2) * kItemsOnLaterPages;
  const int64_t capacity = page == 1 ? kItemsOnFirstPage : kItemsOnLaterPages;
  const int64_t rows = std::min<int64_t>(capacity, item_count - start);
  if (rows <= 0)
    return {};
  return {static_cast<int>(first_item - 1 + start), static_cast<int>(rows)};
}

}  // namespace korvelane
