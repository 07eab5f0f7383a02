// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/acquisition.h"

#include "core/protocol/frame.h"

namespace korvelane {
namespace {

// Builds the request of a fetch kind; false for a kind that names nothing to fetch.
bool BuildFetchRequest(MessageBuffer& buffer, int16_t kind, const RequestSelectors& selectors) {
  switch (kind) {
    case kFetchParams:
      BuildParamsRequest(buffer);
      return true;
    case kFetchCh1:
      BuildChannelRequest(buffer, WD_CH1, selectors.ch1_measure_wanted);
      return true;
    case kFetchCh2:
      BuildChannelRequest(buffer, WD_CH2, selectors.ch2_measure_wanted);
      return true;
    case kFetchConfig:
      BuildConfigUploadRequest(buffer);
      return true;
    case kFetchCh1All:
      BuildChannelRequest(buffer, WD_CH1_ALL, selectors.ch1_measure_wanted);
      return true;
    case kFetchCh2All:
      BuildChannelRequest(buffer, WD_CH2_ALL, selectors.ch2_measure_wanted);
      return true;
    default:
      return false;
  }
}

const char* FetchFailureText(int16_t kind) {
  switch (kind) {
    case kFetchParams:
      return "从设备获取“波形参数”数据通信失败";
    case kFetchCh1:
    case kFetchCh1All:
      return "从设备获取“通道1波形”数据通信失败";
    case kFetchCh2:
    case kFetchCh2All:
      return "从设备获取“通道2波形”数据通信失败";
    default:
      return "从设备获取“设备配置数据”数据通信失败";
  }
}

}  // namespace

Acquisition::Acquisition(Protocol& protocol, ExchangeGate& gate, const Connection& connection,
                         AcquisitionStore& store, RequestSelectors& selectors, BusyIndicator& busy,
                         UserInterface& ui, DebugLog& debug_log, OperateLog& operate_log,
                         DeviceHooks& hooks)
    : protocol_(protocol),
      gate_(gate),
      connection_(connection),
      store_(store),
      selectors_(selectors),
      busy_(busy),
      ui_(ui),
      debug_log_(debug_log),
      operate_log_(operate_log),
      hooks_(hooks) {}

void Acquisition::WaitForConfigAnswer() {
  protocol_.AwaitAnswer(kConfigWaitMs);
  busy_.ShowProgress(2, 1);
  protocol_.AwaitAnswer(kConfigWaitMs);
  busy_.ShowProgress(2, 1);
}

void Acquisition::WaitForAnswer(int16_t kind) {
  switch (kind) {
    case kFetchParams:
      protocol_.AwaitAnswer(kParamsWaitMs);
      return;
    case kFetchConfig:
      WaitForConfigAnswer();
      return;
    default: {
      const int channel = kind == kFetchCh2 || kind == kFetchCh2All ? 2 : 1;
      protocol_.AwaitAnswer(selectors_.measure_wanted(channel) == 1 ? kChannelMeasureWaitMs
                                                                    : kChannelWaitMs);
      return;
    }
  }
}

bool Acquisition::FetchFromDevice(int16_t kind) {
  if (!connection_.bound() || !connection_.link_ok()) {
    ui_.ShowMessage("The software is not link with device", "Error", MessageIcon::kQuestion);
    ui_.RefreshMenuLamps();
    return false;
  }
  ExchangeGate::Hold hold(gate_);
  if (!BuildFetchRequest(protocol_.send_buffer(), kind, selectors_))
    return true;
  protocol_.ProtocolSend();
  WaitForAnswer(kind);
  if (protocol_.ProtocolReceive())
    return true;
  debug_log_.WriteDebugLog(FetchFailureText(kind), kWarning);
  return false;
}

bool Acquisition::RefreshChannel(int channel) {
  const bool all = selectors_.get_all_data != 0;
  const int16_t kind =
      channel == 2 ? (all ? kFetchCh2All : kFetchCh2) : (all ? kFetchCh1All : kFetchCh1);
  if (FetchFromDevice(kind))
    return true;
  debug_log_.WriteDebugLog(
      channel == 2 ? "通信失败，刷新CH2波形数据失败" : "通信失败，刷新CH1波形数据失败", kWarning);
  return false;
}

bool Acquisition::RefreshAll() {
  if (gate_.busy())
    return false;
  // Held from here, so that no tick starts a second cycle in this one's waits or boxes.
  ExchangeGate::Hold hold(gate_);
  operate_log_.RecordOperation("Refresh the Wave Graph");
  if (!connection_.bound()) {
    ui_.ShowMessage("The software is not link with device!", "Error", MessageIcon::kExclamation);
    ui_.RefreshMenuLamps();
    return false;
  }
  ui_.SetWaitCursor(true);
  const RequestOptions options = hooks_.ReadRequestOptions();
  selectors_.ch1_measure_wanted = options.ch1_measure ? 1 : 0;
  selectors_.ch2_measure_wanted = options.ch2_measure ? 1 : 0;
  selectors_.get_all_data = options.get_all_data ? 1 : 0;
  busy_.ShowProgress(5, 1);

  bool ok = FetchFromDevice(kFetchParams);
  if (!ok)
    debug_log_.WriteDebugLog("通信失败，刷新波形参数失败", kWarning);
  // The channel flags are those of the parameter record just received.
  for (int channel = 1; ok && channel <= 2; ++channel) {
    busy_.ShowProgress(5, 1);
    if (store_.channel(channel).enabled)
      ok = RefreshChannel(channel);
  }
  if (ok) {
    hooks_.RedrawWaveGraph();
    busy_.ShowProgress(5, 1);
    hooks_.UpdatePanelLamps();
  }
  busy_.ShowProgress(5, 0);
  ui_.SetWaitCursor(false);
  return ok;
}

bool Acquisition::SendConfigBlock() {
  ExchangeGate::Hold hold(gate_);
  BuildConfigDownloadRequest(protocol_.send_buffer(), store_.config_block);
  protocol_.ProtocolSend();
  WaitForConfigAnswer();
  if (protocol_.ProtocolReceive())
    return true;
  debug_log_.WriteDebugLog("上传“设备配置数据”通信失败", kWarning);
  return false;
}

}  // namespace korvelane
