// SPDX-License-Identifier: GPL-3.0-or-later
// What the answers do: the dispatcher's checks and the results without data, the Bind's product
// type, the wave data records. (That each result reaches its handler is shown by the exchanges
// of the device layer's tests.)
#include "core/protocol/dispatcher.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <tuple>

#include "core/protocol/wave_data_decoder.h"
#include "support/device_world.h"

namespace korvelane {
namespace {

using testing::Body;
using testing::Bytes;
using testing::ChannelBody;
using testing::MakeMessage;
using testing::ParamBody;

class ResultTest : public testing::LogWorld {
 protected:
  bool Dispatch(const Bytes& message) {
    return DispatchResult(ByteView(message.data(), message.size()), {store, selectors, bitmap},
                          debug_log);
  }
  bool Decode(const Bytes& body) {
    return HandleWaveDataResult(ByteView(body.data(), body.size()), store, selectors, debug_log);
  }

  AcquisitionStore store;
  RequestSelectors selectors;
  BitmapTransferState bitmap;
};

// What the results without data and the Bind's answer, what fails the checks, what is logged.
// The whole signature is checked first.
TEST_F(ResultTest, OnlyAZeroResultByteSucceedsAndBadMessagesAreRefused) {
  for (size_t i = 0; i < 8; ++i) {
    Bytes message = MakeMessage(OP_WAVE_DATA, Body(4), /*msg_type=*/0);
    message[i] ^= 0x20;
    EXPECT_FALSE(Dispatch(message)) << "byte " << i;
  }
  EXPECT_FALSE(DispatchResult(ByteView(), {store, selectors, bitmap}, debug_log));
  EXPECT_TRUE(Logged("WARNING:解析接收到的信息包的包身信息dsopp_sign错误"));
  EXPECT_FALSE(Logged("msg_type == INVOKE_MSG"));
  const struct {
    Bytes message;
    bool result;
    const char* logged;
    int product_type = 7;  // the type stored before, kept
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
      // A non-negative ProductType is stored whatever the result; a negative one or a short
      // answer fails and keeps the stored type.
      {MakeMessage(OP_BIND, Body(4, {0, 53})), true, nullptr, 53},
      {MakeMessage(OP_BIND, Body(4, {1, 127})), false, nullptr, 127},
      {MakeMessage(OP_BIND, Body(2, {0xFF, 0})), false, nullptr, 0},
      {MakeMessage(OP_BIND, Body(4, {0, 0x80})), false,
       "WARNING:解析‘Bind_Result’得到的 ProductType < 0"},
      {MakeMessage(OP_BIND, Body(4, {0, 0xFF})), false, nullptr},
      {MakeMessage(OP_BIND, Body(1)), false, "WARNING:解析‘Bind_Result’信息包错误：包身长度不足"},
      {MakeMessage(OP_BIND, Body(0)), false, nullptr},
      // An error report fails even with a zero code, and names the signed code.
      {MakeMessage(DSOPP_ERROR_RESULT_OPERATION_ID, Body(4, {0xFF})), false,
       "WARNING:The received message is error! The error msg info is: -1\r\n"},
      {MakeMessage(DSOPP_ERROR_RESULT_OPERATION_ID, Body(4, {0})), false,
       "WARNING:解析接收到的信息包的包身信息operationID == DSOPP_ERROR_RESULT_OPERATION_ID"},
  };
  for (const auto& c : cases) {
    store.product_type = 7;
    EXPECT_EQ(Dispatch(c.message), c.result) << testing::Hex(c.message);
    EXPECT_EQ(store.product_type, c.product_type) << testing::Hex(c.message);
    EXPECT_TRUE(!c.logged || Logged(c.logged)) << c.logged;
  }
  EXPECT_TRUE(Logged("error msg info is: 0\r\n"));
}

TEST_F(ResultTest, ParamRecordFillsTheStoreButNotASwitchedOffChannel) {
  ASSERT_TRUE(Decode(ParamBody(true, true)));
  EXPECT_EQ(store.panel_state, (std::array<uint8_t, 8>{8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(store.acq_status, 3);
  EXPECT_EQ(store.sec_div_text + " " + store.hori_pos_text, "500.00us 0.50ms");
  EXPECT_EQ(std::make_tuple(store.ch1.volts_text, store.ch1.vert_pos, store.ch2.volts_text,
                            store.ch2.vert_pos),
            std::make_tuple("1.00V", 25, "2.00mV", -30));

  Bytes body = ParamBody(false, true);
  testing::PutU32(body, 24, 99);
  body[36] = 15;
  body[48] = 16;  // no such unit
  ASSERT_TRUE(Decode(body));
  EXPECT_FALSE(store.ch1.enabled);
  EXPECT_EQ(store.ch1.volts_text + " " + std::to_string(store.ch1.vert_pos), "1.00V 25");
  EXPECT_EQ(store.ch2.volts_text, "2.00div");
  EXPECT_EQ(store.sec_div_text, "500.00?");

  // Values that are not numbers show as stars, like the measurements.
  testing::PutF32(body, 44, -std::numeric_limits<float>::infinity());
  testing::PutF32(body, 52, std::numeric_limits<float>::quiet_NaN());
  ASSERT_TRUE(Decode(body));
  EXPECT_EQ(store.sec_div_text + store.hori_pos_text, "********");
}

TEST_F(ResultTest, RejectedRecordsChangeNothing) {
  Decode(ParamBody(true, true));
  Decode(ChannelBody(WD_CH1, 50));
  const auto snapshot = [&] {
    return std::make_tuple(store.ch1.samples, store.ch1.count, store.ch2.count, store.sec_div_text,
                           store.config_block, store.panel_state);
  };
  const auto before = snapshot();

  Bytes failed = testing::ConfigBody();
  failed[0] = 0xFE;
  EXPECT_FALSE(Decode(failed));
  EXPECT_TRUE(Logged("解析 WaveData_Result 信息包的失败，result != 0"));
  for (int32_t count : {0, -5, INT_MIN, 4001, INT_MAX}) {
    EXPECT_FALSE(Decode(ChannelBody(WD_CH1_ALL, count))) << count;
    EXPECT_FALSE(Decode(ChannelBody(WD_CH2, count))) << count;
  }
  EXPECT_TRUE(Logged("解析 WaveData_Result 信息包之——CH1数据包失败： 波形点数为 0"));
  EXPECT_TRUE(Logged("解析 WaveData_Result 信息包之——CH2数据包失败： 波形点数为 0"));
  EXPECT_TRUE(Logged("解析 WaveData_Result 信息包之——CH1数据包失败： 波形点数超过 4000"));
  // Bodies too short for what they claim to carry.
  for (auto [body, size] : {std::pair{ParamBody(false, false), 60},
                            {ChannelBody(WD_CH1, 4000), 4007},
                            {testing::ConfigBody(), 2503}}) {
    body.resize(size);
    EXPECT_FALSE(Decode(body)) << size;
  }
  EXPECT_TRUE(Logged("解析 WaveData_Result 信息包失败：包身长度不足"));
  // Types the program never asks for are accepted and ignored.
  for (uint8_t type : {3, 7, 0xFF})
    EXPECT_TRUE(Decode(Body(4184, {0, type, 0, 0, 0, 0, 0, 9}))) << int(type);

  EXPECT_TRUE(snapshot() == before);
}

TEST_F(ResultTest, ChannelRecordsReplaceSamplesAndMeasurementsAsAskedAndStretchTheTime) {
  selectors.ch2_measure_wanted = 1;
  const Bytes measured = ChannelBody(WD_CH2, 4000, 0xAA);
  Decode(measured);
  EXPECT_TRUE(std::equal(store.ch2.measure.begin(), store.ch2.measure.end(),
                         measured.begin() + wave_data::kMeasure));
  selectors.ch2_measure_wanted = 0;
  ASSERT_TRUE(Decode(ChannelBody(WD_CH2_ALL, 10, 3)));
  EXPECT_EQ(store.ch2.count, 10);
  EXPECT_EQ(store.ch2.samples[9], 12);
  for (size_t i = 10; i < 4000; ++i)
    ASSERT_EQ(store.ch2.samples[i], 0) << i;
  EXPECT_EQ(store.ch2.measure, MeasureBlock{});  // sent, but no longer asked for
  EXPECT_EQ(store.ch1.count, 200);

  // A full all-data record stretches the time/div once per parameter record, CH1 or CH2.
  Decode(ParamBody(true, true));
  Decode(ChannelBody(WD_CH1, 4000));
  Decode(ChannelBody(WD_CH1_ALL, 3999));
  EXPECT_EQ(store.sec_div_text, "500.00us");
  Decode(ChannelBody(WD_CH1_ALL, 4000));
  Decode(ChannelBody(WD_CH2_ALL, 4000));
  EXPECT_EQ(store.sec_div_text, "800.00us");
  EXPECT_EQ(store.timebase_value, 800.0f);
  Decode(ParamBody(true, true));
  EXPECT_EQ(store.sec_div_text, "500.00us");
  Decode(ChannelBody(WD_CH2_ALL, 4000));
  EXPECT_EQ(store.sec_div_text, "800.00us");
}

}  // namespace
}  // namespace korvelane
