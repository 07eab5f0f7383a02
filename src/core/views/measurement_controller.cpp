// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/measurement_controller.h"

#include "core/views/copy_text.h"

namespace korvelane {

MeasurementController::MeasurementController(const ViewContext& context, MeasurementForm& form)
    : context_(context), form_(form) {
  context_.tables.AddListener(this);
}

MeasurementController::~MeasurementController() {
  context_.tables.RemoveListener(this);
}

void MeasurementController::Initialise() {
  form_.ShowCaption(context_.tables.measurement_list.caption());
  if (!context_.tables.measure_buttons_enabled)
    form_.EnableFileButtons(false);
}

void MeasurementController::CaptionChanged() {
  form_.ShowCaption(context_.tables.measurement_list.caption());
}

void MeasurementController::ButtonsEnabled(ButtonGroup group) {
  if (group == ButtonGroup::kMeasurement)
    form_.EnableFileButtons(true);
}

void MeasurementController::Copy() {
  context_.operate_log.RecordOperation("Copy Measurement");
  CopyMeasurementsToClipboard();
}

void MeasurementController::CopyMeasurementsToClipboard() {
  if (!context_.tables.measure_buttons_enabled) {
    // Spelled as the program has always spelled it.
    context_.ui.ShowMessage("There is no measuremnt for copy", "Error", MessageIcon::kExclamation);
    return;
  }
  context_.ui.SetWaitCursor(true);
  if (!form_.PutTextOnClipboard(MeasurementCopyText(context_.tables)))
    context_.debug_log.WriteDebugLog("设置粘贴板数据失败", kWarning);
  context_.ui.SetWaitCursor(false);
}

void MeasurementController::Print() {
  context_.operate_log.RecordOperation("Print measurement");
  if (!context_.tables.measure_buttons_enabled) {
    context_.debug_log.WriteDebugLog("打印失败：波形测量值数据列表中当前没有数据", kWarning);
    context_.ui.ShowMessage("There is no measurement for print!", "Error",
                            MessageIcon::kInformation);
    return;
  }
  form_.OpenPrintPreview(1, MeasurementList::kRows);
}

}  // namespace korvelane
