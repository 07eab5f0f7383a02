// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated instrument's answers and faults, and the link that carries them in-process.
#include "simulator/simulated_instrument.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "core/common/byte_view.h"
#include "core/protocol/frame.h"
#include "core/protocol/panel_codes.h"
#include "core/protocol/unit_table.h"
#include "simulator/settings_block.h"
#include "simulator/simulated_link.h"

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
  ByteView body() const { return ByteView(answer_.data(), answer_.size()).Sub(kHeaderSize); }
  int8_t result() const { return body().S8(0); }

 private:
  SimulatedInstrument& instrument_;
  MessageBuffer buffer_{};
  std::vector<uint8_t> answer_;
};

class InstrumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(talk.Send(BuildBindRequest)[kHeaderSize], 0);
    link.SetDeviceChangeNotifier([this](uintptr_t wparam, intptr_t) { heard.push_back(wparam); });
    ASSERT_EQ(link.UsbOpen(0), 1);
  }
  // Through the in-process link, as the program talks to the instrument.
  int Write(void (*build)(MessageBuffer&)) {
    build(request);
    return link.UsbWrite(kPipeOut, request.data(), static_cast<uint32_t>(RequestSize(request)));
  }
  int Read(uint32_t count) { return link.UsbRead(kPipeIn, answer.data(), count); }

  // The value text of the float and exponent at `at` in the last answer's body.
  std::string ValueText(size_t at) const {
    return FormatValueText(talk.body().F32BE(at), talk.body().S8(at + 4));
  }

  SimulatedInstrument instrument;
  Talk talk{instrument};
  SimulatedLink link{instrument};
  std::vector<uintptr_t> heard;
  MessageBuffer request{};
  MessageBuffer answer{};
};

TEST_F(InstrumentTest, ParameterRecordDescribesThePanelAndFollowsItsKeys) {
  talk.Send(BuildParamsRequest);
  EXPECT_EQ(talk.body().U8(4), kLampRunning);
  EXPECT_EQ(talk.body().U8(5), 1);  // indicator: bound
  EXPECT_EQ(talk.body().U8(12), 1);
  EXPECT_EQ(ValueText(16), "500.00mV");
  EXPECT_EQ(talk.body().S32BE(24), 216 - 140);
  EXPECT_EQ(ValueText(32), "1.00V");
  EXPECT_EQ(talk.body().U8(60), kStatusTrigd);

  talk.Send(BuildPanelKeyRequest, kKeyCh1, 1);
  EXPECT_EQ(talk.result(), 0);
  talk.Send(BuildParamsRequest);
  EXPECT_EQ(talk.body().U8(12), 0);
  EXPECT_EQ(talk.body().U8(11 - kLampCh1), 0);
  talk.Send(BuildPanelKeyRequest, kKeyRunStop, 1);
  talk.Send(BuildParamsRequest);
  EXPECT_EQ(talk.body().U8(4), kLampStopped);
  EXPECT_EQ(talk.body().U8(60), kStatusStop);
  // Three increase steps of S/div, knob code 47 with value 3: 500 us -> 1, 2, 5 ms.
  talk.Send(BuildPanelKeyRequest, KnobIncreaseCode(kKnobSdiv), 3);
  talk.Send(BuildParamsRequest);
  EXPECT_EQ(ValueText(44), "5.00ms");

  talk.Send(BuildPanelKeyRequest, kKeyDefaultSetup, 1);
  EXPECT_EQ(instrument.front_panel(), ScopeState());
  talk.Send(BuildPanelKeyRequest, 0x10, 1);
  EXPECT_NE(talk.result(), 0) << "no key has code 16";
}

