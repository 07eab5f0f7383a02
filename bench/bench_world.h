// A device over a silent link, with both channels full and measured, for timing the redraw.
#pragma once

#include <string>

#include "core/common/clock.h"
#include "core/common/user_interface.h"
#include "core/logs/debug_log.h"
#include "core/logs/operate_log.h"
#include "core/protocol/device.h"
#include "core/protocol/measurement_record.h"
#include "core/protocol/unit_table.h"
#include "core/views/view_tables.h"

namespace korvelane::bench {

class SilentLink : public UsbLink {
 public:
  int UsbOpen(uintptr_t) override { return 1; }
  void UsbClose() override {}
  void UsbDeviceChange(uintptr_t, intptr_t) override {}
  int UsbIsOpen() override { return 1; }
  int UsbRead(int, uint8_t*, uint32_t) override { return 0; }
  int UsbWrite(int, const uint8_t*, uint32_t) override { return 0; }
};

class QuietUserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
  void SetWaitCursor(bool) override {}
  void SetPaneText(int, const std::string&) override {}
  void SetProgressPosition(int) override {}
  void Sleep(int) override {}
  void RefreshMenuLamps() override {}
};

struct BenchWorld {
  BenchWorld() {
    AcquisitionStore& store = device.store();
    for (int channel : {1, 2}) {
      ChannelData& data = store.channel(channel);
      data.enabled = true;
      data.count = kMaxSamples;
      data.vert_pos = 100 + channel;
      data.volts_text = "500.00mV";
      for (int i = 0; i < kMaxSamples; ++i)
        data.samples[static_cast<size_t>(i)] = static_cast<uint8_t>((i * 7 + channel) & 0xFF);
      for (int item = 0; item < kMeasurementItemCount; ++item)
        EncodeMeasurementRecord({true, 123.456f + item, kUnitMv, 2},
                                data.measure.data() + item * kMeasurementRecordSize);
    }
    store.sec_div_text = "800.00us";
    store.hori_pos_text = "0.00us";
    store.acq_status = 3;
    device.acquisition().selectors().ch1_measure_wanted = 1;
    device.acquisition().selectors().ch2_measure_wanted = 1;
  }

  SystemClock clock;
  QuietUserInterface ui;
  DebugLog debug_log{"/tmp", clock};
  OperateLog operate_log{"/tmp", clock, debug_log, ui};
  DeviceHooks hooks;
  SilentLink link;
  Device device{link, ui, debug_log, operate_log, hooks, clock};
  ViewTables tables;
};

}  // namespace korvelane::bench
