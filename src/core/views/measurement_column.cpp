// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/measurement_column.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/protocol/unit_table.h"

namespace korvelane {
namespace {

constexpr int kMaxShownDecimals = 6;  // all that "%f" prints

}  // namespace

std::string FormatMeasurement(const MeasurementRecord& record) {
  if (!std::isfinite(record.value))
    return "****";
  // The largest float prints 39 digits before the point.
  char text[64];
  const int length = std::snprintf(text, sizeof text, "%f", static_cast<double>(record.value));
  const char* point = static_cast<const char*>(std::memchr(text, '.', static_cast<size_t>(length)));
  size_t kept = static_cast<size_t>(length);
  if (point) {
    const int decimals = record.decimals < kMaxShownDecimals ? record.decimals : kMaxShownDecimals;
    kept = static_cast<size_t>(point - text) + 1 + static_cast<size_t>(decimals);
  }
  std::string result(text, kept);
  result += UnitSuffix(record.unit);
  return result;
}

const char* MeasurementVerdict(const MeasurementRecord& record, const PassFailLimit& limit) {
  return record.valid ? EvaluateVerdict(record.value, record.unit, limit) : kFail;
}

void FillMeasurementColumn(ViewTables& tables, ByteView records, int column) {
  if (!WaveSlotTable::Valid(column))
    return;
  MeasurementList& list = tables.measurement_list;
  for (int row = 0; row < MeasurementList::kRows; ++row) {
    const MeasurementRecord record = DecodeMeasurementRecord(records, row);
    list.SetText(row, column, record.valid ? FormatMeasurement(record) : "****");
    list.SetText(row, MeasurementList::kVerdictColumn,
                 MeasurementVerdict(record, tables.limits[static_cast<size_t>(row)]));
  }
  tables.NotifyColumnChanged(ListKind::kMeasurements, column);
  tables.NotifyColumnChanged(ListKind::kMeasurements, MeasurementList::kVerdictColumn);
}

void ShowChannelMeasurements(ViewTables& tables, const AcquisitionStore& store,
                             const RequestSelectors& selectors, int channel) {
  if (channel != kCh1Slot && channel != kCh2Slot)
    return;
  WaveSlot& slot = tables.wave_slots[channel];
  if (selectors.measure_wanted(channel) == 0) {
    slot.in_measurement = 0;
    return;
  }
  tables.measurement_list.set_caption(std::string(MeasurementList::kCaptionStart) +
                                      SlotColumnName(channel));
  tables.NotifyCaptionChanged();
  if (!tables.limits_initialised) {
    ResetPassFailLimits(tables.limits);
    tables.limits_initialised = true;
  }
  for (int row = 0; row < MeasurementList::kRows; ++row)
    tables.measurement_list.SetText(row, channel, "**");
  const ChannelData& data = store.channel(channel);
  if (data.enabled) {
    FillMeasurementColumn(tables, ByteView(data.measure.data(), data.measure.size()), channel);
  } else {
    // The caption names this channel now, so no other channel's verdicts may stay under it.
    for (int row = 0; row < MeasurementList::kRows; ++row)
      tables.measurement_list.SetText(row, MeasurementList::kVerdictColumn, "**");
    tables.NotifyColumnChanged(ListKind::kMeasurements, channel);
    tables.NotifyColumnChanged(ListKind::kMeasurements, MeasurementList::kVerdictColumn);
  }
  slot.in_measurement = 1;
  if (data.enabled)
    tables.NotifyChannelMeasured(channel);
}

}  // namespace korvelane