// (An upload sends the block of the panel's settings: shown where the settings commands run.)
// A block changed in one byte anywhere, or another model's, is refused and changes nothing.
TEST_F(InstrumentTest, ADownloadedBlockSetsThePanelAndABadOneIsRefused) {
  ScopeState wanted;
  wanted.ch2 = {false, 3, 0};
  wanted.hor_steps = -250;
  wanted.trigger_uv = -1'234'567;
  wanted.cursor_x = 299;
  const SettingsBlock block = NewSettingsBlock(0, wanted);
  talk.Send(BuildConfigDownloadRequest, block);
  EXPECT_EQ(talk.result(), 0);
  EXPECT_EQ(instrument.front_panel(), wanted);
  EXPECT_EQ(instrument.settings_block(), block);

  SettingsBlock bad[] = {block, block, SettingsBlock{}, NewSettingsBlock(3, ScopeState())};
  bad[0][0] ^= 0x01;
  bad[1][2499] ^= 0x01;
  for (const SettingsBlock& refused : bad) {
    talk.Send(BuildConfigDownloadRequest, refused);
    EXPECT_NE(talk.result(), 0);
    EXPECT_EQ(instrument.front_panel(), wanted);
  }
}

// The whole file travels (and is loaded) where the views refresh the DSO Bitmap; here its last
// piece, with a menu shown as well: 19 of 4000 bytes and one of 1878, none past the end, none
// outside a transfer.
TEST_F(InstrumentTest, ScreenBitmapPiecesComeOnlyWithinATransfer) {
  talk.Send(BuildPanelKeyRequest, kKeyMeasure, 1);
  talk.Send(BuildBmpBeginRequest);
  EXPECT_EQ(talk.body().U8(8), 0);
  EXPECT_EQ(talk.body().U32BE(4), 77878u);
  talk.Send(BuildBmpPieceRequest, 19);
  EXPECT_EQ(talk.body().U32BE(4), 1878u);
  talk.Send(BuildBmpPieceRequest, 20);
  EXPECT_NE(talk.body().U8(4013), 0);
  talk.Send(BuildBmpEndRequest);
  EXPECT_EQ(talk.body().U8(1), 0);
  talk.Send(BuildBmpPieceRequest, 0);
  EXPECT_NE(talk.body().U8(4013), 0);
}

TEST_F(InstrumentTest, EachAnswerFaultAppearsOnceAsAsked) {
  using Spoiled = std::function<bool(const std::vector<uint8_t>&)>;
  const std::pair<FaultKind, Spoiled> cases[] = {
      {FaultKind::kDropAnswer, [](const auto& a) { return a.empty(); }},
      {FaultKind::kBadSignature, [](const auto& a) { return a.size() > 8 && a[7] != '0'; }},
      {FaultKind::kInvokeType, [](const auto& a) { return a.size() > 16 && a[12] == 0; }},
      {FaultKind::kUnknownOperation, [](const auto& a) { return a.size() > 16 && a[13] == 7; }},
      {FaultKind::kErrorReport,
       [](const auto& a) { return a.size() == 20 && a[13] == 9 && a[16] == 0xFF; }},
      {FaultKind::kResultFailure, [](const auto& a) { return a.size() > 16 && a[16] != 0; }},
  };
  for (const auto& [kind, spoiled] : cases) {
    SCOPED_TRACE(static_cast<int>(kind));
    instrument.InjectFault({kind});
    EXPECT_TRUE(spoiled(talk.Send(BuildParamsRequest)));
    EXPECT_FALSE(spoiled(talk.Send(BuildParamsRequest)));
    EXPECT_EQ(talk.result(), 0);
  }
  // Limited to one operation: a lost answer leaves the key carried out, a refused one not.
  instrument.InjectFault({FaultKind::kDropAnswer, OP_PANEL_KEY});
  instrument.InjectFault({FaultKind::kResultFailure, OP_PANEL_KEY});
  EXPECT_FALSE(talk.Send(BuildParamsRequest).empty());
  EXPECT_TRUE(talk.Send(BuildPanelKeyRequest, kKeyCh1, 1).empty());
  EXPECT_FALSE(instrument.front_panel().ch1.on);
  talk.Send(BuildPanelKeyRequest, kKeyCh1, 1);
  EXPECT_NE(talk.result(), 0);
  EXPECT_FALSE(instrument.front_panel().ch1.on);
  EXPECT_EQ(instrument.pending_faults(), 0u);
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
    talk.Send(BuildBmpPieceRequest, piece);
    EXPECT_EQ(checksum_ok(), sum_ok);
    EXPECT_EQ(talk.body().U32BE(0), number);
    EXPECT_EQ(talk.body().U32BE(4), length);
  }
  EXPECT_EQ(instrument.pending_faults(), 0u);
}

