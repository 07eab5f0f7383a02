// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/protocol.h"

#include <gtest/gtest.h>

#include "support/log_world.h"
#include "support/messages.h"
#include "support/scripted_link.h"

namespace korvelane {
namespace {

using testing::Body;
using testing::Bytes;
using testing::MakeMessage;
using testing::ScriptedLink;

class StoreHandlers : public ResultHandlers {
 public:
  StoreHandlers(AcquisitionStore& store, DebugLog& log) : store_(store), log_(log) {}
  int HandleBindResult(ByteView body) override {
    return korvelane::HandleBindResult(body, store_, log_);
  }
  int HandleWaveDataResult(ByteView) override { return 0; }
  int HandleBmpBeginResult(ByteView) override { return 0; }
  int HandleBmpTransResult(ByteView) override { return 0; }
  int HandleBmpEndResult(ByteView) override { return 0; }

 private:
  AcquisitionStore& store_;
  DebugLog& log_;
};

class ProtocolTest : public testing::LogWorld {
 protected:
  AcquisitionStore store;
  StoreHandlers handlers{store, debug_log};
  ScriptedLink link;
  ExchangePacing pacing{ui};
  Protocol protocol{link, debug_log, handlers, pacing};
};

TEST_F(ProtocolTest, BindExchangeWritesTheRequestAndReadsHeaderThenWholeMessage) {
  link.QueueAnswer(MakeMessage(OP_BIND, Body(4, {0, 5})));
  BuildBindRequest(protocol.send_buffer());
  protocol.ProtocolSend();
  EXPECT_EQ(protocol.ProtocolReceive(), 0);
  ASSERT_EQ(link.writes().size(), 1u);
  EXPECT_EQ(link.writes()[0].size(), 20u);
  EXPECT_EQ(link.read_sizes(), (std::vector<uint32_t>{16, 20}));
  EXPECT_EQ(store.product_type, 5);
  EXPECT_EQ(protocol.LastMessage().size(), 20u);
}

TEST_F(ProtocolTest, SendFailureIsLoggedAndTheReceiveFails) {
  link.QueueFault(ScriptedLink::Fault::kWriteFails);
  BuildParamsRequest(protocol.send_buffer());
  protocol.ProtocolSend();
  EXPECT_TRUE(Logged("信息包发送失败"));
  EXPECT_NE(protocol.ProtocolReceive(), 0);
  EXPECT_TRUE(Logged("接收信息包的包头失败"));
}

TEST_F(ProtocolTest, HeaderAndBodyReadFailures) {
  link.QueueFault(ScriptedLink::Fault::kHeaderReadFails, MakeMessage(OP_BIND, Body(4)));
  EXPECT_EQ(protocol.ProtocolReceive(), 1);
  EXPECT_TRUE(Logged("接收信息包的包头失败"));

  link.QueueFault(ScriptedLink::Fault::kBodyReadFails, MakeMessage(OP_BIND, Body(4, {0, 9})));
  EXPECT_EQ(protocol.ProtocolReceive(), 1);
  EXPECT_TRUE(Logged("接收信息包的包身失败"));
  EXPECT_EQ(store.product_type, -1);
}

TEST_F(ProtocolTest, OversizeAnswerIsRefusedWithoutReadingPastTheBuffer) {
  Bytes message = MakeMessage(OP_WAVE_DATA, Body(4));
  testing::PutU32(message, 8, 8177);
  link.QueueAnswer(message);
  EXPECT_EQ(protocol.ProtocolReceive(), 1);
  EXPECT_EQ(link.read_sizes(), (std::vector<uint32_t>{16}));
  EXPECT_TRUE(Logged("接收信息包的包身长度超出接收缓冲区，丢弃该信息包"));
}

TEST_F(ProtocolTest, LargestAnswerThatFitsIsAccepted) {
  link.QueueAnswer(MakeMessage(OP_WAVE_DATA, Body(8176)));
  EXPECT_EQ(protocol.ProtocolReceive(), 0);
  EXPECT_EQ(link.read_sizes(), (std::vector<uint32_t>{16, 8192}));
}

TEST_F(ProtocolTest, ShortAnswerFailsTheBodyRead) {
  Bytes message = MakeMessage(OP_WAVE_DATA, Body(4));
  testing::PutU32(message, 8, 4184);  // claims more than it carries
  link.QueueAnswer(message);
  EXPECT_EQ(protocol.ProtocolReceive(), 1);
  EXPECT_TRUE(Logged("接收信息包的包身失败"));
}

TEST_F(ProtocolTest, FastExchangeGivesTheHeaderReadTheWaitOnTopOfTheLinksTimeOut) {
  const struct {
    bool fast;
    int answer_after_ms;
    int result;
    std::vector<int> timeouts;
  } cases[] = {
      {false, 0, 0, {ScriptedLink::kOwnTimeout, ScriptedLink::kOwnTimeout}},
      {true, 0, 0, {1250, 1250}},
      {true, 1250, 0, {1250, 1250}},  // later than the waits, within the time-out
      {true, 1251, 1, {1250}},        // too late: the header read fails as it does today
  };
  for (const auto& c : cases) {
    ui.sleeps.clear();
    link = ScriptedLink();
    link.read_timeout_ms = 1000;
    pacing.set_fast(c.fast);
    link.QueueLateAnswer(MakeMessage(OP_BIND, Body(4)), c.answer_after_ms);
    protocol.AwaitAnswer(20);  // granted to an earlier request: lapses with the next one
    BuildBindRequest(protocol.send_buffer());
    protocol.ProtocolSend();
    protocol.AwaitAnswer(50);
    protocol.AwaitAnswer(200);
    EXPECT_EQ(protocol.ProtocolReceive(), c.result) << c.answer_after_ms;
    EXPECT_EQ(ui.sleeps, c.fast ? std::vector<int>{} : (std::vector<int>{20, 50, 200}));
    EXPECT_EQ(link.read_timeouts(), c.timeouts) << c.answer_after_ms;
    EXPECT_EQ(Logged("接收信息包的包头失败"), c.result != 0);
  }
  // Nothing granted: the link's own time-out.
  link.QueueAnswer(MakeMessage(OP_BIND, Body(4)));
  protocol.ProtocolSend();
  EXPECT_EQ(protocol.ProtocolReceive(), 0);
  EXPECT_EQ(link.read_timeouts().back(), ScriptedLink::kOwnTimeout);
}

TEST_F(ProtocolTest, ClosedLinkFailsBothWays) {
  link.open_ = false;
  BuildParamsRequest(protocol.send_buffer());
  protocol.ProtocolSend();
  EXPECT_TRUE(Logged("信息包发送失败"));
  EXPECT_EQ(protocol.ProtocolReceive(), 1);
}

}  // namespace
}  // namespace korvelane
