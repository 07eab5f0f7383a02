// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/bitmap/dso_bitmap_layout.h"

#include <algorithm>
#include <cmath>

namespace korvelane {
namespace {

// The resize rule's constants.
constexpr int kBottomMargin = 10;
constexpr int kWidthAllowance = 145;
constexpr int kHeightAllowance = 108;

int Scaled(int length, double scale) {
  return static_cast<int>(std::lround(length * scale));
}

QRect ScaledRect(int x, int y, int width, int height, double scale) {
  return QRect(Scaled(x, scale), Scaled(y, scale), Scaled(width, scale), Scaled(height, scale));
}

}  // namespace

QSize DsoBitmapTemplateSize(double scale) {
  // Derived from the scaled controls, so that the resize rule leaves them in place at this size
  // whatever the rounding.
  const DsoBitmapLayout layout = InitialDsoBitmapLayout(scale);
  return QSize(layout.picture.width() - layout.picture.left() + Scaled(kWidthAllowance, scale),
               layout.title.bottom() + 1 + Scaled(kBottomMargin, scale));
}

DsoBitmapLayout InitialDsoBitmapLayout(double scale) {
  DsoBitmapLayout layout;
  layout.label = ScaledRect(70, 8, 150, 34, scale);
  for (int i = 0; i < DsoBitmapLayout::kButtonCount; ++i)
    layout.buttons[static_cast<size_t>(i)] = ScaledRect(5, 50 + 32 * i, 60, 24, scale);
  layout.alter_title = ScaledRect(5, 259, 60, 24, scale);
  layout.title = ScaledRect(70, 259, 312, 24, scale);
  layout.picture = ScaledRect(70, 50, 312, 0, scale);
  // 201 at the reference font: down to 8 pixels above the title.
  layout.picture.setHeight(layout.picture.top() + layout.title.top() -
                           Scaled(kHeightAllowance, scale));
  return layout;
}

DsoBitmapLayout ResizeDsoBitmapLayout(const DsoBitmapLayout& layout, QSize size, double scale) {
  DsoBitmapLayout out = layout;
  const int allowance = Scaled(kWidthAllowance, scale);
  const int title_top = size.height() - Scaled(kBottomMargin, scale) - layout.title.height();
  out.title.moveTop(title_top);
  out.title.setWidth(std::max(0, layout.title.left() + size.width() - allowance));
  out.alter_title.moveTop(title_top);
  out.picture.setWidth(std::max(0, layout.picture.left() + size.width() - allowance));
  out.picture.setHeight(
      std::max(0, layout.picture.top() + title_top - Scaled(kHeightAllowance, scale)));
  return out;
}

}  // namespace korvelane
