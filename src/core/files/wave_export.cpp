// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/wave_export.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "core/files/wave_record.h"
#include "core/protocol/unit_table.h"
#include "core/views/measurement_column.h"
#include "core/views/measurement_si.h"
#include "core/views/plot_slot.h"

namespace korvelane {
namespace {

constexpr const char* kLineEnd = "\r\n";
// Significant digits of the exported numbers: more than the samples carry, none of the noise
// of binary fractions.
constexpr int kDigits = 9;
// The parameter record's vertical position counts down from this to the channel's 0 V.
constexpr int32_t kVertPosOrigin = 216;
// Characters of a Wave Data cell that a sample is read with.
constexpr size_t kSampleTextRoom = 4;

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0)
      line += ',';
    line += CsvField(fields[i]);
  }
  return line + kLineEnd;
}

std::optional<double> ParsePosition(std::string_view text) {
  int value = 0;
  const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
  if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size())
    return std::nullopt;
  return static_cast<double>(value);
}

std::optional<ExportedWave> LiveWave(const ViewTables& tables, const AcquisitionStore& store,
                                     int slot) {
  const ChannelData& channel = store.channel(slot);
  const std::optional<SiValue> volts = ParseSiText(channel.volts_text);
  MeasurementRecord timebase;
  timebase.valid = true;
  timebase.value = store.timebase_value;
  timebase.unit = store.timebase_unit;
  const std::optional<SiValue> seconds = MeasurementSiValue(timebase);
  if (!volts || !seconds)
    return std::nullopt;
  ExportedWave wave;
  wave.name = SlotColumnName(slot);
  wave.time_div_text = store.sec_div_text;
  wave.volts_div_text = channel.volts_text;
  const int32_t ground = kVertPosOrigin - channel.vert_pos;
  wave.position_text = std::to_string(ground);
  wave.scale = {seconds->value, volts->value, static_cast<double>(ground),
                std::clamp<int32_t>(tables.wave_slots[slot].count, 0, kMaxSamples)};
  wave.samples.assign(channel.samples.begin(), channel.samples.begin() + wave.scale.count);
  return wave;
}

std::optional<ExportedWave> LoadedWave(const ViewTables& tables, int slot) {
  const ParameterList& parameters = tables.parameter_list;
  ExportedWave wave;
  wave.name = SlotColumnName(slot);
  wave.time_div_text = parameters.text(ParameterList::kSecDiv, slot);
  wave.volts_div_text = parameters.text(ParameterList::kVoltsDiv, slot);
  wave.position_text = parameters.text(ParameterList::kVertPos, slot);
  const std::optional<SiValue> seconds = ParseSiText(wave.time_div_text);
  const std::optional<SiValue> volts = ParseSiText(wave.volts_div_text);
  const std::optional<double> ground = ParsePosition(wave.position_text);
  if (!seconds || !volts || !ground || std::string_view(seconds->unit) != "s" ||
      std::string_view(volts->unit) != "V")
    return std::nullopt;
  wave.scale = {seconds->value, volts->value, *ground,
                std::clamp<int32_t>(tables.wave_slots[slot].count, 0, kMaxSamples)};
  wave.samples.resize(static_cast<size_t>(wave.scale.count));
  for (int row = 0; row < wave.scale.count; ++row) {
    const std::string text(tables.wave_data_list.text(row, slot));
    wave.samples[static_cast<size_t>(row)] = SampleFromText(text, kSampleTextRoom);
  }
  return wave;
}

bool SameTiming(const ScreenScale& a, const ScreenScale& b) {
  return a.count == b.count && a.seconds_per_div == b.seconds_per_div;
}

}  // namespace

double ScreenScale::SecondsAt(int index) const {
  return index * (kHorizontalDivisions * seconds_per_div) / count;
}

double ScreenScale::VoltsOf(uint8_t code) const {
  return (code - kPlotOffset - ground_units) * volts_per_div / kUnitsPerDivision;
}

WaveExport CollectExportedWaves(const ViewTables& tables, const AcquisitionStore& store) {
  WaveExport result;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (!tables.wave_slots[slot].in_wave_data)
      continue;
    std::optional<ExportedWave> wave =
        slot < kFirstFileSlot ? LiveWave(tables, store, slot) : LoadedWave(tables, slot);
    if (wave && wave->scale.usable())
      result.waves.push_back(std::move(*wave));
    else
      result.left_out.emplace_back(SlotColumnName(slot));
  }
  return result;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos)
    return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"')
      quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string WaveCsvText(const WaveExport& waves) {
  std::string text =
      CsvLine({"Channel", "Unit", "Time/div", "Volts/div", "Position", "Samples", "Note"});
  for (const ExportedWave& wave : waves.waves) {
    text += CsvLine({wave.name, "V", wave.time_div_text, wave.volts_div_text, wave.position_text,
                     std::to_string(wave.scale.count), ""});
  }
  for (const std::string& name : waves.left_out)
    text += CsvLine({name, "", "", "", "", "", "left out: its scales are not numbers"});

  // Each wave's columns: its own time column when its timing differs from the first wave's.
  std::vector<std::string> header;
  std::vector<bool> own_time;
  int rows = 0;
  for (size_t i = 0; i < waves.waves.size(); ++i) {
    const ExportedWave& wave = waves.waves[i];
    own_time.push_back(i == 0 || !SameTiming(wave.scale, waves.waves[0].scale));
    if (i == 0)
      header.emplace_back("Time (s)");
    else if (own_time.back())
      header.push_back(wave.name + " time (s)");
    header.push_back(wave.name + " (V)");
    rows = std::max(rows, wave.scale.count);
  }
  text += CsvLine(header);
  std::vector<std::string> fields;
  for (int row = 0; row < rows; ++row) {
    fields.clear();
    for (size_t i = 0; i < waves.waves.size(); ++i) {
      const ExportedWave& wave = waves.waves[i];
      const bool has_row = row < wave.scale.count;
      if (own_time[i])
        fields.push_back(has_row ? FormatSignificant(wave.scale.SecondsAt(row), kDigits) : "");
      fields.push_back(
          has_row ? FormatSignificant(wave.scale.VoltsOf(wave.samples[static_cast<size_t>(row)]),
                                      kDigits)
                  : "");
    }
    text += CsvLine(fields);
  }
  return text;
}

std::string MeasurementCsvText(const ViewTables& tables, const AcquisitionStore& store) {
  std::string text;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (!tables.wave_slots[slot].in_measurement)
      continue;
    const bool live = slot < kFirstFileSlot && store.channel(slot).enabled;
    for (int row = 0; row < kMeasurementItemCount; ++row) {
      std::string value, unit, verdict;
      if (live) {
        const MeasureBlock& block = store.channel(slot).measure;
        const MeasurementRecord record =
            DecodeMeasurementRecord(ByteView(block.data(), block.size()), row);
        if (const std::optional<SiValue> si = MeasurementSiValue(record)) {
          value = FormatSiNumber(si->value);
          unit = si->unit;
        }
        verdict = record.valid ? EvaluateVerdict(record.value, record.unit,
                                                 tables.limits[static_cast<size_t>(row)])
                               : kFail;
      }
      text += CsvLine({SlotColumnName(slot), MeasurementItems[row], value, unit,
                       tables.measurement_list.text(row, slot), verdict});
    }
  }
  if (text.empty())
    return text;
  return CsvLine({"Channel", "Measurement", "Value", "Unit", "Text", "Verdict"}) + text;
}

}  // namespace korvelane
