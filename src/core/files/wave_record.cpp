// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/wave_record.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace korvelane {
namespace {

constexpr int kPanelOrder[8] = {7, 5, 0, 4, 3, 2, 1, 6};
// Longest text a graph file line may put into a list cell.
constexpr size_t kMaxSampleText = 9;
constexpr size_t kMaxListText = 49;

void PutI32LE(std::vector<uint8_t>& out, int32_t value) {
  const uint32_t v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

int32_t I32LE(ByteView bytes, size_t offset) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = v << 8 | bytes.U8(offset + static_cast<size_t>(i));
  return static_cast<int32_t>(v);
}

// A zero-terminated text in a field of `size` bytes: at most size - 1 characters.
void PutField(std::vector<uint8_t>& out, const std::string& text, int size) {
  const size_t length = std::min(text.size(), static_cast<size_t>(size - 1));
  out.insert(out.end(), text.begin(), text.begin() + static_cast<long>(length));
  out.insert(out.end(), static_cast<size_t>(size) - length, 0);
}

// The text of a field as written above: a field without its terminator gives its first
// size - 1 characters, so a reopened file saves back unchanged.
std::string Field(ByteView bytes, size_t offset, int size) {
  std::string text;
  for (int i = 0; i < size - 1; ++i) {
    const uint8_t c = bytes.U8(offset + static_cast<size_t>(i));
    if (c == 0)
      break;
    text.push_back(static_cast<char>(c));
  }
  return text;
}

// Leading decimal number of a line, as a stored count or flag is read.
bool LeadingInt(const std::string& text, long* value) {
  const char* start = text.c_str();
  char* end = nullptr;
  const long v = std::strtol(start, &end, 10);
  if (end == start)
    return false;
  *value = v;
  return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos)
      end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::string Cut(const std::string& text, size_t max) {
  return text.size() > max ? text.substr(0, max) : text;
}

}  // namespace

std::array<uint8_t, 8> PanelBytesForFile(const std::array<uint8_t, 8>& panel_state) {
  std::array<uint8_t, 8> bytes{};
  for (int i = 0; i < 8; ++i)
    bytes[i] = panel_state[kPanelOrder[i]];
  return bytes;
}

uint8_t SampleFromText(const std::string& text, size_t max_chars) {
  const std::string head = text.substr(0, max_chars);
  size_t i = 0;
  while (i < head.size() && std::isspace(static_cast<unsigned char>(head[i])))
    ++i;
  bool negative = false;
  if (i < head.size() && (head[i] == '-' || head[i] == '+'))
    negative = head[i++] == '-';
  int value = 0;
  for (; i < head.size() && std::isdigit(static_cast<unsigned char>(head[i])); ++i) {
    value = (value * 10 + (head[i] - '0')) & 0xFFFF;
  }
  return static_cast<uint8_t>(negative ? -value : value);
}

std::vector<uint8_t> EncodeWaveRecord(const WaveRecord& record) {
  std::vector<uint8_t> out;
  out.reserve(kWaveHeaderSize + record.samples.size() + kParameterBlockSize +
              kMeasurementBlockSize);
  PutI32LE(out, static_cast<int32_t>(record.samples.size()));
  PutI32LE(out, record.has_measurements ? kMeasurementBlockSize : 0);
  out.push_back(record.has_measurements ? 1 : 0);
  out.push_back(record.kind);
  out.push_back(0);
  out.push_back(0);
  out.insert(out.end(), record.samples.begin(), record.samples.end());
  out.insert(out.end(), record.panel_bytes.begin(), record.panel_bytes.end());
  for (size_t i = 0; i < record.parameter_texts.size(); ++i) {
    PutField(out, record.parameter_texts[i], kParameterFieldSizes[i]);
  }
  if (record.has_measurements) {
    for (const std::string& text : record.measurement_texts) {
      PutField(out, text, kMeasurementFieldSize);
    }
  }
  return out;
}

