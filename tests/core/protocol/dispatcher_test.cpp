// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/dispatcher.h"

#include <gtest/gtest.h>

#include "support/log_world.h"
#include "support/messages.h"

namespace korvelane {
namespace {

using testing::Body;
using testing::Bytes;
using testing::MakeMessage;

class RecordingHandlers : public ResultHandlers {
 public:
  bool HandleBindResult(ByteView body) override { return Note("bind", body); }
  bool HandleWaveDataResult(ByteView body) override { return Note("wave", body); }
  bool HandleBmpBeginResult(ByteView body) override { return Note("begin", body); }
  bool HandleBmpTransResult(ByteView body) override { return Note("trans", body); }
  bool HandleBmpEndResult(ByteView body) override { return Note("end", body); }

  bool Note(const char* name, ByteView body) {
    calls.push_back(name + std::to_string(body.size()));
    return answer;
  }
  std::vector<std::string> calls;
  bool answer = true;
};

class DispatcherTest : public testing::LogWorld {
 protected:
  bool Dispatch(const Bytes& message) {
    return DispatchResult(ByteView(message.data(), message.size()), handlers, debug_log);
  }

  RecordingHandlers handlers;
};

// Which handler each message reaches with which body, what is answered and what is logged.
TEST_F(DispatcherTest, RoutesEachOperationAndRefusesWhatFailsTheChecks) {
  const struct {
    Bytes message;
    bool result;       // a handler's answer is passed on
    const char* call;  // "" when no handler runs
    const char* logged;
  } cases[] = {
      {MakeMessage(OP_WAVE_DATA, Body(4184)), false, "wave4184", nullptr},
      {MakeMessage(OP_BIND, Body(4)), true, "bind4", nullptr},
      {MakeMessage(OP_BMP_BEGIN, Body(12)), true, "begin12", nullptr},
      {MakeMessage(OP_BMP_TRANS, Body(4014)), false, "trans4014", nullptr},
      {MakeMessage(OP_BMP_END, Body(4)), true, "end4", nullptr},
      {MakeMessage(OP_WAVE_DATA, Body(4), 0), false, "",
       "WARNING:解析接收到的信息包的包身信息msg_type == INVOKE_MSG"},
      {Bytes{'D', 'S', 'O', 'P'}, false, "", "dsopp_sign错误"},
      // Result byte operations: only a zero result is a success; no byte at all fails.
      {MakeMessage(OP_UNBIND, Body(4, {0})), true, "", nullptr},
      {MakeMessage(OP_PANEL_KEY, Body(1, {0})), true, "", nullptr},
      {MakeMessage(OP_SET_CONFIG, Body(4, {0})), true, "", nullptr},
      {MakeMessage(OP_UNBIND, Body(4, {0xFE})), false, "", nullptr},
      {MakeMessage(OP_UNBIND, Body(4, {1})), false, "", nullptr},
      {MakeMessage(OP_PANEL_KEY, Body(1, {3})), false, "", nullptr},
      {MakeMessage(OP_PANEL_KEY, Body(1, {0x80})), false, "", nullptr},
      {MakeMessage(OP_SET_CONFIG, Body(4, {1})), false, "", nullptr},
      {MakeMessage(OP_SET_CONFIG, Body(4, {0xFF})), false, "", nullptr},
      {MakeMessage(OP_UNBIND, Body(0)), false, "", "UnBind_Result’信息包错误：包身长度不足"},
      {MakeMessage(OP_PANEL_KEY, Body(0)), false, "", "PanelKey_Result’信息包错误：包身长度不足"},
      {MakeMessage(OP_SET_CONFIG, Body(0)), false, "", "SetConfig_Result’信息包错误：包身长度不足"},
      // An error report fails even with a zero code, and names the signed code.
      {MakeMessage(DSOPP_ERROR_RESULT_OPERATION_ID, Body(4, {0xFF})), false, "",
       "WARNING:The received message is error! The error msg info is: -1\r\n"},
      {MakeMessage(DSOPP_ERROR_RESULT_OPERATION_ID, Body(4, {0})), false, "",
       "WARNING:解析接收到的信息包的包身信息operationID == DSOPP_ERROR_RESULT_OPERATION_ID"},
  };
  for (const auto& c : cases) {
    const std::string row = testing::Hex(c.message);
    handlers.calls.clear();
    handlers.answer = *c.call ? c.result : !c.result;
    EXPECT_EQ(Dispatch(c.message), c.result) << row;
    EXPECT_EQ(handlers.calls,
              *c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{})
        << row;
    EXPECT_TRUE(!c.logged || Logged(c.logged)) << c.logged;
  }
  EXPECT_TRUE(Logged("error msg info is: 0\r\n"));
}

TEST_F(DispatcherTest, UnknownOperationsFailSilentlyAndTheSignatureIsCheckedFirst) {
  for (int id : {0, 3, 6, 7, 8, 14, 127, -1, -128}) {
    EXPECT_FALSE(Dispatch(MakeMessage(static_cast<int8_t>(id), Body(4)))) << id;
  }
  EXPECT_FALSE(testing::FileExists(debug_log.debug_log_path()));
  for (size_t i = 0; i < 8; ++i) {
    Bytes message = MakeMessage(OP_WAVE_DATA, Body(4), /*msg_type=*/0);
    message[i] ^= 0x20;
    EXPECT_FALSE(Dispatch(message)) << "byte " << i;
  }
  EXPECT_FALSE(DispatchResult(ByteView(), handlers, debug_log));
  EXPECT_TRUE(Logged("WARNING:解析接收到的信息包的包身信息dsopp_sign错误"));
  EXPECT_FALSE(Logged("msg_type == INVOKE_MSG"));
  EXPECT_TRUE(handlers.calls.empty());
}

// A non-negative ProductType is stored whatever the result; a negative one or a short answer
// fails and keeps the stored type.
TEST_F(DispatcherTest, BindResultStoresTheProductTypeItCarries) {
  const struct {
    Bytes body;
    bool result;
    int stored;
  } cases[] = {
      {Body(4, {0, 53}), true, 53},
      {Body(4, {1, 127}), false, 127},
      {Body(2, {0xFF, 0}), false, 0},
      {Body(4, {0, 0x80}), false, 7},
      {Body(4, {0, 0xFF}), false, 7},
      {Body(1), false, 7},
      {Body(0), false, 7},
  };
  for (const auto& c : cases) {
    AcquisitionStore store;
    store.product_type = 7;
    EXPECT_EQ(HandleBindResult(ByteView(c.body.data(), c.body.size()), store, debug_log), c.result)
        << testing::Hex(c.body);
    EXPECT_EQ(store.product_type, c.stored) << testing::Hex(c.body);
  }
  EXPECT_TRUE(Logged("WARNING:解析‘Bind_Result’得到的 ProductType < 0"));
  EXPECT_TRUE(Logged("WARNING:解析‘Bind_Result’信息包错误：包身长度不足"));
}

}  // namespace
}  // namespace korvelane
