// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/wave_data_column.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace korvelane {
namespace {

// "0" .. "255", made once.
const std::array<CellText, 256>& SampleTexts() {
  static const std::array<CellText, 256> texts = [] {
    std::array<CellText, 256> made;
    char text[4];
    for (int value = 0; value < 256; ++value) {
      const int length = std::snprintf(text, sizeof text, "%d", value);
      made[static_cast<size_t>(value)].Set(std::string_view(text, static_cast<size_t>(length)));
    }
    return made;
  }();
  return texts;
}

void WriteSamples(CellText* cells, const SampleArray& samples, int32_t count) {
  const std::array<CellText, 256>& texts = SampleTexts();
  // Counts never exceed the sample buffers; a larger one is cut to them.
  const int rows = std::clamp<int32_t>(count, 0, WaveDataList::kRows);
  for (int row = 0; row < rows; ++row)
    cells[row] = texts[samples[static_cast<size_t>(row)]];
  std::fill(cells + rows, cells + WaveDataList::kRows, CellText());
}

}  // namespace

void FillWaveDataColumn(ViewTables& tables, const AcquisitionStore& store, int column) {
  CellText* cells = tables.wave_data_list.column(column);
  if (!cells)
    return;
  if (column == kCh1Slot || column == kCh2Slot) {
    const ChannelData& channel = store.channel(column);
    if (channel.enabled) {
      WriteSamples(cells, channel.samples, channel.count);
    } else {
      std::fill(cells, cells + WaveDataList::kRows, CellText("**"));
    }
  } else {
    WriteSamples(cells, store.file_samples, tables.wave_slots[column].count);
  }
  tables.NotifyColumnChanged(ListKind::kWaveData, column);
}

}  // namespace korvelane
