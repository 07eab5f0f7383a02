#include "views/wave_graph_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <memory>

#include "core/protocol/device.h"
#include "core/views/plot_slot.h"
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
    calls.start = [this] {
      hooks.timer_running = true;
      ++timer_starts;
    };
    calls.stop = [this] { hooks.timer_running = false; };
    view = std::make_unique<View>(ViewContext{device, tables, operate_log, debug_log, ui},
                                  std::move(calls));
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
  // Which of the buttons are enabled, in the order of `View::Button`.
  std::vector<bool> Enabled(std::initializer_list<View::Button> buttons) const {
    std::vector<bool> enabled;
    for (View::Button which : buttons)
      enabled.push_back(ButtonOf(which)->isEnabled());
    return enabled;
  }

  ViewHooks hooks;
  sim::SimulatedInstrument instrument;
  sim::SimulatedLink link{instrument};
  Device device{link, ui, debug_log, operate_log, hooks, clock};
  ViewTables tables;
  std::unique_ptr<View> view;
  int timer_starts = 0;
};

using B = View::Button;

TEST_F(WaveGraphViewTest, ANewViewWaitsForDataAndEveryControlIsNamedAndColoured) {
  EXPECT_EQ(Enabled({B::kSave, B::kCopy, B::kPrint, B::kOpen, B::kRefresh, B::kAuto, B::kManu}),
            (std::vector<bool>{false, false, false, true, true, true, false}));
  for (int slot = 1; slot <= 7; ++slot) {
    EXPECT_FALSE(view->show_box(slot)->isEnabled() || view->show_box(slot)->isChecked()) << slot;
  }
  EXPECT_EQ(view->measure_box(1)->text(), QStringLiteral("CH1 "));
  EXPECT_EQ(view->show_box(3)->text(), QStringLiteral("Chan 3"));

  int named = 0;
  for (QWidget* widget : view->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QGroupBox*>(widget) ||
        qobject_cast<QTableView*>(widget) || qobject_cast<ScopeGraph*>(widget)) {
      EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->metaObject()->className();
      ++named;
    }
  }
  EXPECT_EQ(named, 7 + 10 + 6 + 2);  // buttons, boxes, groups, graph and list

  QTableView* list = view->parameter_list();
  EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Param Name"));
  EXPECT_EQ(ListText(3, 0), QStringLiteral("Vert Pos"));
  EXPECT_EQ(list->columnWidth(0), 90);
  EXPECT_EQ(list->columnWidth(7), 80);
  EXPECT_EQ(list->palette().color(QPalette::Base), QColor(240, 240, 193));
  EXPECT_EQ(list->palette().color(QPalette::Text), QColor(20, 10, 239));
  const QPalette::ColorGroup active = QPalette::Active;
  EXPECT_EQ(view->show_box(1)->palette().color(active, QPalette::WindowText), QColor(255, 255, 0));
  EXPECT_EQ(view->show_box(7)->palette().color(active, QPalette::WindowText), QColor(0, 128, 0));
}

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

TEST_F(WaveGraphViewTest, AutoAndManuFollowTheTimerAndUnbindingGivesAutoBack) {
  Bind();
  ButtonOf(B::kAuto)->click();
  EXPECT_TRUE(hooks.timer_running);
  EXPECT_EQ(Enabled({B::kAuto, B::kManu}), (std::vector<bool>{false, true}));
  ButtonOf(B::kManu)->click();
  EXPECT_FALSE(hooks.timer_running);
  EXPECT_EQ(Enabled({B::kAuto, B::kManu}), (std::vector<bool>{true, false}));
  ButtonOf(B::kAuto)->click();
  device.connection().Disconnect();
  EXPECT_FALSE(hooks.timer_running);
  EXPECT_EQ(Enabled({B::kAuto, B::kManu}), (std::vector<bool>{true, false}));
  EXPECT_EQ(timer_starts, 2);
  EXPECT_EQ(Operations(),
            (Strings{"Set the refresh mode is : Auto", "Set the refresh mode is : Manual",
                     "Set the refresh mode is : Auto", "UnBind", "UnBind successed!"}));
}

TEST_F(WaveGraphViewTest, ShowBoxesHideAndShowTheirWave) {
  Bind();
  ButtonOf(B::kRefresh)->click();
  view->show_box(1)->click();
  EXPECT_FALSE(view->graph()->plot_graph(1)->visible());
  EXPECT_FALSE(view->graph()->marker_item(1)->visible());
  EXPECT_EQ(tables.wave_slots[1].in_graph, 0);
  view->show_box(1)->click();
  EXPECT_TRUE(view->graph()->plot_graph(1)->visible());
  EXPECT_EQ(Operations().back(), "Show/Hide the first graph");
  // Until the next redraw.
  view->show_box(2)->click();
  ButtonOf(B::kRefresh)->click();
  EXPECT_TRUE(view->show_box(2)->isChecked());
  EXPECT_TRUE(view->graph()->plot_graph(2)->visible());
}

TEST_F(WaveGraphViewTest, PrintWithOnlyHiddenDataIsRefused) {
  QSignalSpy prints(view.get(), &View::PrintRequested);
  tables.wave_slots[3] = {0, 1, 0, 4000};
  view->ShowLoadedSlot(3, 0);
  EXPECT_TRUE(view->show_box(3)->isEnabled());
  EXPECT_FALSE(view->show_box(3)->isChecked());
  ButtonOf(B::kPrint)->setEnabled(true);
  ButtonOf(B::kPrint)->click();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "There is no graph showed!");
  EXPECT_EQ(prints.count(), 0);

  view->show_box(3)->click();
  ButtonOf(B::kPrint)->click();
  ASSERT_EQ(prints.count(), 1);
  EXPECT_EQ(prints.at(0).at(0).toInt(), 4000);
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

TEST_F(WaveGraphViewTest, ControlsKeepTheirPlacesWhenThePaneIsResized) {
  std::vector<QRect> before;
  for (QWidget* child : view->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    before.push_back(child->geometry());
  view->resize(300, 200);
  view->resize(1600, 1000);
  std::vector<QRect> after;
  for (QWidget* child : view->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    after.push_back(child->geometry());
  EXPECT_EQ(before, after);
  // The graph and the list keep the proportions of their dialog-unit boxes.
  const QRect graph = view->graph()->geometry();
  const QRect list = view->parameter_list()->geometry();
  EXPECT_EQ(graph.left(), list.left());
  EXPECT_EQ(graph.width(), list.width());
  EXPECT_LT(graph.bottom(), list.top());
}

TEST_F(WaveGraphViewTest, EnterAndEscapeDoNothing) {
  Bind();
  view->show();
  ButtonOf(B::kRefresh)->setFocus();
  for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(ButtonOf(B::kRefresh), &press);
    QKeyEvent view_press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(view.get(), &view_press);
  }
  EXPECT_TRUE(Operations().empty());
  EXPECT_TRUE(view->isVisible());
  EXPECT_EQ(instrument.exchange_count(), 1u);  // the Bind only
}

}  // namespace
}  // namespace korvelane
