// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/scope_graph.h"

#include <QMetaObject>
#include <QVector>
#include <algorithm>
#include <string>

#include "views/slot_colors.h"

namespace korvelane {

class ScopeGraph::Plot : public GraphPlot {
 public:
  Plot(ScopeGraph& owner, QCPGraph* graph) : owner_(owner), graph_(graph) {}

  void SetPlotData(const uint8_t* values, size_t count) override {
    QVector<QCPGraphData> points(static_cast<int>(count));
    for (size_t i = 0; i < count; ++i)
      points[static_cast<int>(i)] = QCPGraphData(static_cast<double>(i), values[i]);
    graph_->data()->set(points, true);
    owner_.Changed();
  }
  void ClearPlot() override {
    graph_->data()->clear();
    owner_.Changed();
  }
  void SetPlotVisible(bool visible) override {
    graph_->setVisible(visible);
    owner_.Changed();
  }

  QCPGraph* graph() const { return graph_; }

 private:
  ScopeGraph& owner_;
  QCPGraph* graph_;
};

class ScopeGraph::Marker : public GraphAnnotation {
 public:
  Marker(ScopeGraph& owner, QCPItemText* item) : owner_(owner), item_(item) {}

  void SetAnnotationVisible(bool visible) override {
    item_->setVisible(visible);
    owner_.Changed();
  }
  void SetCaptionPosition(double position) override {
    const double clamped = std::clamp(position, 0.0, 10.0);
    item_->position->setCoords(0.0, clamped * kScreenHeight / 10.0);
    owner_.Changed();
  }

  QCPItemText* item() const { return item_; }

 private:
  ScopeGraph& owner_;
  QCPItemText* item_;
};

ScopeGraph::ScopeGraph(QWidget* parent) : QCustomPlot(parent) {
  SetUpScreen();
  for (int n = 1; n <= kPlotCount; ++n) {
    QCPGraph* graph = addGraph();
    graph->setName(QStringLiteral("Plot-%1").arg(n));
    graph->setPen(QPen(SlotColor(n), 1));
    graph->setAntialiased(false);
    graph->setAdaptiveSampling(true);
    graph->setSelectable(QCP::stNone);
    plots_[static_cast<size_t>(n - 1)] = std::make_unique<Plot>(*this, graph);
  }
  for (int n = 1; n <= kAnnotationCount; ++n) {
    auto* item = new QCPItemText(this);
    item->setText(QString::number(n));
    item->setColor(Qt::black);
    item->setBrush(QBrush(SlotColor(n)));
    item->setPadding(QMargins(3, 0, 3, 0));
    item->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    item->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
    item->position->setTypeY(QCPItemPosition::ptPlotCoords);
    item->position->setCoords(0.0, kScreenHeight / 2);
    item->setClipToAxisRect(false);
    item->setSelectable(false);
    markers_[static_cast<size_t>(n - 1)] = std::make_unique<Marker>(*this, item);
  }
  FitHorizontalRange();
}

ScopeGraph::~ScopeGraph() = default;

void ScopeGraph::SetUpScreen() {
  setAccessibleName(QStringLiteral("Wave graph"));
  setBackground(QBrush(Qt::black));
  setPlottingHints(QCP::phFastPolylines | QCP::phCacheLabels);
  setInteractions(QCP::Interactions());
  axisRect()->setAutoMargins(QCP::msNone);
  axisRect()->setMargins(QMargins(1, 1, 1, 1));
  axisRect()->setBackground(QBrush(Qt::black));

  const QPen frame(QColor(150, 150, 150), 1);
  const QPen grid(QColor(90, 90, 90), 1, Qt::DotLine);
  for (QCPAxis* axis : {xAxis, yAxis, xAxis2, yAxis2}) {
    axis->setVisible(true);
    axis->setBasePen(frame);
    axis->setTicks(false);
    axis->setTickLabels(false);
    axis->grid()->setPen(grid);
    axis->grid()->setZeroLinePen(grid);
    axis->grid()->setSubGridVisible(false);
    axis->setSelectableParts(QCPAxis::spNone);
  }
  // The graticule comes from the bottom and left axes only.
  xAxis2->grid()->setVisible(false);
  yAxis2->grid()->setVisible(false);

  auto vertical = QSharedPointer<QCPAxisTickerFixed>::create();
  vertical->setTickStep(kScreenHeight / kVerticalDivisions);
  vertical->setScaleStrategy(QCPAxisTickerFixed::ssNone);
  yAxis->setTicker(vertical);
  yAxis->setRange(0, kScreenHeight);
  yAxis2->setRange(0, kScreenHeight);
}

void ScopeGraph::FitHorizontalRange() {
  int width = 0;
  for (const auto& plot : plots_) {
    if (plot->graph()->visible())
      width = std::max(width, plot->graph()->dataCount());
  }
  if (width == 0)
    width = kDefaultWidth;
  if (xAxis->range().lower == 0 && xAxis->range().upper == width)
    return;
  auto horizontal = QSharedPointer<QCPAxisTickerFixed>::create();
  horizontal->setTickStep(static_cast<double>(width) / kHorizontalDivisions);
  horizontal->setScaleStrategy(QCPAxisTickerFixed::ssNone);
  xAxis->setTicker(horizontal);
  xAxis->setRange(0, width);
  xAxis2->setRange(0, width);
}

void ScopeGraph::Changed() {
  FitHorizontalRange();
  if (replot_queued_)
    return;
  replot_queued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (replot_queued_)
          Redraw();
      },
      Qt::QueuedConnection);
}

GraphPlot* ScopeGraph::PlotByIndex(int index) {
  return index >= 1 && index <= kPlotCount ? plots_[static_cast<size_t>(index - 1)].get() : nullptr;
}

GraphPlot* ScopeGraph::PlotByName(std::string_view name) {
  for (int n = 1; n <= kPlotCount; ++n) {
    if (name == "Plot-" + std::to_string(n))
      return plots_[static_cast<size_t>(n - 1)].get();
  }
  return nullptr;
}

GraphAnnotation* ScopeGraph::AnnotationByIndex(int index) {
  return index >= 1 && index <= kAnnotationCount ? markers_[static_cast<size_t>(index - 1)].get()
                                                 : nullptr;
}

void ScopeGraph::Redraw() {
  replot_queued_ = false;
  ++replot_count_;
  replot();
}

QCPGraph* ScopeGraph::plot_graph(int index) const {
  return index >= 1 && index <= kPlotCount ? plots_[static_cast<size_t>(index - 1)]->graph()
                                           : nullptr;
}

QCPItemText* ScopeGraph::marker_item(int index) const {
  return index >= 1 && index <= kAnnotationCount ? markers_[static_cast<size_t>(index - 1)]->item()
                                                 : nullptr;
}

}  // namespace korvelane
