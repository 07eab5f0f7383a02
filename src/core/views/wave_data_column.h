// SPDX-License-Identifier: GPL-3.0-or-later
// The sample texts of one slot in the Wave Data list.
#pragma once

#include "core/protocol/acquisition_store.h"
#include "core/views/view_tables.h"

namespace korvelane {

// Column 1 or 2: "**" in all 4000 rows while the channel is off, otherwise the channel's samples
// in decimal and empty rows after them. Columns 3..7: the slot's `count` samples of the store's
// `file_samples`, where the file readers have just put them, and empty rows after them. Another
// column is left alone.
void FillWaveDataColumn(ViewTables& tables, const AcquisitionStore& store, int column);

}  // namespace korvelane
