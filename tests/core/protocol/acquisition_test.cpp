// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/acquisition.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "core/protocol/panel_codes.h"
#include "support/device_world.h"

namespace korvelane {
namespace {

using testing::Body;
using testing::Bytes;
using testing::ChannelBody;
using testing::Hex;
using testing::ParamBody;
using testing::Strings;

class AcquisitionTest : public testing::DeviceTest {};

TEST_F(AcquisitionTest, EachKindSendsItsRequestAndWaitsItsTime) {
  connection().StartupLinkTest();
  EXPECT_FALSE(acquisition().FetchFromDevice(kFetchParams));
  EXPECT_EQ(ui.messages.at(0).text, "The software is not link with device");
  EXPECT_EQ(ui.messages.at(0).icon, MessageIcon::kQuestion);
  EXPECT_TRUE(link.writes().empty());

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
  const size_t writes = link.writes().size();
  for (int16_t kind : {4, 7, -1})
    EXPECT_TRUE(acquisition().FetchFromDevice(kind));
  EXPECT_EQ(link.writes().size(), writes);
}

// The cycle stops at the first failure; the bar moves two steps before the parameter record,
// two before each channel whether it is on or not, two before the lamps, and then ends.
TEST_F(AcquisitionTest, RefreshStopsAtTheFirstFailureAndMovesTheBarAsItGoes) {
  BindNow();
  const struct {
    std::vector<Bytes> answers;
    size_t requests;
    int last_type;  // of the last request
    const char* failure;
    int steps;
  } cases[] = {
      {{}, 1, WD_PARAMS, "通信失败，刷新波形参数失败", 2},
      {{ParamBody(true, true), Body(4184, {1, WD_CH1})},
       2,
       WD_CH1,
       "通信失败，刷新CH1波形数据失败",
       4},
      {{ParamBody(true, true), ChannelBody(WD_CH1, 9), ChannelBody(WD_CH2, 0)},
       3,
       WD_CH2,
       "通信失败，刷新CH2波形数据失败",
       6},
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

TEST_F(AcquisitionTest, SettingsTravelByteExactBothWays) {
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
TEST_F(AcquisitionTest, FastExchangeSendsAndHandlesExactlyWhatThePacedOneDoes) {
  using Record = std::tuple<std::vector<Bytes>, std::vector<uint32_t>, Strings, Strings,
                            std::vector<int>, std::vector<bool>, int32_t, std::string>;
  Record records[2];
  std::vector<int> sleeps[2];
  for (bool fast : {false, true}) {
    link = testing::ScriptedLink();
    Forget();
    store() = AcquisitionStore();
    device.set_fast_exchange(fast);
    for (const auto& [op, body] :
         std::vector<std::pair<int8_t, Bytes>>{{OP_BIND, Body(4, {0, 2})},
                                               {OP_WAVE_DATA, ParamBody(true, true)},
                                               {OP_WAVE_DATA, ChannelBody(WD_CH1_ALL, 4000)},
                                               {OP_WAVE_DATA, ChannelBody(WD_CH2_ALL, 30)},
                                               {OP_WAVE_DATA, testing::ConfigBody()},
                                               {OP_SET_CONFIG, Body(4)},
                                               {OP_PANEL_KEY, Body(4)},
                                               {OP_PANEL_KEY, Body(4)},
                                               {OP_UNBIND, Body(4)}})
      QueueAnswer(op, body);
    connection().StartupLinkTest();
    connection().Connect();
    hooks.options = {true, false, true};
    const std::vector<bool> results = {
        acquisition().RefreshAll(), acquisition().FetchFromDevice(kFetchConfig),
        acquisition().SendConfigBlock(), connection().SendPanelKey(kKeyRunStop, 0),
        connection().SendPanelKey(Connection::kSlowKey, 1)};
    connection().Disconnect();
    records[fast] = {link.writes(), link.read_sizes(), hooks.calls,       ui.events,
                     ui.progress,   results,           store().ch1.count, store().sec_div_text};
    sleeps[fast] = ui.sleeps;
    EXPECT_EQ(link.pending_steps(), 0u);
    EXPECT_FALSE(connection().bound());
  }
  EXPECT_TRUE(records[1] == records[0]);
  EXPECT_EQ(std::get<5>(records[1]), std::vector<bool>(5, true));
  EXPECT_EQ(std::get<6>(records[1]), 4000);
  EXPECT_EQ(std::get<7>(records[1]), "800.00us");
  // Fast, only the auto-set key still sleeps: every other wait goes to the reads.
  EXPECT_EQ(sleeps[1], (std::vector<int>{Connection::kSlowKeyWaitMs}));
  EXPECT_GT(sleeps[0].size(), 20u);
}

// The user interface's waits let timer ticks through; a tick must not start a refresh between
// another command's request and its answer.
TEST_F(AcquisitionTest, TimerTickDuringAnExchangeIsLetPass) {
  int ticks = 0;
  ui.during_sleep = [&] { ticks += acquisition().RefreshAll() ? 1 : 0; };
  connection().StartupLinkTest();
  QueueAnswer(OP_BIND, Body(4));
  connection().Connect();
  QueueAnswer(OP_SET_CONFIG, Body(4));
  EXPECT_TRUE(acquisition().SendConfigBlock());
  QueueAnswer(OP_WAVE_DATA, ParamBody(false, false));
  EXPECT_TRUE(acquisition().RefreshAll());
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(link.writes().size(), 3u);
  EXPECT_EQ(Operations(), (Strings{"Bind", "Bind successed!", "Refresh the Wave Graph"}));
}

}  // namespace
}  // namespace korvelane
