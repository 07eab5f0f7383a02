// SPDX-License-Identifier: GPL-3.0-or-later
// A UsbLink to a real instrument through libusb-1.0: the only place in the program that talks
// to libusb.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/logs/debug_log.h"
#include "core/protocol/usb_link.h"
#include "core/shell/device_choice.h"
#include "transport/answer_assembler.h"
#include "transport/usb_devices.h"

struct libusb_context;
struct libusb_device;
struct libusb_device_handle;

namespace korvelane::transport {

using korvelane::FormatUsbIds;
using korvelane::UsbIds;

// The udev rule file that gives the logged-in user access to the instrument.
constexpr const char* kUdevRuleFile = "60-korvelane.rules";

struct LibUsbLinkOptions {
  int read_timeout_ms = 2000;   // an answer not complete by then fails the read
  int write_timeout_ms = 2000;  // a request the instrument has not taken by then fails
  int drain_timeout_ms = 20;    // how long a stale answer is waited for before a request
};

// Opens the first device with the ids, claims interface 0 (a kernel driver holding it is
// detached, and given the interface back at close), and maps pipe 7 to the interface's bulk OUT
// endpoint and pipe 8 to its bulk IN endpoint.
//
// A 16-byte read collects the whole answer, in as many bulk transfers as it takes, and returns
// its header; a read of msg_len + 16 bytes then returns the whole message and consumes it. A
// read longer than the message fails at once; an answer not complete within the read time-out
// fails the read (UsbReadWithin sets another time-out for one read). Whatever the instrument sends
// outside an exchange (an answer that came too late) is discarded before the next request.
//
// Device changes come from libusb hotplug, on the link's event thread, through the notifier:
// the notifier must not call back into the link; it should hand the two values to
// UsbDeviceChange on the user-interface thread. When the open device leaves, UsbIsOpen turns 0
// and transfers fail; UsbDeviceChange then closes it. When a device with the ids arrives,
// UsbDeviceChange reopens and claims it, so that UsbIsOpen is non-zero again without a further
// UsbOpen. After UsbClose no notification comes and no thread of the link runs.
//
// Failures that the user can act on (no ids given, no permission, device not found or busy)
// are written to the debug log. The six operations are for one thread.
class LibUsbLink : public UsbLink {
 public:
  // `ids` empty: no instrument was named, and UsbOpen says in the debug log how to name one.
  LibUsbLink(std::optional<UsbIds> ids, DebugLog& debug_log, LibUsbLinkOptions options = {});
  ~LibUsbLink() override;
  LibUsbLink(const LibUsbLink&) = delete;
  LibUsbLink& operator=(const LibUsbLink&) = delete;

  int UsbOpen(uintptr_t window) override;
  void UsbClose() override;
  void UsbDeviceChange(uintptr_t wparam, intptr_t lparam) override;
  int UsbIsOpen() override;
  int UsbRead(int pipe, uint8_t* buffer, uint32_t count) override;
  int UsbReadWithin(int pipe, uint8_t* buffer, uint32_t count, int timeout_ms) override;
  int UsbReadTimeoutMs() const override { return options_.read_timeout_ms; }
  int UsbWrite(int pipe, const uint8_t* buffer, uint32_t count) override;
  void SetDeviceChangeNotifier(DeviceChangeNotifier notifier) override;

  const std::optional<UsbIds>& ids() const { return ids_; }

  // Whether this user may open a device node (read and write); the default asks the system.
  using NodeAccessCheck = std::function<bool(const std::string& devnode)>;
  static bool MayOpenNode(const std::string& devnode);

  // Every USB device the machine sees, from the descriptors the system keeps and sysfs: nothing
  // is opened and nothing sent to any device. Empty when there is no USB subsystem.
  static std::vector<UsbDeviceInfo> ListDevices(const NodeAccessCheck& may_open = MayOpenNode);

 private:
  enum class Outcome { kOk, kTimedOut, kGone, kStalled, kFailed };

  bool StartContext();
  void StopContext();
  void EventLoop();
  bool OpenDevice();
  bool ClaimAndMap(libusb_device_handle* handle, libusb_device* device);
  void CloseDevice();
  Outcome Transfer(uint8_t endpoint, uint8_t* data, uint32_t length, int timeout_ms,
                   uint32_t& actual);
  void NoteFailure(Outcome outcome, uint8_t endpoint);
  bool CollectAnswer(int timeout_ms);
  void DrainStaleAnswer();
  void Notify(uintptr_t wparam);
  void Log(const std::string& text);
  static int HotplugCallback(libusb_context* context, libusb_device* device, int event,
                             void* user_data);

  const std::optional<UsbIds> ids_;
  DebugLog& debug_log_;
  const LibUsbLinkOptions options_;

  // Owned by the calling thread.
  libusb_context* context_ = nullptr;
  libusb_device_handle* handle_ = nullptr;
  uint8_t endpoint_out_ = 0;
  uint8_t endpoint_in_ = 0;
  uint32_t in_packet_size_ = 64;
  AnswerAssembler answer_;      // the answer being read
  std::vector<uint8_t> chunk_;  // the bytes of one IN transfer
  bool drain_needed_ = false;   // the instrument may still hold bytes of an earlier answer
  bool hotplug_registered_ = false;
  int hotplug_handle_ = 0;

  // Shared with the event thread.
  std::mutex device_mutex_;
  libusb_device* open_device_ = nullptr;  // guarded by device_mutex_
  std::atomic<bool> device_gone_{false};

  std::mutex notifier_mutex_;  // held while the notifier runs, so that replacing it waits
  DeviceChangeNotifier notifier_;

  std::thread event_thread_;
  std::atomic<bool> stop_{false};
};

// Reports every USB device that arrives or leaves, from a thread of its own, until it is
// destroyed; `changed` must not block.
class UsbBusWatch {
 public:
  explicit UsbBusWatch(std::function<void()> changed);
  ~UsbBusWatch();
  UsbBusWatch(const UsbBusWatch&) = delete;
  UsbBusWatch& operator=(const UsbBusWatch&) = delete;

  // False when the system offers no plug events.
  bool watching() const { return registered_; }

 private:
  std::function<void()> changed_;
  libusb_context* context_ = nullptr;
  bool registered_ = false;
  int handle_ = 0;
  std::thread thread_;
  std::atomic<bool> stop_{false};
};

}  // namespace korvelane::transport
