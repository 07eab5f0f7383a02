// SPDX-License-Identifier: GPL-3.0-or-later
// The socket link, held as the program holds it, against an instrument played by the test on
// the other end of the socket.
#include "transport/socket_link.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include "link_test_support.h"
#include "socket/unix_socket.h"
#include "support/temp_dir.h"
#include "transport/switchable_link.h"

namespace korvelane::testing {
namespace {

using namespace net;

class SocketLinkTest : public ::testing::Test {
 protected:
  SocketLinkTest() {
    transport::SocketLinkOptions quick;
    quick.read_timeout_ms = 300;
    quick.retry_interval_ms = 100;
    link.Replace(std::make_unique<transport::SocketLink>(path, quick));
    link.SetDeviceChangeNotifier([this](uintptr_t wparam, intptr_t) { heard.Add(wparam); });
  }
  ~SocketLinkTest() override {
    link.Replace(nullptr);
    CloseFd(peer);
    RemoveOwnSocket(path, listener);
    CloseFd(listener.fd);
  }

  // Takes the link's next connection on the instrument's side.
  void Accept() {
    ASSERT_TRUE(WaitFor(listener.fd, POLLIN, After(5000)) & POLLIN);
    CloseFd(peer);
    peer = accept4(listener.fd, nullptr, nullptr, SOCK_CLOEXEC);
    ASSERT_GE(peer, 0);
  }
  void Answer(const Bytes& answer) {
    ASSERT_TRUE(SendAll(peer, answer.data(), answer.size(), After(5000)));
  }

  TempDir dir;
  const std::string path = dir.File("dso.sock");
  std::string error;
  UnixListener listener = ListenUnix(path, error);
  int peer = -1;
  Notifications heard;  // outlives the link, whose thread reports to it
  transport::SwitchableLink link;
  const Bytes bind = RequestBytes(BuildBindRequest);
  const Bytes bind_answer = MakeMessage(OP_BIND, Body(4, {0, 2}));
};

TEST_F(SocketLinkTest, NoAnswerPassesForAnotherAndOnlyTimeOrALostInstrumentEndsARead) {
  ASSERT_EQ(link.UsbOpen(0), 1);
  Accept();
  // No answer within the link's 300 ms: the read fails, the link stays open; the answer that
  // comes later is dropped by the next request.
  ASSERT_EQ(Write(link, bind), 1);
  EXPECT_TRUE(ReadAnswer(link).empty());
  EXPECT_EQ(link.UsbIsOpen(), 1) << "a late answer is no unplugging";
  MessageBuffer got{};
  Answer(bind_answer);
  const Bytes channel = MakeMessage(OP_WAVE_DATA, Body(4184, {0, WD_CH1_ALL}));
  ASSERT_EQ(Write(link, bind), 1);
  Answer(channel);
  EXPECT_EQ(ReadAnswer(link), channel);
  EXPECT_EQ(link.UsbRead(kPipeIn, got.data(), kHeaderSize), 0) << "the answer was read whole";

  // The rest of an answer whose header alone was read goes the same way.
  ASSERT_EQ(Write(link, bind), 1);
  Answer(channel);
  ASSERT_EQ(link.UsbRead(kPipeIn, got.data(), kHeaderSize), 1);
  ASSERT_EQ(Write(link, bind), 1);
  Answer(bind_answer);
  EXPECT_EQ(ReadAnswer(link), bind_answer);

  // A read longer than the message fails at once instead of waiting for more.
  ASSERT_EQ(Write(link, bind), 1);
  Answer(bind_answer);
  EXPECT_EQ(link.UsbRead(kPipeIn, got.data(), kHeaderSize), 1);
  EXPECT_EQ(link.UsbRead(kPipeIn, got.data(), 64), 0);
  EXPECT_TRUE(heard.none());

  // A read given more time than the link's own takes a late answer.
  ASSERT_EQ(Write(link, bind), 1);
  std::thread late([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Answer(bind_answer);
  });
  EXPECT_EQ(link.UsbReadTimeoutMs(), 300);
  EXPECT_EQ(link.UsbRead(kPipeIn, got.data(), kHeaderSize), 0) << "the link's own 300 ms";
  EXPECT_EQ(link.UsbReadWithin(kPipeIn, got.data(), kHeaderSize, 20000), 1);
  EXPECT_EQ(link.UsbReadWithin(kPipeIn, got.data(), 20, 20000), 1);
  late.join();
  EXPECT_EQ(Bytes(got.begin(), got.begin() + 20), bind_answer);

  // A lost instrument ends a read given minutes at once.
  ASSERT_EQ(Write(link, bind), 1);
  std::thread closer([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::shutdown(peer, SHUT_RDWR);
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link.UsbReadWithin(kPipeIn, got.data(), kHeaderSize, 600'000), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
  closer.join();
  EXPECT_EQ(link.UsbIsOpen(), 0);

  // The link connects again by itself; until the program has handled that, the loss it has
  // been told of holds.
  ASSERT_TRUE(heard.WaitFor(kDeviceRemoveComplete));
  link.UsbDeviceChange(kDeviceRemoveComplete, 0);
  Accept();
  ASSERT_TRUE(heard.WaitFor(kDeviceArrival));
  EXPECT_EQ(link.UsbIsOpen(), 0);
  link.UsbDeviceChange(kDeviceArrival, 0);
  EXPECT_EQ(link.UsbIsOpen(), 1);
  ASSERT_EQ(Write(link, bind), 1);
  Answer(bind_answer);
  EXPECT_EQ(ReadAnswer(link), bind_answer);
}

}  // namespace
}  // namespace korvelane::testing
