// SPDX-License-Identifier: GPL-3.0-or-later
// Where the DSO Bitmap view's controls sit, and how they follow the view's size: the title and
// "Alter Title" keep to the bottom edge, the picture area and the title take up the width, and
// the picture area the height above the title. Lengths are pixels at the reference font and
// are multiplied by the view's scale for larger fonts.
#pragma once

#include <QRect>
#include <QSize>
#include <array>

namespace korvelane {

struct DsoBitmapLayout {
  enum Button { kSave, kOpen, kCopy, kRefresh, kPrint, kButtonCount };

  QRect label;
  std::array<QRect, kButtonCount> buttons;
  QRect alter_title;
  QRect title;
  QRect picture;
};

// The client size the layout is made for: 258 × 180 dialog units, 387 × 293 pixels at the
// reference font.
QSize DsoBitmapTemplateSize(double scale);

// The controls at the template size.
DsoBitmapLayout InitialDsoBitmapLayout(double scale);

// Moves the title, "Alter Title" and the picture area for a client of `size`.
DsoBitmapLayout ResizeDsoBitmapLayout(const DsoBitmapLayout& layout, QSize size, double scale);

}  // namespace korvelane
