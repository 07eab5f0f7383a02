// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/wave_graph_view.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <memory>

#include "core/protocol/device.h"
#include "core/views/plot_slot.h"
#include "layout_check.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"
#include "support/log_world.h"
#include "views/scope_graph.h"

namespace korvelane {
namespace {

using korvelane::testing::Strings;
using View = WaveGraphView;

// The instrument's hooks lead to the view, as the main window's do.
class ViewHooks : public DeviceHooks {
 public:
  RequestOptions ReadRequestOptions() override { return view->ReadRequestOptions(); }
  void RedrawWaveGraph() override { view->RedrawWaveGraph(); }
  void StopRefreshTimer() override { timer_running = false; }
  void SetAutoButtonEnabled(bool on) override { view->SetAutoButtonEnabled(on); }
  View* view = nullptr;
  bool timer_running = false;
};

class WaveGraphViewTest : public korvelane::testing::LogWorld {
 protected:
  WaveGraphViewTest() {
    RefreshTimerCalls calls;
    calls.auto_refresh = [this] { return hooks.timer_running; };
    calls.start = [this] { hooks.timer_running = true; };
    calls.stop = [this] { hooks.timer_running = false; };
    view = std::make_unique<View>(ViewContext{device.store(), tables, operate_log, debug_log, ui},
                                  device.acquisition(), device.connection(), std::move(calls));
    hooks.view = view.get();
    view->resize(view->sizeHint());
    Forget();
  }

  void Bind() {
    device.connection().StartupLinkTest();
    device.connection().Connect();
    ASSERT_TRUE(device.connection().bound());
    Forget();
  }
  QString ListText(int row, int column) const {
    return view->parameter_list()->model()->index(row, column).data().toString();
  }
  QPushButton* ButtonOf(View::Button which) const { return view->button(which); }

  ViewHooks hooks;
  sim::SimulatedInstrument instrument;
  sim::SimulatedLink link{instrument};
  Device device{link, ui, debug_log, operate_log, hooks, clock};
  ViewTables tables;
  std::unique_ptr<View> view;
};

using B = View::Button;

TEST_F(WaveGraphViewTest, RefreshAgainstTheInstrumentDrawsBothChannelsAndFillsTheLists) {
  Bind();
  view->measure_box(1)->setChecked(true);
  view->measure_box(2)->setChecked(true);
  ButtonOf(B::kRefresh)->click();
  EXPECT_EQ(Operations(), Strings{"Refresh the Wave Graph"});
  EXPECT_TRUE(ui.messages.empty());

  const AcquisitionStore& store = device.store();
  ASSERT_TRUE(store.ch1.enabled && store.ch2.enabled);
  for (int channel : {1, 2}) {
    SCOPED_TRACE(channel);
    const ChannelData& data = store.channel(channel);
    QCPGraph* plot = view->graph()->plot_graph(channel);
    ASSERT_EQ(plot->dataCount(), data.count);
    for (int i : {0, data.count / 2, data.count - 1})
      EXPECT_EQ(plot->data()->at(i)->value, PlotValue(data.samples[static_cast<size_t>(i)]));
    EXPECT_TRUE(plot->visible());
    EXPECT_TRUE(view->show_box(channel)->isEnabled());
    EXPECT_TRUE(view->show_box(channel)->isChecked());
    EXPECT_EQ(ListText(0, channel), QString::fromStdString(store.sec_div_text));
    EXPECT_EQ(ListText(2, channel), QString::fromStdString(data.volts_text));
    EXPECT_EQ(ListText(3, channel), QString::number(216 - data.vert_pos));
    EXPECT_EQ(tables.wave_data_list.text(0, channel), std::to_string(data.samples[0]));
    EXPECT_NE(tables.measurement_list.text(kVpp, channel), "");
  }
  EXPECT_EQ(tables.measurement_list.caption(), "The current Wave to 'Pass|Fail':  CH2");
  for (View::Button which : {View::Button::kSave, View::Button::kCopy, View::Button::kPrint})
    EXPECT_TRUE(ButtonOf(which)->isEnabled());
  EXPECT_TRUE(view->measure_box(1)->isChecked());
}

TEST_F(WaveGraphViewTest, CopyPutsAPictureOfTheWholeViewOnTheClipboard) {
  QApplication::clipboard()->clear();
  ButtonOf(B::kCopy)->setEnabled(true);
  ButtonOf(B::kCopy)->click();
  const QImage picture = QApplication::clipboard()->image();
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), view->size() * view->devicePixelRatio());
  EXPECT_EQ(Operations(), Strings{"Copy Wave Graph Interface"});
}

TEST_F(WaveGraphViewTest, PrintCountsAChan7BoxTickedThroughTheAccessibilityBus) {
  // A 500-sample wave in Chan7, hidden as the right pane's loaders leave it.
  tables.wave_slots[7] = {0, 1, 0, 500};
  view->ShowLoadedSlot(7, LoadMode::kHideWaveData);
  ButtonOf(B::kPrint)->setEnabled(true);
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(view->show_box(7));
  ASSERT_NE(box, nullptr);
  ASSERT_NE(box->actionInterface(), nullptr);
  box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(view->show_box(7)->isChecked());
  EXPECT_EQ(Operations(), Strings{"Show/Hide the seventh graph"});

  QSignalSpy prints(view.get(), &View::PrintRequested);
  ButtonOf(B::kPrint)->click();
  ASSERT_EQ(prints.size(), 1);
  EXPECT_EQ(prints[0][0].toInt(), 500);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WaveGraphViewTest, TheGraphGrowsWithTheViewAndNothingOverlaps) {
  view->show();  // a hidden widget hears of its new size only once shown
  const QRect graph_base = view->graph()->geometry();
  const int list_height = view->parameter_list()->height();
  QRect last_graph = graph_base;
  for (const QSize size : {QSize(800, 600), QSize(1280, 800), QSize(2560, 1440)}) {
    SCOPED_TRACE(size.width());
    view->resize(size.expandedTo(view->sizeHint()));
    const QRect graph = view->graph()->geometry();
    EXPECT_EQ(graph.topLeft(), graph_base.topLeft());
    EXPECT_GT(graph.width(), last_graph.width());
    EXPECT_GT(graph.height(), last_graph.height());
    EXPECT_EQ(graph.right(),
              view->width() - 1 - (view->sizeHint().width() - 1 - graph_base.right()));
    EXPECT_EQ(view->parameter_list()->width(), graph.width());
    EXPECT_EQ(view->parameter_list()->height(), list_height);
    last_graph = graph;
    testing::ExpectChildrenLaidOut(view.get(), QStringLiteral("Wave Graph %1").arg(size.width()));
    // The screen keeps its 10 x 8 divisions of a 200-unit range.
    EXPECT_EQ(view->graph()->yAxis->range(), QCPRange(0, ScopeGraph::kScreenHeight));
  }
}

}  // namespace
}  // namespace korvelane
