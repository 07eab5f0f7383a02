// SPDX-License-Identifier: GPL-3.0-or-later
// The graph the Wave Graph view draws its waves on: seven plots, one per wave slot, and the level
// markers of CH1 and CH2. Every operation shows on screen by itself; Redraw repaints once after
// a batch of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace korvelane {

class GraphPlot {
 public:
  virtual ~GraphPlot() = default;
  // Replaces all data of the plot; value i is drawn at x = i.
  virtual void SetPlotData(const uint8_t* values, size_t count) = 0;
  // The plot shows nothing until new data come.
  virtual void ClearPlot() = 0;
  // Hides or shows the plot; its data stay.
  virtual void SetPlotVisible(bool visible) = 0;
};

class GraphAnnotation {
 public:
  virtual ~GraphAnnotation() = default;
  virtual void SetAnnotationVisible(bool visible) = 0;
  // 0 puts the marker at the bottom of the screen, 10 at the top.
  virtual void SetCaptionPosition(double position) = 0;
};

class GraphControl {
 public:
  static constexpr int kPlotCount = 7;
  static constexpr int kAnnotationCount = 2;

  virtual ~GraphControl() = default;
  // Plot 1..7; null for another number.
  virtual GraphPlot* PlotByIndex(int index) = 0;
  // "Plot-1" .. "Plot-7" name the plots 1..7; null for another name.
  virtual GraphPlot* PlotByName(std::string_view name) = 0;
  // Annotation 1 (CH1's marker) or 2 (CH2's); null for another number.
  virtual GraphAnnotation* AnnotationByIndex(int index) = 0;
  // Repaints the graph with everything changed so far.
  virtual void Redraw() = 0;
};

}  // namespace korvelane
