// SPDX-License-Identifier: GPL-3.0-or-later
// The wave record file (".wdf", ".wmf") and the graph file (".csv"): one wave with the texts the
// three lists show for it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/common/byte_view.h"

namespace korvelane {

constexpr int kWaveHeaderSize = 12;
constexpr int kParameterBlockSize = 50;
constexpr int kMeasurementBlockSize = 110;
constexpr int kMaxWaveSamples = 4000;

// The writer recorded in a file.
enum WaveKind : uint8_t { kWaveDataKind = 0, kMeasurementKind = 1, kGraphKind = 2 };

// Field sizes of the five parameter texts and of each measurement text.
constexpr std::array<int, 5> kParameterFieldSizes = {10, 10, 10, 5, 7};
constexpr int kMeasurementFieldSize = 10;

struct WaveRecord {
  uint8_t kind = kWaveDataKind;
  std::vector<uint8_t> samples;                // raw samples, count = samples.size()
  std::array<uint8_t, 8> panel_bytes{};        // panel_state entries 7, 5, 0, 4, 3, 2, 1, 6
  std::array<std::string, 5> parameter_texts;  // Sec/div, Hori Pos, Volts/div, Vert Pos, Trig level
  bool has_measurements = false;
  std::array<std::string, 11> measurement_texts;  // Vavg .. Negative Width
};

// The eight panel bytes of a file, from the store's panel_state.
std::array<uint8_t, 8> PanelBytesForFile(const std::array<uint8_t, 8>& panel_state);

// The value of a list text's leading decimal digits (an optional sign, then digits; 0 when there
// are none, so "**" and empty cells give 0), low 8 bits. At most `max_chars` characters are read.
uint8_t SampleFromText(const std::string& text, size_t max_chars = 4);

// Binary layout, little-endian; texts are cut to their fields.
std::vector<uint8_t> EncodeWaveRecord(const WaveRecord& record);

enum class WaveFileError {
  kNone,
  kBadCount,            // below 0 or above 4000
  kBadMeasurementSize,  // neither 0 nor 110, or a flag without its block
  kTooShort,            // the file ends before its header says it should
  kIncorrectKind,       // a graph file whose fourth line is not 2
};

// Decodes a wave record file; on an error `record` is left unspecified.
WaveFileError DecodeWaveRecord(ByteView bytes, WaveRecord* record);

// Graph file: the list texts one per line, CR LF line ends.
struct GraphRecord {
  std::vector<std::string> sample_texts;  // the Wave Data list's texts, one per sample
  std::array<std::string, 5> parameter_texts;
  bool has_measurements = false;
  std::array<std::string, 11> measurement_texts;
};

std::string EncodeGraphFile(const GraphRecord& record);

// Reads a graph file written with CR LF or LF line ends. Sample texts are kept as they are; their
// values (low 8 bits) go to `samples`.
WaveFileError DecodeGraphFile(const std::string& text, GraphRecord* record,
                              std::vector<uint8_t>* samples);

}  // namespace korvelane
