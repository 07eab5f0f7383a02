// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement texts of one slot in the measurement list, with their verdicts.
#pragma once

#include <string>

#include "core/common/byte_view.h"
#include "core/protocol/acquisition_store.h"
#include "core/protocol/measurement_record.h"
#include "core/protocol/wave_data_decoder.h"
#include "core/views/view_tables.h"

namespace korvelane {

// The value of a valid record as the list shows it: the value with six decimals cut (never
// rounded) after the record's number of decimals, the '.' always kept, then the unit:
// 12.3456 with 2 decimals in mV is "12.34mV", with 0 decimals "12.mV". More than five decimals
// show all six; a non-finite value shows "****"; a unit index outside 0..15 shows "?".
std::string FormatMeasurement(const MeasurementRecord& record);

// The verdict of one record against its item's limit: "Fail" for an invalid record.
const char* MeasurementVerdict(const MeasurementRecord& record, const PassFailLimit& limit);

// Writes the eleven records of `records` into `column` (1..7) and their verdicts against the
// limits into the verdict column: an invalid record gives "****" and "Fail". Another column is
// left alone.
void FillMeasurementColumn(ViewTables& tables, ByteView records, int column);

// The measurements of channel 1 or 2 after a refresh. Not wanted: the slot loses
// `in_measurement` and the column keeps its texts. Wanted: the caption names the channel, the
// limits get their defaults if they have none yet, the column shows "**" and, while the channel
// is on, its measurements with their verdicts (while it is off, the verdict column shows "**"
// too); the slot gets `in_measurement`.
void ShowChannelMeasurements(ViewTables& tables, const AcquisitionStore& store,
                             const RequestSelectors& selectors, int channel);

}  // namespace korvelane
