// SPDX-License-Identifier: GPL-3.0-or-later
#include "emulated_usb_device.h"

#include <fcntl.h>
#include <link.h>
#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <sys/stat.h>
#include <umockdev.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "support/messages.h"

namespace korvelane::testing {
namespace {

constexpr int kBus = 1;
constexpr uint8_t kEndpointOut = 0x02;
constexpr uint8_t kEndpointIn = 0x86;
constexpr uint16_t kMaxPacket = 512;  // of both bulk endpoints

// The path of the loaded library whose name contains `part`, or "".
std::string LoadedLibrary(const char* part) {
  struct Search {
    const char* part;
    std::string path;
  } search{part, {}};
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto* s = static_cast<Search*>(data);
        if (info->dlpi_name && std::strstr(info->dlpi_name, s->part)) {
          s->path = info->dlpi_name;
          return 1;
        }
        return 0;
      },
      &search);
  return search.path;
}

// The emulation needs libumockdev-preload.so loaded ahead of the C library: a test program
// with an emulated device runs itself again with it, before main, so that ctest can start it
// plainly.
[[gnu::constructor]] void RunUnderUmockdev(int, char** argv) {
  constexpr const char* kPreload = "libumockdev-preload.so.0";
  constexpr const char* kRerun = "KORVELANE_UMOCKDEV_RERUN";
  if (!LoadedLibrary("libumockdev-preload").empty())
    return;
  if (std::getenv(kRerun)) {
    std::fprintf(stderr, "%s could not be preloaded\n", kPreload);
    std::_Exit(1);
  }
  std::string preload = kPreload;
  // The address sanitizer's runtime must stay the first library.
  const std::string asan = LoadedLibrary("libasan.so");
  if (!asan.empty())
    preload = asan + ":" + preload;
  const char* before = std::getenv("LD_PRELOAD");
  if (before && *before)
    preload += std::string(":") + before;
  setenv("LD_PRELOAD", preload.c_str(), 1);
  setenv(kRerun, "1", 1);
  execv("/proc/self/exe", argv);
  std::perror("re-running the USB tests under umockdev");
  std::_Exit(1);
}

void PutLe16(Bytes& bytes, uint16_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

// Device and configuration descriptors: interface 0 has an interrupt endpoint first, then (with
// the bulk pair) the two bulk endpoints, so the host must pick the bulk ones from the descriptors.
Bytes Descriptors(const UsbDeviceSetup& setup) {
  Bytes d = {0x12, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x40};
  PutLe16(d, setup.vendor_id);
  PutLe16(d, setup.product_id);
  d.insert(d.end(), {0x00, 0x01, 0x00, 0x00, 0x00, 0x01});
  const uint8_t endpoints = setup.bulk_pair ? 3 : 1;
  d.insert(d.end(), {0x09, 0x02, static_cast<uint8_t>(9 + 9 + endpoints * 7), 0x00, 0x01, 0x01,
                     0x00, 0x80, 0x32});
  d.insert(d.end(), {0x09, 0x04, 0x00, 0x00, endpoints, setup.interface_class, 0x00, 0x00, 0x00});
  d.insert(d.end(), {0x07, 0x05, 0x81, 0x03, 0x08, 0x00, 0x0a});
  if (!setup.bulk_pair)
    return d;
  for (uint8_t endpoint : {kEndpointOut, kEndpointIn}) {
    d.insert(d.end(), {0x07, 0x05, endpoint, 0x02});
    PutLe16(d, kMaxPacket);
    d.push_back(0x00);
  }
  return d;
}

}  // namespace

struct EmulatedUsbDevice::Urb {
  UMockdevIoctlData* data = nullptr;  // the URB, with its buffer resolved
  bool in = false;
  bool continuation = false;  // a later URB of a transfer that libusb split
  int length = 0;
  int status = 0;
  int actual = 0;
};

