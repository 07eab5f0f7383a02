// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpora: small valid inputs made by the program's own writers and by the
// simulated instrument. Usage: korvelane-fuzz-seeds <corpus folder>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/files/bitmap_codec.h"
#include "core/files/wave_record.h"
#include "core/protocol/frame.h"
#include "core/protocol/measurement_record.h"
#include "simulator/simulated_instrument.h"

namespace korvelane::fuzz {
namespace {

using Bytes = std::vector<uint8_t>;

std::string root;

void Save(const std::string& target, const std::string& name, const Bytes& bytes) {
  const std::string folder = root + "/" + target;
  mkdir(root.c_str(), 0755);
  mkdir(folder.c_str(), 0755);
  const std::string path = folder + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    std::perror(path.c_str());
    std::exit(1);
  }
  std::fclose(file);
}

void Append(Bytes& out, const Bytes& more) {
  out.insert(out.end(), more.begin(), more.end());
}

Bytes Ask(sim::SimulatedInstrument& scope, const MessageBuffer& request) {
  return scope.Exchange(request.data(), RequestSize(request));
}

Bytes Bind(sim::SimulatedInstrument& scope) {
  MessageBuffer request{};
  BuildBindRequest(request);
  return Ask(scope, request);
}

// The answers of one refresh: parameters, then both channels.
Bytes Refresh(sim::SimulatedInstrument& scope, bool all_data, uint8_t measure) {
  MessageBuffer request{};
  Bytes out;
  BuildParamsRequest(request);
  Append(out, Ask(scope, request));
  BuildChannelRequest(request, all_data ? WD_CH1_ALL : WD_CH1, measure);
  Append(out, Ask(scope, request));
  BuildChannelRequest(request, all_data ? WD_CH2_ALL : WD_CH2, measure);
  Append(out, Ask(scope, request));
  return out;
}

Bytes Body(const Bytes& message) {
  return Bytes(message.begin() + kHeaderSize, message.end());
}

void ReceivePathSeeds() {
  {
    sim::SimulatedInstrument scope;
    Bytes stream{0x03};
    Append(stream, Bind(scope));
    Append(stream, Refresh(scope, false, 1));
    Save("receive_path", "bind_refresh_measure", stream);
  }
  {
    sim::SimulatedInstrument scope;
    Bytes stream{0x04};
    Append(stream, Bind(scope));
    Append(stream, Refresh(scope, true, 0));
    Save("receive_path", "bind_refresh_all_data", stream);
  }
  {
    sim::SimulatedInstrument scope;
    Bytes stream{0x00};
    Append(stream, Bind(scope));
    MessageBuffer request{};
    BuildConfigUploadRequest(request);
    Append(stream, Ask(scope, request));
    BuildBmpBeginRequest(request);
    Append(stream, Ask(scope, request));
    BuildBmpPieceRequest(request, 0);
    Append(stream, Ask(scope, request));
    BuildBmpEndRequest(request);
    Append(stream, Ask(scope, request));
    Save("receive_path", "settings_and_bitmap", stream);
  }
  {
    // Answers of an unbound instrument and an error report.
    sim::SimulatedInstrument scope;
    Bytes stream{0x01};
    Append(stream, Refresh(scope, false, 1));
    scope.InjectFault({sim::FaultKind::kErrorReport});
    Append(stream, Bind(scope));
    Save("receive_path", "unbound_and_error", stream);
  }
}

void BitmapPieceSeeds() {
  sim::SimulatedInstrument scope;
  Bind(scope);
  MessageBuffer request{};
  BuildBmpBeginRequest(request);
  Bytes input{0x00};
  Append(input, Body(Ask(scope, request)));
  const size_t total = scope.ScreenBitmap().size();
  for (uint32_t piece = 0; piece * 4000u < total; ++piece) {
    BuildBmpPieceRequest(request, piece);
    const Bytes body = Body(Ask(scope, request));
    input.push_back(static_cast<uint8_t>(body.size()));
    input.push_back(static_cast<uint8_t>(body.size() >> 8));
    Append(input, body);
  }
  Save("bitmap_pieces", "screen_transfer", input);
  // Only the first piece, checksums put right by the harness.
  input.resize(1 + 9 + 2 + 4014);
  input[0] = 0x01;
  Save("bitmap_pieces", "first_piece_fixed", input);
}

Bytes SmallBitmap(int32_t width, int32_t height, uint16_t bits) {
  BitmapInfoHeader info;
  info.width = width;
  info.height = height;
  info.bit_count = bits;
  const uint32_t colours = bits <= 8 ? 1u << bits : 0;
  info.colours_used = colours;
  const uint64_t stride = BitmapRowStride(static_cast<uint64_t>(width), bits);
  const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
  info.image_size = static_cast<uint32_t>(stride * rows);
  BitmapFileHeader file;
  file.pixel_offset = 54 + colours * 4;
  file.file_size = file.pixel_offset + info.image_size;
  Bytes out;
  const auto fh = EncodeFileHeader(file);
  const auto ih = EncodeInfoHeader(info);
  out.insert(out.end(), fh.begin(), fh.end());
  out.insert(out.end(), ih.begin(), ih.end());
  for (uint32_t i = 0; i < colours; ++i) {
    const uint8_t level = static_cast<uint8_t>(i * 255 / (colours - 1));
    Append(out, {level, static_cast<uint8_t>(255 - level), level, 0});
  }
  for (uint64_t i = 0; i < stride * rows; ++i)
    out.push_back(static_cast<uint8_t>(i * 37 + 11));
  return out;
}

void BitmapDecoderSeeds() {
  sim::SimulatedInstrument scope;
  Save("bitmap_decoder", "screen", scope.ScreenBitmap());
  Save("bitmap_decoder", "bits1", SmallBitmap(13, 3, 1));
  Save("bitmap_decoder", "bits4", SmallBitmap(5, 2, 4));
  Save("bitmap_decoder", "bits8_top_down", SmallBitmap(3, -3, 8));
  Save("bitmap_decoder", "bits24", SmallBitmap(3, 2, 24));
}

WaveRecord SampleRecord(uint8_t kind, int count, bool measurements) {
  WaveRecord record;
  record.kind = kind;
  for (int i = 0; i < count; ++i)
    record.samples.push_back(static_cast<uint8_t>(i * 3));
  record.panel_bytes = {1, 2, 3, 4, 5, 6, 7, 8};
  record.parameter_texts = {"500us", "0.50ms", "1.00V", "25", "-12"};
  record.has_measurements = measurements;
  if (measurements) {
    for (size_t i = 0; i < record.measurement_texts.size(); ++i)
      record.measurement_texts[i] = std::to_string(i) + ".25mV";
  }
  return record;
}

void FileSeeds() {
  Save("wave_record", "wave_data", EncodeWaveRecord(SampleRecord(kWaveDataKind, 200, false)));
  Save("wave_record", "measurement", EncodeWaveRecord(SampleRecord(kMeasurementKind, 50, true)));
  Save("wave_record", "empty", EncodeWaveRecord(SampleRecord(kWaveDataKind, 0, false)));

  GraphRecord graph;
  for (int i = 0; i < 20; ++i)
    graph.sample_texts.push_back(std::to_string(i * 11));
  graph.parameter_texts = {"500us", "0.50ms", "1.00V", "25", "-12"};
  const std::string plain = EncodeGraphFile(graph);
  Save("graph_file", "plain", Bytes(plain.begin(), plain.end()));
  graph.has_measurements = true;
  graph.measurement_texts.fill("12.34mV");
  graph.sample_texts[3] = "**";
  const std::string measured = EncodeGraphFile(graph);
  Save("graph_file", "measured", Bytes(measured.begin(), measured.end()));

  sim::SimulatedInstrument scope;
  const auto& block = scope.settings_block();
  Save("setting_file", "simulator_block", Bytes(block.begin(), block.end()));
  Save("setting_file", "short", Bytes(block.begin(), block.begin() + 100));
}

void MeasurementSeeds() {
  Bytes input{2};
  for (int i = 0; i < kMeasurementItemCount; ++i) {
    MeasurementRecord record;
    record.valid = i != 4;
    record.value = 12.3456f * static_cast<float>(i + 1) - 30.0f;
    record.unit = static_cast<int8_t>(i);
    record.decimals = static_cast<uint8_t>(i % 8);
    uint8_t out[16];
    EncodeMeasurementRecord(record, out);
    input.insert(input.end(), out, out + 16);
  }
  Save("measurement", "eleven_records", input);
}

// Operations of the usb_link harness.
void TransferOp(Bytes& out, const uint8_t* data, size_t size, bool cut_to_request) {
  out.push_back(cut_to_request ? 4 : 0);
  out.push_back(static_cast<uint8_t>(size));
  out.push_back(static_cast<uint8_t>(size >> 8));
  out.insert(out.end(), data, data + size);
}

void ReadOp(Bytes& out, size_t count) {
  Append(out, {1, static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)});
}

