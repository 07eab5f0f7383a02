// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/simulated_instrument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "core/common/byte_view.h"
#include "core/protocol/frame.h"
#include "core/protocol/panel_codes.h"
#include "core/protocol/unit_table.h"

namespace korvelane::sim {
namespace {

// Talks to the instrument with the program's own request builders.
class Talk {
 public:
  explicit Talk(SimulatedInstrument& instrument) : instrument_(instrument) {}

  // Sends what the builder put in the buffer; returns the whole answer (empty for none).
  template <typename Build, typename... Args>
  const std::vector<uint8_t>& Send(Build build, Args... args) {
    build(buffer_, args...);
    answer_ = instrument_.Exchange(buffer_.data(), RequestSize(buffer_));
    return answer_;
  }
  const std::vector<uint8_t>& Bind() { return Send(BuildBindRequest); }
  const std::vector<uint8_t>& Params() { return Send(BuildParamsRequest); }
  const std::vector<uint8_t>& Key(uint8_t code, uint8_t value = 1) {
    return Send(BuildPanelKeyRequest, code, value);
  }
  const std::vector<uint8_t>& Piece(uint32_t number) { return Send(BuildBmpPieceRequest, number); }

  const std::vector<uint8_t>& answer() const { return answer_; }
  ByteView message() const { return ByteView(answer_.data(), answer_.size()); }
  ByteView body() const { return message().Sub(kHeaderSize); }
  int8_t result() const { return body().S8(0); }

 private:
  SimulatedInstrument& instrument_;
  MessageBuffer buffer_{};
  std::vector<uint8_t> answer_;
};

class InstrumentTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(talk.Bind()[kHeaderSize], 0); }

  // The value text of the float and exponent at `at` in the last answer's body.
  std::string ValueText(size_t at) const {
    return FormatValueText(talk.body().F32BE(at), talk.body().S8(at + 4));
  }

  SimulatedInstrument instrument;
  Talk talk{instrument};
};

TEST_F(InstrumentTest, OnlyABoundHostIsServed) {
  talk.Send(BuildUnbindRequest);
  talk.Params();
  EXPECT_NE(talk.result(), 0);
  talk.Send(BuildChannelRequest, WD_CH1, 0);
  EXPECT_NE(talk.result(), 0);
  EXPECT_EQ(talk.answer().size(), kHeaderSize + 4184);
  talk.Send(BuildBmpBeginRequest);
  EXPECT_NE(talk.body().U8(8), 0);
  talk.Key(kKeyCh1);
  EXPECT_NE(talk.result(), 0);
  EXPECT_TRUE(instrument.front_panel().ch1.on);
}

TEST(Instrument, MalformedRequestsGoUnansweredAndUnknownOperationsGetAnErrorReport) {
  SimulatedInstrument instrument;
  MessageBuffer b{};
  BuildBindRequest(b);
  b[7] = '1';
  EXPECT_TRUE(instrument.Exchange(b.data(), 20).empty());
  BuildBindRequest(b);
  b[kOffsetMsgType] = 1;
  EXPECT_TRUE(instrument.Exchange(b.data(), 20).empty());
  BuildBindRequest(b);
  EXPECT_TRUE(instrument.Exchange(b.data(), 19).empty());
  EXPECT_TRUE(instrument.Exchange(b.data(), 8).empty());
  EXPECT_EQ(instrument.exchange_count(), 0u);

  BuildHeader(b, 6, 4);
  const std::vector<uint8_t> answer = instrument.Exchange(b.data(), 20);
  ASSERT_EQ(answer.size(), 20u);
  EXPECT_EQ(answer[kOffsetOperationId], DSOPP_ERROR_RESULT_OPERATION_ID);
  EXPECT_NE(answer[kHeaderSize], 0);
}

TEST_F(InstrumentTest, ParameterRecordDescribesThePanel) {
  talk.Params();
  const ByteView body = talk.body();
  EXPECT_EQ(body.U8(4), kLampRunning);
  EXPECT_EQ(body.U8(5), 1);  // indicator: bound
  EXPECT_EQ(body.U8(12), 1);
  EXPECT_EQ(ValueText(16), "500.00mV");
  EXPECT_EQ(body.S32BE(24), 216 - 140);
  EXPECT_EQ(body.U8(28), 1);
  EXPECT_EQ(ValueText(32), "1.00V");
  EXPECT_EQ(body.S32BE(40), 216 - 30);
  EXPECT_EQ(ValueText(44), "500.00us");
  EXPECT_EQ(ValueText(52), "0.00us");
  EXPECT_EQ(body.U8(60), kStatusTrigd);
  const std::array<uint8_t, 8> lamps = instrument.panel_lamps();
  EXPECT_TRUE(std::equal(lamps.begin(), lamps.end(), talk.answer().begin() + 20));
}