EmulatedUsbDevice::EmulatedUsbDevice(UsbDeviceSetup setup, EmulatedUsbDevice* first)
    : setup_(std::move(setup)), address_(1 + 20 * (setup_.port - 1)) {
  testbed_ =
      first ? static_cast<UMockdevTestbed*>(g_object_ref(first->testbed_)) : umockdev_testbed_new();
  gchar* root = umockdev_testbed_get_root_dir(testbed_);
  root_ = root;
  g_free(root);
  handler_ = umockdev_ioctl_base_new();
  g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(&EmulatedUsbDevice::HandleIoctl), this);
}

EmulatedUsbDevice::~EmulatedUsbDevice() {
  g_signal_handlers_disconnect_by_data(handler_, this);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto* queue : {&flying_, &reapable_}) {
      for (Urb* urb : *queue) {
        g_object_unref(urb->data);
        delete urb;
      }
    }
    if (node_fd_ >= 0)
      close(node_fd_);
    node_fd_ = -1;
  }
  g_object_unref(handler_);
  g_object_unref(testbed_);
}

std::string EmulatedUsbDevice::devnode() const {
  char text[32];
  std::snprintf(text, sizeof text, "/dev/bus/usb/%03d/%03d", kBus, address_);
  return text;
}

std::string EmulatedUsbDevice::SysPath() const {
  return "/sys/devices/usb" + std::to_string(kBus) + "/" + std::to_string(kBus) + "-" +
         std::to_string(setup_.port);
}

bool EmulatedUsbDevice::Plug() {
  std::string node;
  std::string description;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++address_;
    node = devnode();
    std::string descriptors = Hex(Descriptors(setup_));
    descriptors.erase(std::remove(descriptors.begin(), descriptors.end(), ' '), descriptors.end());
    char numbers[160];
    std::snprintf(numbers, sizeof numbers,
                  "E: BUSNUM=%03d\nE: DEVNUM=%03d\nA: busnum=%d\\n\nA: devnum=%d\\n\n"
                  "A: idVendor=%04x\\n\nA: idProduct=%04x\\n\n",
                  kBus, address_, kBus, address_, setup_.vendor_id, setup_.product_id);
    description = "P: " + SysPath().substr(4) + "\nN: " + node.substr(5) +
                  "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\nE: DEVNAME=" + node +
                  "\n" + numbers + "A: bConfigurationValue=1\\n\nA: speed=480\\n\n" +
                  "A: manufacturer=" + setup_.manufacturer + "\\n\nA: product=" + setup_.product +
                  "\\n\nH: descriptors=" + descriptors + "\n";
  }
  if (setup_.held_elsewhere) {
    const std::string name = SysPath().substr(SysPath().rfind('/') + 1);
    description += "\nP: " + SysPath().substr(4) + "/" + name + ":1.0\n" +
                   "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nE: DRIVER=usbfs\n" +
                   "L: driver=../../../../bus/usb/drivers/usbfs\n";
  }
  GError* error = nullptr;
  if (!umockdev_testbed_attach_ioctl(testbed_, node.c_str(), handler_, &error) ||
      !umockdev_testbed_add_from_string(testbed_, description.c_str(), &error)) {
    std::fprintf(stderr, "emulated USB device: %s\n", error ? error->message : "refused");
    g_clear_error(&error);
    return false;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  plugged_ = ArmNodeLocked();
  return plugged_;
}

// The node that umockdev makes is a plain file, always ready, so libusb's event loop would
// spin while a transfer is pending. A FIFO of one page stands in for it: full (not writable)
// while there is nothing to reap, empty (writable, what libusb waits for) while there is.
bool EmulatedUsbDevice::ArmNodeLocked() {
  const std::string path = root_ + devnode();
  if (node_fd_ >= 0)
    close(node_fd_);
  node_fd_ = -1;
  node_ready_ = false;
  unlink(path.c_str());
  if (mkfifo(path.c_str(), 0666) != 0) {
    std::perror("emulated USB device: mkfifo");
    return false;
  }
  node_fd_ = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  const uint8_t fill = 0;
  if (node_fd_ < 0 || fcntl(node_fd_, F_SETPIPE_SZ, 4096) < 0 || write(node_fd_, &fill, 1) != 1) {
    std::perror("emulated USB device: node");
    return false;
  }
  return true;
}

