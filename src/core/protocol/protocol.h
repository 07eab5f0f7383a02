// SPDX-License-Identifier: GPL-3.0-or-later
// One exchange at a time: requests are built in send_buffer, answers read into receive_buffer.
#pragma once

#include "core/logs/debug_log.h"
#include "core/protocol/dispatcher.h"
#include "core/protocol/exchange_pacing.h"
#include "core/protocol/frame.h"
#include "core/protocol/usb_link.h"

namespace korvelane {

class Protocol {
 public:
  Protocol(UsbLink& link, DebugLog& log, const ResultTargets& targets, ExchangePacing& pacing);

  MessageBuffer& send_buffer() { return send_buffer_; }
  const MessageBuffer& receive_buffer() const { return receive_buffer_; }

  // Sends msg_len + 16 bytes of send_buffer; a failure is logged and otherwise ignored (the
  // following receive fails).
  void ProtocolSend();

  // The instrument's time for the answer to the request just sent: slept, or, in fast exchange,
  // granted to the next receive on top of the link's read time-out.
  void AwaitAnswer(int milliseconds) { pacing_.AwaitAnswer(milliseconds); }

  // Reads one answer and dispatches it. True when it was received, valid and handled; each
  // failure is logged where it is found.
  bool ProtocolReceive();
  // As ProtocolReceive, but the answer may take up to `timeout_ms` to arrive, whatever the
  // link's own read time-out; it is read as soon as it is there.
  bool ProtocolReceiveWithin(int timeout_ms);

  // The whole message of the last successful receive.
  ByteView LastMessage() const { return ByteView(receive_buffer_.data(), last_message_size_); }

 private:
  // Reads `count` bytes of the answer: within `timeout_ms`, or the link's own time-out when it
  // is kLinkTimeout.
  bool Read(uint32_t count, int timeout_ms);
  static constexpr int kLinkTimeout = -1;
  bool Receive(int timeout_ms);

  UsbLink& link_;
  DebugLog& log_;
  ResultTargets targets_;
  ExchangePacing& pacing_;
  MessageBuffer send_buffer_{};
  MessageBuffer receive_buffer_{};
  size_t last_message_size_ = 0;
};

}  // namespace korvelane
