// SPDX-License-Identifier: GPL-3.0-or-later
// Handing a slot's raw samples to its plot.
#pragma once

#include <cstdint>

#include "core/views/graph_control.h"

namespace korvelane {

// Raw sample codes below this are drawn at the bottom of the screen.
constexpr int kPlotOffset = 18;

// The sample counts the graph draws: 250, 500, 1000, 1250, 2000, 2500 and 4000.
bool IsPlottedCount(int count);

// Plot value of a raw sample: r - 18, and 0 below 18.
inline uint8_t PlotValue(uint8_t raw) {
  return raw >= kPlotOffset ? static_cast<uint8_t>(raw - kPlotOffset) : 0;
}

// Sets plot `slot` to the plot values of the first `count` samples. A count the graph does not
// draw, or a slot without a plot, changes nothing; the raw samples stay as they are.
void PlotSlot(GraphControl& graph, const uint8_t* samples, int count, int slot);

}  // namespace korvelane
