// SPDX-License-Identifier: GPL-3.0-or-later
// The Wave Graph view on its own: Copy, Print's count of shown slots and the growing graph. Its
// refresh against the instrument runs in the main window's test.
#include "views/wave_graph_view.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QPushButton>
#include <QSignalSpy>

#include "layout_check.h"
#include "list_view_world.h"
#include "views/scope_graph.h"

namespace korvelane {
namespace {

using testing::Strings;
using View = WaveGraphView;

class WaveGraphViewTest : public testing::ListViewWorld {
 protected:
  WaveGraphViewTest() { view.resize(view.sizeHint()); }
  QPushButton* ButtonOf(View::Button which) const { return view.button(which); }

  bool timer_running = false;
  View view{Context(), device.acquisition(), device.connection(),
            RefreshTimerCalls{[this] { return timer_running; }, [this] { timer_running = true; },
                              [this] { timer_running = false; }}};
};

using B = View::Button;

TEST_F(WaveGraphViewTest, CopyPutsAPictureOfTheWholeViewOnTheClipboard) {
  QApplication::clipboard()->clear();
  ButtonOf(B::kCopy)->setEnabled(true);
  ButtonOf(B::kCopy)->click();
  const QImage picture = QApplication::clipboard()->image();
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), view.size() * view.devicePixelRatio());
  EXPECT_EQ(Operations(), Strings{"Copy Wave Graph Interface"});
}

TEST_F(WaveGraphViewTest, PrintCountsAChan7BoxTickedThroughTheAccessibilityBus) {
  // A 500-sample wave in Chan7, hidden as the right pane's loaders leave it.
  tables.wave_slots[7] = {0, 1, 0, 500};
  view.ShowLoadedSlot(7, LoadMode::kHideWaveData);
  ButtonOf(B::kPrint)->setEnabled(true);
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(view.show_box(7));
  ASSERT_NE(box, nullptr);
  ASSERT_NE(box->actionInterface(), nullptr);
  box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(view.show_box(7)->isChecked());
  EXPECT_EQ(Operations(), Strings{"Show/Hide the seventh graph"});

  QSignalSpy prints(&view, &View::PrintRequested);
  ButtonOf(B::kPrint)->click();
  ASSERT_EQ(prints.size(), 1);
  EXPECT_EQ(prints[0][0].toInt(), 500);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WaveGraphViewTest, TheGraphGrowsWithTheViewAndNothingOverlaps) {
  view.show();  // a hidden widget hears of its new size only once shown
  const QRect graph_base = view.graph()->geometry();
  const int list_height = view.parameter_list()->height();
  QRect last_graph = graph_base;
  for (const QSize size : {QSize(800, 600), QSize(1280, 800), QSize(2560, 1440)}) {
    SCOPED_TRACE(size.width());
    view.resize(size.expandedTo(view.sizeHint()));
    const QRect graph = view.graph()->geometry();
    EXPECT_EQ(graph.topLeft(), graph_base.topLeft());
    EXPECT_GT(graph.width(), last_graph.width());
    EXPECT_GT(graph.height(), last_graph.height());
    EXPECT_EQ(graph.right(), view.width() - 1 - (view.sizeHint().width() - 1 - graph_base.right()));
    EXPECT_EQ(view.parameter_list()->width(), graph.width());
    EXPECT_EQ(view.parameter_list()->height(), list_height);
    last_graph = graph;
    testing::ExpectChildrenLaidOut(&view, "Wave Graph");
    // The screen keeps its 10 x 8 divisions of a 200-unit range.
    EXPECT_EQ(view.graph()->yAxis->range(), QCPRange(0, ScopeGraph::kScreenHeight));
  }
}

}  // namespace
}  // namespace korvelane
