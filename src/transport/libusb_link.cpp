// SPDX-License-Identifier: GPL-3.0-or-later
#include "transport/libusb_link.h"

#include <libusb.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace korvelane::transport {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kInterface = 0;
// Largest request the link sends in one transfer.
constexpr uint32_t kMaxRequest = 64 * 1024;
// A stale answer is drained in at most this many transfers.
constexpr int kMaxDrainTransfers = 32;
// libusb ends every transfer at its own time-out; this much longer the link waits for the
// event thread to report it before it cancels the transfer itself.
constexpr auto kCompletionGrace = std::chrono::seconds(1);
// The event thread wakes this often even without events (it is woken at once to stop).
constexpr int kEventWaitSeconds = 10;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(std::min<long long>(left, INT_MAX)) : 0;
}

uint32_t RoundUpToPackets(uint32_t bytes, uint32_t packet) {
  return (bytes + packet - 1) / packet * packet;
}

// What the event thread tells the waiting caller about one transfer.
struct Completion {
  std::mutex mutex;
  std::condition_variable done_changed;
  bool done = false;
};

void LIBUSB_CALL TransferDone(libusb_transfer* transfer) {
  auto* completion = static_cast<Completion*>(transfer->user_data);
  {
    std::lock_guard<std::mutex> lock(completion->mutex);
    completion->done = true;
  }
  completion->done_changed.notify_all();
}

bool WaitDone(Completion& completion, Clock::duration limit) {
  std::unique_lock<std::mutex> lock(completion.mutex);
  return completion.done_changed.wait_for(lock, limit, [&] { return completion.done; });
}

// The bulk OUT and IN endpoints of interface 0's first setting.
struct BulkEndpoints {
  uint8_t out = 0;
  uint8_t in = 0;
  uint32_t in_packet_size = 0;
};

bool FindBulkEndpoints(libusb_device* device, BulkEndpoints& found) {
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(device, &config) != 0)
    return false;
  bool out_found = false;
  bool in_found = false;
  if (config->bNumInterfaces > kInterface && config->interface[kInterface].num_altsetting > 0) {
    const libusb_interface_descriptor& setting = config->interface[kInterface].altsetting[0];
    for (int i = 0; i < setting.bNumEndpoints; ++i) {
      const libusb_endpoint_descriptor& endpoint = setting.endpoint[i];
      if ((endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) != LIBUSB_TRANSFER_TYPE_BULK)
        continue;
      if ((endpoint.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN) {
        if (!in_found) {
          found.in = endpoint.bEndpointAddress;
          found.in_packet_size = endpoint.wMaxPacketSize & 0x7FF;
          in_found = true;
        }
      } else if (!out_found) {
        found.out = endpoint.bEndpointAddress;
        out_found = true;
      }
    }
  }
  libusb_free_config_descriptor(config);
  if (found.in_packet_size == 0)
    found.in_packet_size = 64;
  return out_found && in_found;
}

// Handles the context's events until `stop`, on a thread named `name`.
void RunEvents(libusb_context* context, const std::atomic<bool>& stop, const char* name) {
  pthread_setname_np(pthread_self(), name);
  while (!stop) {
    timeval wait{kEventWaitSeconds, 0};
    const int result = libusb_handle_events_timeout_completed(context, &wait, nullptr);
    if (result != 0 && result != LIBUSB_ERROR_INTERRUPTED && !stop)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));  // never spin on an error
  }
}

uint8_t FirstInterfaceClass(libusb_device* device, int& configuration) {
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(device, &config) != 0)
    return 0;
  configuration = config->bConfigurationValue;
  uint8_t code = 0;
  if (config->bNumInterfaces > kInterface && config->interface[kInterface].num_altsetting > 0)
    code = config->interface[kInterface].altsetting[0].bInterfaceClass;
  libusb_free_config_descriptor(config);
  return code;
}

// The device's name in sysfs: "1-1.4" by bus and ports, "usb1" for a root hub.
std::string SysfsName(libusb_device* device) {
  uint8_t ports[8];
  const int depth = libusb_get_port_numbers(device, ports, sizeof ports);
  const std::string bus = std::to_string(libusb_get_bus_number(device));
  if (depth <= 0)
    return "usb" + bus;
  std::string name = bus + "-" + std::to_string(ports[0]);
  for (int i = 1; i < depth; ++i)
    name += "." + std::to_string(ports[i]);
  return name;
}

constexpr const char* kSysfsDevices = "/sys/bus/usb/devices/";

