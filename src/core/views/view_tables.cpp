// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/view_tables.h"

#include <algorithm>

namespace korvelane {

void ViewTables::AddListener(ViewTablesListener* listener) {
  if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
    listeners_.push_back(listener);
}

void ViewTables::RemoveListener(ViewTablesListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void ViewTables::NotifyColumnChanged(ListKind list, int column) {
  for (size_t i = 0; i < listeners_.size(); ++i)
    listeners_[i]->ColumnChanged(list, column);
}

void ViewTables::NotifyCaptionChanged() {
  for (size_t i = 0; i < listeners_.size(); ++i)
    listeners_[i]->CaptionChanged();
}

void ViewTables::NotifyButtonsEnabled(ButtonGroup group) {
  for (size_t i = 0; i < listeners_.size(); ++i)
    listeners_[i]->ButtonsEnabled(group);
}

void ViewTables::NotifyChannelMeasured(int channel) {
  for (size_t i = 0; i < listeners_.size(); ++i)
    listeners_[i]->ChannelMeasured(channel);
}

void EnableViewButtons(ViewTables& tables) {
  bool graph = false;
  bool wave_data = false;
  bool measurement = false;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    graph = graph || tables.wave_slots[slot].in_graph != 0;
    wave_data = wave_data || tables.wave_slots[slot].in_wave_data != 0;
    measurement = measurement || tables.wave_slots[slot].in_measurement != 0;
  }
  if (wave_data && !tables.wave_data_buttons_enabled) {
    tables.wave_data_buttons_enabled = true;
    tables.NotifyButtonsEnabled(ButtonGroup::kWaveData);
  }
  if (graph && !tables.graph_buttons_enabled) {
    tables.graph_buttons_enabled = true;
    tables.NotifyButtonsEnabled(ButtonGroup::kWaveGraph);
  }
  if (measurement && !tables.measure_buttons_enabled) {
    tables.measure_buttons_enabled = true;
    tables.NotifyButtonsEnabled(ButtonGroup::kMeasurement);
  }
}

}  // namespace korvelane
