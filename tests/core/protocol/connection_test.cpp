// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/connection.h"

#include <gtest/gtest.h>

#include "core/protocol/panel_codes.h"
#include "support/device_world.h"

namespace korvelane {
namespace {

using testing::Body;
using testing::Hex;
using testing::Strings;

class ConnectionTest : public testing::DeviceTest {};

TEST_F(ConnectionTest, UnbindFailsWithoutLosingTheBindingThenSucceeds) {
  BindNow();
  QueueAnswer(OP_UNBIND, Body(4, {1}));
  connection().Disconnect();
  EXPECT_TRUE(connection().bound());
  EXPECT_TRUE(Logged("WARNING:尝试断开设备操作失败"));
  EXPECT_EQ(ui.messages.at(0).text, "Try to UnBind failed!");
  EXPECT_FALSE(ui.wait_cursor);
  EXPECT_TRUE(hooks.calls.empty());

  QueueAnswer(OP_UNBIND, Body(4));
  connection().Disconnect();
  EXPECT_FALSE(connection().bound());
  EXPECT_EQ(Hex(link.writes().back().data() + 12, 2), "00 02");
  EXPECT_EQ(hooks.calls, (Strings{"settings:off", "timer:stop", "auto:on"}));
  EXPECT_EQ(Operations(), (Strings{"UnBind", "UnBind", "UnBind successed!"}));
  EXPECT_EQ(Waits(), (std::vector<int>{300, 300, 300, 300}));
}

TEST_F(ConnectionTest, FailedLinkTestWhileBoundDropsTheBindingAndTheTimer) {
  BindNow();
  link.open_ = false;
  link.open_succeeds = false;
  connection().TestLinkState();
  EXPECT_FALSE(connection().link_ok() || connection().bound());
  EXPECT_EQ(ui.messages.at(0).text, "The link is incorrect, please check!");
  EXPECT_EQ(ui.messages.at(0).icon, MessageIcon::kQuestion);
  EXPECT_EQ(ui.panes[3], "The link is incorrect!");
  EXPECT_EQ(hooks.calls, (Strings{"timer:stop", "auto:on"}));
  EXPECT_EQ(Operations(), (Strings{"Test the Link state"}));
}

TEST_F(ConnectionTest, AnUnplugInTheWaitsOfARefreshIsHandledWhenTheCycleEnds) {
  BindNow();
  QueueAnswer(OP_WAVE_DATA, testing::ParamBody(true, true));
  QueueAnswer(OP_WAVE_DATA, testing::ChannelBody(WD_CH1, 4000));
  QueueAnswer(OP_WAVE_DATA, testing::ChannelBody(WD_CH2, 4000));
  ui.during_sleep = [this] {
    if (link.present)
      link.Unplug();
  };
  link.SetDeviceChangeNotifier(
      [this](uintptr_t wparam, intptr_t lparam) { connection().OnDeviceChange(wparam, lparam); });
  EXPECT_TRUE(device.acquisition().RefreshAll());
  EXPECT_EQ(link.writes().size() - link_writes_seen, 3u);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(connection().link_ok() || connection().bound());
  EXPECT_EQ(ui.panes[3], "There is a device changing !");
  EXPECT_EQ(hooks.calls, (Strings{"redraw", "lamps", "timer:stop", "auto:on"}));
}

TEST_F(ConnectionTest, PanelKeysWaitFiveSecondsOnlyForAuto) {
  EXPECT_FALSE(connection().SendPanelKey(kKeyRunStop, 0));
  EXPECT_EQ(ui.messages.at(0).text, "The software is not link with device!");
  EXPECT_TRUE(link.writes().empty());

  BindNow();
  QueueAnswer(OP_PANEL_KEY, Body(4));
  QueueAnswer(OP_PANEL_KEY, Body(4));
  EXPECT_TRUE(connection().SendPanelKey(kKeyAuto, 1));
  EXPECT_TRUE(connection().SendPanelKey(KnobIncreaseCode(kKnobLevel), 3));
  EXPECT_EQ(Hex(link.writes().back()),
            "44 53 4F 50 50 56 32 30 00 00 00 04 00 04 00 00 6F 03 00 00");
  EXPECT_EQ(Waits(), (std::vector<int>{5000, 100}));

  QueueAnswer(OP_PANEL_KEY, Body(4, {1}));
  EXPECT_FALSE(connection().SendPanelKey(kKeyCh1, 0));
  EXPECT_TRUE(Logged("虚拟面板按键操作通信失败"));
  EXPECT_EQ(ui.messages.back().text, "The Simulant Pane oper failed!");
}

}  // namespace
}  // namespace korvelane
