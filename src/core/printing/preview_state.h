// SPDX-License-Identifier: GPL-3.0-or-later
// The print preview without its window: the current page and which navigation commands are
// enabled, the "Goto Page" clamping and wrapping, the scroll ranges and the mouse wheel.
#pragma once

namespace korvelane {

class PreviewNavigation {
 public:
  explicit PreviewNavigation(int page_count);

  int current_page() const { return current_; }
  int page_count() const { return page_count_; }
  bool first_enabled() const { return back_enabled_; }
  bool previous_enabled() const { return back_enabled_; }
  bool next_enabled() const { return forward_enabled_; }
  bool last_enabled() const { return forward_enabled_; }
  // Set at opening only.
  bool goto_enabled() const { return goto_enabled_; }

  void First();
  void Previous();
  void Next();
  void Last();
  // `page` as "Goto Page" returned it, clamped to 1..page count.
  void Goto(int page);

 private:
  int page_count_;
  int current_ = 1;
  bool back_enabled_ = false;
  bool forward_enabled_;
  bool goto_enabled_;
};

// "Goto Page": a typed value clamped to 1..page count, and the up-down control that wraps.
int ClampGotoPage(int value, int page_count);
int StepGotoPage(int value, int step, int page_count);

constexpr int kScrollLinePixels = 15;

// The wheel: one line for every full step of the accumulated delta; the remainder waits.
class WheelScroller {
 public:
  // `lines_per_notch` is the system's wheel-scroll line count; 0 turns the wheel off.
  explicit WheelScroller(int lines_per_notch);
  // Lines to scroll for `delta` (positive: up, so the result is negative).
  int Consume(int delta);
  int step() const { return step_; }

 private:
  int step_;
  int pending_ = 0;
};

// The page size in screen pixels for the screen's pixels per inch.
int PreviewPageWidth(int dpi_x);
int PreviewPageHeight(int dpi_y);

}  // namespace korvelane
