// SPDX-License-Identifier: GPL-3.0-or-later
#include "transport/switchable_link.h"

namespace korvelane::transport {

SwitchableLink::SwitchableLink(std::unique_ptr<UsbLink> link) : link_(std::move(link)) {}

SwitchableLink::~SwitchableLink() {
  if (link_)
    link_->SetDeviceChangeNotifier(nullptr);
}

void SwitchableLink::Replace(std::unique_ptr<UsbLink> link) {
  if (link_) {
    link_->SetDeviceChangeNotifier(nullptr);
    link_->UsbClose();
  }
  link_ = std::move(link);
  if (link_)
    link_->SetDeviceChangeNotifier(notifier_);
}

void SwitchableLink::UsbClose() {
  if (link_)
    link_->UsbClose();
}

void SwitchableLink::UsbDeviceChange(uintptr_t wparam, intptr_t lparam) {
  if (link_)
    link_->UsbDeviceChange(wparam, lparam);
}

void SwitchableLink::SetDeviceChangeNotifier(DeviceChangeNotifier notifier) {
  notifier_ = notifier;
  if (link_)
    link_->SetDeviceChangeNotifier(std::move(notifier));
}

}  // namespace korvelane::transport
