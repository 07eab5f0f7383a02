// SPDX-License-Identifier: GPL-3.0-or-later
// The requests as they are built and sent, and the answers as they are read.
#include "core/protocol/protocol.h"

#include <gtest/gtest.h>

#include "support/log_world.h"
#include "support/messages.h"
#include "support/scripted_link.h"

namespace korvelane {
namespace {

using testing::Body;
using testing::Bytes;
using testing::Hex;
using testing::MakeMessage;
using testing::ScriptedLink;
using Fault = ScriptedLink::Fault;

// Each request's golden bytes; the rest of the buffer is cleared. (The wave data requests, the
// settings download and the panel keys are checked where the device layer sends them.)
TEST(Frame, RequestsHaveTheirGoldenBytesAndClearTheRestOfTheBuffer) {
  using Build = void (*)(MessageBuffer&);
  const std::pair<Build, const char*> cases[] = {
      {[](MessageBuffer& b) { BuildBmpPieceRequest(b, 0x01020304); },
       "44 53 4F 50 50 56 32 30 00 00 00 08 00 0C 00 00 00 00 00 00 01 02 03 04"},
      {BuildBmpBeginRequest, "44 53 4F 50 50 56 32 30 00 00 00 04 00 0B 00 00 00 00 00 00"},
      {BuildBmpEndRequest, "44 53 4F 50 50 56 32 30 00 00 00 04 00 0D 00 00 00 00 00 00"},
      {BuildBindRequest, "44 53 4F 50 50 56 32 30 00 00 00 04 00 01 00 00 00 00 00 00"},
      {BuildUnbindRequest, "44 53 4F 50 50 56 32 30 00 00 00 04 00 02 00 00 00 00 00 00"},
  };
  for (const auto& [build, golden] : cases) {
    MessageBuffer buffer;
    buffer.fill(0xEE);
    build(buffer);
    EXPECT_EQ(Hex(buffer.data(), RequestSize(buffer)), golden);
    for (size_t i = RequestSize(buffer); i < buffer.size(); ++i)
      ASSERT_EQ(buffer[i], 0) << golden << ", byte " << i;
  }
}

class ProtocolTest : public testing::LogWorld {
 protected:
  AcquisitionStore store;
  RequestSelectors selectors;
  BitmapTransferState bitmap_state;
  ScriptedLink link;
  ExchangePacing pacing{ui};
  Protocol protocol{link, debug_log, {store, selectors, bitmap_state}, pacing};
};

// The request goes out whole; the answer is read as its header, then the whole message. Every
// way an answer can fail to arrive whole, and the largest answer that fits.
TEST_F(ProtocolTest, AnswersAreReadHeaderFirstAndNeverPastTheBuffer) {
  Bytes oversize = MakeMessage(OP_WAVE_DATA, Body(4));
  testing::PutU32(oversize, 8, 8177);
  Bytes short_answer = MakeMessage(OP_WAVE_DATA, Body(4));
  testing::PutU32(short_answer, 8, 4184);  // claims more than it carries
  const Bytes bind = MakeMessage(OP_BIND, Body(4, {0, 9}));
  const struct {
    Fault fault;
    Bytes message;
    bool result;
    std::vector<uint32_t> reads;
    const char* logged;
  } cases[] = {
      {Fault::kNone, MakeMessage(OP_BIND, Body(4, {0, 5})), true, {16, 20}, nullptr},
      {Fault::kWriteFails, {}, false, {16}, "WARNING:信息包发送失败"},
      {Fault::kHeaderReadFails, bind, false, {16}, "WARNING:接收信息包的包头失败"},
      {Fault::kBodyReadFails, bind, false, {16, 20}, "WARNING:接收信息包的包身失败"},
      {Fault::kNone, oversize, false, {16}, "接收信息包的包身长度超出接收缓冲区，丢弃该信息包"},
      {Fault::kNone, short_answer, false, {16, 4200}, "接收信息包的包身失败"},
      {Fault::kNone, MakeMessage(OP_WAVE_DATA, Body(8176)), true, {16, 8192}, nullptr},
  };
  for (const auto& c : cases) {
    link = ScriptedLink();
    link.QueueFault(c.fault, c.message);
    BuildParamsRequest(protocol.send_buffer());
    protocol.ProtocolSend();
    EXPECT_EQ(protocol.ProtocolReceive(), c.result) << c.logged;
    EXPECT_EQ(link.read_sizes(), c.reads) << c.logged;
    EXPECT_EQ(protocol.LastMessage().size(), c.result ? c.reads.back() : 0u);
    EXPECT_TRUE(!c.logged || Logged(c.logged)) << c.logged;
  }
  EXPECT_EQ(store.product_type, 5);  // not 9: the answer whose body was lost is not handled
}

TEST_F(ProtocolTest, FastExchangeGivesTheHeaderReadTheWaitOnTopOfTheLinksTimeOut) {
  const struct {
    bool fast;
    int answer_after_ms;
    bool result;
    std::vector<int> timeouts;
  } cases[] = {
      {false, 0, true, {ScriptedLink::kOwnTimeout, ScriptedLink::kOwnTimeout}},
      {true, 0, true, {1250, 1250}},
      {true, 1250, true, {1250, 1250}},  // later than the waits, within the time-out
      {true, 1251, false, {1250}},       // too late: the header read fails as it does today
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
    EXPECT_EQ(Logged("接收信息包的包头失败"), !c.result);
  }
}

}  // namespace
}  // namespace korvelane
