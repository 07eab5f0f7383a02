// SPDX-License-Identifier: GPL-3.0-or-later
// The plain texts that "Copy" of the Wave Data and Measurement views puts on the clipboard,
// built from the list tables. Columns are padded with spaces to fixed widths; a text as wide as
// its column or wider is kept whole and followed by one space, so the line grows instead.
// Lines end in a single line feed.
#pragma once

#include <string>

#include "core/views/view_tables.h"

namespace korvelane {

// The header line ("#" in 9 characters, then "CH1" .. "Chan7" in 10 each), then one line for
// each row up to the largest sample count of the seven slots (the number in 9 characters, the
// seven cells in 10 each, the last cell's final space giving way to the line feed), then an
// empty line.
std::string WaveDataCopyText(const ViewTables& tables);

// The caption line, the header line ("Item Name" in 15 characters, "CH1" .. "Chan7" in 11 each,
// "Pass | Fail"), the eleven rows (name in 15, the seven cells and the verdict in 11 each; 103
// characters for cells that fit), then an empty line.
std::string MeasurementCopyText(const ViewTables& tables);

}  // namespace korvelane