TEST_F(InstrumentTest, PanelKeysChangeTheParameterRecord) {
  talk.Key(kKeyCh1);
  EXPECT_EQ(talk.result(), 0);
  talk.Params();
  EXPECT_EQ(talk.body().U8(12), 0);
  EXPECT_EQ(talk.body().U8(11 - kLampCh1), 0);

  talk.Key(kKeyRunStop);
  talk.Params();
  EXPECT_EQ(talk.body().U8(4), kLampStopped);
  EXPECT_EQ(talk.body().U8(60), kStatusStop);

  // Three increase steps of S/div, knob code 47 with value 3: 500 us -> 1, 2, 5 ms.
  talk.Key(KnobIncreaseCode(kKnobSdiv), 3);
  talk.Params();
  EXPECT_EQ(ValueText(44), "5.00ms");

  talk.Key(kKeyDefaultSetup);
  EXPECT_EQ(instrument.front_panel(), ScopeState());
  talk.Key(0x10);
  EXPECT_NE(talk.result(), 0) << "no key has code 16";
}

TEST_F(InstrumentTest, SettingsBlockTravelsBothWaysAndABadOneIsRefused) {
  talk.Send(BuildConfigUploadRequest);
  ConfigBlock block;
  std::copy_n(talk.answer().begin() + kHeaderSize + 4, kConfigBlockSize, block.begin());
  EXPECT_EQ(block, instrument.settings_block());

  // Another instrument's settings, downloaded here, become this one's.
  SimulatedInstrument other;
  Talk other_talk(other);
  other_talk.Bind();
  other_talk.Key(KnobIncreaseCode(kKnobSdiv), 2);
  other_talk.Key(kKeyCh2);
  other_talk.Key(kKeyCursor);
  talk.Send(BuildConfigDownloadRequest, other.settings_block());
  ASSERT_EQ(talk.answer().size(), kHeaderSize + 4);
  EXPECT_TRUE(std::equal(kDsoppSign, kDsoppSign + 8, talk.answer().begin()));
  EXPECT_EQ(MsgLen(talk.message()), 4u);
  EXPECT_EQ(MsgType(talk.message()), 1);
  EXPECT_EQ(OperationOf(talk.message()), OP_SET_CONFIG);
  EXPECT_EQ(talk.result(), 0);
  EXPECT_EQ(instrument.front_panel(), other.front_panel());
  EXPECT_EQ(instrument.settings_block(), other.settings_block());

  // One changed byte anywhere fails the check; the settings stay as they were.
  for (size_t at : {size_t{0}, size_t{2499}}) {
    ConfigBlock bad = instrument.settings_block();
    bad[at] ^= 0x01;
    talk.Send(BuildConfigDownloadRequest, bad);
    EXPECT_NE(talk.result(), 0) << at;
    EXPECT_EQ(instrument.front_panel(), other.front_panel());
  }
  ConfigBlock zero{};
  talk.Send(BuildConfigDownloadRequest, zero);
  EXPECT_NE(talk.result(), 0);
  // A block of another model is refused too.
  SimulatedInstrument model3({3, 1});
  talk.Send(BuildConfigDownloadRequest, model3.settings_block());
  EXPECT_NE(talk.result(), 0);
}

TEST_F(InstrumentTest, TheScreenBitmapTravelsInTwentyPiecesOnlyWithinATransfer) {
  // The whole file is put together and checked where the device layer fetches it; here its
  // size and the pieces it travels in.
  const std::vector<uint8_t> file = instrument.ScreenBitmap();
  ASSERT_EQ(file.size(), 77878u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[28], 8);  // bits per pixel
  talk.Send(BuildBmpBeginRequest);
  EXPECT_EQ(talk.body().U8(8), 0);
  EXPECT_EQ(talk.body().U32BE(4), file.size());
  talk.Piece(0);
  EXPECT_EQ(talk.body().U32BE(4), 4000u);
  EXPECT_TRUE(std::equal(file.begin(), file.begin() + 4000, talk.answer().begin() + 28));

  // 19 pieces of 4000 bytes and one of 1878 (with a menu shown as well); none past the end,
  // none outside a transfer.
  talk.Key(kKeyMeasure);
  talk.Send(BuildBmpBeginRequest);
  talk.Piece(19);
  EXPECT_EQ(talk.body().U32BE(4), 1878u);
  talk.Piece(20);
  EXPECT_NE(talk.body().U8(4013), 0);
  talk.Send(BuildBmpEndRequest);
  EXPECT_EQ(talk.body().U8(1), 0);
  talk.Piece(0);
  EXPECT_NE(talk.body().U8(4013), 0);
}

