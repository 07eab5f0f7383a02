// SPDX-License-Identifier: GPL-3.0-or-later
// A printed page as a list of drawing primitives in millimetres, drawn by a backend that turns
// millimetres into the units of its device.
#pragma once

#include <string>
#include <vector>

namespace korvelane {

constexpr double kPageWidthMm = 223.0;
constexpr double kPageHeightMm = 315.0;

enum class FontRole { kTitle, kBody };  // "黑体" 14 pt, "宋体" 10 pt

enum class TextAlign { kLeft, kCentre, kRight };

struct PageItem {
  enum Kind { kRectangle, kLine, kText, kImage };
  Kind kind = kLine;
  // Lines run from (x1, y1) to (x2, y2); the other kinds fill the box between the two corners.
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  // Text: single line, vertically centred and clipped to the box; left-aligned texts start at
  // x1 + inset.
  std::string text;
  FontRole font = FontRole::kBody;
  TextAlign align = TextAlign::kLeft;
  double inset = 0;
  // Image: the source rectangle, in pixels of the picture, top row first.
  int source_width = 0;
  int source_height = 0;
};

struct Page {
  std::vector<PageItem> items;

  void Rectangle(double x1, double y1, double x2, double y2);
  void Line(double x1, double y1, double x2, double y2);
  void Text(double x1, double y1, double x2, double y2, std::string text, FontRole font,
            TextAlign align, double inset = 0);
  void Image(double x1, double y1, double x2, double y2, int source_width, int source_height);
};

}  // namespace korvelane
