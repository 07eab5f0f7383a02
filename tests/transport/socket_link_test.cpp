#include "transport/socket_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "core/protocol/frame.h"
#include "sim_process.h"
#include "support/temp_dir.h"

namespace korvelane::transport {
namespace {

using korvelane::testing::Notifications;
using korvelane::testing::SimProcess;
using korvelane::testing::WaitUntil;

SocketLinkOptions Quick() {
  SocketLinkOptions options;
  options.read_timeout_ms = 300;
  options.retry_interval_ms = 100;
  return options;
}

class SocketLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    link.SetDeviceChangeNotifier([this](uintptr_t wparam, intptr_t) { heard.Add(wparam); });
  }

  int Write(void (*build)(MessageBuffer&)) {
    build(request);
    return link.UsbWrite(kPipeOut, request.data(), static_cast<uint32_t>(RequestSize(request)));
  }

  // The program's way of reading: the header, then the whole message. Returns the body size,
  // or -1.
  long ReadAnswer() {
    if (!link.UsbRead(kPipeIn, answer.data(), kHeaderSize))
      return -1;
    const uint32_t size = MsgLen(ByteView(answer.data(), kHeaderSize)) + kHeaderSize;
    if (!link.UsbRead(kPipeIn, answer.data(), size))
      return -1;
    return static_cast<long>(size - kHeaderSize);
  }

  // Bind, then a parameter fetch; true when both succeed.
  bool BindAndFetch() {
    if (!Write(BuildBindRequest) || ReadAnswer() != 4 || answer[kOffsetOperationId] != OP_BIND ||
        answer[kHeaderSize] != 0)
      return false;
    return Write(BuildParamsRequest) && ReadAnswer() == 64 && answer[kHeaderSize] == 0;
  }

  korvelane::testing::TempDir dir;
  const std::string socket = dir.File("dso.sock");
  Notifications heard;  // outlives the link, whose thread reports to it
  SocketLink link{socket, Quick()};
  SimProcess sim;
  MessageBuffer request{};
  MessageBuffer answer{};
};

TEST_F(SocketLinkTest, BindsAndFetchesFromASimProcess) {
  ASSERT_TRUE(sim.Serve(socket));
  ASSERT_EQ(link.UsbOpen(0), 1);
  EXPECT_EQ(link.UsbIsOpen(), 1);
  ASSERT_TRUE(BindAndFetch());
  EXPECT_EQ(answer[kHeaderSize + 4], 1) << "RUN/STOP lamp: running";

  // Bytes left unread are discarded by the next request.
  ASSERT_EQ(Write(BuildBindRequest), 1);
  ASSERT_EQ(link.UsbRead(kPipeIn, answer.data(), kHeaderSize), 1);
  BuildChannelRequest(request, WD_CH1_ALL, 1);
  ASSERT_EQ(link.UsbWrite(kPipeOut, request.data(), 20), 1);
  EXPECT_EQ(ReadAnswer(), 4184);
  EXPECT_EQ(answer[kHeaderSize + 1], WD_CH1_ALL);
  // A read longer than the message fails at once instead of waiting for more.
  Write(BuildBindRequest);
  EXPECT_EQ(link.UsbRead(kPipeIn, answer.data(), kHeaderSize), 1);
  EXPECT_EQ(link.UsbRead(kPipeIn, answer.data(), 64), 0);
  EXPECT_TRUE(heard.seen().empty());
}

TEST_F(SocketLinkTest, KillIsAnUnplugAndRestartIsAPlugIn) {
  ASSERT_TRUE(sim.Serve(socket));
  ASSERT_EQ(link.UsbOpen(0), 1);
  ASSERT_TRUE(BindAndFetch());

  sim.Kill(SIGKILL);
  ASSERT_TRUE(heard.WaitFor(kDeviceRemoveComplete));
  link.UsbDeviceChange(kDeviceRemoveComplete, 0);
  EXPECT_EQ(link.UsbIsOpen(), 0);
  EXPECT_EQ(Write(BuildBindRequest), 0);

  // The killed process left its socket file; the new one takes the path over.
  ASSERT_TRUE(sim.Serve(socket));
  ASSERT_TRUE(heard.WaitFor(kDeviceArrival));
  link.UsbDeviceChange(kDeviceArrival, 0);
  EXPECT_EQ(link.UsbIsOpen(), 1);
  EXPECT_TRUE(BindAndFetch());
  EXPECT_EQ(heard.seen(), (std::vector<uintptr_t>{kDeviceRemoveComplete, kDeviceArrival}));
}

