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
  int HandleBindResult(ByteView) override { return Note("bind"); }
  int HandleWaveDataResult(ByteView body) override {
    last_body_size = body.size();
    return Note("wave");
  }
  int HandleBmpBeginResult(ByteView) override { return Note("begin"); }
  int HandleBmpTransResult(ByteView) override { return Note("trans"); }
  int HandleBmpEndResult(ByteView) override { return Note("end"); }

  int Note(const std::string& name) {
    calls.push_back(name);
    return value;
  }
  std::vector<std::string> calls;
  int value = 0;
  size_t last_body_size = 0;
};

class DispatcherTest : public testing::LogWorld {
 protected:
  int Dispatch(const Bytes& message) {
    return DispatchResult(ByteView(message.data(), message.size()), handlers, debug_log);
  }
  std::string LogText() const { return testing::ReadFileText(debug_log.debug_log_path()); }

  RecordingHandlers handlers;
};

TEST_F(DispatcherTest, EachSignatureByteIsCheckedBeforeTheMessageType) {
  for (size_t i = 0; i < 8; ++i) {
    Bytes message = MakeMessage(OP_WAVE_DATA, Body(4), /*msg_type=*/0);
    message[i] ^= 0x20;
    EXPECT_EQ(Dispatch(message), 1) << "byte " << i;
  }
  EXPECT_TRUE(Logged("解析接收到的信息包的包身信息dsopp_sign错误"));
  EXPECT_FALSE(Logged("msg_type == INVOKE_MSG"));
  EXPECT_TRUE(handlers.calls.empty());
}

TEST_F(DispatcherTest, MessageTypeZeroIsRejectedForValidOperations) {
  EXPECT_EQ(Dispatch(MakeMessage(OP_WAVE_DATA, Body(4), 0)), 1);
  EXPECT_TRUE(Logged("解析接收到的信息包的包身信息msg_type == INVOKE_MSG"));
  EXPECT_TRUE(handlers.calls.empty());
}

TEST_F(DispatcherTest, ErrorReportWritesBothLinesWithTheSignedCode) {
  EXPECT_EQ(Dispatch(MakeMessage(DSOPP_ERROR_RESULT_OPERATION_ID, Body(4, {0xFF}))), 1);
  const std::string text = LogText();
  EXPECT_TRUE(Logged("解析接收到的信息包的包身信息operationID == DSOPP_ERROR_RESULT_OPERATION_ID"));
  EXPECT_NE(text.find("WARNING:The received message is error! The error msg info is: -1\r\n"),
            std::string::npos);
  // Even a zero code is a failure.
  EXPECT_EQ(Dispatch(MakeMessage(DSOPP_ERROR_RESULT_OPERATION_ID, Body(4, {0}))), 1);
  EXPECT_NE(LogText().find("error msg info is: 0\r\n"), std::string::npos);
}

TEST_F(DispatcherTest, UnknownOperationsFailSilently) {
  for (int id : {0, 3, 6, 7, 8, 14, 127, -1, -128}) {
    EXPECT_EQ(Dispatch(MakeMessage(static_cast<int8_t>(id), Body(4))), 1) << id;
  }
  EXPECT_FALSE(testing::FileExists(debug_log.debug_log_path()));
  EXPECT_TRUE(handlers.calls.empty());
}

TEST_F(DispatcherTest, ResultByteOperationsReturnTheSignExtendedByte) {
  for (int8_t op : {OP_UNBIND, OP_PANEL_KEY, OP_SET_CONFIG}) {
    EXPECT_EQ(Dispatch(MakeMessage(op, Body(4, {0}))), 0);
    EXPECT_EQ(Dispatch(MakeMessage(op, Body(4, {0xFE}))), -2);
    EXPECT_EQ(Dispatch(MakeMessage(op, Body(1, {3}))), 3);
    // No result byte at all is a failure, not a zero.
    EXPECT_EQ(Dispatch(MakeMessage(op, Body(0))), 1) << int{op};
  }
  for (const char* name : {"UnBind_Result", "PanelKey_Result", "SetConfig_Result"})
    EXPECT_TRUE(Logged(std::string("WARNING:解析‘") + name + "’信息包错误：包身长度不足")) << name;
}

TEST_F(DispatcherTest, DataOperationsReachTheirHandlerWithTheBody) {
  handlers.value = 2;
  EXPECT_EQ(Dispatch(MakeMessage(OP_WAVE_DATA, Body(4184))), 2);
  EXPECT_EQ(handlers.last_body_size, 4184u);
  Dispatch(MakeMessage(OP_BIND, Body(4)));
  Dispatch(MakeMessage(OP_BMP_BEGIN, Body(12)));
  Dispatch(MakeMessage(OP_BMP_TRANS, Body(4014)));
  Dispatch(MakeMessage(OP_BMP_END, Body(4)));
  EXPECT_EQ(handlers.calls, (std::vector<std::string>{"wave", "bind", "begin", "trans", "end"}));
}

TEST_F(DispatcherTest, TruncatedMessagesAreReadAsZeros) {
  const Bytes message = {'D', 'S', 'O', 'P'};
  EXPECT_EQ(Dispatch(message), 1);
  EXPECT_EQ(DispatchResult(ByteView(), handlers, debug_log), 1);
}

class BindResultTest : public DispatcherTest {
 protected:
  int Bind(uint8_t result, uint8_t product_type) {
    const Bytes body = Body(4, {result, product_type});
    return HandleBindResult(ByteView(body.data(), body.size()), store, debug_log);
  }
  AcquisitionStore store;
};

TEST_F(BindResultTest, NegativeProductTypeFailsAndKeepsTheStoredType) {
  store.product_type = 7;
  for (int pt = 0x80; pt <= 0xFF; ++pt) {
    EXPECT_EQ(Bind(0, static_cast<uint8_t>(pt)), 1);
  }
  EXPECT_EQ(store.product_type, 7);
  EXPECT_TRUE(Logged("解析‘Bind_Result’得到的 ProductType < 0"));
}

TEST_F(BindResultTest, AnswerWithoutItsProductTypeFailsAndKeepsTheStoredType) {
  store.product_type = 7;
  for (size_t size : {0, 1}) {
    const Bytes body = Body(size);
    EXPECT_EQ(HandleBindResult(ByteView(body.data(), body.size()), store, debug_log), 1) << size;
  }
  EXPECT_EQ(store.product_type, 7);
  EXPECT_TRUE(Logged("WARNING:解析‘Bind_Result’信息包错误：包身长度不足"));
}

TEST_F(BindResultTest, NonNegativeProductTypeIsStoredWhateverTheResult) {
  EXPECT_EQ(Bind(0, 53), 0);
  EXPECT_EQ(store.product_type, 53);
  EXPECT_EQ(Bind(1, 127), 1);
  EXPECT_EQ(store.product_type, 127);
  EXPECT_EQ(Bind(0xFF, 0), -1);
  EXPECT_EQ(store.product_type, 0);
}

}  // namespace
}  // namespace korvelane
