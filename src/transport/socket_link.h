// SPDX-License-Identifier: GPL-3.0-or-later
// A UsbLink to an instrument in another process, over a Unix-domain stream socket. The bytes on
// the socket are the protocol messages themselves: each request is written whole, the
// instrument writes one whole answer for it.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/protocol/usb_link.h"

namespace korvelane::transport {

struct SocketLinkOptions {
  int read_timeout_ms = 1000;   // a read with no complete answer by then fails
  int write_timeout_ms = 1000;  // a request not taken by then fails and drops the connection
  int retry_interval_ms = 500;  // connection attempts while the instrument is away
  int settle_ms = 50;  // a connection the peer closes within this time (busy) does not count
};

// After UsbOpen a background thread watches the connection. When the peer closes, the link
// reports kDeviceRemoveComplete and UsbIsOpen turns 0; it then tries to connect again every
// retry interval and, once connected, reports kDeviceArrival with UsbIsOpen non-zero, without
// a further UsbOpen. If UsbOpen finds nobody listening it returns 0 and the thread goes on
// trying in the same way.
//
// The notifier is called on that background thread; it must not call UsbClose or destroy the
// link, and should hand the notification to the user-interface thread. After UsbClose returns
// no notification comes. The six operations are for one thread (the user-interface thread).
//
// Once an unplugging has been handed to UsbDeviceChange, UsbIsOpen stays 0 until a plugging-in
// is handed over too (or UsbOpen is called), so the program sees every loss even when the peer
// is back before the first notification is handled.
class SocketLink : public UsbLink {
 public:
  explicit SocketLink(std::string path, SocketLinkOptions options = {});
  ~SocketLink() override;
  SocketLink(const SocketLink&) = delete;
  SocketLink& operator=(const SocketLink&) = delete;

  int UsbOpen(uintptr_t window) override;
  void UsbClose() override;
  void UsbDeviceChange(uintptr_t wparam, intptr_t lparam) override;
  int UsbIsOpen() override;
  // Reads give the answer from its start: 16 bytes the header, msg_len + 16 the whole message,
  // which is then consumed. A read longer than the message fails at once.
  int UsbRead(int pipe, uint8_t* buffer, uint32_t count) override;
  int UsbReadWithin(int pipe, uint8_t* buffer, uint32_t count, int timeout_ms) override;
  int UsbReadTimeoutMs() const override { return options_.read_timeout_ms; }
  int UsbWrite(int pipe, const uint8_t* buffer, uint32_t count) override;
  void SetDeviceChangeNotifier(DeviceChangeNotifier notifier) override;

  const std::string& path() const { return path_; }

 private:
  bool UsableLocked() const;
  void LoseLocked();  // the connection failed; the watcher closes it and reports
  size_t MessageSizeLocked() const;
  int ConnectSettled() const;
  void Watch();
  void Wake();
  void SleepOrWake(int milliseconds);
  void Notify(uintptr_t wparam);

  const std::string path_;
  const SocketLinkOptions options_;

  mutable std::mutex mutex_;  // guards everything below but the thread and the stop flag
  int fd_ = -1;
  bool connected_ = false;
  bool removal_seen_ = false;
  std::vector<uint8_t> pending_;  // bytes of the answer being read
  DeviceChangeNotifier notifier_;

  std::thread watcher_;
  std::atomic<bool> stop_{false};
  int wake_read_ = -1;
  int wake_write_ = -1;
};

}  // namespace korvelane::transport
