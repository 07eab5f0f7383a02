// SPDX-License-Identifier: GPL-3.0-or-later
// The refresh sequence and the buttons and boxes of the Wave Graph view.
#include <gtest/gtest.h>

#include "view_world.h"

namespace korvelane {
namespace {

using testing::Body;
using testing::ChannelBody;
using testing::ParamBody;
using testing::Strings;

class CommandsTest : public testing::ViewWorld {};

TEST_F(CommandsTest, RefreshFetchesTheChannelsThatAreOnAndRedraws) {
  BindNow();
  form.boxes.measure_ch2 = 1;
  QueueAnswer(OP_WAVE_DATA, ParamBody(true, true, 16, 300));
  QueueAnswer(OP_WAVE_DATA, ChannelBody(WD_CH1, 2500, 0));
  QueueAnswer(OP_WAVE_DATA, ChannelBody(WD_CH2, 4000, 40));
  // Timer ticks in the refresh's waits are skipped: one cycle, never two interleaved.
  ui.during_sleep = [this] { device.acquisition().RefreshAll(); };
  controller.RefreshWaveGraph();
  EXPECT_EQ(RequestedTypes(), (std::vector<int>{WD_PARAMS, WD_CH1, WD_CH2}));
  EXPECT_EQ(hooks.redraws, 1);
  EXPECT_EQ(link.writes().back().at(17), 1);  // CH2 asked for its measurements
  EXPECT_EQ(Operations(), Strings{"Refresh the Wave Graph"});
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.events.front(), "wait:on");
  EXPECT_EQ(ui.events.back(), "wait:off");
  EXPECT_EQ(device.busy_indicator().position(), 0);

  ASSERT_EQ(graph.plots[1].data.size(), 2500u);
  EXPECT_EQ(graph.plots[1].data[100], 100 - 18);
  ASSERT_EQ(graph.plots[2].data.size(), 4000u);
  EXPECT_EQ(graph.plots[2].data[0], 40 - 18);
  EXPECT_DOUBLE_EQ(graph.markers[1].position, 10.0);
  EXPECT_DOUBLE_EQ(graph.markers[2].position, 0.0);
  EXPECT_EQ(tables.parameter_list.text(ParameterList::kSecDiv, 2), "500.00us");
  EXPECT_EQ(tables.parameter_list.text(ParameterList::kVertPos, 2), "-84");
  EXPECT_EQ(tables.parameter_list.text(ParameterList::kTrigLevel, 1), "Trig'd");
  EXPECT_EQ(tables.wave_data_list.text(2499, 1), "195");  // 2499 & 0xFF
  EXPECT_EQ(tables.wave_data_list.text(2500, 1), "");
  EXPECT_EQ(tables.measurement_list.text(kVavg, 2), "500.00mV");
  EXPECT_EQ(tables.measurement_list.text(kVavg, 1), "");
  EXPECT_EQ(tables.wave_slots[1].in_measurement, 0);
  EXPECT_EQ(tables.wave_slots[2].count, 4000);
}

TEST_F(CommandsTest, AFailedFetchEndsTheRefreshWithoutRedrawing) {
  BindNow();
  QueueAnswer(OP_WAVE_DATA, ParamBody(true, true));
  link.QueueFault(testing::ScriptedLink::Fault::kHeaderReadFails);
  controller.RefreshWaveGraph();
  EXPECT_EQ(RequestedTypes(), (std::vector<int>{WD_PARAMS, WD_CH1}));
  EXPECT_EQ(graph.redraws, 0);
  EXPECT_EQ(tables.wave_slots[1].count, 0);
  EXPECT_TRUE(Logged("从设备获取“通道1波形”数据通信失败"));
  EXPECT_EQ(ui.events.back(), "wait:off");
  EXPECT_EQ(device.busy_indicator().position(), 0);
}

TEST_F(CommandsTest, RefreshWhileUnboundOnlyComplains) {
  device.connection().StartupLinkTest();
  controller.RefreshWaveGraph();
  EXPECT_EQ(Operations(), Strings{"Refresh the Wave Graph"});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], (testing::MessageRecord{"The software is not link with device!",
                                                    "Error", MessageIcon::kExclamation}));
  EXPECT_EQ(ui.lamp_refreshes, 1);
  EXPECT_TRUE(link.writes().empty());
  EXPECT_FALSE(ui.wait_cursor);
}

TEST_F(CommandsTest, TimerRefreshReadsTheBoxesAndRedrawsThroughTheHooks) {
  BindNow();
  form.boxes.measure_ch1 = 1;
  form.boxes.all_data = 1;
  QueueAnswer(OP_WAVE_DATA, ParamBody(true, false));
  QueueAnswer(OP_WAVE_DATA, ChannelBody(WD_CH1_ALL, 1000));
  EXPECT_EQ(device.acquisition().RefreshAll(), 1);
  EXPECT_EQ(RequestedTypes(), (std::vector<int>{WD_PARAMS, WD_CH1_ALL}));
  EXPECT_EQ(selectors().get_all_data, 1);
  EXPECT_EQ(link.writes().back().at(17), 1);
  EXPECT_EQ(hooks.redraws, 1);
  EXPECT_EQ(graph.plots[1].data.size(), 1000u);
  EXPECT_EQ(tables.measurement_list.caption(), "The current Wave to 'Pass|Fail':  CH1");
}

TEST_F(CommandsTest, AutoStartsTheTimerOnceAndManuStopsIt) {
  controller.Initialise();
  EXPECT_TRUE(form.auto_enabled_);
  BindNow();
  controller.PressAuto();
  controller.PressAuto();
  EXPECT_EQ(timer.starts, 1);
  EXPECT_FALSE(form.auto_enabled_);
  controller.PressManual();
  controller.PressManual();
  EXPECT_EQ(timer.stops, 1);
  EXPECT_TRUE(form.auto_enabled_);
  EXPECT_EQ(Operations(),
            (Strings{"Set the refresh mode is : Auto", "Set the refresh mode is : Auto",
                     "Set the refresh mode is : Manual", "Set the refresh mode is : Manual"}));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommandsTest, PrintIsRefusedWhileNothingIsShown) {
  tables.wave_slots[3] = {0, 1, 0, 4000};  // loaded but hidden
  controller.ShowLoadedSlot(3, 0);
  controller.Print();
  EXPECT_EQ(Operations(), Strings{"Print Wave Graph data"});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "There is no graph showed!");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::kInformation);
  EXPECT_TRUE(Logged("NORMAL :打印失败：波形界面没有波形显示"));
  EXPECT_TRUE(form.previews.empty());
}

}  // namespace
}  // namespace korvelane
