// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/connection.h"

#include "core/protocol/frame.h"
#include "core/protocol/model_table.h"

namespace korvelane {
namespace {
constexpr int kConnectionPane = 3;
constexpr const char* kLinkIncorrect = "The link is incorrect!";
constexpr const char* kNotLinked = "The software is not link with device!";
}  // namespace

Connection::Connection(UsbLink& link, Protocol& protocol, ExchangeGate& gate,
                       AcquisitionStore& store, BusyIndicator& busy, UserInterface& ui,
                       DebugLog& debug_log, OperateLog& operate_log, DeviceHooks& hooks)
    : link_(link),
      protocol_(protocol),
      gate_(gate),
      store_(store),
      busy_(busy),
      ui_(ui),
      debug_log_(debug_log),
      operate_log_(operate_log),
      hooks_(hooks) {}

bool Connection::TestLink() {
  bool ok = link_.UsbIsOpen() != 0;
  if (!ok)
    ok = link_.UsbOpen(hooks_.WindowHandle()) != 0 && link_.UsbIsOpen() != 0;
  if (ok)
    link_ok_ = true;
  return ok;
}

void Connection::LoseLink() {
  const bool was_bound = bound_;
  link_ok_ = false;
  bound_ = false;
  if (was_bound) {
    hooks_.StopRefreshTimer();
    hooks_.SetAutoButtonEnabled(true);
  }
}

void Connection::StartupLinkTest() {
  if (TestLink())
    return;
  LoseLink();
  ui_.SetPaneText(kConnectionPane, kLinkIncorrect);
  ui_.RefreshMenuLamps();
}

void Connection::TestLinkState() {
  operate_log_.RecordOperation("Test the Link state");
  if (TestLink()) {
    ui_.ShowMessage("The State is natural!", "Info", MessageIcon::kInformation);
    ui_.RefreshMenuLamps();
    return;
  }
  LoseLink();
  ui_.SetPaneText(kConnectionPane, kLinkIncorrect);
  ui_.ShowMessage("The link is incorrect, please check!", "Error", MessageIcon::kQuestion);
  ui_.RefreshMenuLamps();
}

void Connection::OnDeviceChange(uintptr_t wparam, intptr_t lparam) {
  // An exchange (a whole refresh cycle) is not torn in two by a change in one of its waits.
  gate_.AfterExchange([this, wparam, lparam] { HandleDeviceChange(wparam, lparam); });
}

void Connection::HandleDeviceChange(uintptr_t wparam, intptr_t lparam) {
  link_.UsbDeviceChange(wparam, lparam);
  if (link_.UsbIsOpen() != 0)
    link_ok_ = true;
  else
    LoseLink();
  ui_.RefreshMenuLamps();
  debug_log_.WriteDebugLog("当前应用程序检测到USB设备的拔插动作", kNormal);
  ui_.SetPaneText(kConnectionPane, "There is a device changing !");
}

void Connection::WaitForBindAnswer() {
  protocol_.AwaitAnswer(kBindWaitMs);
  busy_.ShowProgress(2, 1);
  protocol_.AwaitAnswer(kBindWaitMs);
  busy_.ShowProgress(2, 1);
}

void Connection::Connect() {
  if (bound_)
    return;
  if (!link_ok_) {
    ui_.ShowMessage(kLinkIncorrect, "Error", MessageIcon::kNone);
    ui_.RefreshMenuLamps();
    return;
  }
  ExchangeGate::Hold hold(gate_);
  ui_.SetWaitCursor(true);
  operate_log_.RecordOperation("Bind");
  BuildBindRequest(protocol_.send_buffer());
  protocol_.ProtocolSend();
  WaitForBindAnswer();
  if (!protocol_.ProtocolReceive()) {
    debug_log_.WriteDebugLog("尝试连接设备操作失败", kWarning);
    ui_.ShowMessage("Try to Bind failed!", "Error", MessageIcon::kExclamation);
    ui_.RefreshMenuLamps();
    ui_.SetWaitCursor(false);
    return;
  }
  operate_log_.RecordOperation("Bind successed!");
  ShowModelText(store_.product_type);
  bound_ = true;
  hooks_.EnableSettingButtons(true);
  ui_.SetWaitCursor(false);
  ui_.RefreshMenuLamps();
}

void Connection::Disconnect() {
  if (!bound_ || !link_ok_) {
    ui_.ShowMessage("Current isn't Binding ,so can't do 'UnBind' oper!", "Error",
                    MessageIcon::kExclamation);
    ui_.RefreshMenuLamps();
    return;
  }
  ExchangeGate::Hold hold(gate_);
  ui_.SetWaitCursor(true);
  operate_log_.RecordOperation("UnBind");
  BuildUnbindRequest(protocol_.send_buffer());
  protocol_.ProtocolSend();
  WaitForBindAnswer();
  if (!protocol_.ProtocolReceive()) {
    debug_log_.WriteDebugLog("尝试断开设备操作失败", kWarning);
    ui_.ShowMessage("Try to UnBind failed!", "Error", MessageIcon::kExclamation);
    ui_.SetWaitCursor(false);
    ui_.RefreshMenuLamps();
    return;
  }
  operate_log_.RecordOperation("UnBind successed!");
  bound_ = false;
  hooks_.EnableSettingButtons(false);
  hooks_.StopRefreshTimer();
  hooks_.SetAutoButtonEnabled(true);
  ui_.SetWaitCursor(false);
  ui_.RefreshMenuLamps();
}

bool Connection::SendPanelKey(uint8_t key_code, uint8_t value) {
  if (!bound_ || !link_ok_) {
    ui_.ShowMessage(kNotLinked, "Error", MessageIcon::kExclamation);
    ui_.RefreshMenuLamps();
    return false;
  }
  ExchangeGate::Hold hold(gate_);
  BuildPanelKeyRequest(protocol_.send_buffer(), key_code, value);
  protocol_.ProtocolSend();
  // The instrument carries out an auto-set before it answers, fast exchange or not.
  if (key_code == kSlowKey)
    ui_.Sleep(kSlowKeyWaitMs);
  else
    protocol_.AwaitAnswer(kKeyWaitMs);
  if (protocol_.ProtocolReceive())
    return true;
  debug_log_.WriteDebugLog("虚拟面板按键操作通信失败", kWarning);
  ui_.ShowMessage("The Simulant Pane oper failed!", "Error", MessageIcon::kExclamation);
  ui_.RefreshMenuLamps();
  return false;
}

void Connection::ShowModelText(int product_type) {
  if (const char* text = ModelText(product_type))
    ui_.SetPaneText(kConnectionPane, text);
}

}  // namespace korvelane