std::string SysfsText(const std::string& name, const char* attribute) {
  std::ifstream in(kSysfsDevices + name + "/" + attribute);
  std::string line;
  std::getline(in, line);
  return line;
}

// Another program holds the interface through usbfs.
bool InterfaceClaimed(const std::string& name, int configuration) {
  const std::string link = kSysfsDevices + name + ":" + std::to_string(configuration) + "." +
                           std::to_string(kInterface) + "/driver";
  char target[256];
  const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
  if (length <= 0)
    return false;
  target[length] = '\0';
  const char* slash = std::strrchr(target, '/');
  return std::strcmp(slash ? slash + 1 : target, "usbfs") == 0;
}

}  // namespace

bool LibUsbLink::MayOpenNode(const std::string& devnode) {
  return access(devnode.c_str(), R_OK | W_OK) == 0;
}

std::vector<UsbDeviceInfo> LibUsbLink::ListDevices(const NodeAccessCheck& may_open) {
  std::vector<UsbDeviceInfo> devices;
  libusb_context* context = nullptr;
  if (libusb_init(&context) != 0)
    return devices;
  libusb_device** list = nullptr;
  const ssize_t count = libusb_get_device_list(context, &list);
  for (ssize_t i = 0; i < count; ++i) {
    libusb_device_descriptor descriptor;
    if (libusb_get_device_descriptor(list[i], &descriptor) != 0)
      continue;
    UsbDeviceInfo device;
    device.ids = {descriptor.idVendor, descriptor.idProduct};
    device.bus = libusb_get_bus_number(list[i]);
    device.address = libusb_get_device_address(list[i]);
    device.device_class = descriptor.bDeviceClass;
    int configuration = 1;
    device.interface_class = FirstInterfaceClass(list[i], configuration);
    BulkEndpoints endpoints;
    device.bulk_pair = FindBulkEndpoints(list[i], endpoints);
    const std::string name = SysfsName(list[i]);
    device.manufacturer = SysfsText(name, "manufacturer");
    device.product = SysfsText(name, "product");
    char node[32];
    std::snprintf(node, sizeof node, "/dev/bus/usb/%03d/%03d", device.bus, device.address);
    if (!may_open(node))
      device.access = UsbDeviceInfo::Access::kNoPermission;
    else if (InterfaceClaimed(name, configuration))
      device.access = UsbDeviceInfo::Access::kBusy;
    devices.push_back(std::move(device));
  }
  if (count > 0)
    libusb_free_device_list(list, 1);
  libusb_exit(context);
  std::sort(devices.begin(), devices.end(), [](const UsbDeviceInfo& a, const UsbDeviceInfo& b) {
    return std::make_pair(a.bus, a.address) < std::make_pair(b.bus, b.address);
  });
  return devices;
}

LibUsbLink::LibUsbLink(std::optional<UsbIds> ids, DebugLog& debug_log, LibUsbLinkOptions options)
    : ids_(ids), debug_log_(debug_log), options_(options) {}

LibUsbLink::~LibUsbLink() {
  UsbClose();
}

void LibUsbLink::Log(const std::string& text) {
  debug_log_.WriteDebugLog(text, kWarning);
}

int LibUsbLink::UsbOpen(uintptr_t) {
  if (!ids_) {
    Log("没有指定USB仪器：请用 --device usb:VID:PID 启动本程序，VID 和 PID 是 lsusb "
        "显示的仪器厂商号和产品号（十六进制）");
    return 0;
  }
  if (!StartContext())
    return 0;
  if (UsbIsOpen())
    return 1;
  CloseDevice();  // one whose device has gone
  return OpenDevice() ? 1 : 0;
}

void LibUsbLink::UsbClose() {
  CloseDevice();
  StopContext();
}

void LibUsbLink::UsbDeviceChange(uintptr_t wparam, intptr_t) {
  if (!context_)
    return;
  if (handle_ && device_gone_)
    CloseDevice();
  if (wparam == kDeviceArrival && !handle_)
    OpenDevice();
}

int LibUsbLink::UsbIsOpen() {
  return handle_ && !device_gone_ ? 1 : 0;
}

void LibUsbLink::SetDeviceChangeNotifier(DeviceChangeNotifier notifier) {
  std::lock_guard<std::mutex> lock(notifier_mutex_);
  notifier_ = std::move(notifier);
}

