// SPDX-License-Identifier: GPL-3.0-or-later
#include "transport/socket_link.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <thread>

#include "core/protocol/frame.h"
#include "sim_process.h"
#include "support/messages.h"
#include "support/temp_dir.h"
#include "transport/switchable_link.h"
#include "transport/unix_socket.h"

namespace korvelane::transport {
namespace {

using korvelane::testing::Notifications;
using korvelane::testing::SimProcess;

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

// Connecting, exchanging and a killed instrument are covered end to end; here the failures.
TEST_F(SocketLinkTest, AMissingAnswerFailsInTimeAndReadsPastTheMessageFailAtOnce) {
  ASSERT_TRUE(sim.Serve(socket, {"--fault", "drop"}));
  ASSERT_EQ(link.UsbOpen(0), 1);
  Write(BuildBindRequest);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link.UsbRead(kPipeIn, answer.data(), kHeaderSize), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(link.UsbIsOpen(), 1) << "a late answer is no unplugging";
  ASSERT_TRUE(BindAndFetch());

  // Bytes left unread are discarded by the next request.
  ASSERT_EQ(Write(BuildBindRequest), 1);
  ASSERT_EQ(link.UsbRead(kPipeIn, answer.data(), kHeaderSize), 1);
  BuildChannelRequest(request, WD_CH1_ALL, 1);
  ASSERT_EQ(link.UsbWrite(kPipeOut, request.data(), 20), 1);
  EXPECT_EQ(ReadAnswer(), 4184);
  // A read longer than the message fails at once instead of waiting for more.
  Write(BuildBindRequest);
  EXPECT_EQ(link.UsbRead(kPipeIn, answer.data(), kHeaderSize), 1);
  EXPECT_EQ(link.UsbRead(kPipeIn, answer.data(), 64), 0);
  EXPECT_TRUE(heard.seen().empty());
}

// A read given more time than the link's own time-out takes an answer that comes later, also
// through the switchable link the program holds.
TEST(SocketLinkRead, AReadGivenMoreTimeTakesALateAnswer) {
  korvelane::testing::TempDir dir;
  const std::string path = dir.File("slow.sock");
  std::string error;
  UnixListener listener = ListenUnix(path, error);
  ASSERT_GE(listener.fd, 0) << error;
  SwitchableLink link(std::make_unique<SocketLink>(path, Quick()));
  ASSERT_EQ(link.UsbOpen(0), 1);
  const SteadyTime soon = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  ASSERT_TRUE(WaitFor(listener.fd, POLLIN, soon) & POLLIN);
  int peer = accept4(listener.fd, nullptr, nullptr, SOCK_CLOEXEC);
  ASSERT_GE(peer, 0);

  MessageBuffer request{};
  BuildBindRequest(request);
  ASSERT_EQ(link.UsbWrite(kPipeOut, request.data(), static_cast<uint32_t>(RequestSize(request))),
            1);
  const korvelane::testing::Bytes answer =
      korvelane::testing::MakeMessage(OP_BIND, korvelane::testing::Body(4, {0, 2}));
  std::thread late([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    SendAll(peer, answer.data(), answer.size(),
            std::chrono::steady_clock::now() + std::chrono::seconds(5));
  });
  MessageBuffer got{};
  EXPECT_EQ(link.UsbReadTimeoutMs(), 300);
  EXPECT_EQ(link.UsbRead(kPipeIn, got.data(), kHeaderSize), 0) << "the link's own 300 ms";
  EXPECT_EQ(link.UsbReadWithin(kPipeIn, got.data(), kHeaderSize, 20000), 1);
  EXPECT_EQ(link.UsbReadWithin(kPipeIn, got.data(), static_cast<uint32_t>(answer.size()), 20000),
            1);
  late.join();
  EXPECT_TRUE(std::equal(answer.begin(), answer.end(), got.begin()));
  link.UsbClose();
  CloseFd(peer);
  RemoveOwnSocket(path, listener);
  CloseFd(listener.fd);
}

TEST_F(SocketLinkTest, AnInstrumentLostDuringALongReadEndsItAtOnce) {
  ASSERT_TRUE(sim.Serve(socket, {"--fault", "drop"}));
  ASSERT_EQ(link.UsbOpen(0), 1);
  EXPECT_EQ(link.UsbReadTimeoutMs(), 300);
  Write(BuildBindRequest);
  std::thread killer([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    sim.Kill(SIGKILL);
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link.UsbReadWithin(kPipeIn, answer.data(), kHeaderSize, 600'000), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
  killer.join();
  EXPECT_EQ(link.UsbIsOpen(), 0);
}

TEST(SimProcess, NeitherAFileThatIsNoSocketNorALiveServersSocketIsTakenOver) {
  korvelane::testing::TempDir dir;
  const std::string file = dir.File("notes.txt");
  std::ofstream(file) << "keep me";
  SimProcess on_file;
  ASSERT_TRUE(on_file.Start({"--socket", file}));
  EXPECT_EQ(on_file.Wait(), 1);
  EXPECT_EQ(korvelane::testing::ReadFileText(file), "keep me");
  SimProcess first, second;
  ASSERT_TRUE(first.Serve(dir.File("live.sock")));
  ASSERT_TRUE(second.Start({"--socket", dir.File("live.sock")}));
  EXPECT_EQ(second.Wait(), 1);
  EXPECT_TRUE(korvelane::testing::IsListening(dir.File("live.sock")));
}

}  // namespace
}  // namespace korvelane::transport
