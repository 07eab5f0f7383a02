// SPDX-License-Identifier: GPL-3.0-or-later
// The device layer over a scripted instrument: binding and the link's state, panel keys, the
// fetches and the refresh cycle, and the busy indicator they move.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "core/protocol/panel_codes.h"
#include "support/device_world.h"

namespace korvelane {
namespace {

using testing::Body;
using testing::Bytes;
using testing::ChannelBody;
using testing::DeviceTest;
using testing::Hex;
using testing::ParamBody;
using testing::Strings;

TEST_F(DeviceTest, UnbindFailsWithoutLosingTheBindingThenSucceeds) {
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

TEST_F(DeviceTest, FailedLinkTestWhileBoundDropsTheBindingAndTheTimer) {
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

// Each fetch and panel key sends its request and waits its time; a refused key is logged. (What
// an unbound fetch or key shows is shown where the settings commands and the panel send them.)
TEST_F(DeviceTest, EachFetchAndKeySendsItsRequestAndWaitsItsTime) {
  BindNow();
  const struct {
    int16_t kind;
    uint8_t ch1_measure, ch2_measure;
    const char* body;
    std::vector<int> waits;
  } cases[] = {
      {kFetchParams, 1, 1, "00 00 00 00", {50}},  {kFetchCh1, 1, 0, "01 01 00 00", {200}},
      {kFetchCh1All, 0, 1, "05 00 00 00", {100}}, {kFetchCh2, 0, 1, "02 01 00 00", {200}},
      {kFetchCh2All, 1, 0, "06 00 00 00", {100}}, {kFetchConfig, 1, 1, "04 00 00 00", {80, 80}},
  };
  for (const auto& c : cases) {
    ui.sleeps.clear();
    acquisition().selectors().ch1_measure_wanted = c.ch1_measure;
    acquisition().selectors().ch2_measure_wanted = c.ch2_measure;
    QueueAnswer(OP_WAVE_DATA, Body(4, {0, 3}));
    EXPECT_TRUE(acquisition().FetchFromDevice(c.kind)) << c.kind;
    EXPECT_EQ(Hex(link.writes().back()),
              std::string("44 53 4F 50 50 56 32 30 00 00 00 04 00 05 00 00 ") + c.body);
    EXPECT_EQ(Waits(), c.waits) << c.kind;
  }
  ui.sleeps.clear();
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
}

// The cycle stops at the first failure; the bar moves two steps before the parameter record,
// two before each channel whether it is on or not, two before the lamps, and then ends.
TEST_F(DeviceTest, RefreshStopsAtTheFirstFailureAndMovesTheBarAsItGoes) {
  BindNow();
  const Bytes both = ParamBody(true, true);
  const struct {
    std::vector<Bytes> answers;
    size_t requests;
    int last_type;  // of the last request
    const char* failure;
    int steps;
  } cases[] = {
      {{}, 1, WD_PARAMS, "刷新波形参数失败", 2},
      {{both, Body(4184, {1, WD_CH1})}, 2, WD_CH1, "刷新CH1波形数据失败", 4},
      {{both, ChannelBody(WD_CH1, 9), ChannelBody(WD_CH2, 0)}, 3, WD_CH2, "刷新CH2波形数据失败", 6},
      {{ParamBody(false, true), ChannelBody(WD_CH2, 9)}, 2, WD_CH2, nullptr, 8},
  };
  for (const auto& c : cases) {
    link = testing::ScriptedLink();
    Forget();
    for (const Bytes& body : c.answers)
      QueueAnswer(OP_WAVE_DATA, body);
    EXPECT_EQ(acquisition().RefreshAll(), c.failure == nullptr);
    EXPECT_EQ(link.writes().size(), c.requests);
    EXPECT_EQ(link.writes().back().at(16), c.last_type);
    EXPECT_TRUE(!c.failure || Logged(c.failure)) << c.failure;
    std::vector<int> bar;
    for (int step = 1; step <= c.steps; ++step)
      bar.push_back(10 * step);
    bar.insert(bar.end(), {100, 0});
    EXPECT_EQ(ui.progress, bar) << c.steps;
    EXPECT_EQ(ui.panes[1], "Ready...");
    EXPECT_FALSE(ui.wait_cursor);
    EXPECT_EQ(hooks.calls, c.failure ? Strings{} : (Strings{"redraw", "lamps"}));
    EXPECT_TRUE(ui.messages.empty());
  }
}

TEST_F(DeviceTest, SettingsTravelByteExactBothWays) {
  BindNow();
  const Bytes answer = testing::ConfigBody();
  QueueAnswer(OP_WAVE_DATA, answer);
  ASSERT_TRUE(acquisition().FetchFromDevice(kFetchConfig));
  QueueAnswer(OP_SET_CONFIG, Body(4));
  ASSERT_TRUE(acquisition().SendConfigBlock());
  const Bytes& sent = link.writes().back();
  ASSERT_EQ(sent.size(), 2516u);
  EXPECT_EQ(Hex(sent.data() + 8, 8), "00 00 09 C4 00 0A 00 00");
  EXPECT_TRUE(std::equal(sent.begin() + 16, sent.end(), answer.begin() + 4));
  EXPECT_EQ(Waits(), (std::vector<int>{80, 80, 80, 80}));

  QueueAnswer(OP_SET_CONFIG, Body(4, {0xFF}));
  EXPECT_FALSE(acquisition().SendConfigBlock());
  EXPECT_TRUE(Logged("WARNING:上传“设备配置数据”通信失败"));
  QueueAnswer(OP_WAVE_DATA, Body(2504, {0xFF, WD_CONFIG}));
  EXPECT_FALSE(acquisition().FetchFromDevice(kFetchConfig));
  EXPECT_TRUE(Logged("WARNING:从设备获取“设备配置数据”数据通信失败"));
}

// Fast exchange changes when answers are read, nothing else: a session of commands sends the
// same bytes, reads the same sizes and ends the same way in both modes.
TEST_F(DeviceTest, FastExchangeSendsAndHandlesExactlyWhatThePacedOneDoes) {
  using Record =
      std::tuple<std::vector<Bytes>, std::vector<uint32_t>, Strings, Strings, std::vector<int>>;
  Record records[2];
  for (bool fast : {false, true}) {
    SCOPED_TRACE(fast);
    link = testing::ScriptedLink();
    Forget();
    store() = AcquisitionStore();
    device.set_fast_exchange(fast);
    for (const auto& [op, body] :
         std::vector<std::pair<int8_t, Bytes>>{{OP_BIND, Body(4, {0, 2})},
                                               {OP_WAVE_DATA, ParamBody(true, true)},
                                               {OP_WAVE_DATA, ChannelBody(WD_CH1_ALL, 4000)},
                                               {OP_WAVE_DATA, ChannelBody(WD_CH2_ALL, 30)},
                                               {OP_SET_CONFIG, Body(4)},
                                               {OP_PANEL_KEY, Body(4)},
                                               {OP_PANEL_KEY, Body(4)},
                                               {OP_UNBIND, Body(4)}})
      QueueAnswer(op, body);
    connection().StartupLinkTest();
    connection().Connect();
    hooks.options = {true, false, true};
    EXPECT_TRUE(acquisition().RefreshAll() && acquisition().SendConfigBlock() &&
                connection().SendPanelKey(kKeyRunStop, 0) &&
                connection().SendPanelKey(Connection::kSlowKey, 1));
    connection().Disconnect();
    EXPECT_EQ(link.pending_steps(), 0u);
    EXPECT_EQ(store().ch1.count, 4000);
    EXPECT_EQ(store().sec_div_text, "800.00us");
    records[fast] = {link.writes(), link.read_sizes(), hooks.calls, ui.events, ui.progress};
  }
  EXPECT_TRUE(records[1] == records[0]);
  // Fast, only the auto-set key still sleeps: every other wait goes to the reads.
  EXPECT_EQ(ui.sleeps, (std::vector<int>{Connection::kSlowKeyWaitMs}));
}

// The user interface's waits let timer ticks and device changes through: a tick must not start a
// refresh in another command's exchange, and an unplugging is handled when the exchange ends.
TEST_F(DeviceTest, WhatTheWaitsLetThroughWaitsForTheExchange) {
  int ticks = 0;
  ui.during_sleep = [&] { ticks += acquisition().RefreshAll() ? 1 : 0; };
  connection().StartupLinkTest();
  QueueAnswer(OP_BIND, Body(4));
  connection().Connect();
  QueueAnswer(OP_SET_CONFIG, Body(4));
  EXPECT_TRUE(acquisition().SendConfigBlock());

  QueueAnswer(OP_WAVE_DATA, ParamBody(true, true));
  QueueAnswer(OP_WAVE_DATA, ChannelBody(WD_CH1, 4000));
  QueueAnswer(OP_WAVE_DATA, ChannelBody(WD_CH2, 4000));
  link.SetDeviceChangeNotifier(
      [this](uintptr_t wparam, intptr_t lparam) { connection().OnDeviceChange(wparam, lparam); });
  ui.during_sleep = [&] {
    ticks += acquisition().RefreshAll() ? 1 : 0;
    if (link.present)
      link.Unplug();
  };
  EXPECT_TRUE(acquisition().RefreshAll());
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(link.writes().size(), 5u);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(connection().link_ok() || connection().bound());
  EXPECT_EQ(ui.panes[3], "There is a device changing !");
  EXPECT_EQ(hooks.calls, (Strings{"settings:on", "redraw", "lamps", "timer:stop", "auto:on"}));
  EXPECT_EQ(Operations(), (Strings{"Bind", "Bind successed!", "Refresh the Wave Graph"}));
}

// Steps of ten, ten over the divisor times the multiplier, truncated; divisor 1 runs the whole bar,
// a negative one does nothing, 0 ends it (a part bar filled first); a bar that lands on 100 ends,
// one that passes it waits for the end. (That it pauses only when paced shows in fast exchange.)
TEST(BusyIndicatorTest, StepsOfTheBarAndItsEnd) {
  const char* busy = "Communicating ...";
  const char* ready = "Ready...";
  const struct {
    std::vector<std::pair<int, int>> calls;  // divisor, multiplier
    int position;
    const char* pane;
    long paused_ms;
  } cases[] = {
      {{{1, 7}, {-2, 1}}, 0, ready, 20},
      {{{3, 1}}, 30, busy, 6},
      {{{4, 1}}, 20, busy, 4},
      {{{5, 1}}, 20, busy, 4},
      {{{4, 2}}, 50, busy, 10},
      {{{3, 2}}, 60, busy, 12},
      {{{10, 3}}, 30, busy, 6},
      {{{11, 1}}, 0, busy, 0},
      {{{2, 1}, {2, 1}}, 0, ready, 20},
      {{{10, 9}, {10, 2}}, 100, busy, 22},
      {{{10, 9}, {10, 2}, {0, 1}}, 0, ready, 22},
      {{{5, 1}, {0, 1}}, 0, ready, 9},
  };
  for (const auto& c : cases) {
    testing::FakeUserInterface ui;
    ExchangePacing pacing{ui};
    BusyIndicator bar{ui, pacing};
    for (const auto& [divisor, multiplier] : c.calls)
      bar.ShowProgress(divisor, multiplier);
    SCOPED_TRACE(::testing::Message() << c.calls.size() << " calls, then " << c.position);
    EXPECT_EQ(bar.position(), c.position);
    EXPECT_EQ(ui.panes[1], c.pane);
    EXPECT_EQ(ui.slept_ms, c.paused_ms);
  }
}

}  // namespace
}  // namespace korvelane
