// SPDX-License-Identifier: GPL-3.0-or-later
// The Measurement view without its widgets: its buttons, the caption naming the channel whose
// verdicts are shown, the copy of the list and the print hand-off.
#pragma once

#include "core/views/list_view_form.h"
#include "core/views/view_context.h"

namespace korvelane {

class MeasurementForm : public ListViewForm {
 public:
  // The caption above the list.
  virtual void ShowCaption(const std::string& caption) = 0;
};

class MeasurementController : private ViewTablesListener {
 public:
  MeasurementController(const ViewContext& context, MeasurementForm& form);
  ~MeasurementController() override;
  MeasurementController(const MeasurementController&) = delete;
  MeasurementController& operator=(const MeasurementController&) = delete;

  // The view has been created: the caption is shown and the file buttons wait for the first
  // measurements.
  void Initialise();

  // "Copy": records the action, then CopyMeasurementsToClipboard.
  void Copy();
  // The list as text on the clipboard; refused while no slot ever had measurements.
  void CopyMeasurementsToClipboard();
  // "Print": refused while no slot ever had measurements; otherwise hands the eleven rows to the
  // print preview.
  void Print();

 private:
  void CaptionChanged() override;
  void ButtonsEnabled(ButtonGroup group) override;

  ViewContext context_;
  MeasurementForm& form_;
};

}  // namespace korvelane
