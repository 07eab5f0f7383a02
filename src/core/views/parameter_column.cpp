// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/parameter_column.h"

#include <cstring>

namespace korvelane {
namespace {

constexpr const char* kChannelOff = "****";
// The instrument's vertical position counts down from this screen line.
constexpr int64_t kVertPosOrigin = 216;

}  // namespace

const char* AcqStatusText(int status) {
  static constexpr const char* kTexts[] = {"Stop", "Auto", "Ready", "Trig'd", "Scan"};
  return status >= 0 && status <= 4 ? kTexts[status] : "?";
}

std::string ParameterBlockText(ByteView block, int row) {
  if (row < 0 || row >= ParameterList::kRows)
    return {};
  const size_t offset = parameter_block::kTextOffsets[row];
  const size_t limit = parameter_block::kTextSizes[row] - 1;
  std::string text;
  for (size_t i = 0; i < limit; ++i) {
    const uint8_t c = block.U8(offset + i);
    if (c == 0)
      break;
    text.push_back(static_cast<char>(c));
  }
  return text;
}

void FillParameterColumn(ViewTables& tables, const AcquisitionStore& store, int column,
                         ByteView block) {
  ParameterList& list = tables.parameter_list;
  if (column == kCh1Slot || column == kCh2Slot) {
    const ChannelData& channel = store.channel(column);
    if (!channel.enabled) {
      for (int row = 0; row < ParameterList::kRows; ++row)
        list.SetText(row, column, kChannelOff);
    } else {
      list.SetText(ParameterList::kSecDiv, column, store.sec_div_text);
      list.SetText(ParameterList::kHoriPos, column, store.hori_pos_text);
      list.SetText(ParameterList::kVoltsDiv, column, channel.volts_text);
      // Wide enough for any position the instrument may send.
      list.SetText(ParameterList::kVertPos, column,
                   std::to_string(kVertPosOrigin - static_cast<int64_t>(channel.vert_pos)));
      list.SetText(ParameterList::kTrigLevel, column, AcqStatusText(store.acq_status));
    }
  } else if (column >= kFirstFileSlot && column <= kSlotCount) {
    for (int row = 0; row < ParameterList::kRows; ++row)
      list.SetText(row, column, ParameterBlockText(block, row));
  } else {
    return;
  }
  tables.NotifyColumnChanged(ListKind::kParameters, column);
}

}  // namespace korvelane
