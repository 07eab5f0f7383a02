// SPDX-License-Identifier: GPL-3.0-or-later
// The connection with the instrument: whether the USB device is open (`link_ok`) and whether
// the instrument has accepted a Bind (`bound`), the commands that change them, and the
// panel-key exchange of the virtual front panel.
#pragma once

#include <cstdint>

#include "core/common/user_interface.h"
#include "core/logs/debug_log.h"
#include "core/logs/operate_log.h"
#include "core/protocol/acquisition_store.h"
#include "core/protocol/busy_indicator.h"
#include "core/protocol/device_hooks.h"
#include "core/protocol/exchange_gate.h"
#include "core/protocol/protocol.h"
#include "core/protocol/usb_link.h"

namespace korvelane {

class Connection {
 public:
  // The key whose answer comes only after the instrument's auto-setup.
  static constexpr uint8_t kSlowKey = 15;
  static constexpr int kSlowKeyWaitMs = 5000;
  static constexpr int kKeyWaitMs = 100;
  static constexpr int kBindWaitMs = 300;

  Connection(UsbLink& link, Protocol& protocol, ExchangeGate& gate, AcquisitionStore& store,
             BusyIndicator& busy, UserInterface& ui, DebugLog& debug_log, OperateLog& operate_log,
             DeviceHooks& hooks);

  bool link_ok() const { return link_ok_; }
  bool bound() const { return bound_; }

  // Opens the USB device when it is not open yet. On true sets `link_ok`; on false leaves both
  // flags to the caller.
  bool TestLink();

  // The link test at the end of the main window's creation; silent except for pane 3.
  void StartupLinkTest();

  // The "Test Link State" command.
  void TestLinkState();

  // A device-change notification of the operating system, on the user-interface thread. One
  // that arrives in the middle of an exchange is handled when the exchange ends.
  void OnDeviceChange(uintptr_t wparam, intptr_t lparam);

  // The Connect command: the Bind exchange.
  void Connect();

  // The Disconnect command: the UnBind exchange.
  void Disconnect();

  // Sends one key or knob code of the virtual front panel; true when the instrument took it.
  bool SendPanelKey(uint8_t key_code, uint8_t value);

  // Status pane 3 shows the model of `product_type`; a type without a model leaves it alone.
  void ShowModelText(int product_type);

 private:
  // Clears both flags; a refresh timer left running would only complain at every tick.
  void LoseLink();
  void HandleDeviceChange(uintptr_t wparam, intptr_t lparam);
  // Sleeps around the two progress steps of a Bind or UnBind.
  void WaitForBindAnswer();

  UsbLink& link_;
  Protocol& protocol_;
  ExchangeGate& gate_;
  AcquisitionStore& store_;
  BusyIndicator& busy_;
  UserInterface& ui_;
  DebugLog& debug_log_;
  OperateLog& operate_log_;
  DeviceHooks& hooks_;
  bool link_ok_ = false;
  bool bound_ = false;
};

}  // namespace korvelane