void EmulatedUsbDevice::SyncReadinessLocked() {
  const bool want = !reapable_.empty();
  if (want == node_ready_ || node_fd_ < 0)
    return;
  uint8_t byte = 0;
  const ssize_t n = want ? read(node_fd_, &byte, 1) : write(node_fd_, &byte, 1);
  if (n == 1)
    node_ready_ = want;
}

void EmulatedUsbDevice::Unplug() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    plugged_ = false;
    claimed_ = false;
    // The kernel ends every pending URB of a device that is gone.
    while (!flying_.empty())
      FinishLocked(flying_.front(), -ESHUTDOWN);
  }
  const std::string sys = SysPath();
  umockdev_testbed_uevent(testbed_, sys.c_str(), "remove");
  umockdev_testbed_remove_device(testbed_, sys.c_str());
}

void EmulatedUsbDevice::SetOutHandler(OutHandler handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  out_handler_ = std::move(handler);
}

void EmulatedUsbDevice::SendInPieces(const Bytes& data, const std::vector<size_t>& sizes) {
  std::lock_guard<std::mutex> lock(mutex_);
  size_t offset = 0;
  for (size_t i = 0; i <= sizes.size() && offset < data.size(); ++i) {
    const size_t size = std::min(i < sizes.size() ? sizes[i] : data.size(), data.size() - offset);
    in_writes_.emplace_back(data.begin() + static_cast<long>(offset),
                            data.begin() + static_cast<long>(offset + size));
    offset += size;
  }
  FeedInLocked();
}

std::vector<Bytes> EmulatedUsbDevice::out_transfers() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return out_transfers_;
}

int EmulatedUsbDevice::in_submits() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return in_submits_;
}

bool EmulatedUsbDevice::interface_claimed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return claimed_;
}

int EmulatedUsbDevice::HandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
  auto* device = static_cast<EmulatedUsbDevice*>(self);
  UMockdevIoctlData* argument = umockdev_ioctl_client_get_arg(client);
  switch (umockdev_ioctl_client_get_request(client)) {
    case USBDEVFS_SUBMITURB:
      device->Submit(client, argument);
      break;
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY:
      device->Reap(client, argument);
      break;
    case USBDEVFS_DISCARDURB:
      device->Discard(client, argument);
      break;
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE:
    case USBDEVFS_DISCONNECT_CLAIM:
      device->Claim(client);
      break;
    default:
      umockdev_ioctl_client_complete(client, -1, ENOTTY);
  }
  return TRUE;
}

// Interface claims; no kernel driver is ever bound to the interface, so the requests that
// detach or attach one fail as unknown and libusb carries on without.
void EmulatedUsbDevice::Claim(UMockdevIoctlClient* client) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (plugged_)
    claimed_ = umockdev_ioctl_client_get_request(client) != USBDEVFS_RELEASEINTERFACE;
  umockdev_ioctl_client_complete(client, plugged_ ? 0 : -1, plugged_ ? 0 : ENODEV);
}

void EmulatedUsbDevice::Submit(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
  UMockdevIoctlData* data = umockdev_ioctl_data_resolve(argument, 0, sizeof(usbdevfs_urb), nullptr);
  auto* urb_fields = reinterpret_cast<usbdevfs_urb*>(data->data);
  const int length = urb_fields->buffer_length;
  UMockdevIoctlData* buffer =
      umockdev_ioctl_data_resolve(data, G_STRUCT_OFFSET(usbdevfs_urb, buffer),
                                  static_cast<gsize>(std::max(length, 0)), nullptr);
  if (buffer)
    g_object_unref(buffer);  // kept by `data`
  const bool in = urb_fields->endpoint & 0x80;
  OutHandler handler;
  Bytes request;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    int error = 0;
    const bool continuation = urb_fields->flags & USBDEVFS_URB_BULK_CONTINUATION;
    if (in && !continuation)
      in_cut_short_ = false;
    if (!plugged_)
      error = ENODEV;
    else if (in && continuation && in_cut_short_)
      error = EREMOTEIO;
    else if (urb_fields->type != USBDEVFS_URB_TYPE_BULK ||
             urb_fields->endpoint != (in ? kEndpointIn : kEndpointOut) || !buffer)
      error = EINVAL;
    if (error) {
      g_object_unref(data);
      umockdev_ioctl_client_complete(client, -1, error);
      return;
    }
    claimed_ = true;
    auto* urb = new Urb{data, in, continuation, length, 0, 0};
    flying_.push_back(urb);
    if (in) {
      ++in_submits_;
      FeedInLocked();
    } else {
      const auto* bytes = static_cast<const uint8_t*>(urb_fields->buffer);
      request.assign(bytes, bytes + length);
      out_transfers_.push_back(request);
      urb->actual = length;
      FinishLocked(urb, 0);
      handler = out_handler_;
    }
  }
  umockdev_ioctl_client_complete(client, 0, 0);
  if (handler)
    handler(request);
}

