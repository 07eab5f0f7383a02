// SPDX-License-Identifier: GPL-3.0-or-later
#include "socket/unix_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace korvelane::net {
namespace {

bool MakeAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path)
    return false;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  return true;
}

}  // namespace

SteadyTime After(int milliseconds) {
  return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

int MillisecondsLeft(SteadyTime deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return static_cast<int>(std::clamp<long long>(left.count(), 0, 1'000'000));
}

int ConnectUnix(const std::string& path) {
  sockaddr_un address;
  if (!MakeAddress(path, address))
    return -1;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return -1;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    CloseFd(fd);
  return fd;
}

UnixListener ListenUnix(const std::string& path, std::string& error) {
  UnixListener listener;
  sockaddr_un address;
  if (!MakeAddress(path, address)) {
    error = "the socket path must be 1 to " + std::to_string(sizeof address.sun_path - 1) +
            " bytes long";
    return listener;
  }
  struct stat st {};
  if (lstat(path.c_str(), &st) == 0) {
    if (!S_ISSOCK(st.st_mode)) {
      error = path + " exists and is not a socket";
      return listener;
    }
    int probe = ConnectUnix(path);
    if (probe >= 0) {
      CloseFd(probe);
      error = path + " is in use by a running server";
      return listener;
    }
    unlink(path.c_str());  // left behind by a server that is gone
  }
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, 4) != 0 || lstat(path.c_str(), &st) != 0) {
    error = path + ": " + std::strerror(errno);
    CloseFd(fd);
    return listener;
  }
  listener.fd = fd;
  listener.device = static_cast<uint64_t>(st.st_dev);
  listener.inode = static_cast<uint64_t>(st.st_ino);
  return listener;
}

void RemoveOwnSocket(const std::string& path, const UnixListener& listener) {
  struct stat st {};
  if (listener.fd >= 0 && lstat(path.c_str(), &st) == 0 &&
      static_cast<uint64_t>(st.st_dev) == listener.device &&
      static_cast<uint64_t>(st.st_ino) == listener.inode)
    unlink(path.c_str());
}

int WaitFor(int fd, short events, SteadyTime deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    const int n = poll(&p, 1, MillisecondsLeft(deadline));
    if (n > 0)
      return p.revents;
    if (n == 0 || errno != EINTR)
      return 0;
  }
}

bool SendAll(int fd, const uint8_t* data, size_t size, SteadyTime deadline) {
  while (size > 0) {
    const ssize_t n = send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      data += n;
      size -= static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      const int revents = WaitFor(fd, POLLOUT, deadline);
      if (!(revents & POLLOUT) || (revents & (POLLERR | POLLHUP)))
        return false;
      continue;
    }
    return false;
  }
  return true;
}

ssize_t ReceiveWithin(int fd, uint8_t* data, size_t size, SteadyTime deadline) {
  for (;;) {
    const ssize_t n = recv(fd, data, size, MSG_DONTWAIT);
    if (n > 0)
      return n;
    if (n < 0 && errno == EINTR)
      continue;
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
      return -1;
    // A hang-up wakes the wait too; the next recv then tells it.
    if (!WaitFor(fd, POLLIN, deadline))
      return 0;
  }
}

void CloseFd(int& fd) {
  if (fd >= 0)
    close(fd);
  fd = -1;
}

}  // namespace korvelane::net
