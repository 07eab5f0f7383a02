// SPDX-License-Identifier: GPL-3.0-or-later
#include "socket/unix_socket.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

#include "support/temp_dir.h"

namespace korvelane::net {
namespace {

using korvelane::testing::ReadFileText;

TEST(ListenUnix, TakesOverOnlyASocketLeftBehindAndRemovesOnlyItsOwn) {
  korvelane::testing::TempDir dir;
  std::string error;
  const std::string file = dir.File("notes.txt");
  std::ofstream(file) << "keep me";
  EXPECT_LT(ListenUnix(file, error).fd, 0);
  EXPECT_EQ(error, file + " exists and is not a socket");
  EXPECT_EQ(ReadFileText(file), "keep me");
  EXPECT_LT(ListenUnix(dir.File(std::string(108, 'x')), error).fd, 0);
  EXPECT_EQ(error, "the socket path must be 1 to 107 bytes long");

  const std::string path = dir.File("dso.sock");
  UnixListener first = ListenUnix(path, error);
  ASSERT_GE(first.fd, 0) << error;
  EXPECT_LT(ListenUnix(path, error).fd, 0) << "a live server's socket";
  EXPECT_EQ(error, path + " is in use by a running server");

  // Its socket file removed by hand, a second server listens there; the first one's clean-up
  // leaves the second one's socket alone.
  unlink(path.c_str());
  UnixListener second = ListenUnix(path, error);
  ASSERT_GE(second.fd, 0) << error;
  RemoveOwnSocket(path, first);
  int probe = ConnectUnix(path);
  EXPECT_GE(probe, 0);
  CloseFd(probe);
  // A server gone without removing its socket file: the next one takes it over.
  CloseFd(second.fd);
  UnixListener third = ListenUnix(path, error);
  ASSERT_GE(third.fd, 0) << error;
  RemoveOwnSocket(path, third);
  EXPECT_LT(ConnectUnix(path), 0);
  CloseFd(third.fd);
  CloseFd(first.fd);
}

// Its time-out is what the socket link's time-outs rest on, and tested there.
TEST(ReceiveWithin, GivesWhatCameAndTellsAClosedPeer) {
  int fds[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
  uint8_t buffer[8] = {};
  const uint8_t sent[3] = {1, 2, 3};
  ASSERT_TRUE(SendAll(fds[1], sent, sizeof sent, After(1000)));
  EXPECT_EQ(ReceiveWithin(fds[0], buffer, 2, After(1000)), 2);
  EXPECT_EQ(ReceiveWithin(fds[0], buffer + 2, sizeof buffer - 2, SteadyTime{}), 1);
  EXPECT_EQ(buffer[2], 3);
  CloseFd(fds[1]);
  EXPECT_EQ(ReceiveWithin(fds[0], buffer, sizeof buffer, After(1000)), -1);
  EXPECT_FALSE(SendAll(fds[0], sent, sizeof sent, After(1000))) << "nobody takes it";
  CloseFd(fds[0]);
}

}  // namespace
}  // namespace korvelane::net
