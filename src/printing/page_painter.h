// SPDX-License-Identifier: GPL-3.0-or-later
// Draws a page of millimetre primitives on any paint device: millimetres become device units
// with the device's own pixels per inch, the fonts are "黑体" 14 pt and "宋体" 10 pt and lines use
// a 2-unit black pen.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>

#include "core/printing/page.h"

namespace korvelane {

// `mm` millimetres in device units at `dpi` pixels per inch, truncated.
int MmToDevice(double mm, double dpi);

// The title or body font at `dpi_y` vertical pixels per inch.
QFont PrintFont(FontRole role, int dpi_y);

// `picture` fills the page's image boxes (top row first); it may be null.
void PaintPage(QPainter& painter, const Page& page, int dpi_x, int dpi_y, const QImage& picture);

}  // namespace korvelane
