// SPDX-License-Identifier: GPL-3.0-or-later
// The waves and measurements of the views as CSV texts in physical units, for spreadsheets and
// notebooks: times in seconds from the left edge of the screen, levels in volts, measurements in
// V, s and Hz. Numbers always use "."; fields are quoted as RFC 4180 asks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/protocol/acquisition_store.h"
#include "core/views/view_tables.h"

namespace korvelane {

// The screen the graph draws a wave on: the record spans 10 divisions across; a division is 25
// screen units high; screen unit 0 is sample code 18; the channel's 0 V lies `ground_units` above
// it, where its level marker stands.
struct ScreenScale {
  static constexpr int kHorizontalDivisions = 10;
  static constexpr double kUnitsPerDivision = 25.0;

  double seconds_per_div = 0.0;
  double volts_per_div = 0.0;
  double ground_units = 0.0;
  int count = 0;  // samples across the screen

  bool usable() const { return seconds_per_div > 0 && volts_per_div > 0 && count > 0; }
  // Seconds from the left edge of the screen to sample `index`.
  double SecondsAt(int index) const;
  // Volts of sample code `code`.
  double VoltsOf(uint8_t code) const;
};

// One wave as it is exported, with the texts its scale was read from.
struct ExportedWave {
  std::string name;  // "CH1", "CH2", "Chan3" .. "Chan7"
  std::string time_div_text;
  std::string volts_div_text;
  std::string position_text;
  ScreenScale scale;
  std::vector<uint8_t> samples;
};

struct WaveExport {
  std::vector<ExportedWave> waves;
  std::vector<std::string> left_out;  // names of slots whose scales are not numbers
};

// The waves the Wave Data list shows: CH1 and CH2 from the instrument's record, loaded slots
// from their list columns when their parameter texts read back as numbers.
WaveExport CollectExportedWaves(const ViewTables& tables, const AcquisitionStore& store);

// One field of a CSV line: quoted, with its quotes doubled, when it holds a comma, a quote or a
// line break.
std::string CsvField(std::string_view text);

// The waves as CSV: a table of the channels' scales (and of the slots left out), then one row
// per sample with the time and each wave's volts. A wave whose timing differs from the first
// wave's gets a time column of its own.
std::string WaveCsvText(const WaveExport& waves);

// The eleven measurements of every slot with measurements: CH1 and CH2 as numbers in V, s and Hz
// from the instrument's records beside their texts and verdicts; loaded slots with their texts.
// Empty when no slot has measurements.
std::string MeasurementCsvText(const ViewTables& tables, const AcquisitionStore& store);

}  // namespace korvelane
