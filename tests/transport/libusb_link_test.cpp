// SPDX-License-Identifier: GPL-3.0-or-later
// The libusb link against an instrument on the emulated USB bus.
#include <thread>

#include "usb_world.h"

namespace korvelane::testing {
namespace {

// A channel record as the instrument sends it: 4184 body bytes.
Bytes ChannelAnswer() {
  Bytes body(4184);
  for (size_t i = 0; i < body.size(); ++i)
    body[i] = static_cast<uint8_t>(i * 7 + 3);
  return MakeMessage(OP_WAVE_DATA, body);
}

Bytes BindAnswer() {
  return MakeMessage(OP_BIND, Body(4, {0, 2}));
}

class UsbLinkTest : public ::testing::Test, protected UsbWorld {
 protected:
  // Every request is answered with `answer`, cut into writes of `cut` (and the rest).
  void AnswerWith(const Bytes& answer, std::vector<size_t> cut = {}) {
    usb.SetOutHandler([this, answer, cut](const Bytes&) { usb.SendInPieces(answer, cut); });
  }
};

TEST_F(UsbLinkTest, OpensClaimsAndReadsTheWholeAnswerHoweverTheInstrumentCutsIt) {
  ASSERT_TRUE(usb.Plug());
  ASSERT_EQ(link->UsbOpen(0), 1);
  EXPECT_EQ(link->UsbIsOpen(), 1);
  EXPECT_TRUE(usb.interface_claimed());

  const Bytes answer = ChannelAnswer();
  const Bytes request = RequestBytes(BuildParamsRequest);
  // In one write; in odd pieces; at a packet edge.
  const std::vector<std::vector<size_t>> cuts = {{}, {1, 15, 700, 3}, {511, 2}};
  for (const auto& cut : cuts) {
    SCOPED_TRACE(::testing::PrintToString(cut));
    AnswerWith(answer, cut);
    ASSERT_EQ(link->UsbWrite(kPipeOut, request.data(), 20), 1);
    EXPECT_EQ(usb.out_transfers().back(), request) << "the request goes whole, in one transfer";
    EXPECT_EQ(ReadAnswer(*link), answer);
  }
  EXPECT_EQ(usb.out_transfers().size(), cuts.size());

  // Bytes sent past the message, in the same write, are not taken for the next answer.
  Bytes surplus = BindAnswer();
  surplus.insert(surplus.end(), 600, 0xEE);
  AnswerWith(surplus);
  ASSERT_EQ(link->UsbWrite(kPipeOut, request.data(), 20), 1);
  EXPECT_EQ(ReadAnswer(*link), BindAnswer());
  AnswerWith(answer);
  ASSERT_EQ(link->UsbWrite(kPipeOut, request.data(), 20), 1);
  EXPECT_EQ(ReadAnswer(*link), answer);

  link->UsbClose();
  EXPECT_EQ(link->UsbIsOpen(), 0);
  EXPECT_FALSE(usb.interface_claimed());
}

TEST_F(UsbLinkTest, TimeOutsAndOversizeHeadersFailTheReadAndTheNextExchangeStartsAfresh) {
  ASSERT_TRUE(usb.Plug());
  ASSERT_EQ(link->UsbOpen(0), 1);
  const Bytes bind = RequestBytes(BuildBindRequest);
  const Bytes params = RequestBytes(BuildParamsRequest);
  const Bytes params_answer = MakeMessage(OP_WAVE_DATA, Body(64, {0, WD_PARAMS}));

  // No answer within the time-out: the read fails; the answer that comes later, in two
  // pieces, is drained whole and not taken for the answer to the next request.
  ASSERT_EQ(link->UsbWrite(kPipeOut, bind.data(), 20), 1);
  EXPECT_TRUE(ReadAnswer(*link).empty());
  EXPECT_EQ(LogCount("WARNING:USB读取超时"), 1);
  usb.SendInPieces(BindAnswer(), {8});
  AnswerWith(params_answer);
  ASSERT_EQ(link->UsbWrite(kPipeOut, params.data(), 20), 1);
  EXPECT_EQ(ReadAnswer(*link), params_answer);

  // A header that announces more than any message holds fails the read without waiting.
  Bytes huge = BindAnswer();
  huge[8] = 0x7F;
  AnswerWith(huge);
  ASSERT_EQ(link->UsbWrite(kPipeOut, bind.data(), 20), 1);
  MessageBuffer buffer{};
  EXPECT_EQ(link->UsbRead(kPipeIn, buffer.data(), kHeaderSize), 0);
  EXPECT_EQ(LogCount("WARNING:收到的USB信息包长度 2130706436 超出上限"), 1);
  EXPECT_EQ(LogCount("USB读取超时"), 1);

  AnswerWith(params_answer);
  ASSERT_EQ(link->UsbWrite(kPipeOut, params.data(), 20), 1);
  EXPECT_EQ(ReadAnswer(*link), params_answer);
  EXPECT_EQ(link->UsbIsOpen(), 1);

  // A read given more time than the link's own takes an answer that comes later.
  ASSERT_EQ(link->UsbReadTimeoutMs(), 400);
  usb.SetOutHandler([](const Bytes&) {});
  ASSERT_EQ(link->UsbWrite(kPipeOut, bind.data(), 20), 1);
  std::thread late([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    usb.SendInPieces(BindAnswer(), {});
  });
  MessageBuffer slow{};
  EXPECT_EQ(link->UsbReadWithin(kPipeIn, slow.data(), kHeaderSize, 20000), 1);
  late.join();
  ASSERT_EQ(link->UsbRead(kPipeIn, slow.data(), 20), 1);
  EXPECT_EQ(Bytes(slow.begin(), slow.begin() + 20), BindAnswer());
}

TEST_F(UsbLinkTest, UnplugEndsThePendingReadAndPlugInReopensWithoutUsbOpen) {
  ASSERT_TRUE(usb.Plug());
  ASSERT_EQ(link->UsbOpen(0), 1);
  const std::string first_node = usb.devnode();
  const Bytes bind = RequestBytes(BuildBindRequest);

  // Pulled out while the link waits for an answer: the read ends for that reason, at once even
  // when it was given minutes.
  ASSERT_EQ(link->UsbWrite(kPipeOut, bind.data(), 20), 1);
  std::thread puller([this] {
    WaitUntil([this] { return usb.in_submits() > 0; });
    usb.Unplug();
  });
  MessageBuffer buffer{};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link->UsbReadWithin(kPipeIn, buffer.data(), kHeaderSize, 600'000), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
  puller.join();
  EXPECT_EQ(LogCount("WARNING:USB仪器已断开，读取失败"), 1);
  EXPECT_EQ(LogCount("超时"), 0);
  EXPECT_EQ(link->UsbIsOpen(), 0);
  ASSERT_TRUE(Deliver(kDeviceRemoveComplete));
  EXPECT_EQ(link->UsbIsOpen(), 0);
  EXPECT_EQ(link->UsbWrite(kPipeOut, bind.data(), 20), 0);
  EXPECT_EQ(usb.out_transfers().size(), 1u);

  // Plugged in again, at another address: open and claimed on the arrival alone.
  ASSERT_TRUE(usb.Plug());
  EXPECT_NE(usb.devnode(), first_node);
  ASSERT_TRUE(Deliver(kDeviceArrival));
  EXPECT_EQ(link->UsbIsOpen(), 1);
  EXPECT_TRUE(usb.interface_claimed());
  AnswerWith(BindAnswer());
  ASSERT_EQ(link->UsbWrite(kPipeOut, bind.data(), 20), 1);
  EXPECT_EQ(ReadAnswer(*link), BindAnswer());
}

}  // namespace
}  // namespace korvelane::testing