void LibUsbLink::Notify(uintptr_t wparam) {
  std::lock_guard<std::mutex> lock(notifier_mutex_);
  if (notifier_)
    notifier_(wparam, 0);
}

bool LibUsbLink::StartContext() {
  if (context_)
    return true;
  const int result = libusb_init(&context_);
  if (result != 0) {
    context_ = nullptr;
    Log(std::string("USB库初始化失败（") + libusb_error_name(result) +
        "）：本机没有可用的USB子系统");
    return false;
  }
  if (libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG)) {
    libusb_hotplug_callback_handle handle = 0;
    const int registered = libusb_hotplug_register_callback(
        context_,
        static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED |
                                          LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT),
        static_cast<libusb_hotplug_flag>(0), ids_->vendor_id, ids_->product_id,
        LIBUSB_HOTPLUG_MATCH_ANY,
        [](libusb_context* context, libusb_device* device, libusb_hotplug_event event,
           void* user_data) {
          return HotplugCallback(context, device, static_cast<int>(event), user_data);
        },
        this, &handle);
    hotplug_registered_ = registered == 0;
    hotplug_handle_ = handle;
  }
  stop_ = false;
  event_thread_ = std::thread(&LibUsbLink::EventLoop, this);
  return true;
}

void LibUsbLink::StopContext() {
  if (!context_)
    return;
  if (hotplug_registered_) {
    libusb_hotplug_deregister_callback(context_, hotplug_handle_);
    hotplug_registered_ = false;
  }
  stop_ = true;
  libusb_interrupt_event_handler(context_);
  if (event_thread_.joinable())
    event_thread_.join();
  libusb_exit(context_);
  context_ = nullptr;
}

void LibUsbLink::EventLoop() {
  RunEvents(context_, stop_, "korvelane-usb");
}

int LibUsbLink::HotplugCallback(libusb_context*, libusb_device* device, int event,
                                void* user_data) {
  auto* link = static_cast<LibUsbLink*>(user_data);
  if (event == LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT) {
    {
      std::lock_guard<std::mutex> lock(link->device_mutex_);
      if (device == link->open_device_)
        link->device_gone_ = true;
    }
    link->Notify(kDeviceRemoveComplete);
  } else {
    link->Notify(kDeviceArrival);
  }
  return 0;  // stay registered
}

bool LibUsbLink::OpenDevice() {
  const std::string ids = FormatUsbIds(*ids_);
  libusb_device** list = nullptr;
  const ssize_t count = libusb_get_device_list(context_, &list);
  if (count < 0) {
    Log(std::string("列举USB设备失败（") + libusb_error_name(static_cast<int>(count)) + "）");
    return false;
  }
  bool matched = false;
  bool opened = false;
  for (ssize_t i = 0; i < count && !opened; ++i) {
    libusb_device_descriptor descriptor;
    if (libusb_get_device_descriptor(list[i], &descriptor) != 0 ||
        descriptor.idVendor != ids_->vendor_id || descriptor.idProduct != ids_->product_id)
      continue;
    matched = true;
    libusb_device_handle* handle = nullptr;
    const int result = libusb_open(list[i], &handle);
    if (result == LIBUSB_ERROR_ACCESS) {
      Log("没有打开USB仪器 " + ids + " 的权限：请把 udev 规则文件 " + kUdevRuleFile +
          " 安装到 /etc/udev/rules.d/（规则中写上仪器的 VID:PID），然后重新插拔仪器");
    } else if (result != 0) {
      Log("打开USB仪器 " + ids + " 失败（" + libusb_error_name(result) + "）");
    } else if (ClaimAndMap(handle, list[i])) {
      opened = true;
    } else {
      libusb_close(handle);
    }
  }
  libusb_free_device_list(list, 1);
  if (!matched)
    Log("没有找到USB仪器 " + ids + "：请检查仪器的电源和USB连线");
  return opened;
}

