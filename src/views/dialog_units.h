// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog units: a layout measured in quarters of the font's average character width and eighths
// of its height, turned into pixels for the font a view is shown with.
#pragma once

#include <QFont>
#include <QRect>

namespace korvelane {

// A control's place in dialog units.
struct DialogPlace {
  int x, y, width, height;
};

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int X(int units) const;
  int Y(int units) const;
  QRect Rect(int x, int y, int width, int height) const;
  QRect Rect(const DialogPlace& place) const {
    return Rect(place.x, place.y, place.width, place.height);
  }

  int base_width() const { return base_width_; }
  int base_height() const { return base_height_; }

 private:
  int base_width_;   // average width of the letters, pixels
  int base_height_;  // line height, pixels
};

}  // namespace korvelane
