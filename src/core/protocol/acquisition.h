// SPDX-License-Identifier: GPL-3.0-or-later
// Fetching the instrument's data into the acquisition store: the parameter record, the channel
// records, the settings block both ways, and the refresh cycle run by the refresh timer.
#pragma once

#include <cstdint>

#include "core/common/user_interface.h"
#include "core/logs/debug_log.h"
#include "core/logs/operate_log.h"
#include "core/protocol/acquisition_store.h"
#include "core/protocol/busy_indicator.h"
#include "core/protocol/connection.h"
#include "core/protocol/device_hooks.h"
#include "core/protocol/exchange_gate.h"
#include "core/protocol/protocol.h"
#include "core/protocol/wave_data_decoder.h"

namespace korvelane {

// What FetchFromDevice fetches.
enum FetchKind : int16_t {
  kFetchParams = 0,
  kFetchCh1 = 1,
  kFetchCh2 = 2,
  kFetchConfig = 3,
  kFetchCh1All = 5,
  kFetchCh2All = 6,
};

class Acquisition {
 public:
  static constexpr int kParamsWaitMs = 50;
  static constexpr int kChannelWaitMs = 100;
  static constexpr int kChannelMeasureWaitMs = 200;
  static constexpr int kConfigWaitMs = 80;

  Acquisition(Protocol& protocol, ExchangeGate& gate, const Connection& connection,
              AcquisitionStore& store, RequestSelectors& selectors, BusyIndicator& busy,
              UserInterface& ui, DebugLog& debug_log, OperateLog& operate_log, DeviceHooks& hooks);

  // The request selectors; RefreshAll sets them from the Wave Graph view's check boxes.
  RequestSelectors& selectors() { return selectors_; }
  const RequestSelectors& selectors() const { return selectors_; }

  // One exchange of OP_WAVE_DATA; true when the answer was taken into the store. A kind that
  // names nothing to fetch (4 and any other) succeeds at once without an exchange.
  bool FetchFromDevice(int16_t kind);

  // One refresh, run by the refresh timer and by the Wave Graph view's "Refresh": the parameter
  // record, then the record of each channel that is on, then the redraw of the Wave Graph view
  // and of the panel lamps. True when the cycle ran to the end; a refresh asked for while another
  // exchange (or another refresh) is under way does nothing and returns false.
  bool RefreshAll();

  // Sends the store's settings block to the instrument; true when the instrument took it.
  bool SendConfigBlock();

 private:
  void WaitForAnswer(int16_t kind);
  void WaitForConfigAnswer();
  // FetchFromDevice of one channel within RefreshAll.
  bool RefreshChannel(int channel);

  Protocol& protocol_;
  ExchangeGate& gate_;
  const Connection& connection_;
  AcquisitionStore& store_;
  RequestSelectors& selectors_;
  BusyIndicator& busy_;
  UserInterface& ui_;
  DebugLog& debug_log_;
  OperateLog& operate_log_;
  DeviceHooks& hooks_;
};

}  // namespace korvelane
