// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/simulated_instrument.h"

#include <algorithm>
#include <cstring>
#include <deque>

#include "core/common/byte_view.h"
#include "core/protocol/frame.h"
#include "simulator/screen_bitmap.h"
#include "simulator/settings_block.h"

namespace korvelane::sim {
namespace {

constexpr uint8_t kAnswerType = 1;
constexpr int8_t kUnusedOperation = 7;
constexpr uint8_t kUnknownOperationError = 1;

// Body sizes of the answers.
constexpr size_t kShortBody = 4;
constexpr size_t kParamBody = 64;
constexpr size_t kChannelBody = 4184;
constexpr size_t kConfigBody = 4 + kConfigBlockSize;  // 2504
constexpr size_t kBmpBeginBody = 12;
constexpr size_t kBmpPieceBody = 4014;
constexpr size_t kBmpPieceData = 4000;

// Channel record offsets.
constexpr size_t kCountAt = 4;
constexpr size_t kSamplesAt = 8;
constexpr size_t kMeasureAt = 4008;

// Bitmap piece answer offsets.
constexpr size_t kFileNumAt = 0;
constexpr size_t kFileLenAt = 4;
constexpr size_t kChecksumAt = 8;
constexpr size_t kPieceDataAt = 12;
constexpr size_t kPieceTypeAt = 4012;
constexpr size_t kPieceResultAt = 4013;

std::vector<uint8_t> Message(int8_t operation, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> message(kHeaderSize + body.size(), 0);
  std::memcpy(message.data(), kDsoppSign, sizeof kDsoppSign);
  PutU32BE(message.data() + kOffsetMsgLen, static_cast<uint32_t>(body.size()));
  message[kOffsetMsgType] = kAnswerType;
  message[kOffsetOperationId] = static_cast<uint8_t>(operation);
  std::copy(body.begin(), body.end(), message.begin() + kHeaderSize);
  return message;
}

bool IsPieceFault(FaultKind kind) {
  return kind == FaultKind::kBadChecksum || kind == FaultKind::kWrongFileNum ||
         kind == FaultKind::kZeroFileLen;
}

}  // namespace

struct SimulatedInstrument::State {
  explicit State(const SimulatorOptions& o)
      : options(o), scope(o.seed), settings(NewSettingsBlock(o.product_type, scope.state())) {}

  SimulatorOptions options;
  Scope scope;
  SettingsBlock settings;  // kept for the part the simulation does not act on
  bool plugged = true;
  bool bound = false;
  uint64_t exchanges = 0;
  int unplug_countdown = -1;  // exchanges left before unplugging, -1 for none
  std::deque<Fault> faults;
  PlugListener listener;
  std::vector<uint8_t> bitmap;  // the file of the transfer under way
  bool transfer_open = false;

  // What one request asks for, and the fault chosen for its answer.
  struct Request {
    int8_t operation = 0;
    ByteView body;
    const Fault* fault = nullptr;
    bool refused = false;  // the fault makes the instrument refuse it
  };

  std::vector<uint8_t> Answer(const Request& r);
  std::vector<uint8_t> WaveData(const Request& r);
  std::vector<uint8_t> ChannelRecord(const Request& r, int channel, bool all_data);
  std::vector<uint8_t> SetConfig(const Request& r);
  std::vector<uint8_t> BmpBegin(const Request& r);
  std::vector<uint8_t> BmpPiece(const Request& r);
  std::vector<uint8_t> BmpEnd(const Request& r);

