// SPDX-License-Identifier: GPL-3.0-or-later
// What the four views share for the whole run: the wave slots, the texts of the three lists, the
// pass/fail limits and the flags that keep each view's file buttons enabled once it has data.
// Views listen for changes to repaint their lists.
#pragma once

#include <vector>

#include "core/views/list_tables.h"
#include "core/views/pass_fail.h"
#include "core/views/wave_slots.h"

namespace korvelane {

enum class ListKind { kParameters, kWaveData, kMeasurements };

// The views whose Save, Copy and Print buttons wait for data.
enum class ButtonGroup { kWaveGraph, kWaveData, kMeasurement };

class ViewTablesListener {
 public:
  virtual ~ViewTablesListener() = default;
  // Column `column` of `list` holds new texts.
  virtual void ColumnChanged(ListKind list, int column) {
    (void)list;
    (void)column;
  }
  // The measurement list's caption changed.
  virtual void CaptionChanged() {}
  // The buttons of `group` are enabled from now on.
  virtual void ButtonsEnabled(ButtonGroup group) { (void)group; }
  // A refresh brought the measurements of CH1 or CH2 (1 or 2), now shown with their verdicts.
  virtual void ChannelMeasured(int channel) { (void)channel; }
};

class ViewTables {
 public:
  ViewTables() = default;
  ViewTables(const ViewTables&) = delete;
  ViewTables& operator=(const ViewTables&) = delete;

  WaveSlotTable wave_slots;
  ParameterList parameter_list;
  WaveDataList wave_data_list;
  MeasurementList measurement_list;
  PassFailLimits limits{};  // zero until first reset
  bool limits_initialised = false;
  bool graph_buttons_enabled = false;
  bool wave_data_buttons_enabled = false;
  bool measure_buttons_enabled = false;
  // Slot - 1 (0..6) chosen by the last OK of the channel choice before a wave file is written;
  // -1 until then.
  int selected_channel = -1;

  // A listener stays registered until removed; it must be removed before it goes.
  void AddListener(ViewTablesListener* listener);
  void RemoveListener(ViewTablesListener* listener);

  void NotifyColumnChanged(ListKind list, int column);
  void NotifyCaptionChanged();
  void NotifyButtonsEnabled(ButtonGroup group);
  void NotifyChannelMeasured(int channel);

 private:
  std::vector<ViewTablesListener*> listeners_;
};

// Enables each view's Save, Copy and Print buttons the first time any slot has data of that view:
// `in_graph` for the Wave Graph, `in_wave_data` for the Wave Data, `in_measurement` for the
// Measurement view. Buttons are never disabled again.
void EnableViewButtons(ViewTables& tables);

}  // namespace korvelane
