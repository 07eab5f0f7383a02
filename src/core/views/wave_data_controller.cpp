// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/wave_data_controller.h"

#include "core/views/copy_text.h"
#include "core/views/dialog_fields.h"

namespace korvelane {

PrintRangeCheck ReadPrintRange(std::string_view start, std::string_view end) {
  PrintRangeCheck check;
  check.refusal = CheckIntField(start, kPrintStartLowest, kPrintStartHighest, &check.first);
  if (!check.refusal.empty()) {
    check.bad_field = PrintRangeCheck::kStart;
    return check;
  }
  check.refusal = CheckIntField(end, kPrintEndLowest, kPrintEndHighest, &check.last);
  if (!check.refusal.empty())
    check.bad_field = PrintRangeCheck::kEnd;
  return check;
}

WaveDataController::WaveDataController(const ViewContext& context, WaveDataForm& form)
    : context_(context), form_(form) {
  context_.tables.AddListener(this);
}

WaveDataController::~WaveDataController() {
  context_.tables.RemoveListener(this);
}

void WaveDataController::Initialise() {
  if (!context_.tables.wave_data_buttons_enabled)
    form_.EnableFileButtons(false);
}

void WaveDataController::ButtonsEnabled(ButtonGroup group) {
  if (group == ButtonGroup::kWaveData)
    form_.EnableFileButtons(true);
}

void WaveDataController::Copy() {
  context_.operate_log.RecordOperation("Copy Wave Data");
  CopyWaveDataToClipboard();
}

void WaveDataController::CopyWaveDataToClipboard() {
  if (!context_.tables.wave_data_buttons_enabled) {
    context_.ui.ShowMessage("There is no Wave Data for copy!", "Error", MessageIcon::kExclamation);
    return;
  }
  context_.ui.SetWaitCursor(true);
  if (!form_.PutTextOnClipboard(WaveDataCopyText(context_.tables)))
    context_.debug_log.WriteDebugLog("设置粘贴板数据失败", kWarning);
  context_.ui.SetWaitCursor(false);
}

void WaveDataController::Print() {
  context_.operate_log.RecordOperation("Print Wave Data");
  if (!context_.tables.wave_data_buttons_enabled) {
    context_.debug_log.WriteDebugLog("打印失败：波形数据列表中当前没有数据", kWarning);
    context_.ui.ShowMessage("There is no Wave Data for print!", "Error", MessageIcon::kInformation);
    return;
  }
  int first = kPrintStartLowest;
  int last = kPrintEndHighest;
  if (!form_.AskPrintRange(&first, &last))
    return;
  form_.OpenPrintPreview(first, last - first + 1);
}

}  // namespace korvelane
