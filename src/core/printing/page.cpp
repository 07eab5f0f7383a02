// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/printing/page.h"

#include <utility>

namespace korvelane {

void Page::Rectangle(double x1, double y1, double x2, double y2) {
  PageItem item;
  item.kind = PageItem::kRectangle;
  item.x1 = x1, item.y1 = y1, item.x2 = x2, item.y2 = y2;
  items.push_back(std::move(item));
}

void Page::Line(double x1, double y1, double x2, double y2) {
  PageItem item;
  item.kind = PageItem::kLine;
  item.x1 = x1, item.y1 = y1, item.x2 = x2, item.y2 = y2;
  items.push_back(std::move(item));
}

void Page::Text(double x1, double y1, double x2, double y2, std::string text, FontRole font,
                TextAlign align, double inset) {
  PageItem item;
  item.kind = PageItem::kText;
  item.x1 = x1, item.y1 = y1, item.x2 = x2, item.y2 = y2;
  item.text = std::move(text);
  item.font = font;
  item.align = align;
  item.inset = inset;
  items.push_back(std::move(item));
}

void Page::Image(double x1, double y1, double x2, double y2, int source_width, int source_height) {
  PageItem item;
  item.kind = PageItem::kImage;
  item.x1 = x1, item.y1 = y1, item.x2 = x2, item.y2 = y2;
  item.source_width = source_width;
  item.source_height = source_height;
  items.push_back(std::move(item));
}

}  // namespace korvelane
