// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/copy_text.h"

#include <algorithm>
#include <string_view>

namespace korvelane {
namespace {

constexpr size_t kWaveNumberWidth = 9;
constexpr size_t kWaveCellWidth = 10;
constexpr size_t kItemNameWidth = 15;
constexpr size_t kMeasureCellWidth = 11;

// A column with another after it: padded to `width`. A text longer than its field gets one
// space, so that it stays apart from the next column.
void AppendColumn(std::string& out, std::string_view text, size_t width) {
  out.append(text);
  if (text.size() < width)
    out.append(width - text.size(), ' ');
  else if (text.size() > width)
    out += ' ';
}

// The last column of a line: padded to `width`.
void AppendLastColumn(std::string& out, std::string_view text, size_t width) {
  out.append(text);
  if (text.size() < width)
    out.append(width - text.size(), ' ');
}

int LongestSlot(const WaveSlotTable& slots) {
  int longest = 0;
  for (int slot = 1; slot <= kSlotCount; ++slot)
    longest = std::max(longest, slots[slot].count);
  return std::min(longest, WaveDataList::kRows);
}

}  // namespace

std::string WaveDataCopyText(const ViewTables& tables) {
  const WaveDataList& list = tables.wave_data_list;
  const int rows = LongestSlot(tables.wave_slots);
  std::string text;
  text.reserve((static_cast<size_t>(rows) + 2) *
               (kWaveNumberWidth + kSlotCount * kWaveCellWidth + 1));
  AppendColumn(text, WaveDataList::kHeaders[0], kWaveNumberWidth);
  for (int column = 1; column < WaveDataList::kColumns - 1; ++column)
    AppendColumn(text, WaveDataList::kHeaders[column], kWaveCellWidth);
  AppendLastColumn(text, WaveDataList::kHeaders[WaveDataList::kColumns - 1], kWaveCellWidth);
  text += '\n';
  for (int row = 0; row < rows; ++row) {
    AppendColumn(text, list.text(row, 0), kWaveNumberWidth);
    for (int column = 1; column < WaveDataList::kColumns - 1; ++column)
      AppendColumn(text, list.text(row, column), kWaveCellWidth);
    AppendLastColumn(text, list.text(row, WaveDataList::kColumns - 1), kWaveCellWidth - 1);
    text += '\n';
  }
  text += '\n';
  return text;
}

std::string MeasurementCopyText(const ViewTables& tables) {
  const MeasurementList& list = tables.measurement_list;
  std::string text;
  text.reserve(list.caption().size() + 1 +
               (MeasurementList::kRows + 2) * (kItemNameWidth + 8 * kMeasureCellWidth + 1));
  text += list.caption();
  text += '\n';
  AppendColumn(text, MeasurementList::kHeaders[0], kItemNameWidth);
  for (int column = 1; column < MeasurementList::kVerdictColumn; ++column)
    AppendColumn(text, MeasurementList::kHeaders[column], kMeasureCellWidth);
  AppendLastColumn(text, MeasurementList::kHeaders[MeasurementList::kVerdictColumn],
                   kMeasureCellWidth);
  text += '\n';
  for (int row = 0; row < MeasurementList::kRows; ++row) {
    AppendColumn(text, list.text(row, 0), kItemNameWidth);
    for (int column = 1; column < MeasurementList::kVerdictColumn; ++column)
      AppendColumn(text, list.text(row, column), kMeasureCellWidth);
    AppendLastColumn(text, list.text(row, MeasurementList::kVerdictColumn), kMeasureCellWidth);
    text += '\n';
  }
  text += '\n';
  return text;
}

}  // namespace korvelane