TEST_F(InstrumentTest, EachAnswerFaultAppearsOnceAsAsked) {
  struct Case {
    FaultKind kind;
    std::function<bool(const std::vector<uint8_t>&)> spoiled;
  };
  const Case cases[] = {
      {FaultKind::kDropAnswer, [](const auto& a) { return a.empty(); }},
      {FaultKind::kBadSignature, [](const auto& a) { return a.size() > 8 && a[7] != '0'; }},
      {FaultKind::kInvokeType, [](const auto& a) { return a.size() > 16 && a[12] == 0; }},
      {FaultKind::kUnknownOperation, [](const auto& a) { return a.size() > 16 && a[13] == 7; }},
      {FaultKind::kErrorReport,
       [](const auto& a) { return a.size() == 20 && a[13] == 9 && a[16] == 0xFF; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    instrument.InjectFault({c.kind});
    EXPECT_TRUE(c.spoiled(talk.Params()));
    EXPECT_FALSE(c.spoiled(talk.Params()));
    EXPECT_EQ(talk.result(), 0);
  }
  // Limited to one operation, for a number of answers.
  instrument.InjectFault({FaultKind::kDropAnswer, OP_PANEL_KEY, 0, 2});
  EXPECT_FALSE(talk.Params().empty());
  EXPECT_TRUE(talk.Key(kKeyCh2).empty());
  EXPECT_TRUE(talk.Key(kKeyCh2).empty());
  EXPECT_FALSE(talk.Key(kKeyMath).empty());
  EXPECT_EQ(instrument.pending_faults(), 0u);
  // A lost answer does not undo the key: CH2 was pressed twice.
  EXPECT_TRUE(instrument.front_panel().ch2.on);
}

TEST_F(InstrumentTest, FailingResultRefusesOnlyTheChosenOperation) {
  instrument.InjectFault({FaultKind::kResultFailure, OP_PANEL_KEY});
  talk.Params();
  EXPECT_EQ(talk.result(), 0);
  talk.Key(kKeyCh1);
  EXPECT_NE(talk.result(), 0);
  EXPECT_TRUE(instrument.front_panel().ch1.on) << "a refused key does nothing";
  talk.Key(kKeyCh1);
  EXPECT_EQ(talk.result(), 0);
  EXPECT_FALSE(instrument.front_panel().ch1.on);

  instrument.InjectFault({FaultKind::kResultFailure, OP_BMP_BEGIN});
  talk.Send(BuildBmpBeginRequest);
  EXPECT_NE(talk.body().U8(8), 0);
  talk.Send(BuildBmpBeginRequest);
  EXPECT_EQ(talk.body().U8(8), 0);

  instrument.InjectFault({FaultKind::kResultFailure, OP_BIND});
  talk.Send(BuildUnbindRequest);
  talk.Bind();
  EXPECT_NE(talk.result(), 0);
  EXPECT_FALSE(instrument.bound());
}

TEST_F(InstrumentTest, BitmapPieceFaultsSpoilTheChosenPieceTheChosenNumberOfTimes) {
  talk.Send(BuildBmpBeginRequest);
  instrument.InjectFault({FaultKind::kBadChecksum, 0, 3, 2});
  instrument.InjectFault({FaultKind::kWrongFileNum, 0, 5});
  instrument.InjectFault({FaultKind::kZeroFileLen, 0, 7});
  const auto checksum_ok = [this] {
    uint32_t sum = talk.body().U32BE(8);
    for (uint32_t i = 0; i < talk.body().U32BE(4); ++i)
      sum += talk.body().U8(12 + i);
    return sum == 0;
  };
  // Piece asked for; then whether its checksum holds, its number and its length.
  const std::tuple<uint32_t, bool, uint32_t, uint32_t> reads[] = {
      {2, true, 2, 4000}, {3, false, 3, 4000}, {3, false, 3, 4000}, {3, true, 3, 4000},
      {5, true, 6, 4000}, {5, true, 5, 4000},  {7, false, 7, 0},    {7, true, 7, 4000}};
  for (const auto& [piece, sum_ok, number, length] : reads) {
    SCOPED_TRACE(piece);
    talk.Piece(piece);
    EXPECT_EQ(checksum_ok(), sum_ok);
    EXPECT_EQ(talk.body().U32BE(0), number);
    EXPECT_EQ(talk.body().U32BE(4), length);
  }
  EXPECT_EQ(instrument.pending_faults(), 0u);
}

TEST_F(InstrumentTest, UnplugAndPlugAreHeardAndEndTheBinding) {
  std::vector<bool> heard;
  instrument.SetPlugListener([&heard](bool plugged) { heard.push_back(plugged); });
  instrument.Unplug();
  EXPECT_FALSE(instrument.plugged());
  EXPECT_FALSE(instrument.bound());
  EXPECT_TRUE(talk.Params().empty());
  instrument.Unplug();
  instrument.Plug();
  EXPECT_EQ(heard, (std::vector<bool>{false, true}));
  talk.Params();
  EXPECT_NE(talk.result(), 0) << "a new Bind is needed";

  talk.Bind();
  instrument.UnplugAfter(2);
  EXPECT_FALSE(talk.Params().empty());
  EXPECT_FALSE(talk.Params().empty());
  EXPECT_TRUE(instrument.plugged());
  EXPECT_TRUE(talk.Params().empty());
  EXPECT_FALSE(instrument.plugged());
  EXPECT_EQ(heard.back(), false);
}

}  // namespace
}  // namespace korvelane::sim
