// SPDX-License-Identifier: GPL-3.0-or-later
// An instrument on an emulated USB bus: a umockdev testbed that libusb in this process sees as
// real sysfs and a real device node, and an ioctl handler that plays the kernel's usbfs side
// for the device (URBs, interface claims).
//
// The test process must run with libumockdev-preload.so (see usb_test_main.cpp), the device
// must be made before libusb_init, and libusb_exit must come before the device goes.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevIoctlData UMockdevIoctlData;

namespace korvelane::testing {

using Bytes = std::vector<uint8_t>;

struct UsbDeviceSetup {
  uint16_t vendor_id = 0xf055;
  uint16_t product_id = 0x0d50;
  // What lists the device: its port on bus 1, class, names, and whether interface 0 has the
  // bulk pair besides its interrupt endpoint.
  int port = 1;
  uint8_t interface_class = 0xff;
  bool bulk_pair = true;
  std::string manufacturer = "Dentrallo";
  std::string product = "NRK-25";
  bool held_elsewhere = false;  // interface 0 bound to usbfs: another program has claimed it
};

class EmulatedUsbDevice {
 public:
  // With `first`, another device on the same emulated bus (give it a port of its own).
  explicit EmulatedUsbDevice(UsbDeviceSetup setup = {}, EmulatedUsbDevice* first = nullptr);
  ~EmulatedUsbDevice();
  EmulatedUsbDevice(const EmulatedUsbDevice&) = delete;
  EmulatedUsbDevice& operator=(const EmulatedUsbDevice&) = delete;

  // Plugs the device in (at a new address each time, as the bus does) with an "add" event.
  // False, with the reason on stderr, when the testbed refuses.
  bool Plug();
  // Pulls the device out: pending URBs end as the kernel ends them, the "remove" event is sent,
  // then the device leaves the testbed.
  void Unplug();

  // The device side. The OUT handler sees every bulk OUT transfer, on the emulator's thread.
  using OutHandler = std::function<void(const Bytes& request)>;
  void SetOutHandler(OutHandler handler);
  // Sends `data` on the bulk IN endpoint as consecutive writes of the given sizes, and what is
  // left as one more. The IN transfer that takes a write's last byte ends there (a short
  // packet), as does one that is filled.
  void SendInPieces(const Bytes& data, const std::vector<size_t>& sizes);

  // What the host did.
  std::vector<Bytes> out_transfers() const;
  int in_submits() const;  // IN URBs the host submitted
  bool interface_claimed() const;

  std::string devnode() const;  // the node libusb opens, e.g. /dev/bus/usb/001/002

 private:
  struct Urb;
  static int HandleIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
  void Submit(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
  void Reap(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
  void Discard(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
  void Claim(UMockdevIoctlClient* client);
  void FeedInLocked();
  void FinishLocked(Urb* urb, int status);
  void SyncReadinessLocked();
  bool ArmNodeLocked();
  std::string SysPath() const;

  const UsbDeviceSetup setup_;
  UMockdevTestbed* testbed_ = nullptr;
  UMockdevIoctlBase* handler_ = nullptr;
  std::string root_;

  mutable std::mutex mutex_;
  int address_;
  bool plugged_ = false;
  bool claimed_ = false;
  int node_fd_ = -1;  // our end of the node: readable for libusb while there is an URB to reap
  bool node_ready_ = false;
  OutHandler out_handler_;
  std::deque<Urb*> flying_;
  std::deque<Urb*> reapable_;
  std::deque<Bytes> in_writes_;
  size_t in_offset_ = 0;       // bytes of the first write already taken
  bool in_cut_short_ = false;  // a short packet ended the IN transfer under way
  std::vector<Bytes> out_transfers_;
  int in_submits_ = 0;
};

}  // namespace korvelane::testing
