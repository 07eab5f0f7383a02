// SPDX-License-Identifier: GPL-3.0-or-later
// The graph control of the Wave Graph view over QCustomPlot: an oscilloscope screen of 10 x 8
// divisions, 200 screen units high and as wide as the longest wave shown, with seven plots in
// their slot colours and the level markers of CH1 and CH2 at its left edge.
#pragma once

#include <qcustomplot.h>
#include <array>
#include <memory>

#include "core/views/graph_control.h"

namespace korvelane {

class ScopeGraph : public QCustomPlot, public GraphControl {
  Q_OBJECT

 public:
  static constexpr double kScreenHeight = 200.0;  // vertical screen units
  static constexpr int kHorizontalDivisions = 10;
  static constexpr int kVerticalDivisions = 8;
  static constexpr int kDefaultWidth = 4000;  // samples across while no wave is shown

  explicit ScopeGraph(QWidget* parent = nullptr);
  ~ScopeGraph() override;

  GraphPlot* PlotByIndex(int index) override;
  GraphPlot* PlotByName(std::string_view name) override;
  GraphAnnotation* AnnotationByIndex(int index) override;
  void Redraw() override;

  // Plot 1..7 and marker 1..2 as drawn; null for another number.
  QCPGraph* plot_graph(int index) const;
  QCPItemText* marker_item(int index) const;
  // Replots done so far, for tests.
  int replot_count() const { return replot_count_; }

 private:
  class Plot;
  class Marker;

  void SetUpScreen();
  // Something changed: the horizontal range follows the waves and a replot is queued, so that
  // every change shows on screen even when no Redraw follows.
  void Changed();
  void FitHorizontalRange();

  std::array<std::unique_ptr<Plot>, kPlotCount> plots_;
  std::array<std::unique_ptr<Marker>, kAnnotationCount> markers_;
  bool replot_queued_ = false;
  int replot_count_ = 0;
};

}  // namespace korvelane
