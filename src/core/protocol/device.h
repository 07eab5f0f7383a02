// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument as the application sees it: the acquisition store, the message exchange, the
// connection, the acquisition cycle and the transfers, built over one link. The application
// owns exactly one.
#pragma once

#include "core/common/clock.h"
#include "core/common/user_interface.h"
#include "core/logs/debug_log.h"
#include "core/logs/operate_log.h"
#include "core/protocol/acquisition.h"
#include "core/protocol/acquisition_store.h"
#include "core/protocol/bitmap_results.h"
#include "core/protocol/bitmap_transfer.h"
#include "core/protocol/busy_indicator.h"
#include "core/protocol/connection.h"
#include "core/protocol/device_hooks.h"
#include "core/protocol/exchange_gate.h"
#include "core/protocol/exchange_pacing.h"
#include "core/protocol/protocol.h"
#include "core/protocol/usb_link.h"
#include "core/protocol/wave_data_decoder.h"

namespace korvelane {

class Device {
 public:
  Device(UsbLink& link, UserInterface& ui, DebugLog& debug_log, OperateLog& operate_log,
         DeviceHooks& hooks, const Clock& clock);
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  AcquisitionStore& store() { return store_; }
  const AcquisitionStore& store() const { return store_; }
  Protocol& protocol() { return protocol_; }
  BusyIndicator& busy_indicator() { return busy_; }
  Connection& connection() { return connection_; }
  const Connection& connection() const { return connection_; }
  Acquisition& acquisition() { return acquisition_; }
  BitmapTransfer& bitmap_transfer() { return bitmap_transfer_; }
  // Fast exchange: answers are read as soon as they arrive instead of after fixed waits.
  bool fast_exchange() const { return pacing_.fast(); }
  void set_fast_exchange(bool fast) { pacing_.set_fast(fast); }
  // True while a command is talking to the instrument.
  bool exchange_in_progress() const { return gate_.busy(); }
  // Runs `action` once no command is talking to the instrument (at once when none is).
  void AfterExchange(std::function<void()> action) { gate_.AfterExchange(std::move(action)); }

 private:
  AcquisitionStore store_;
  RequestSelectors selectors_;
  BitmapTransferState bitmap_state_;
  ExchangePacing pacing_;
  Protocol protocol_;
  ExchangeGate gate_;
  BusyIndicator busy_;
  Connection connection_;
  Acquisition acquisition_;
  BitmapTransfer bitmap_transfer_;
};

}  // namespace korvelane