WaveFileError DecodeWaveRecord(ByteView bytes, WaveRecord* record) {
  if (bytes.size() < kWaveHeaderSize)
    return WaveFileError::kTooShort;
  const int32_t count = I32LE(bytes, 0);
  const int32_t measure_size = I32LE(bytes, 4);
  const bool flag = bytes.U8(8) != 0;
  if (count < 0 || count > kMaxWaveSamples)
    return WaveFileError::kBadCount;
  if ((measure_size != 0 && measure_size != kMeasurementBlockSize) || (flag && measure_size == 0)) {
    return WaveFileError::kBadMeasurementSize;
  }
  const size_t samples_end = kWaveHeaderSize + static_cast<size_t>(count);
  const size_t needed = samples_end + kParameterBlockSize + (flag ? kMeasurementBlockSize : 0);
  if (bytes.size() < needed)
    return WaveFileError::kTooShort;

  record->kind = bytes.U8(9);
  record->samples.assign(bytes.data() + kWaveHeaderSize, bytes.data() + samples_end);
  bytes.CopyTo(samples_end, record->panel_bytes.data(), 8);
  size_t offset = samples_end + 8;
  for (size_t i = 0; i < record->parameter_texts.size(); ++i) {
    record->parameter_texts[i] = Field(bytes, offset, kParameterFieldSizes[i]);
    offset += static_cast<size_t>(kParameterFieldSizes[i]);
  }
  record->has_measurements = flag;
  for (std::string& text : record->measurement_texts) {
    text = flag ? Field(bytes, offset, kMeasurementFieldSize) : std::string();
    offset += kMeasurementFieldSize;
  }
  return WaveFileError::kNone;
}

std::string EncodeGraphFile(const GraphRecord& record) {
  std::string out;
  out.reserve(record.sample_texts.size() * 6 + 256);
  auto line = [&out](const std::string& text) {
    out += text;
    out += "\r\n";
  };
  line(std::to_string(record.sample_texts.size()));
  line(record.has_measurements ? "110" : "0");
  line(record.has_measurements ? "1" : "0");
  line("2");
  for (const std::string& text : record.sample_texts)
    line(Cut(text, kMaxSampleText));
  for (const std::string& text : record.parameter_texts)
    line(text);
  if (record.has_measurements) {
    for (const std::string& text : record.measurement_texts)
      line(text);
  }
  return out;
}

WaveFileError DecodeGraphFile(const std::string& text, GraphRecord* record,
                              std::vector<uint8_t>* samples) {
  const std::vector<std::string> lines = SplitLines(text);
  long count = 0;
  long flag = 0;
  long kind = 0;
  if (lines.size() < 4 || !LeadingInt(lines[0], &count))
    return WaveFileError::kTooShort;
  if (count < 0 || count > kMaxWaveSamples)
    return WaveFileError::kBadCount;
  LeadingInt(lines[2], &flag);
  if (!LeadingInt(lines[3], &kind) || kind != kGraphKind)
    return WaveFileError::kIncorrectKind;
  const bool has_measurements = flag != 0;
  const size_t needed = 4 + static_cast<size_t>(count) + 5 + (has_measurements ? 11 : 0);
  if (lines.size() < needed)
    return WaveFileError::kTooShort;

  record->has_measurements = has_measurements;
  record->sample_texts.resize(static_cast<size_t>(count));
  samples->resize(static_cast<size_t>(count));
  size_t at = 4;
  for (long i = 0; i < count; ++i, ++at) {
    record->sample_texts[static_cast<size_t>(i)] = Cut(lines[at], kMaxSampleText);
    (*samples)[static_cast<size_t>(i)] = SampleFromText(lines[at], kMaxSampleText);
  }
  for (std::string& t : record->parameter_texts)
    t = Cut(lines[at++], kMaxListText);
  for (std::string& t : record->measurement_texts) {
    t = has_measurements ? Cut(lines[at++], kMaxListText) : std::string();
  }
  return WaveFileError::kNone;
}

}  // namespace korvelane
