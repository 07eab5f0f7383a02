// The libusb link against an instrument on the emulated USB bus.
#include <dirent.h>

#include <chrono>
#include <thread>

#include "usb_world.h"

namespace korvelane::testing {
namespace {

using transport::LibUsbLink;
using transport::UsbIds;

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

int ThreadCount() {
  int count = 0;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(tasks))
      count += entry->d_name[0] != '.';
    closedir(tasks);
  }
  return count;
}

class UsbLinkTest : public ::testing::Test, protected UsbWorld {
 protected:
  // Every request is answered with `answer`, cut into writes of `cut` (and the rest).
  void AnswerWith(const Bytes& answer, std::vector<size_t> cut = {}) {
    usb.SetOutHandler([this, answer, cut](const Bytes&) { usb.SendInPieces(answer, cut); });
  }
};

TEST_F(UsbLinkTest, ReadsTheWholeAnswerHoweverTheInstrumentCutsIt) {
  ASSERT_TRUE(usb.Plug());
  ASSERT_EQ(link->UsbOpen(0), 1);
  EXPECT_EQ(link->UsbIsOpen(), 1);
  EXPECT_TRUE(usb.interface_claimed());

  const Bytes answer = ChannelAnswer();
  const Bytes request = RequestBytes(BuildParamsRequest);
  // In one write; the header alone first; in odd pieces; in whole packets; at a packet edge.
  const std::vector<std::vector<size_t>> cuts = {
      {}, {16}, {1, 15, 700, 3}, {512, 1024, 2048}, {4096}, {511, 2}};
  for (const auto& cut : cuts) {
    SCOPED_TRACE(::testing::PrintToString(cut));
    AnswerWith(answer, cut);
    ASSERT_EQ(link->UsbWrite(kPipeOut, request.data(), 20), 1);
    EXPECT_EQ(usb.out_transfers().back(), request) << "the request goes whole, in one transfer";
    EXPECT_EQ(ReadAnswer(*link), answer);
  }
  EXPECT_EQ(usb.out_transfers().size(), cuts.size());

  // A read longer than the message fails at once and leaves the message to be read.
  MessageBuffer buffer{};
  ASSERT_EQ(link->UsbWrite(kPipeOut, request.data(), 20), 1);
  ASSERT_EQ(link->UsbRead(kPipeIn, buffer.data(), kHeaderSize), 1);
  const int submits = usb.in_submits();
  EXPECT_EQ(link->UsbRead(kPipeIn, buffer.data(), static_cast<uint32_t>(answer.size() + 1)), 0);
  EXPECT_EQ(usb.in_submits(), submits);
  ASSERT_EQ(link->UsbRead(kPipeIn, buffer.data(), static_cast<uint32_t>(answer.size())), 1);
  EXPECT_TRUE(std::equal(answer.begin(), answer.end(), buffer.begin()));

  // Only pipe 7 writes and only pipe 8 reads.
  EXPECT_EQ(link->UsbWrite(kPipeIn, request.data(), 20), 0);
  EXPECT_EQ(link->UsbRead(kPipeOut, buffer.data(), kHeaderSize), 0);
  EXPECT_TRUE(usb.unknown_requests().empty());
}

TEST_F(UsbLinkTest, LateMalformedAndUntakenTrafficFailsCleanlyAndTheNextExchangeStartsAfresh) {
  ASSERT_TRUE(usb.Plug());
  ASSERT_EQ(link->UsbOpen(0), 1);
  const Bytes bind = RequestBytes(BuildBindRequest);
  const Bytes params = RequestBytes(BuildParamsRequest);
  const Bytes params_answer = MakeMessage(OP_WAVE_DATA, Body(64, {0, WD_PARAMS}));

  // No answer within the time-out: the read fails; the answer that comes later is not taken
  // for the answer to the next request.
  ASSERT_EQ(link->UsbWrite(kPipeOut, bind.data(), 20), 1);
  EXPECT_TRUE(ReadAnswer(*link).empty());
  EXPECT_TRUE(Logged("WARNING:USB读取超时"));
  EXPECT_GE(usb.discards(), 1) << "the waiting IN transfer is cancelled";
  usb.SendIn(BindAnswer());
  AnswerWith(params_answer);
  ASSERT_EQ(link->UsbWrite(kPipeOut, params.data(), 20), 1);
  EXPECT_EQ(ReadAnswer(*link), params_answer);
  EXPECT_EQ(usb.queued_in_bytes(), 0u);

  // Bytes past the end of the message are no part of it, nor of the next answer.
  Bytes trailing = BindAnswer();
  trailing.insert(trailing.end(), 10, 0xEE);
  AnswerWith(trailing);
  ASSERT_EQ(link->UsbWrite(kPipeOut, bind.data(), 20), 1);
  EXPECT_EQ(ReadAnswer(*link), BindAnswer());
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
  EXPECT_TRUE(Logged("WARNING:收到的USB信息包长度 2130706436 超出上限"));
  EXPECT_EQ(LogCount("USB读取超时"), 1);

  // A request the instrument does not take fails the write.
  usb.HoldOut(true);
  EXPECT_EQ(link->UsbWrite(kPipeOut, bind.data(), 20), 0);
  EXPECT_TRUE(Logged("WARNING:USB发送超时"));
  usb.HoldOut(false);
  AnswerWith(params_answer);
  ASSERT_EQ(link->UsbWrite(kPipeOut, params.data(), 20), 1);
  EXPECT_EQ(ReadAnswer(*link), params_answer);
  EXPECT_EQ(link->UsbIsOpen(), 1);
  EXPECT_TRUE(usb.unknown_requests().empty());
}

