// SPDX-License-Identifier: GPL-3.0-or-later
#include "transport/socket_link.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstring>

#include "core/common/byte_view.h"
#include "core/protocol/frame.h"
#include "socket/unix_socket.h"

namespace korvelane::transport {
namespace {

using net::After;
using net::CloseFd;
using net::SteadyTime;

constexpr short kHangUp = POLLRDHUP | POLLHUP | POLLERR | POLLNVAL;

}  // namespace

SocketLink::SocketLink(std::string path, SocketLinkOptions options)
    : path_(std::move(path)), options_(options) {}

SocketLink::~SocketLink() {
  UsbClose();
}

int SocketLink::ConnectSettled() const {
  int fd = net::ConnectUnix(path_);
  // A server that cannot serve us (busy with another client) closes at once.
  if (fd >= 0 && (net::WaitFor(fd, POLLRDHUP, After(options_.settle_ms)) & kHangUp))
    CloseFd(fd);
  return fd;
}

int SocketLink::UsbOpen(uintptr_t) {
  if (!watcher_.joinable()) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
      return 0;
    wake_read_ = fds[0];
    wake_write_ = fds[1];
    const int fd = ConnectSettled();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      fd_ = fd;
      connected_ = fd >= 0;
      pending_.clear();
    }
    stop_ = false;
    watcher_ = std::thread(&SocketLink::Watch, this);
  }
  std::lock_guard<std::mutex> lock(mutex_);
  removal_seen_ = false;
  return UsableLocked() ? 1 : 0;
}

void SocketLink::UsbClose() {
  if (watcher_.joinable()) {
    stop_ = true;
    Wake();
    watcher_.join();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  CloseFd(fd_);
  connected_ = false;
  pending_.clear();
  CloseFd(wake_read_);
  CloseFd(wake_write_);
}

void SocketLink::UsbDeviceChange(uintptr_t wparam, intptr_t) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (wparam == kDeviceRemoveComplete)
    removal_seen_ = true;
  else if (wparam == kDeviceArrival)
    removal_seen_ = false;
}

int SocketLink::UsbIsOpen() {
  std::lock_guard<std::mutex> lock(mutex_);
  return UsableLocked() ? 1 : 0;
}

bool SocketLink::UsableLocked() const {
  return fd_ >= 0 && connected_ && !removal_seen_;
}

void SocketLink::LoseLocked() {
  connected_ = false;
  pending_.clear();
  Wake();
}

size_t SocketLink::MessageSizeLocked() const {
  return kHeaderSize + MsgLen(ByteView(pending_.data(), pending_.size()));
}

int SocketLink::UsbWrite(int pipe, const uint8_t* buffer, uint32_t count) {
  std::lock_guard<std::mutex> lock(mutex_);
  pending_.clear();
  if (pipe != kPipeOut || !buffer || !UsableLocked())
    return 0;
  // Whatever came unasked (the rest of an answer not read, or one that came too late) goes.
  uint8_t scrap[4096];
  for (ssize_t n = 1; n > 0;) {
    n = net::ReceiveWithin(fd_, scrap, sizeof scrap, SteadyTime{});
    if (n < 0) {
      LoseLocked();
      return 0;
    }
  }
  if (!net::SendAll(fd_, buffer, count, After(options_.write_timeout_ms))) {
    LoseLocked();  // a request sent in part would garble the next one
    return 0;
  }
  return 1;
}

int SocketLink::UsbRead(int pipe, uint8_t* buffer, uint32_t count) {
  return UsbReadWithin(pipe, buffer, count, options_.read_timeout_ms);
}

int SocketLink::UsbReadWithin(int pipe, uint8_t* buffer, uint32_t count, int timeout_ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (pipe != kPipeIn || !buffer || !UsableLocked())
    return 0;
  const SteadyTime deadline = After(timeout_ms);
  while (pending_.size() < count) {
    // Never read past the message: first its header, then as much as it holds.
    size_t goal = count;
    if (pending_.size() >= kHeaderSize) {
      if (count > MessageSizeLocked())
        return 0;
    } else {
      goal = std::min<size_t>(count, kHeaderSize);
    }
    const size_t have = pending_.size();
    pending_.resize(goal);
    const ssize_t n = net::ReceiveWithin(fd_, pending_.data() + have, goal - have, deadline);
    pending_.resize(have + static_cast<size_t>(n > 0 ? n : 0));
    if (n < 0) {
      LoseLocked();
      return 0;
    }
    if (n == 0)
      return 0;  // no complete answer in time
  }
  std::memcpy(buffer, pending_.data(), count);
  if (pending_.size() >= kHeaderSize && count >= MessageSizeLocked())
    pending_.clear();
  return 1;
}

void SocketLink::SetDeviceChangeNotifier(DeviceChangeNotifier notifier) {
  std::lock_guard<std::mutex> lock(mutex_);
  notifier_ = std::move(notifier);
}

void SocketLink::Notify(uintptr_t wparam) {
  DeviceChangeNotifier notifier;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    notifier = notifier_;
  }
  if (notifier)
    notifier(wparam, 0);
}

void SocketLink::Wake() {
  if (wake_write_ >= 0) {
    const uint8_t byte = 1;
    [[maybe_unused]] const ssize_t n = write(wake_write_, &byte, 1);
  }
}

void SocketLink::SleepOrWake(int milliseconds) {
  pollfd p{wake_read_, POLLIN, 0};
  if (poll(&p, 1, milliseconds) > 0) {
    uint8_t scrap[64];
    while (read(wake_read_, scrap, sizeof scrap) > 0) {
    }
  }
}

void SocketLink::Watch() {
  while (!stop_) {
    int fd;
    bool connected;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      fd = fd_;
      connected = connected_;
    }
    if (fd < 0) {
      const int fresh = ConnectSettled();
      if (fresh < 0) {
        SleepOrWake(options_.retry_interval_ms);
        continue;
      }
      {
        std::lock_guard<std::mutex> lock(mutex_);
        fd_ = fresh;
        connected_ = true;
        pending_.clear();
      }
      Notify(kDeviceArrival);
      continue;
    }
    bool hung_up = false;
    if (connected) {
      // Only a hang-up is watched; the answers are read by UsbRead.
      pollfd p[2] = {{fd, POLLRDHUP, 0}, {wake_read_, POLLIN, 0}};
      if (poll(p, 2, -1) < 0)
        continue;
      hung_up = p[0].revents & kHangUp;
      if (p[1].revents)
        SleepOrWake(0);
      if (stop_)
        break;
    }
    bool lost = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (fd_ == fd && (hung_up || !connected_)) {
        CloseFd(fd_);
        connected_ = false;
        pending_.clear();
        lost = true;
      }
    }
    if (lost)
      Notify(kDeviceRemoveComplete);
  }
}

}  // namespace korvelane::transport
