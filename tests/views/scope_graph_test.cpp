#include "views/scope_graph.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <vector>

#include "views/slot_colors.h"

namespace korvelane {
namespace {

class ScopeGraphTest : public ::testing::Test {
 protected:
  ScopeGraphTest() { graph.resize(640, 400); }

  void SetData(int plot, size_t count, uint8_t value) {
    const std::vector<uint8_t> values(count, value);
    graph.PlotByIndex(plot)->SetPlotData(values.data(), values.size());
  }
  void Settle() { QCoreApplication::processEvents(); }

  ScopeGraph graph;
};

TEST_F(ScopeGraphTest, PlotsAreReachedByIndexAndByName) {
  for (int n = 1; n <= 7; ++n) {
    EXPECT_NE(graph.PlotByIndex(n), nullptr) << n;
    EXPECT_EQ(graph.plot_graph(n)->pen().color(), SlotColor(n)) << n;
  }
  EXPECT_EQ(graph.PlotByName("Plot-1"), graph.PlotByIndex(1));
  EXPECT_EQ(graph.PlotByName("Plot-2"), graph.PlotByIndex(2));
  for (int n : {0, 8, -1})
    EXPECT_EQ(graph.PlotByIndex(n), nullptr);
  EXPECT_EQ(graph.PlotByName("Plot-8"), nullptr);
  EXPECT_EQ(graph.PlotByName("plot-1"), nullptr);
  EXPECT_EQ(graph.AnnotationByIndex(3), nullptr);
  EXPECT_EQ(graph.AnnotationByIndex(0), nullptr);
}

TEST_F(ScopeGraphTest, DataReplaceWhatThePlotShowedAndStayWhileHidden) {
  const std::vector<uint8_t> values = {0, 5, 237};
  graph.PlotByIndex(3)->SetPlotData(values.data(), values.size());
  QCPGraph* plot = graph.plot_graph(3);
  ASSERT_EQ(plot->dataCount(), 3);
  EXPECT_EQ(plot->data()->at(2)->key, 2.0);
  EXPECT_EQ(plot->data()->at(2)->value, 237.0);
  SetData(3, 250, 7);
  EXPECT_EQ(plot->dataCount(), 250);
  graph.PlotByIndex(3)->SetPlotVisible(false);
  EXPECT_FALSE(plot->visible());
  EXPECT_EQ(plot->dataCount(), 250);
  graph.PlotByIndex(3)->ClearPlot();
  EXPECT_EQ(plot->dataCount(), 0);
}

TEST_F(ScopeGraphTest, TheScreenIsTwoHundredUnitsHighAndAsWideAsTheLongestShownWave) {
  EXPECT_EQ(graph.yAxis->range(), QCPRange(0, 200));
  EXPECT_EQ(graph.xAxis->range(), QCPRange(0, 4000));
  SetData(1, 2500, 10);
  EXPECT_EQ(graph.xAxis->range(), QCPRange(0, 2500));
  SetData(4, 1000, 10);
  EXPECT_EQ(graph.xAxis->range(), QCPRange(0, 2500));
  graph.PlotByIndex(1)->SetPlotVisible(false);
  EXPECT_EQ(graph.xAxis->range(), QCPRange(0, 1000));
  graph.PlotByIndex(4)->ClearPlot();
  EXPECT_EQ(graph.xAxis->range(), QCPRange(0, 4000));
  // Ten divisions across, eight up.
  graph.replot();
  auto across = qSharedPointerDynamicCast<QCPAxisTickerFixed>(graph.xAxis->ticker());
  auto up = qSharedPointerDynamicCast<QCPAxisTickerFixed>(graph.yAxis->ticker());
  ASSERT_TRUE(across && up);
  EXPECT_DOUBLE_EQ(across->tickStep(), 400.0);
  EXPECT_DOUBLE_EQ(up->tickStep(), 25.0);
}

TEST_F(ScopeGraphTest, MarkersSitAtTheirLevelOnTheLeftEdge) {
  GraphAnnotation* ch1 = graph.AnnotationByIndex(1);
  QCPItemText* item = graph.marker_item(1);
  ch1->SetCaptionPosition(0);
  EXPECT_DOUBLE_EQ(item->position->coords().y(), 0.0);
  ch1->SetCaptionPosition(10);
  EXPECT_DOUBLE_EQ(item->position->coords().y(), 200.0);
  ch1->SetCaptionPosition(2.5);
  EXPECT_DOUBLE_EQ(item->position->coords().y(), 50.0);
  ch1->SetCaptionPosition(42);
  EXPECT_DOUBLE_EQ(item->position->coords().y(), 200.0);
  EXPECT_DOUBLE_EQ(item->position->coords().x(), 0.0);
  ch1->SetAnnotationVisible(false);
  EXPECT_FALSE(item->visible());
  EXPECT_EQ(graph.marker_item(2)->brush().color(), SlotColor(2));
}

TEST_F(ScopeGraphTest, ChangesShowWithoutRedrawAndABatchReplotsOnce) {
  Settle();
  const int before = graph.replot_count();
  SetData(1, 500, 50);
  graph.PlotByIndex(2)->SetPlotVisible(false);
  graph.AnnotationByIndex(1)->SetCaptionPosition(3);
  EXPECT_EQ(graph.replot_count(), before);
  Settle();
  EXPECT_EQ(graph.replot_count(), before + 1);

  SetData(1, 1000, 50);
  graph.Redraw();
  Settle();
  EXPECT_EQ(graph.replot_count(), before + 2);
}

TEST_F(ScopeGraphTest, APlotIsDrawnInItsColourAtItsLevel) {
  SetData(1, 250, 100);  // half way up the screen
  graph.Redraw();
  const QImage picture = graph.toPixmap(640, 400).toImage();
  // Beside the middle of the screen, off the graticule.
  const QPoint middle = graph.axisRect()->rect().center() + QPoint(13, 0);
  int yellow_rows = 0;
  for (int dy = -2; dy <= 2; ++dy) {
    if (picture.pixelColor(middle.x(), middle.y() + dy) == SlotColor(1))
      ++yellow_rows;
  }
  EXPECT_GE(yellow_rows, 1);
  EXPECT_EQ(picture.pixelColor(middle.x(), middle.y() + 60), QColor(Qt::black));
}

}  // namespace
}  // namespace korvelane
