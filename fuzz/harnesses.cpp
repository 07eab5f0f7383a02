// SPDX-License-Identifier: GPL-3.0-or-later
#include "harnesses.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/common/clock.h"
#include "core/common/silent_user_interface.h"
#include "core/files/bitmap_codec.h"
#include "core/logs/debug_log.h"
#include "core/protocol/measurement_record.h"
#include "core/protocol/protocol.h"
#include "core/views/measurement_column.h"
#include "transport/answer_assembler.h"

namespace korvelane::fuzz {
namespace {

class QuietClock : public Clock {
 public:
  LocalTime Now() const override { return {2026, 1, 1, 0, 0, 0, 0}; }
};

// A debug log in a folder that does not exist: every line is formatted, none is written.
DebugLog& QuietLog() {
  static QuietClock clock;
  static DebugLog log("/nonexistent/korvelane-fuzz", clock);
  return log;
}

// A link whose answers are the input, read as the instrument's pipe delivers them: a 16-byte
// read takes the header, the following read of the whole message repeats the header and takes
// the body.
class ByteStreamLink : public UsbLink {
 public:
  ByteStreamLink(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  int UsbOpen(uintptr_t) override { return 1; }
  void UsbClose() override {}
  void UsbDeviceChange(uintptr_t, intptr_t) override {}
  int UsbIsOpen() override { return 1; }
  int UsbWrite(int, const uint8_t*, uint32_t) override { return 1; }
  int UsbRead(int pipe, uint8_t* buffer, uint32_t count) override {
    Check(pipe == kPipeIn, "answers are read from the in pipe");
    Check(count <= kBufferSize, "a read fits the receive buffer");
    if (!header_read_) {
      Check(count == kHeaderSize, "a message is read header first");
      if (size_ - at_ < kHeaderSize) {
        at_ = size_;
        return 0;
      }
      std::memcpy(header_, data_ + at_, kHeaderSize);
      at_ += kHeaderSize;
      std::memcpy(buffer, header_, kHeaderSize);
      header_read_ = true;
      return 1;
    }
    header_read_ = false;
    Check(count >= kHeaderSize, "a whole-message read holds its header");
    const size_t body = count - kHeaderSize;
    if (size_ - at_ < body) {
      at_ = size_;
      return 0;
    }
    std::memcpy(buffer, header_, kHeaderSize);
    std::memcpy(buffer + kHeaderSize, data_ + at_, body);
    at_ += body;
    return 1;
  }

  // A new exchange starts on a message boundary: what was left of the last answer is gone.
  void StartExchange() { header_read_ = false; }
  bool exhausted() const { return at_ >= size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
  uint8_t header_[kHeaderSize] = {};
  bool header_read_ = false;  // the next read is the whole message
};

void CheckChannel(const ChannelData& channel) {
  Check(channel.count >= 1 && channel.count <= kMaxSamples, "channel count within 1..4000");
  Check(channel.volts_text.size() <= 49, "volts/div text within its 49 characters");
}

// What an assembled answer must be, worked out byte by byte from the bytes taken.
class AnswerModel {
 public:
  using State = transport::AnswerAssembler::State;

  explicit AnswerModel(uint32_t limit) : limit_(limit) {}

  void Take(const uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
      if (state_ != State::kCollecting) {
        surplus_ = surplus_ || state_ == State::kComplete;
        return;
      }
      bytes_.push_back(data[i]);
      if (bytes_.size() < kHeaderSize)
        continue;
      const uint32_t length = announced();
      if (length > limit_ - kHeaderSize)
        state_ = State::kRefused;
      else if (bytes_.size() == kHeaderSize + length)
        state_ = State::kComplete;
    }
  }
  bool Read(uint32_t count) {
    if (state_ != State::kComplete || count > bytes_.size())
      return false;
    if (count == bytes_.size())
      Reset();
    return true;
  }
  void Reset() { *this = AnswerModel(limit_); }

  uint32_t announced() const {
    return bytes_.size() >= kHeaderSize ? MsgLen(ByteView(bytes_.data(), bytes_.size())) : 0;
  }
  uint32_t missing() const {
    if (state_ != State::kCollecting)
      return 0;
    const size_t wanted = bytes_.size() < kHeaderSize ? kHeaderSize : kHeaderSize + announced();
    return static_cast<uint32_t>(wanted - bytes_.size());
  }
  State state() const { return state_; }
  bool surplus() const { return surplus_; }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  uint32_t limit_;
  std::vector<uint8_t> bytes_;
  State state_ = State::kCollecting;
  bool surplus_ = false;
};

}  // namespace

void FuzzReceivePath(const uint8_t* data, size_t size) {
  if (size == 0)
    return;
  RequestSelectors selectors;
  selectors.ch1_measure_wanted = data[0] & 1;
  selectors.ch2_measure_wanted = (data[0] >> 1) & 1;
  selectors.get_all_data = (data[0] >> 2) & 1;
  AcquisitionStore store;
  BitmapTransferState bitmap_state;
  ByteStreamLink link(data + 1, size - 1);
  SilentUserInterface ui;
  ExchangePacing pacing(ui);
  Protocol protocol(link, QuietLog(), ResultTargets{store, selectors, bitmap_state}, pacing);
  while (!link.exhausted()) {
    link.StartExchange();
    if (protocol.ProtocolReceive())
      Check(protocol.LastMessage().size() >= kHeaderSize, "a handled message has its header");
    CheckChannel(store.ch1);
    CheckChannel(store.ch2);
    Check(bitmap_state.piece_length <= bmp_result::kPieceCapacity, "piece within its capacity");
  }
}

void FuzzBitmapPieces(const uint8_t* data, size_t size) {
  ByteView input(data, size);
  const bool fix_checksums = input.U8(0) & 1;
  size_t at = 1;
  BitmapTransferState state;
  const ByteView begin(data + std::min(at, size),
                       std::min<size_t>(bmp_result::kBeginSize, size - std::min(at, size)));
  at += begin.size();
  if (!HandleBmpBeginResult(begin, state, QuietLog()))
    return;

  SampleArray piece_buffer{};
  std::vector<uint8_t> file;
  std::vector<uint8_t> body;
  uint32_t piece = 0;
  while (at + 2 <= size && piece < 64) {
    const size_t length = std::min<size_t>(data[at] | data[at + 1] << 8, size - at - 2);
    body.assign(data + at + 2, data + at + 2 + length);
    at += 2 + length;
    if (fix_checksums && body.size() >= bmp_result::kData) {
      const ByteView view(body.data(), body.size());
      const uint32_t length_field =
          std::min<uint32_t>(view.U32BE(bmp_result::kFileLen), bmp_result::kPieceCapacity);
      std::vector<uint8_t> piece_data(length_field);
      view.CopyTo(bmp_result::kData, piece_data.data(), piece_data.size());
      PutU32BE(body.data() + bmp_result::kChecksum,
               PieceChecksum(piece_data.data(), piece_data.size()));
    }
    state.expected_piece = piece;
    const uint32_t before = state.received_length;
    if (!HandleBmpTransResult(ByteView(body.data(), body.size()), state, piece_buffer,
                              QuietLog())) {
      Check(state.received_length == before, "a refused piece is not counted");
      continue;
    }
    Check(state.piece_length >= 1 && state.piece_length <= bmp_result::kPieceCapacity,
          "an accepted piece holds 1..4000 bytes");
    Check(state.received_length == before + state.piece_length, "an accepted piece is counted");
    file.insert(file.end(), piece_buffer.begin(), piece_buffer.begin() + state.piece_length);
    ++piece;
    if (state.complete())
      break;
  }
  DecodedBitmap picture;
  if (DecodeBitmap(ByteView(file.data(), file.size()), picture) == BitmapError::kNone)
    Check(picture.valid(), "a decoded screen bitmap is valid");
}

void FuzzMeasurementFormat(const uint8_t* data, size_t size) {
  ByteView input(data, size);
  const int column = 1 + input.U8(0) % 7;
  const ByteView records = input.Sub(1);
  for (int i = 0; i < kMeasurementItemCount; ++i) {
    const MeasurementRecord record = DecodeMeasurementRecord(records, i);
    const std::string text = FormatMeasurement(record);
    Check(!text.empty(), "a measurement text is never empty");
    if (!std::isfinite(record.value))
      Check(text.rfind("****", 0) == 0, "a non-finite value shows stars");
  }
  ViewTables tables;
  FillMeasurementColumn(tables, records, column);
}

void FuzzUsbLink(const uint8_t* data, size_t size) {
  using State = transport::AnswerAssembler::State;
  ByteView input(data, size);
  constexpr uint32_t kPackets[] = {1, 8, 64, 512};
  constexpr uint32_t kLimits[] = {transport::kMaxUsbMessage, 16, 100, 4200};
  const uint32_t packet = kPackets[input.U8(0) & 3];
  const uint32_t limit = kLimits[(input.U8(0) >> 2) & 3];
  transport::AnswerAssembler assembler(limit);
  AnswerModel model(limit);
  size_t at = 1;
  while (at < size) {
    const uint8_t op = data[at++];
    const uint32_t operand = input.U8(at) | input.U8(at + 1) << 8;
    at = std::min(at + 2, size);
    switch (op & 3) {
      case 0: {
        uint32_t length = std::min<uint32_t>(operand, static_cast<uint32_t>(size - at));
        if (op & 4 && assembler.state() == State::kCollecting)
          length = std::min(length, (assembler.Missing() + packet - 1) / packet * packet);
        // A copy of just those bytes, so that a read past them is caught.
        const std::vector<uint8_t> chunk(data + at, data + at + length);
        at += length;
        Check(assembler.Take(chunk.data(), chunk.size()) == assembler.state(),
              "Take returns the state");
        model.Take(chunk.data(), chunk.size());
        break;
      }
      case 1: {
        std::vector<uint8_t> buffer(operand);
        const std::vector<uint8_t> expected(
            model.bytes().begin(),
            model.bytes().begin() + std::min<size_t>(operand, model.bytes().size()));
        const bool read = assembler.Read(buffer.data(), operand);
        Check(read == model.Read(operand),
              "a read succeeds only on a complete message that holds it");
        if (read)
          Check(buffer == expected, "a read returns the message's first bytes");
        break;
      }
      default:
        assembler.Reset();
        model.Reset();
        break;
    }

    Check(assembler.state() == model.state(),
          "complete exactly at the announced length, refused when oversize");
    Check(assembler.Missing() == model.missing(), "missing is the rest of header or message");
    Check(assembler.surplus() == model.surplus(), "dropped bytes past the message are noted");
    if (model.bytes().size() >= kHeaderSize)
      Check(assembler.announced_length() == model.announced(), "the header's length");
    const ByteView message = assembler.message();
    if (model.state() == State::kComplete) {
      Check(message.size() == model.bytes().size() && message.size() <= limit &&
                std::equal(model.bytes().begin(), model.bytes().end(), message.data()),
            "the message is the bytes taken, within the limit");
    } else {
      Check(message.size() == 0, "no message unless complete");
    }
  }
}

const Harness kHarnesses[] = {
    {"receive_path", FuzzReceivePath},      {"bitmap_pieces", FuzzBitmapPieces},
    {"bitmap_decoder", FuzzBitmapDecoder},  {"wave_record", FuzzWaveRecord},
    {"graph_file", FuzzGraphFile},          {"setting_file", FuzzSettingFile},
    {"measurement", FuzzMeasurementFormat}, {"usb_link", FuzzUsbLink},
};
const size_t kHarnessCount = sizeof kHarnesses / sizeof kHarnesses[0];

}  // namespace korvelane::fuzz
