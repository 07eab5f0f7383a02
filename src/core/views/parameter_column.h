// SPDX-License-Identifier: GPL-3.0-or-later
// The scale texts of one slot in the parameter list: from the acquisition store for CH1 and CH2,
// from a wave file's parameter block for the loaded slots.
#pragma once

#include <cstddef>
#include <string>

#include "core/common/byte_view.h"
#include "core/protocol/acquisition_store.h"
#include "core/views/view_tables.h"

namespace korvelane {

// The 50-byte parameter block of the wave files: eight panel bytes, then the five texts of a
// parameter-list column, each zero-terminated in a field of its own.
namespace parameter_block {
constexpr size_t kSize = 50;
constexpr size_t kPanelBytes = 0;  // 8 bytes
constexpr size_t kTextOffsets[ParameterList::kRows] = {8, 18, 28, 38, 43};
constexpr size_t kTextSizes[ParameterList::kRows] = {10, 10, 10, 5, 7};
}  // namespace parameter_block

// Text shown for an acquisition status: "Stop", "Auto", "Ready", "Trig'd", "Scan"; "?" for a
// status outside 0..4.
const char* AcqStatusText(int status);

// Text of row `row` (0..4) of a parameter block: the field up to its terminator, at most the
// field's size minus one characters. "" for another row.
std::string ParameterBlockText(ByteView block, int row);

// Fills rows 0..4 of `column`: columns 1 and 2 from the store (all "****" while the channel is
// off), columns 3..7 from `block`, which columns 1 and 2 ignore. Another column is left alone.
void FillParameterColumn(ViewTables& tables, const AcquisitionStore& store, int column,
                         ByteView block = {});

}  // namespace korvelane