TEST(UsbLinkDriverTest, AKernelDriverIsDetachedForTheClaimAndGivenBackAtClose) {
  for (bool disconnect_claim : {true, false}) {
    SCOPED_TRACE(disconnect_claim ? "disconnect-and-claim" : "detach, then claim");
    UsbDeviceSetup setup;
    setup.kernel_driver = "usbtmc";
    setup.disconnect_claim = disconnect_claim;
    UsbWorld world(setup);
    ASSERT_TRUE(world.usb.Plug());
    EXPECT_TRUE(world.usb.kernel_driver_bound());
    ASSERT_EQ(world.link->UsbOpen(0), 1);
    EXPECT_FALSE(world.usb.kernel_driver_bound());
    EXPECT_TRUE(world.usb.interface_claimed());
    world.usb.SetOutHandler([&](const Bytes&) { world.usb.SendIn(BindAnswer()); });
    const Bytes bind = RequestBytes(BuildBindRequest);
    ASSERT_EQ(world.link->UsbWrite(kPipeOut, bind.data(), 20), 1);
    EXPECT_EQ(ReadAnswer(*world.link), BindAnswer());
    world.link->UsbClose();
    EXPECT_FALSE(world.usb.interface_claimed());
    EXPECT_TRUE(world.usb.kernel_driver_bound());
    EXPECT_TRUE(world.usb.unknown_requests().empty());
  }
}

TEST_F(UsbLinkTest, OpeningFailuresTellTheUserWhatToDo) {
  // No ids: the debug log says how to name the instrument.
  LibUsbLink unnamed(std::nullopt, debug_log);
  EXPECT_EQ(unnamed.UsbOpen(0), 0);
  EXPECT_EQ(unnamed.UsbIsOpen(), 0);
  EXPECT_TRUE(Logged("WARNING:没有指定USB仪器：请用 --device usb:VID:PID 启动本程序"));

  // Not plugged in: not found; plugged in later, it is opened on its arrival.
  EXPECT_EQ(link->UsbOpen(0), 0);
  EXPECT_TRUE(Logged("WARNING:没有找到USB仪器 f055:0d50"));
  ASSERT_TRUE(usb.Plug());
  ASSERT_TRUE(Deliver(kDeviceArrival));
  EXPECT_EQ(link->UsbIsOpen(), 1);

  // Another instrument's ids do not open this one.
  LibUsbLink other(UsbIds{0xf055, 0x0d51}, debug_log, QuickUsbOptions());
  EXPECT_EQ(other.UsbOpen(0), 0);
  EXPECT_TRUE(Logged("没有找到USB仪器 f055:0d51"));
  other.UsbClose();

  // No permission for the device node: the log names the udev rule file.
  link->UsbClose();
  usb.DenyAccess(true);
  EXPECT_EQ(link->UsbOpen(0), 0);
  usb.DenyAccess(false);
  EXPECT_TRUE(
      Logged("WARNING:没有打开USB仪器 f055:0d50 的权限：请把 udev 规则文件 "
             "60-korvelane.rules 安装到 /etc/udev/rules.d/"));
  EXPECT_EQ(link->UsbIsOpen(), 0);
  EXPECT_EQ(link->UsbOpen(0), 1);
}

TEST_F(UsbLinkTest, UnplugEndsThePendingReadAndPlugInReopensWithoutUsbOpen) {
  ASSERT_TRUE(usb.Plug());
  ASSERT_EQ(link->UsbOpen(0), 1);
  const std::string first_node = usb.devnode();
  const Bytes bind = RequestBytes(BuildBindRequest);

  // Pulled out while the link waits for an answer: the read ends for that reason.
  ASSERT_EQ(link->UsbWrite(kPipeOut, bind.data(), 20), 1);
  std::thread puller([this] {
    usb.WaitFor([this] { return usb.in_submits() > 0; }, kEventWaitMs);
    usb.Unplug();
  });
  MessageBuffer buffer{};
  EXPECT_EQ(link->UsbRead(kPipeIn, buffer.data(), kHeaderSize), 0);
  puller.join();
  EXPECT_TRUE(Logged("WARNING:USB仪器已断开，读取失败"));
  EXPECT_FALSE(Logged("超时"));
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
  usb.SetOutHandler([this](const Bytes&) { usb.SendIn(BindAnswer()); });
  ASSERT_EQ(link->UsbWrite(kPipeOut, bind.data(), 20), 1);
  EXPECT_EQ(ReadAnswer(*link), BindAnswer());
}

TEST_F(UsbLinkTest, CloseEndsEveryThreadAndNotification) {
  ASSERT_TRUE(usb.Plug());
  // One open and close first, so that the emulator's own helper threads, which start on first
  // use and stay, are counted in the baseline; the link's threads must all go with UsbClose.
  ASSERT_EQ(link->UsbOpen(0), 1);
  link->UsbClose();
  auto settled_count = [] {
    int count = ThreadCount();
    for (int i = 0; i < 50; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      const int now = ThreadCount();
      if (now == count)
        break;
      count = now;
    }
    return count;
  };
  const int threads = settled_count();
  ASSERT_EQ(link->UsbOpen(0), 1);
  EXPECT_GT(ThreadCount(), threads);
  link->UsbClose();
  EXPECT_EQ(link->UsbIsOpen(), 0);
  EXPECT_FALSE(usb.interface_claimed());
  EXPECT_EQ(settled_count(), threads);

  usb.Unplug();
  ASSERT_TRUE(usb.Plug());
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_TRUE(heard.seen().empty());

  // Closed is not broken: the link opens again.
  EXPECT_EQ(link->UsbOpen(0), 1);
}

}  // namespace
}  // namespace korvelane::testing