bool LibUsbLink::ClaimAndMap(libusb_device_handle* handle, libusb_device* device) {
  const std::string ids = FormatUsbIds(*ids_);
  BulkEndpoints endpoints;
  if (!FindBulkEndpoints(device, endpoints)) {
    Log("USB仪器 " + ids + " 的接口0没有批量输入和输出端点");
    return false;
  }
  // A kernel driver holding the interface is detached now and reattached at release.
  if (libusb_set_auto_detach_kernel_driver(handle, 1) != 0 &&
      libusb_kernel_driver_active(handle, kInterface) == 1)
    libusb_detach_kernel_driver(handle, kInterface);
  const int result = libusb_claim_interface(handle, kInterface);
  if (result != 0) {
    Log("无法占用USB仪器 " + ids + " 的接口0（" + libusb_error_name(result) + "）" +
        (result == LIBUSB_ERROR_BUSY ? "：另一个程序正在使用该仪器" : ""));
    return false;
  }
  handle_ = handle;
  endpoint_out_ = endpoints.out;
  endpoint_in_ = endpoints.in;
  in_packet_size_ = endpoints.in_packet_size;
  answer_.Reset();
  drain_needed_ = true;  // an answer of an earlier session may still wait in the instrument
  {
    std::lock_guard<std::mutex> lock(device_mutex_);
    open_device_ = device;
  }
  device_gone_ = false;
  return true;
}

void LibUsbLink::CloseDevice() {
  if (!handle_)
    return;
  {
    std::lock_guard<std::mutex> lock(device_mutex_);
    open_device_ = nullptr;
  }
  if (!device_gone_)
    libusb_release_interface(handle_, kInterface);
  libusb_close(handle_);
  handle_ = nullptr;
  device_gone_ = false;
  answer_.Reset();
}

LibUsbLink::Outcome LibUsbLink::Transfer(uint8_t endpoint, uint8_t* data, uint32_t length,
                                         int timeout_ms, uint32_t& actual) {
  actual = 0;
  libusb_transfer* transfer = libusb_alloc_transfer(0);
  if (!transfer)
    return Outcome::kFailed;
  auto* completion = new Completion;
  libusb_fill_bulk_transfer(transfer, handle_, endpoint, data, static_cast<int>(length),
                            TransferDone, completion,
                            static_cast<unsigned>(std::max(timeout_ms, 1)));
  const int submitted = libusb_submit_transfer(transfer);
  if (submitted != 0) {
    libusb_free_transfer(transfer);
    delete completion;
    return submitted == LIBUSB_ERROR_NO_DEVICE ? Outcome::kGone
           : submitted == LIBUSB_ERROR_PIPE    ? Outcome::kStalled
                                               : Outcome::kFailed;
  }
  const auto limit = std::chrono::milliseconds(std::max(timeout_ms, 1)) + kCompletionGrace;
  if (!WaitDone(*completion, limit)) {
    libusb_cancel_transfer(transfer);
    if (!WaitDone(*completion, kCompletionGrace)) {
      // The event thread no longer answers: the transfer may still complete into `data`
      // and `completion`, so neither is released, and the device is given up.
      device_gone_ = true;
      Log("USB事件处理线程无响应，放弃该仪器");
      return Outcome::kGone;
    }
  }
  actual = static_cast<uint32_t>(std::max(transfer->actual_length, 0));
  const libusb_transfer_status status = transfer->status;
  libusb_free_transfer(transfer);
  delete completion;
  switch (status) {
    case LIBUSB_TRANSFER_COMPLETED:
      return Outcome::kOk;
    case LIBUSB_TRANSFER_TIMED_OUT:
    case LIBUSB_TRANSFER_CANCELLED:
      return Outcome::kTimedOut;
    case LIBUSB_TRANSFER_NO_DEVICE:
      return Outcome::kGone;
    case LIBUSB_TRANSFER_STALL:
      return Outcome::kStalled;
    default:
      return Outcome::kFailed;
  }
}

void LibUsbLink::NoteFailure(Outcome outcome, uint8_t endpoint) {
  const char* direction = endpoint & LIBUSB_ENDPOINT_IN ? "读取" : "发送";
  switch (outcome) {
    case Outcome::kOk:
      return;
    case Outcome::kGone:
      device_gone_ = true;
      Log(std::string("USB仪器已断开，") + direction + "失败");
      return;
    case Outcome::kStalled:
      libusb_clear_halt(handle_, endpoint);
      Log(std::string("USB端点停止响应（STALL），") + direction + "失败");
      break;
    case Outcome::kTimedOut:
      Log(std::string("USB") + direction + "超时");
      break;
    case Outcome::kFailed:
      Log(std::string("USB") + direction + "失败");
      break;
  }
  drain_needed_ = true;
}

