// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/printing/preview_state.h"

#include <algorithm>

namespace korvelane {

PreviewNavigation::PreviewNavigation(int page_count)
    : page_count_(std::max(1, page_count)),
      forward_enabled_(page_count_ > 1),
      goto_enabled_(page_count_ > 1) {}

void PreviewNavigation::First() {
  current_ = 1;
  back_enabled_ = false;
  forward_enabled_ = true;
}

void PreviewNavigation::Previous() {
  current_ = std::max(1, current_ - 1);
  back_enabled_ = current_ > 1;
  forward_enabled_ = true;
}

void PreviewNavigation::Next() {
  current_ = std::min(page_count_, current_ + 1);
  back_enabled_ = true;
  forward_enabled_ = current_ < page_count_;
}

void PreviewNavigation::Last() {
  current_ = page_count_;
  back_enabled_ = true;
  forward_enabled_ = false;
}

void PreviewNavigation::Goto(int page) {
  current_ = ClampGotoPage(page, page_count_);
  back_enabled_ = current_ != 1;
  forward_enabled_ = current_ != page_count_;
}

int ClampGotoPage(int value, int page_count) {
  return std::max(1, std::min(value, std::max(1, page_count)));
}

int StepGotoPage(int value, int step, int page_count) {
  const int count = std::max(1, page_count);
  const int next = ClampGotoPage(value, count) + step;
  if (next > count)
    return 1;
  if (next < 1)
    return count;
  return next;
}

WheelScroller::WheelScroller(int lines_per_notch)
    : step_(lines_per_notch > 0 ? 120 / lines_per_notch : 0) {}

int WheelScroller::Consume(int delta) {
  if (step_ <= 0)
    return 0;
  pending_ += delta;
  int lines = 0;
  while (pending_ >= step_) {
    pending_ -= step_;
    --lines;
  }
  while (pending_ <= -step_) {
    pending_ += step_;
    ++lines;
  }
  return lines;
}

int PreviewPageWidth(int dpi_x) {
  return dpi_x * 2230 / 254;
}
int PreviewPageHeight(int dpi_y) {
  return dpi_y * 3150 / 254;
}

}  // namespace korvelane
