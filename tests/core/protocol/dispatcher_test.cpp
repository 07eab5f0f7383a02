// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/dispatcher.h"

#include <gtest/gtest.h>

#include "support/device_world.h"

namespace korvelane {
namespace {

using testing::Body;
using testing::Bytes;
using testing::MakeMessage;

class DispatcherTest : public testing::LogWorld {
 protected:
  bool Dispatch(const Bytes& message) {
    return DispatchResult(ByteView(message.data(), message.size()), {store, selectors, bitmap},
                          debug_log);
  }

  AcquisitionStore store;
  RequestSelectors selectors;
  BitmapTransferState bitmap;
};

// Each result that carries data reaches its handler, whose answer is the dispatcher's.
TEST_F(DispatcherTest, DataResultsReachTheirHandlers) {
  EXPECT_TRUE(Dispatch(MakeMessage(OP_BIND, Body(4, {0, 5}))));
  EXPECT_EQ(store.product_type, 5);
  EXPECT_TRUE(Dispatch(MakeMessage(OP_WAVE_DATA, testing::ParamBody(true, false))));
  EXPECT_EQ(store.acq_status, 3);
  EXPECT_FALSE(Dispatch(MakeMessage(OP_WAVE_DATA, Body(4, {1}))));
  Bytes begin = Body(12);
  testing::PutU32(begin, 4, 6);
  EXPECT_TRUE(Dispatch(MakeMessage(OP_BMP_BEGIN, begin)));
  EXPECT_EQ(bitmap.total_length, 6u);
  EXPECT_TRUE(Dispatch(MakeMessage(OP_BMP_TRANS, testing::PieceBody(0, Bytes(6, 1)))));
  EXPECT_TRUE(bitmap.complete());
  EXPECT_EQ(store.bmp_piece[5], 1);
  EXPECT_FALSE(Dispatch(MakeMessage(OP_BMP_END, Body(4, {0, 1}))));
  EXPECT_TRUE(Dispatch(MakeMessage(OP_BMP_END, Body(4))));
}

// What the results without data answer, what fails the checks, and what is logged.
TEST_F(DispatcherTest, OnlyAZeroResultByteSucceedsAndBadMessagesAreRefused) {
  const struct {
    Bytes message;
    bool result;
    const char* logged;
  } cases[] = {
      {MakeMessage(OP_WAVE_DATA, Body(4), 0), false,
       "WARNING:解析接收到的信息包的包身信息msg_type == INVOKE_MSG"},
      {Bytes{'D', 'S', 'O', 'P'}, false, "dsopp_sign错误"},
      // Result byte operations: only a zero result is a success; no byte at all fails.
      {MakeMessage(OP_UNBIND, Body(4, {0})), true, nullptr},
      {MakeMessage(OP_PANEL_KEY, Body(1, {0})), true, nullptr},
      {MakeMessage(OP_SET_CONFIG, Body(4, {0})), true, nullptr},
      {MakeMessage(OP_UNBIND, Body(4, {0xFE})), false, nullptr},
      {MakeMessage(OP_UNBIND, Body(4, {1})), false, nullptr},
      {MakeMessage(OP_PANEL_KEY, Body(1, {3})), false, nullptr},
      {MakeMessage(OP_PANEL_KEY, Body(1, {0x80})), false, nullptr},
      {MakeMessage(OP_SET_CONFIG, Body(4, {1})), false, nullptr},
      {MakeMessage(OP_SET_CONFIG, Body(4, {0xFF})), false, nullptr},
      {MakeMessage(OP_UNBIND, Body(0)), false, "UnBind_Result’信息包错误：包身长度不足"},
      {MakeMessage(OP_PANEL_KEY, Body(0)), false, "PanelKey_Result’信息包错误：包身长度不足"},
      {MakeMessage(OP_SET_CONFIG, Body(0)), false, "SetConfig_Result’信息包错误：包身长度不足"},
      // An error report fails even with a zero code, and names the signed code.
      {MakeMessage(DSOPP_ERROR_RESULT_OPERATION_ID, Body(4, {0xFF})), false,
       "WARNING:The received message is error! The error msg info is: -1\r\n"},
      {MakeMessage(DSOPP_ERROR_RESULT_OPERATION_ID, Body(4, {0})), false,
       "WARNING:解析接收到的信息包的包身信息operationID == DSOPP_ERROR_RESULT_OPERATION_ID"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Dispatch(c.message), c.result) << testing::Hex(c.message);
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
  EXPECT_FALSE(DispatchResult(ByteView(), {store, selectors, bitmap}, debug_log));
  EXPECT_TRUE(Logged("WARNING:解析接收到的信息包的包身信息dsopp_sign错误"));
  EXPECT_FALSE(Logged("msg_type == INVOKE_MSG"));
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
