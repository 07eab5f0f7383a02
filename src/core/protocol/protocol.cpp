// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/protocol.h"

namespace korvelane {

Protocol::Protocol(UsbLink& link, DebugLog& log, const ResultTargets& targets,
                   ExchangePacing& pacing)
    : link_(link), log_(log), targets_(targets), pacing_(pacing) {}

void Protocol::ProtocolSend() {
  pacing_.TakeGrace();  // what was granted to an earlier answer lapses
  const size_t size = RequestSize(send_buffer_);
  if (!link_.UsbWrite(kPipeOut, send_buffer_.data(), static_cast<uint32_t>(size))) {
    log_.WriteDebugLog("信息包发送失败", kWarning);
  }
}

bool Protocol::ProtocolReceive() {
  // In fast exchange the answer is read as soon as it arrives, and may come as late as after the
  // granted wait and the link's own time-out.
  const int grace = pacing_.TakeGrace();
  return Receive(grace > 0 ? link_.UsbReadTimeoutMs() + grace : kLinkTimeout);
}

bool Protocol::ProtocolReceiveWithin(int timeout_ms) {
  pacing_.TakeGrace();  // the caller's time-out stands for every wait
  return Receive(timeout_ms);
}

bool Protocol::Read(uint32_t count, int timeout_ms) {
  uint8_t* buffer = receive_buffer_.data();
  return (timeout_ms == kLinkTimeout
              ? link_.UsbRead(kPipeIn, buffer, count)
              : link_.UsbReadWithin(kPipeIn, buffer, count, timeout_ms)) != 0;
}

bool Protocol::Receive(int timeout_ms) {
  last_message_size_ = 0;
  if (!Read(static_cast<uint32_t>(kHeaderSize), timeout_ms)) {
    log_.WriteDebugLog("接收信息包的包头失败", kWarning);
    return false;
  }
  const uint32_t msg_len = MsgLen(ByteView(receive_buffer_.data(), kHeaderSize));
  if (msg_len > kMaxBodySize) {
    log_.WriteDebugLog("接收信息包的包身长度超出接收缓冲区，丢弃该信息包", kWarning);
    return false;
  }
  const uint32_t size = msg_len + static_cast<uint32_t>(kHeaderSize);
  if (!Read(size, timeout_ms)) {
    log_.WriteDebugLog("接收信息包的包身失败", kWarning);
    return false;
  }
  last_message_size_ = size;
  return DispatchResult(ByteView(receive_buffer_.data(), size), targets_, log_);
}

}  // namespace korvelane