// Gives the bytes the device has sent to the IN URBs waiting for them, in order.
void EmulatedUsbDevice::FeedInLocked() {
  for (;;) {
    auto waiting = std::find_if(flying_.begin(), flying_.end(), [](Urb* u) { return u->in; });
    if (waiting == flying_.end() || in_writes_.empty())
      return;
    Urb* urb = *waiting;
    const Bytes& write = in_writes_.front();
    const size_t available = write.size() - in_offset_;
    const size_t taken = std::min(available, static_cast<size_t>(urb->length));
    std::memcpy(reinterpret_cast<usbdevfs_urb*>(urb->data->data)->buffer, write.data() + in_offset_,
                taken);
    urb->actual = static_cast<int>(taken);
    in_offset_ += taken;
    // A transfer that does not end on a packet boundary cannot take the packet that goes on
    // past its end: babble.
    const bool overflow = available > taken && urb->length % kMaxPacket != 0;
    if (in_offset_ == write.size()) {
      in_writes_.pop_front();
      in_offset_ = 0;
    }
    FinishLocked(urb, overflow ? -EOVERFLOW : 0);
    if (taken == static_cast<size_t>(urb->length))
      continue;
    // A short packet ends the transfer: the kernel cancels the rest of its URBs and refuses
    // those still to come.
    in_cut_short_ = true;
    const std::deque<Urb*> rest = flying_;
    for (Urb* later : rest) {
      if (later->in && later->continuation)
        FinishLocked(later, -ECONNRESET);
    }
  }
}

void EmulatedUsbDevice::FinishLocked(Urb* urb, int status) {
  flying_.erase(std::remove(flying_.begin(), flying_.end(), urb), flying_.end());
  urb->status = status;
  reapable_.push_back(urb);
  SyncReadinessLocked();
}

void EmulatedUsbDevice::Reap(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (reapable_.empty()) {
    umockdev_ioctl_client_complete(client, -1, plugged_ ? EAGAIN : ENODEV);
    return;
  }
  Urb* urb = reapable_.front();
  reapable_.pop_front();
  auto* fields = reinterpret_cast<usbdevfs_urb*>(urb->data->data);
  fields->status = urb->status;
  fields->actual_length = urb->actual;
  UMockdevIoctlData* pointer = umockdev_ioctl_data_resolve(argument, 0, sizeof(void*), nullptr);
  umockdev_ioctl_data_set_ptr(pointer, 0, urb->data);
  umockdev_ioctl_client_complete(client, 0, 0);
  g_object_unref(pointer);
  g_object_unref(urb->data);
  delete urb;
  SyncReadinessLocked();
}

void EmulatedUsbDevice::Discard(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
  const gulong address = reinterpret_cast<gulong>(*reinterpret_cast<void**>(argument->data));
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = std::find_if(flying_.begin(), flying_.end(),
                            [&](Urb* u) { return u->data->client_addr == address; });
  if (found == flying_.end()) {
    umockdev_ioctl_client_complete(client, -1, EINVAL);  // already done
    return;
  }
  (*found)->actual = 0;
  FinishLocked(*found, -ENOENT);
  umockdev_ioctl_client_complete(client, 0, 0);
}

}  // namespace korvelane::testing
