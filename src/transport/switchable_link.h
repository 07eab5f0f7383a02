// SPDX-License-Identifier: GPL-3.0-or-later
// The link the program talks through, whose instrument can be changed while it runs: every
// operation goes to the link in place (none: nothing opens), and a new link takes the
// device-change notifier over.
#pragma once

#include <memory>

#include "core/protocol/usb_link.h"

namespace korvelane::transport {

class SwitchableLink : public UsbLink {
 public:
  explicit SwitchableLink(std::unique_ptr<UsbLink> link = nullptr);
  ~SwitchableLink() override;
  SwitchableLink(const SwitchableLink&) = delete;
  SwitchableLink& operator=(const SwitchableLink&) = delete;

  // Closes the link in place, from which no notification comes any more, and puts `link` there.
  void Replace(std::unique_ptr<UsbLink> link);
  UsbLink* current() { return link_.get(); }

  int UsbOpen(uintptr_t window) override { return link_ ? link_->UsbOpen(window) : 0; }
  void UsbClose() override;
  void UsbDeviceChange(uintptr_t wparam, intptr_t lparam) override;
  int UsbIsOpen() override { return link_ ? link_->UsbIsOpen() : 0; }
  int UsbRead(int pipe, uint8_t* buffer, uint32_t count) override {
    return link_ ? link_->UsbRead(pipe, buffer, count) : 0;
  }
  int UsbReadWithin(int pipe, uint8_t* buffer, uint32_t count, int timeout_ms) override {
    return link_ ? link_->UsbReadWithin(pipe, buffer, count, timeout_ms) : 0;
  }
  int UsbReadTimeoutMs() const override { return link_ ? link_->UsbReadTimeoutMs() : 0; }
  int UsbWrite(int pipe, const uint8_t* buffer, uint32_t count) override {
    return link_ ? link_->UsbWrite(pipe, buffer, count) : 0;
  }
  void SetDeviceChangeNotifier(DeviceChangeNotifier notifier) override;

 private:
  std::unique_ptr<UsbLink> link_;
  DeviceChangeNotifier notifier_;
};

}  // namespace korvelane::transport