// Unbound, by an UnBind or an unplugging, the instrument serves nothing but a Bind.
TEST_F(InstrumentTest, OnlyABoundHostIsServedAndUnpluggingEndsTheBinding) {
  talk.Send(BuildUnbindRequest);
  talk.Send(BuildParamsRequest);
  EXPECT_NE(talk.result(), 0);
  talk.Send(BuildChannelRequest, WD_CH1, 0);
  EXPECT_NE(talk.result(), 0);
  talk.Send(BuildBmpBeginRequest);
  EXPECT_NE(talk.body().U8(8), 0);
  talk.Send(BuildPanelKeyRequest, kKeyCh1, 1);
  EXPECT_NE(talk.result(), 0);
  EXPECT_TRUE(instrument.front_panel().ch1.on);

  talk.Send(BuildBindRequest);
  instrument.UnplugAfter(2);
  EXPECT_FALSE(talk.Send(BuildParamsRequest).empty());
  EXPECT_FALSE(talk.Send(BuildParamsRequest).empty());
  EXPECT_TRUE(instrument.plugged());
  EXPECT_TRUE(talk.Send(BuildParamsRequest).empty());
  EXPECT_FALSE(instrument.plugged() || instrument.bound());
  instrument.Plug();
  talk.Send(BuildParamsRequest);
  EXPECT_NE(talk.result(), 0) << "a new Bind is needed";
}

TEST_F(InstrumentTest, LinkTheAnswerIsReadOnceAsHeaderThenWholeAndANewRequestDropsTheRest) {
  ASSERT_EQ(Write(BuildBindRequest), 1);
  ASSERT_EQ(Read(kHeaderSize), 1);
  ASSERT_EQ(Read(kHeaderSize + 4), 1);
  EXPECT_EQ(answer[kOffsetOperationId], OP_BIND);
  EXPECT_EQ(Read(kHeaderSize), 0) << "the answer was read whole";

  Write(BuildBindRequest);
  ASSERT_EQ(Read(kHeaderSize), 1);
  Write(BuildParamsRequest);
  ASSERT_EQ(Read(kHeaderSize + 64), 1);
  EXPECT_EQ(answer[kOffsetOperationId], OP_WAVE_DATA);

  Write(BuildParamsRequest);
  EXPECT_EQ(Read(kHeaderSize + 65), 0) << "longer than the answer";
  EXPECT_EQ(Read(kHeaderSize), 0) << "and it is gone";
  instrument.InjectFault({FaultKind::kDropAnswer});
  EXPECT_EQ(Write(BuildParamsRequest), 1);
  EXPECT_EQ(Read(kHeaderSize), 0);
}

TEST_F(InstrumentTest, LinkPlugEventsAreReportedAndALossHandledLateStillReadsAsGone) {
  instrument.Unplug();
  instrument.Unplug();
  EXPECT_EQ(heard, std::vector<uintptr_t>{kDeviceRemoveComplete}) << "each change heard once";
  link.UsbDeviceChange(kDeviceRemoveComplete, 0);
  EXPECT_EQ(link.UsbIsOpen(), 0);
  EXPECT_EQ(Write(BuildBindRequest), 0);
  instrument.Plug();
  EXPECT_EQ(heard.back(), kDeviceArrival);
  link.UsbDeviceChange(kDeviceArrival, 0);
  EXPECT_EQ(link.UsbIsOpen(), 1) << "open again without UsbOpen";
  EXPECT_EQ(Write(BuildBindRequest), 1);

  // Back before the program handled the loss: gone until the return is handled too.
  instrument.Unplug();
  instrument.Plug();
  link.UsbDeviceChange(kDeviceRemoveComplete, 0);
  EXPECT_EQ(link.UsbIsOpen(), 0);
  link.UsbDeviceChange(kDeviceArrival, 0);
  EXPECT_EQ(link.UsbIsOpen(), 1);
}

}  // namespace
}  // namespace korvelane::sim
