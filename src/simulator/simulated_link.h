// A UsbLink over a SimulatedInstrument in the same process.
#pragma once

#include <vector>

#include "core/protocol/usb_link.h"
#include "simulator/simulated_instrument.h"

namespace korvelane::sim {

class SimulatedLink : public UsbLink {
 public:
  explicit SimulatedLink(SimulatedInstrument& instrument);
  ~SimulatedLink() override;

  int UsbOpen(uintptr_t window) override;
  void UsbClose() override;
  void UsbDeviceChange(uintptr_t wparam, intptr_t lparam) override;
  int UsbIsOpen() override;
  int UsbRead(int pipe, uint8_t* buffer, uint32_t count) override;
  int UsbWrite(int pipe, const uint8_t* buffer, uint32_t count) override;
  // Unplugging and plugging the instrument are reported here as device changes.
  void SetDeviceChangeNotifier(DeviceChangeNotifier notifier) override;

 private:
  SimulatedInstrument& instrument_;
  DeviceChangeNotifier notifier_;
  std::vector<uint8_t> answer_;  // the answer being read
  bool open_ = false;
};

}  // namespace korvelane::sim
