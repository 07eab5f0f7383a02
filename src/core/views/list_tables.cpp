// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/list_tables.h"

#include <cstdio>

namespace korvelane {
namespace {
const std::string kNoText;
}  // namespace

const char* const ParameterList::kRowNames[kRows] = {"Sec/div", "Hori Pos", "Volts/div", "Vert Pos",
                                                     "Trig level"};
const char* const ParameterList::kHeaders[kColumns] = {"Param Name", "CH1",   "CH2",   "Chan3",
                                                       "Chan4",      "Chan5", "Chan6", "Chan7"};
const int ParameterList::kWidths[kColumns] = {90, 80, 80, 80, 80, 80, 80, 80};

ParameterList::ParameterList() {
  for (int row = 0; row < kRows; ++row)
    cells_[row][0] = kRowNames[row];
}

const std::string& ParameterList::text(int row, int column) const {
  if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
    return kNoText;
  return cells_[row][column];
}

void ParameterList::SetText(int row, int column, std::string_view text) {
  if (row < 0 || row >= kRows || column < 1 || column >= kColumns)
    return;
  cells_[row][column].assign(text);
}

const char* const WaveDataList::kHeaders[kColumns] = {"#",     "CH1",   "CH2",   "Chan3",
                                                      "Chan4", "Chan5", "Chan6", "Chan7"};
const int WaveDataList::kWidths[kColumns] = {50, 80, 80, 80, 80, 80, 80, 80};

WaveDataList::WaveDataList() : cells_(static_cast<size_t>(kColumns) * kRows) {
  char number[16];
  for (int row = 0; row < kRows; ++row) {
    const int length = std::snprintf(number, sizeof number, "%d", row + 1);
    cells_[static_cast<size_t>(row)].Set(std::string_view(number, static_cast<size_t>(length)));
  }
}

std::string_view WaveDataList::text(int row, int column) const {
  if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
    return {};
  return cells_[static_cast<size_t>(column) * kRows + static_cast<size_t>(row)].view();
}

CellText* WaveDataList::column(int column) {
  if (column < 1 || column >= kColumns)
    return nullptr;
  return &cells_[static_cast<size_t>(column) * kRows];
}

const CellText* WaveDataList::column(int column) const {
  return const_cast<WaveDataList*>(this)->column(column);
}

const char* const MeasurementList::kHeaders[kColumns] = {
    "Item Name", "CH1", "CH2", "Chan3", "Chan4", "Chan5", "Chan6", "Chan7", "Pass | Fail"};
const int MeasurementList::kWidths[kColumns] = {100, 80, 80, 80, 80, 80, 80, 80, 120};

MeasurementList::MeasurementList() {
  for (int row = 0; row < kRows; ++row)
    cells_[row][0] = MeasurementItems[row];
}

const std::string& MeasurementList::text(int row, int column) const {
  if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
    return kNoText;
  return cells_[row][column];
}

void MeasurementList::SetText(int row, int column, std::string_view text) {
  if (row < 0 || row >= kRows || column < 1 || column >= kColumns)
    return;
  cells_[row][column].assign(text);
}

}  // namespace korvelane
