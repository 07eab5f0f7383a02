// SPDX-License-Identifier: GPL-3.0-or-later
#include "transport/usb_devices.h"

#include <cstdio>

#include "transport/libusb_link.h"

namespace korvelane::transport {
namespace {

struct ClassName {
  uint8_t code;
  const char* name;
};

constexpr ClassName kOtherClasses[] = {
    {0x01, "audio"}, {0x03, "input"}, {0x07, "printer"},  {0x08, "storage"},
    {0x09, "hub"},   {0x0e, "video"}, {0xe0, "wireless"},
};

const char* ClassNameOf(uint8_t code) {
  for (const ClassName& c : kOtherClasses) {
    if (c.code == code)
      return c.name;
  }
  return nullptr;
}

std::string Quoted(const std::string& text) {
  return text.empty() ? "?" : "\"" + text + "\"";
}

}  // namespace

const char* OtherClassName(const UsbDeviceInfo& device) {
  if (const char* name = ClassNameOf(device.device_class))
    return name;
  return ClassNameOf(device.interface_class);
}

bool IsInstrumentCandidate(const UsbDeviceInfo& device) {
  return device.bulk_pair && !OtherClassName(device);
}

std::vector<UsbIds> InstrumentCandidates(const std::vector<UsbDeviceInfo>& devices) {
  std::vector<UsbIds> candidates;
  for (const UsbDeviceInfo& device : devices) {
    if (IsInstrumentCandidate(device))
      candidates.push_back(device.ids);
  }
  return candidates;
}

std::string FormatDeviceLine(const UsbDeviceInfo& device) {
  char place[40];
  std::snprintf(place, sizeof place, "bus %03d address %03d", device.bus, device.address);
  char class_code[16];
  std::snprintf(class_code, sizeof class_code, "class %02x",
                device.device_class ? device.device_class : device.interface_class);
  const char* other = OtherClassName(device);
  std::string line = FormatUsbIds(device.ids) + "  " + place + "  " + Quoted(device.manufacturer) +
                     " " + Quoted(device.product) + "  " + (other ? other : class_code) + ", " +
                     (device.bulk_pair ? "bulk IN/OUT pair" : "no bulk IN/OUT pair") + ", ";
  switch (device.access) {
    case UsbDeviceInfo::Access::kMayOpen:
      return line + "may open";
    case UsbDeviceInfo::Access::kNoPermission:
      return line + "no access: permission";
    case UsbDeviceInfo::Access::kBusy:
      return line + "no access: busy";
  }
  return line;
}

std::string UdevRuleLine(const UsbIds& ids) {
  const std::string text = FormatUsbIds(ids);
  return "SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"" +
         text.substr(0, 4) + "\", ATTR{idProduct}==\"" + text.substr(5) + "\", TAG+=\"uaccess\"";
}

std::string UdevInstructions(const UsbIds& ids) {
  const std::string rule = UdevRuleLine(ids);
  return rule + "\n\necho '" + rule + "' | sudo tee -a /etc/udev/rules.d/" + kUdevRuleFile +
         "\nsudo udevadm control --reload && sudo udevadm trigger\n";
}

}  // namespace korvelane::transport
