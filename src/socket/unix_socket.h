// SPDX-License-Identifier: GPL-3.0-or-later
// Unix-domain stream sockets with bounded waits, for the socket link and korvelane-sim.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace korvelane::net {

using SteadyTime = std::chrono::steady_clock::time_point;

// Now plus `milliseconds`.
SteadyTime After(int milliseconds);

// Milliseconds from now until `deadline`, 0 once it has passed.
int MillisecondsLeft(SteadyTime deadline);

// A non-blocking, close-on-exec connection to `path`, or -1 (nobody listening, no such socket,
// a path too long for a socket address, or the listener's queue full).
int ConnectUnix(const std::string& path);

struct UnixListener {
  int fd = -1;          // -1 when listening failed
  uint64_t device = 0;  // identity of the socket file made
  uint64_t inode = 0;
};

// Listens on `path`. A socket file left behind by a server that is gone is replaced; a live
// server's socket, or a file that is no socket, is left alone and reported in `error`.
UnixListener ListenUnix(const std::string& path, std::string& error);

// Removes `path` if it is still the socket file that `listener` made.
void RemoveOwnSocket(const std::string& path, const UnixListener& listener);

// Waits for `events` (poll flags) on `fd` until the deadline; the poll revents, 0 on time-out.
int WaitFor(int fd, short events, SteadyTime deadline);

// Sends all bytes, waiting at most until the deadline; false on a failure or the time-out.
bool SendAll(int fd, const uint8_t* data, size_t size, SteadyTime deadline);

// Reads up to `size` (> 0) bytes, waiting until the deadline for the first of them: the count
// read, 0 when nothing came in time, -1 when the peer has closed or the connection failed.
ssize_t ReceiveWithin(int fd, uint8_t* data, size_t size, SteadyTime deadline);

void CloseFd(int& fd);

}  // namespace korvelane::net
