// SPDX-License-Identifier: GPL-3.0-or-later
// The libusb link against an instrument on the emulated USB bus.
#include <thread>

#include "support/device_world.h"
#include "support/log_world.h"

#include "usb_world.h"

namespace korvelane::testing {
namespace {

Bytes BindAnswer() {
  return MakeMessage(OP_BIND, Body(4, {0, 2}));
}

// The device comes first and goes last: libusb must be gone before the testbed.
class UsbLinkTest : public LogWorld {
 protected:
  UsbLinkTest() {
    link->SetDeviceChangeNotifier([this](uintptr_t wparam, intptr_t) { heard.Add(wparam); });
  }
  ~UsbLinkTest() override { link.reset(); }

  // Waits for the notification `wparam` and hands it to the link, as the main window does on
  // its own thread.
  bool Deliver(uintptr_t wparam) {
    if (!heard.WaitFor(wparam))
      return false;
    link->UsbDeviceChange(wparam, 0);
    return true;
  }
  // Every request is answered with `answer`, cut into writes of `cut` (and the rest).
  void AnswerWith(const Bytes& answer, std::vector<size_t> cut = {}) {
    usb.SetOutHandler([this, answer, cut](const Bytes&) { usb.SendInPieces(answer, cut); });
  }

  EmulatedUsbDevice usb;
  Notifications heard;
  std::unique_ptr<transport::LibUsbLink> link =
      std::make_unique<transport::LibUsbLink>(UsbIds{0xf055, 0x0d50}, debug_log, QuickUsbOptions());
};

TEST_F(UsbLinkTest, OpensClaimsAndReadsTheWholeAnswerHoweverTheInstrumentCutsIt) {
  ASSERT_TRUE(usb.Plug());
  ASSERT_EQ(link->UsbOpen(0), 1);
  EXPECT_TRUE(usb.interface_claimed());

  const Bytes answer = MakeMessage(OP_WAVE_DATA, ChannelBody(WD_CH1_ALL, 4000));
  const Bytes request = RequestBytes(BuildParamsRequest);
  Bytes surplus = BindAnswer();
  surplus.insert(surplus.end(), 600, 0xEE);
  struct Row {
    Bytes sent;
    std::vector<size_t> cut;
    Bytes read;
  };
  // In one write; in odd pieces; at a packet edge; with bytes past the message in the same
  // write, which are not taken for the next answer.
  const Row rows[] = {{answer, {}, answer},
                      {answer, {1, 15, 700, 3}, answer},
                      {answer, {511, 2}, answer},
                      {surplus, {}, BindAnswer()},
                      {answer, {}, answer}};
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.cut) + " of " + std::to_string(row.sent.size()));
    AnswerWith(row.sent, row.cut);
    ASSERT_EQ(Write(*link, request), 1);
    EXPECT_EQ(usb.out_transfers().back(), request) << "the request goes whole, in one transfer";
    EXPECT_EQ(ReadAnswer(*link), row.read);
  }
  EXPECT_EQ(usb.out_transfers().size(), std::size(rows));

  link->UsbClose();
  EXPECT_EQ(link->UsbIsOpen(), 0);
  EXPECT_FALSE(usb.interface_claimed());
}

TEST_F(UsbLinkTest, TimeOutsAndOversizeHeadersFailTheReadAndTheNextExchangeStartsAfresh) {
  ASSERT_TRUE(usb.Plug());
  ASSERT_EQ(link->UsbOpen(0), 1);
  const Bytes bind = RequestBytes(BuildBindRequest);
  const Bytes params_answer = MakeMessage(OP_WAVE_DATA, Body(64, {0, WD_PARAMS}));

  // No answer within the time-out: the read fails; the answer that comes later, in two
  // pieces, is drained whole and not taken for the answer to the next request.
  ASSERT_EQ(Write(*link, bind), 1);
  EXPECT_TRUE(ReadAnswer(*link).empty());
  EXPECT_TRUE(Logged("WARNING:USB读取超时"));
  usb.SendInPieces(BindAnswer(), {8});
  AnswerWith(params_answer);
  ASSERT_EQ(Write(*link, bind), 1);
  EXPECT_EQ(ReadAnswer(*link), params_answer);

  // A header that announces more than any message holds fails the read without waiting.
  Bytes huge = BindAnswer();
  huge[8] = 0x7F;
  AnswerWith(huge);
  ASSERT_EQ(Write(*link, bind), 1);
  EXPECT_TRUE(ReadAnswer(*link).empty());
  EXPECT_TRUE(Logged("WARNING:收到的USB信息包长度 2130706436 超出上限"));

  AnswerWith(params_answer);
  ASSERT_EQ(Write(*link, bind), 1);
  EXPECT_EQ(ReadAnswer(*link), params_answer);
  EXPECT_EQ(link->UsbIsOpen(), 1);

  // A read given more time than the link's own takes an answer that comes later.
  ASSERT_EQ(link->UsbReadTimeoutMs(), 400);
  usb.SetOutHandler([](const Bytes&) {});
  ASSERT_EQ(Write(*link, bind), 1);
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
  ASSERT_EQ(Write(*link, bind), 1);
  const int drained = usb.in_submits();  // the stale answer looked for before the request
  std::thread puller([this, drained] {
    WaitUntil([this, drained] { return usb.in_submits() > drained; });
    usb.Unplug();
  });
  MessageBuffer buffer{};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link->UsbReadWithin(kPipeIn, buffer.data(), kHeaderSize, 600'000), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
  puller.join();
  EXPECT_TRUE(Logged("WARNING:USB仪器已断开，读取失败"));
  EXPECT_FALSE(Logged("超时"));
  EXPECT_EQ(link->UsbIsOpen(), 0);
  ASSERT_TRUE(Deliver(kDeviceRemoveComplete));
  EXPECT_EQ(Write(*link, bind), 0);
  EXPECT_EQ(usb.out_transfers().size(), 1u);

  // Plugged in again, at another address: open and claimed on the arrival alone.
  ASSERT_TRUE(usb.Plug());
  EXPECT_NE(usb.devnode(), first_node);
  ASSERT_TRUE(Deliver(kDeviceArrival));
  EXPECT_EQ(link->UsbIsOpen(), 1);
  EXPECT_TRUE(usb.interface_claimed());
  AnswerWith(BindAnswer());
  ASSERT_EQ(Write(*link, bind), 1);
  EXPECT_EQ(ReadAnswer(*link), BindAnswer());
}

}  // namespace
}  // namespace korvelane::testing