int LibUsbLink::UsbWrite(int pipe, const uint8_t* buffer, uint32_t count) {
  answer_.Reset();
  if (pipe != kPipeOut || !buffer || count == 0 || count > kMaxRequest || !UsbIsOpen())
    return 0;
  if (drain_needed_)
    DrainStaleAnswer();
  if (!UsbIsOpen())
    return 0;
  // libusb only reads from the buffer of an OUT transfer.
  uint32_t sent = 0;
  const Outcome outcome =
      Transfer(endpoint_out_, const_cast<uint8_t*>(buffer), count, options_.write_timeout_ms, sent);
  if (outcome == Outcome::kOk && sent == count)
    return 1;
  NoteFailure(outcome == Outcome::kOk ? Outcome::kFailed : outcome, endpoint_out_);
  return 0;
}

int LibUsbLink::UsbRead(int pipe, uint8_t* buffer, uint32_t count) {
  return UsbReadWithin(pipe, buffer, count, options_.read_timeout_ms);
}

int LibUsbLink::UsbReadWithin(int pipe, uint8_t* buffer, uint32_t count, int timeout_ms) {
  if (pipe != kPipeIn || !buffer || !UsbIsOpen())
    return 0;
  if (!answer_.complete() && !CollectAnswer(timeout_ms)) {
    answer_.Reset();
    return 0;
  }
  return answer_.Read(buffer, count) ? 1 : 0;
}

bool LibUsbLink::CollectAnswer(int timeout_ms) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  answer_.Reset();
  for (;;) {
    if (answer_.state() == AnswerAssembler::State::kRefused) {
      Log("收到的USB信息包长度 " + std::to_string(answer_.announced_length()) + " 超出上限");
      drain_needed_ = true;
      return false;
    }
    if (answer_.complete()) {
      if (answer_.surplus())
        drain_needed_ = true;  // more than the message holds: the rest is not ours
      return true;
    }
    const int left = MillisecondsLeft(deadline);
    if (left == 0) {
      NoteFailure(Outcome::kTimedOut, endpoint_in_);
      return false;
    }
    // Whole packets only: a transfer that ends inside a packet would overflow.
    const uint32_t length = RoundUpToPackets(answer_.Missing(), in_packet_size_);
    if (chunk_.size() < length)
      chunk_.resize(length);
    uint32_t got = 0;
    const Outcome outcome = Transfer(endpoint_in_, chunk_.data(), length, left, got);
    answer_.Take(chunk_.data(), got);
    if (outcome == Outcome::kTimedOut && MillisecondsLeft(deadline) > 0)
      continue;  // ended early by a cancellation, not by the deadline
    if (outcome != Outcome::kOk && !(outcome == Outcome::kTimedOut && got > 0)) {
      NoteFailure(outcome, endpoint_in_);
      return false;
    }
  }
}

void LibUsbLink::DrainStaleAnswer() {
  drain_needed_ = false;
  std::vector<uint8_t> scrap(RoundUpToPackets(kMaxUsbMessage, in_packet_size_));
  for (int i = 0; i < kMaxDrainTransfers; ++i) {
    uint32_t got = 0;
    const Outcome outcome =
        Transfer(endpoint_in_, scrap.data(), static_cast<uint32_t>(scrap.size()),
                 options_.drain_timeout_ms, got);
    if (outcome == Outcome::kGone) {
      device_gone_ = true;
      return;
    }
    if (outcome == Outcome::kStalled)
      libusb_clear_halt(handle_, endpoint_in_);
    if (got == 0)
      return;
  }
}

UsbBusWatch::UsbBusWatch(std::function<void()> changed) : changed_(std::move(changed)) {
  if (!libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) || libusb_init(&context_) != 0) {
    context_ = nullptr;
    return;
  }
  libusb_hotplug_callback_handle handle = 0;
  registered_ = libusb_hotplug_register_callback(
                    context_,
                    static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED |
                                                      LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT),
                    static_cast<libusb_hotplug_flag>(0), LIBUSB_HOTPLUG_MATCH_ANY,
                    LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
                    [](libusb_context*, libusb_device*, libusb_hotplug_event, void* user_data) {
                      static_cast<UsbBusWatch*>(user_data)->changed_();
                      return 0;
                    },
                    this, &handle) == 0;
  handle_ = handle;
  if (registered_)
    thread_ = std::thread([this] { RunEvents(context_, stop_, "korvelane-usbw"); });
}

UsbBusWatch::~UsbBusWatch() {
  if (!context_)
    return;
  if (registered_)
    libusb_hotplug_deregister_callback(context_, handle_);
  stop_ = true;
  libusb_interrupt_event_handler(context_);
  if (thread_.joinable())
    thread_.join();
  libusb_exit(context_);
}

}  // namespace korvelane::transport