TEST_F(SocketLinkTest, OpeningBeforeTheInstrumentRunsWaitsForIt) {
  EXPECT_EQ(link.UsbOpen(0), 0);
  EXPECT_EQ(Write(BuildBindRequest), 0);
  ASSERT_TRUE(sim.Serve(socket));
  ASSERT_TRUE(heard.WaitFor(kDeviceArrival));
  EXPECT_EQ(link.UsbIsOpen(), 1);
  EXPECT_TRUE(BindAndFetch());
  link.UsbClose();
  EXPECT_EQ(link.UsbIsOpen(), 0);
}

TEST_F(SocketLinkTest, AMissingAnswerFailsTheReadInTime) {
  ASSERT_TRUE(sim.Serve(socket, {"--fault", "drop"}));
  ASSERT_EQ(link.UsbOpen(0), 1);
  Write(BuildBindRequest);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link.UsbRead(kPipeIn, answer.data(), kHeaderSize), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(link.UsbIsOpen(), 1) << "a late answer is no unplugging";
  EXPECT_TRUE(BindAndFetch());
}

TEST_F(SocketLinkTest, UnplugFaultIsSeenAndTheInstrumentComesBack) {
  ASSERT_TRUE(sim.Serve(socket, {"--fault", "unplug-after:2"}));
  ASSERT_EQ(link.UsbOpen(0), 1);
  ASSERT_TRUE(BindAndFetch());
  Write(BuildParamsRequest);
  EXPECT_EQ(ReadAnswer(), -1);
  ASSERT_TRUE(heard.WaitFor(kDeviceRemoveComplete));
  ASSERT_TRUE(heard.WaitFor(kDeviceArrival));
  EXPECT_EQ(link.UsbIsOpen(), 1);
  Write(BuildParamsRequest);
  EXPECT_EQ(ReadAnswer(), 64);
  EXPECT_NE(answer[kHeaderSize], 0) << "the instrument came back unbound";
  EXPECT_TRUE(BindAndFetch());
}

TEST_F(SocketLinkTest, OneConnectionAtATimeAndTheNextAfterADisconnect) {
  ASSERT_TRUE(sim.Serve(socket));
  ASSERT_EQ(link.UsbOpen(0), 1);
  ASSERT_TRUE(BindAndFetch());
  Notifications second_heard;
  SocketLink second(socket, Quick());
  second.SetDeviceChangeNotifier([&](uintptr_t w, intptr_t) { second_heard.Add(w); });
  EXPECT_EQ(second.UsbOpen(0), 0) << "turned away while the first is served";
  link.UsbClose();
  ASSERT_TRUE(second_heard.WaitFor(kDeviceArrival));
  EXPECT_EQ(second.UsbIsOpen(), 1);
  EXPECT_EQ(second_heard.seen(), std::vector<uintptr_t>{kDeviceArrival});
}

TEST(SimProcess, StopSignalsRemoveTheSocketAndBadStartsFail) {
  korvelane::testing::TempDir dir;
  for (int signal : {SIGTERM, SIGINT}) {
    SimProcess sim;
    const std::string socket = dir.File("stop.sock");
    ASSERT_TRUE(sim.Serve(socket, {"--verbose"}));
    sim.Signal(signal);
    EXPECT_EQ(sim.Wait(), 0);
    EXPECT_FALSE(korvelane::testing::IsSocket(socket));
  }
  // A file that is no socket is left alone.
  const std::string file = dir.File("notes.txt");
  std::ofstream(file) << "keep me";
  SimProcess on_file;
  ASSERT_TRUE(on_file.Start({"--socket", file}));
  EXPECT_EQ(on_file.Wait(), 1);
  EXPECT_EQ(korvelane::testing::ReadFileText(file), "keep me");
  // A live server's socket is not taken over.
  SimProcess first, second;
  ASSERT_TRUE(first.Serve(dir.File("live.sock")));
  ASSERT_TRUE(second.Start({"--socket", dir.File("live.sock")}));
  EXPECT_EQ(second.Wait(), 1);
  SimProcess bad;
  ASSERT_TRUE(bad.Start({"--socket", dir.File("x.sock"), "--fault", "explode"}));
  EXPECT_EQ(bad.Wait(), 2);
}

}  // namespace
}  // namespace korvelane::transport
