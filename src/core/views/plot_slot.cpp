// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/plot_slot.h"

#include <array>

namespace korvelane {
namespace {
constexpr int kMaxPlotted = 4000;
}  // namespace

bool IsPlottedCount(int count) {
  switch (count) {
    case 250:
    case 500:
    case 1000:
    case 1250:
    case 2000:
    case 2500:
    case 4000:
      return true;
    default:
      return false;
  }
}

void PlotSlot(GraphControl& graph, const uint8_t* samples, int count, int slot) {
  if (!samples || !IsPlottedCount(count))
    return;
  GraphPlot* plot = graph.PlotByIndex(slot);
  if (!plot)
    return;
  std::array<uint8_t, kMaxPlotted> values;
  for (int i = 0; i < count; ++i)
    values[static_cast<size_t>(i)] = PlotValue(samples[i]);
  plot->SetPlotData(values.data(), static_cast<size_t>(count));
}

}  // namespace korvelane