  const Fault* TakeFault(int8_t operation, ByteView body, Fault& taken);
  void Spoil(const Fault& fault, std::vector<uint8_t>& answer) const;
  void SetPlugged(bool value);
};

std::vector<uint8_t> SimulatedInstrument::State::Answer(const Request& r) {
  const bool ok = !r.refused;
  switch (r.operation) {
    case OP_BIND:
      if (ok)
        bound = true;
      return Message(OP_BIND, {static_cast<uint8_t>(ok ? 0 : 1),
                               static_cast<uint8_t>(options.product_type), 0, 0});
    case OP_UNBIND:
      if (ok) {
        bound = false;
        transfer_open = false;
      }
      return Message(OP_UNBIND, {static_cast<uint8_t>(ok ? 0 : 1), 0, 0, 0});
    case OP_PANEL_KEY: {
      const bool done = ok && bound && scope.PressKey(r.body.U8(0), r.body.U8(1));
      return Message(OP_PANEL_KEY, {static_cast<uint8_t>(done ? 0 : 1), 0, 0, 0});
    }
    case OP_WAVE_DATA:
      return WaveData(r);
    case OP_SET_CONFIG:
      return SetConfig(r);
    case OP_BMP_BEGIN:
      return BmpBegin(r);
    case OP_BMP_TRANS:
      return BmpPiece(r);
    case OP_BMP_END:
      return BmpEnd(r);
    default:
      return Message(DSOPP_ERROR_RESULT_OPERATION_ID, {kUnknownOperationError, 0, 0, 0});
  }
}

std::vector<uint8_t> SimulatedInstrument::State::WaveData(const Request& r) {
  const auto type = static_cast<int8_t>(r.body.U8(0));
  switch (type) {
    case WD_PARAMS: {
      std::vector<uint8_t> body(kParamBody, 0);
      body[1] = static_cast<uint8_t>(type);
      if (r.refused || !bound) {
        body[0] = 1;
        return Message(OP_WAVE_DATA, body);
      }
      scope.Acquire();
      const ScopeState& s = scope.state();
      const std::array<uint8_t, 8> lamps = scope.Lamps(bound);
      std::copy(lamps.begin(), lamps.end(), body.begin() + 4);
      for (int n = 1; n <= 2; ++n) {
        const size_t at = n == 1 ? 12 : 28;
        const ChannelSettings& c = s.channel(n);
        const ScaleStep& volts = VoltsDivStep(c.volts_div);
        body[at] = c.on ? 1 : 0;
        PutF32BE(&body[at + 4], volts.value);
        body[at + 8] = static_cast<uint8_t>(volts.unit);
        // The record's position is 216 minus the height of 0 V above the bottom.
        PutU32BE(&body[at + 12], static_cast<uint32_t>(216 - c.position));
      }
      const ScaleStep& time = TimeDivStep(s.time_div);
      PutF32BE(&body[44], time.value);
      body[48] = static_cast<uint8_t>(time.unit);
      PutF32BE(&body[52], static_cast<float>(s.hor_steps * time.value / 25.0f));
      body[56] = static_cast<uint8_t>(time.unit);
      body[60] = scope.Status();
      return Message(OP_WAVE_DATA, body);
    }
    case WD_CH1:
    case WD_CH2:
    case WD_CH1_ALL:
    case WD_CH2_ALL:
      return ChannelRecord(r, type == WD_CH1 || type == WD_CH1_ALL ? 1 : 2,
                           type == WD_CH1_ALL || type == WD_CH2_ALL);
    case WD_CONFIG: {
      std::vector<uint8_t> body(kConfigBody, 0);
      body[1] = static_cast<uint8_t>(type);
      if (r.refused || !bound) {
        body[0] = 1;
      } else {
        EncodeSettings(scope.state(), settings);
        std::copy(settings.begin(), settings.end(), body.begin() + 4);
      }
      return Message(OP_WAVE_DATA, body);
    }
    default:
      return Message(OP_WAVE_DATA, {1, static_cast<uint8_t>(type), 0, 0});
  }
}

std::vector<uint8_t> SimulatedInstrument::State::ChannelRecord(const Request& r, int channel,
                                                               bool all_data) {
  std::vector<uint8_t> body(kChannelBody, 0);
  body[1] = r.body.U8(0);
  // A channel that is switched off has no trace to send.
  if (r.refused || !bound || !scope.state().channel(channel).on) {
    body[0] = 1;
    return Message(OP_WAVE_DATA, body);
  }
  const std::vector<uint8_t> samples = scope.Samples(channel, all_data);
  PutU32BE(&body[kCountAt], static_cast<uint32_t>(samples.size()));
  std::copy(samples.begin(), samples.end(), body.begin() + kSamplesAt);
  if (r.body.U8(1) == 1) {
    const Measurements m = scope.MeasureRecord(channel, all_data);
    for (size_t i = 0; i < m.size(); ++i)
      EncodeMeasurementRecord(m[i], &body[kMeasureAt + 16 * i]);
  }
  return Message(OP_WAVE_DATA, body);
}

std::vector<uint8_t> SimulatedInstrument::State::SetConfig(const Request& r) {
  ScopeState decoded;
  const bool ok = !r.refused && bound && r.body.size() == kSettingsSize &&
                  DecodeSettings(r.body.data(), r.body.size(), options.product_type, decoded);
  if (ok) {
    std::copy(r.body.data(), r.body.data() + kSettingsSize, settings.begin());
    scope.SetState(decoded);
  }
  return Message(OP_SET_CONFIG, {static_cast<uint8_t>(ok ? 0 : 1), 0, 0, 0});
}

std::vector<uint8_t> SimulatedInstrument::State::BmpBegin(const Request& r) {
  std::vector<uint8_t> body(kBmpBeginBody, 0);
  body[0] = r.body.U8(0);
  const bool ok = !r.refused && bound && r.body.U8(0) == 0;
  if (ok) {
    bitmap = RenderScreenBitmap(scope, options.product_type);
    transfer_open = true;
    PutU32BE(&body[4], static_cast<uint32_t>(bitmap.size()));
  }
  body[8] = ok ? 0 : 1;
  return Message(OP_BMP_BEGIN, body);
}

std::vector<uint8_t> SimulatedInstrument::State::BmpPiece(const Request& r) {
  std::vector<uint8_t> body(kBmpPieceBody, 0);
  const uint32_t piece = r.body.U32BE(4);
  const uint64_t start = static_cast<uint64_t>(piece) * kBmpPieceData;
  PutU32BE(&body[kFileNumAt], piece);
  body[kPieceTypeAt] = r.body.U8(0);
  if (r.refused || !bound || !transfer_open || r.body.U8(0) != 0 || start >= bitmap.size()) {
    body[kPieceResultAt] = 1;
    return Message(OP_BMP_TRANS, body);
  }
  const size_t length = std::min<size_t>(kBmpPieceData, bitmap.size() - start);
  uint32_t sum = 0;
  for (size_t i = 0; i < length; ++i) {
    body[kPieceDataAt + i] = bitmap[start + i];
    sum += bitmap[start + i];
  }
  PutU32BE(&body[kFileLenAt], static_cast<uint32_t>(length));
  PutU32BE(&body[kChecksumAt], 0u - sum);  // data bytes plus checksum make 0
  return Message(OP_BMP_TRANS, body);
}

std::vector<uint8_t> SimulatedInstrument::State::BmpEnd(const Request& r) {
  const bool ok = !r.refused && bound && r.body.U8(0) == 0;
  if (ok) {
    transfer_open = false;
    bitmap.clear();
  }
  return Message(OP_BMP_END, {r.body.U8(0), static_cast<uint8_t>(ok ? 0 : 1), 0, 0});
}

const Fault* SimulatedInstrument::State::TakeFault(int8_t operation, ByteView body, Fault& taken) {
  for (auto it = faults.begin(); it != faults.end(); ++it) {
    const bool matches =
        IsPieceFault(it->kind)
            ? operation == OP_BMP_TRANS && body.U32BE(4) == static_cast<uint32_t>(it->piece)
            : it->operation == 0 || it->operation == operation;
    if (!matches)
      continue;
    taken = *it;
    if (--it->times <= 0)
      faults.erase(it);
    return &taken;
  }
  return nullptr;
}

void SimulatedInstrument::State::Spoil(const Fault& fault, std::vector<uint8_t>& answer) const {
  uint8_t* body = answer.data() + kHeaderSize;
  const bool piece = answer.size() == kHeaderSize + kBmpPieceBody;
  switch (fault.kind) {
    case FaultKind::kBadSignature:
      answer[7] = '1';  // "DSOPPV21"
      break;
    case FaultKind::kInvokeType:
      answer[kOffsetMsgType] = INVOKE_MSG;
      break;
    case FaultKind::kUnknownOperation:
      answer[kOffsetOperationId] = static_cast<uint8_t>(kUnusedOperation);
      break;
    case FaultKind::kBadChecksum:
      if (piece)
        PutU32BE(body + kChecksumAt, ByteView(body, kBmpPieceBody).U32BE(kChecksumAt) + 1);
      break;
    case FaultKind::kWrongFileNum:
      if (piece)
        PutU32BE(body + kFileNumAt, ByteView(body, kBmpPieceBody).U32BE(kFileNumAt) + 1);
      break;
    case FaultKind::kZeroFileLen:
      if (piece)
        PutU32BE(body + kFileLenAt, 0);
      break;
    default:
      break;
  }
}

void SimulatedInstrument::State::SetPlugged(bool value) {
  if (plugged == value)
    return;
  plugged = value;
  if (!plugged) {
    bound = false;
    transfer_open = false;
    bitmap.clear();
  }
  if (listener)
    listener(plugged);
}

SimulatedInstrument::SimulatedInstrument(SimulatorOptions options) : state_(new State(options)) {}

SimulatedInstrument::~SimulatedInstrument() {
  delete state_;
}

std::vector<uint8_t> SimulatedInstrument::Exchange(const uint8_t* request, size_t size) {
  State& s = *state_;
  if (!s.plugged || !request || size < kHeaderSize)
    return {};
  const ByteView message(request, size);
  if (std::memcmp(request, kDsoppSign, sizeof kDsoppSign) != 0 || MsgType(message) != INVOKE_MSG ||
      MsgLen(message) != size - kHeaderSize)
    return {};
  if (s.unplug_countdown == 0) {
    s.unplug_countdown = -1;
    s.SetPlugged(false);
    return {};
  }
  ++s.exchanges;
  if (s.unplug_countdown > 0)
    --s.unplug_countdown;

  State::Request r;
  r.operation = OperationOf(message);
  r.body = message.Sub(kHeaderSize);
  Fault taken;
  r.fault = s.TakeFault(r.operation, r.body, taken);
  if (r.fault && r.fault->kind == FaultKind::kErrorReport) {
    return Message(DSOPP_ERROR_RESULT_OPERATION_ID, {static_cast<uint8_t>(r.fault->code), 0, 0, 0});
  }
  r.refused = r.fault && r.fault->kind == FaultKind::kResultFailure;
  std::vector<uint8_t> answer = s.Answer(r);
  if (r.fault) {
    if (r.fault->kind == FaultKind::kDropAnswer)
      return {};
    s.Spoil(*r.fault, answer);
  }
  return answer;
}

void SimulatedInstrument::InjectFault(const Fault& fault) {
  if (fault.times > 0)
    state_->faults.push_back(fault);
}

void SimulatedInstrument::ClearFaults() {
  state_->faults.clear();
  state_->unplug_countdown = -1;
}

void SimulatedInstrument::Unplug() {
  state_->SetPlugged(false);
}

void SimulatedInstrument::Plug() {
  state_->SetPlugged(true);
}

void SimulatedInstrument::UnplugAfter(int exchanges) {
  if (exchanges <= 0)
    Unplug();
  else
    state_->unplug_countdown = exchanges;
}

bool SimulatedInstrument::plugged() const {
  return state_->plugged;
}

void SimulatedInstrument::SetPlugListener(PlugListener listener) {
  state_->listener = std::move(listener);
}

bool SimulatedInstrument::bound() const {
  return state_->bound;
}

const std::array<uint8_t, 2500>& SimulatedInstrument::settings_block() const {
  EncodeSettings(state_->scope.state(), state_->settings);
  return state_->settings;
}

std::vector<uint8_t> SimulatedInstrument::ScreenBitmap() const {
  if (state_->transfer_open)
    return state_->bitmap;
  return RenderScreenBitmap(state_->scope, state_->options.product_type);
}

std::array<uint8_t, 8> SimulatedInstrument::panel_lamps() const {
  return state_->scope.Lamps(state_->bound);
}

uint64_t SimulatedInstrument::exchange_count() const {
  return state_->exchanges;
}

int8_t SimulatedInstrument::product_type() const {
  return state_->options.product_type;
}

const ScopeState& SimulatedInstrument::front_panel() const {
  return state_->scope.state();
}

size_t SimulatedInstrument::pending_faults() const {
  return state_->faults.size();
}

}  // namespace korvelane::sim
