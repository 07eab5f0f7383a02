// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the lists that the Wave Graph refresh fills: the parameter list under the graph,
// the Wave Data list and the measurement list with its verdict column and caption. The list
// widgets of the views are models over these tables.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/protocol/measurement_record.h"
#include "core/views/cell_text.h"
#include "core/views/wave_slots.h"

namespace korvelane {

// The scales of every slot: five rows, the row names in column 0 and slot n in column n.
class ParameterList {
 public:
  static constexpr int kRows = 5;
  static constexpr int kColumns = 1 + kSlotCount;
  enum Row { kSecDiv = 0, kHoriPos, kVoltsDiv, kVertPos, kTrigLevel };

  static const char* const kRowNames[kRows];  // "Sec/div" .. "Trig level"
  static const char* const kHeaders[kColumns];
  static const int kWidths[kColumns];  // pixels

  ParameterList();

  // "" outside the table.
  const std::string& text(int row, int column) const;
  // Ignored outside the table and in column 0.
  void SetText(int row, int column, std::string_view text);

 private:
  std::array<std::array<std::string, kColumns>, kRows> cells_;
};

// The samples of every slot: 4000 numbered rows, slot n in column n.
class WaveDataList {
 public:
  static constexpr int kRows = 4000;
  static constexpr int kColumns = 1 + kSlotCount;

  static const char* const kHeaders[kColumns];
  static const int kWidths[kColumns];  // pixels

  WaveDataList();

  // Empty outside the table. Column 0 holds the row numbers "1" .. "4000".
  std::string_view text(int row, int column) const;

  // The 4000 cells of slot column 1..7, top to bottom; null for any other column.
  CellText* column(int column);
  const CellText* column(int column) const;

 private:
  std::vector<CellText> cells_;  // column-major, kColumns x kRows
};

// The measurements of every slot: eleven rows named after the measurements, slot n in column n,
// and the verdicts of the slot filled last in column 8, which the caption names.
class MeasurementList {
 public:
  static constexpr int kRows = kMeasurementItemCount;
  static constexpr int kVerdictColumn = 1 + kSlotCount;
  static constexpr int kColumns = kVerdictColumn + 1;

  static const char* const kHeaders[kColumns];
  static const int kWidths[kColumns];  // pixels
  static constexpr const char* kCaptionStart = "The current Wave to 'Pass|Fail':  ";

  MeasurementList();

  // "" outside the table.
  const std::string& text(int row, int column) const;
  // Ignored outside the table and in column 0.
  void SetText(int row, int column, std::string_view text);

  const std::string& caption() const { return caption_; }
  void set_caption(std::string_view caption) { caption_.assign(caption); }

 private:
  std::array<std::array<std::string, kColumns>, kRows> cells_;
  std::string caption_ = kCaptionStart;
};

}  // namespace korvelane