void NewExchangeOp(Bytes& out) {
  Append(out, {2, 0, 0});
}

// One answer as the link takes it with IN packets of `packet` bytes: a transfer for the
// header (a whole packet), one for the rest; then the header read and the whole-message read.
void LinkExchange(Bytes& out, const Bytes& answer, size_t packet) {
  const size_t first = std::min(answer.size(), (kHeaderSize + packet - 1) / packet * packet);
  TransferOp(out, answer.data(), first, true);
  if (first < answer.size())
    TransferOp(out, answer.data() + first, answer.size() - first, true);
  ReadOp(out, kHeaderSize);
  ReadOp(out, answer.size());
}

void UsbLinkSeeds() {
  sim::SimulatedInstrument scope;
  const Bytes bind = Bind(scope);
  MessageBuffer request{};
  BuildParamsRequest(request);
  const Bytes params = Ask(scope, request);
  BuildChannelRequest(request, WD_CH1_ALL, 1);
  const Bytes channel = Ask(scope, request);
  BuildBmpBeginRequest(request);
  Ask(scope, request);
  BuildBmpPieceRequest(request, 0);
  const Bytes piece = Ask(scope, request);

  // A refresh with 64-byte packets (set-up byte 2), the link's own limit.
  Bytes refresh{2};
  LinkExchange(refresh, bind, 64);
  LinkExchange(refresh, params, 64);
  LinkExchange(refresh, channel, 64);
  Save("usb_link", "refresh_packets_64", refresh);

  // A bitmap piece with 512-byte packets, the device sending one packet per transfer.
  Bytes pieces{3};
  for (size_t at = 0; at < piece.size(); at += 512)
    TransferOp(pieces, piece.data() + at, std::min<size_t>(512, piece.size() - at), false);
  ReadOp(pieces, kHeaderSize);
  ReadOp(pieces, piece.size() + 1);  // longer than the message: refused, the message kept
  ReadOp(pieces, piece.size());
  Save("usb_link", "bitmap_piece_packets_512", pieces);

  // A late answer with bytes after it, a new exchange, and an answer over a limit of 100 bytes.
  Bytes faults{1 | 2 << 2};
  Bytes trailing = bind;
  Append(trailing, {0xEE, 0xEE, 0xEE});
  TransferOp(faults, trailing.data(), trailing.size(), false);
  ReadOp(faults, bind.size());
  NewExchangeOp(faults);
  TransferOp(faults, params.data(), kHeaderSize, false);
  ReadOp(faults, kHeaderSize);
  Save("usb_link", "surplus_and_oversize", faults);

  // At a limit of 100 bytes: a message of exactly 100 bytes is taken, one of 101 refused.
  Bytes boundary{2 << 2};
  for (uint32_t body : {84u, 85u}) {
    Bytes answer = bind;
    answer.resize(kHeaderSize + body, 0x5A);
    PutU32BE(answer.data() + kOffsetMsgLen, body);
    LinkExchange(boundary, answer, 1);
    NewExchangeOp(boundary);
  }
  Save("usb_link", "limit_boundary", boundary);
}

}  // namespace
}  // namespace korvelane::fuzz

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  using namespace korvelane::fuzz;
  root = argv[1];
  ReceivePathSeeds();
  BitmapPieceSeeds();
  BitmapDecoderSeeds();
  FileSeeds();
  MeasurementSeeds();
  UsbLinkSeeds();
  return 0;
}
