// The Measurement view: the eleven measurements of the seven wave slots with the verdicts of the
// slot filled last, the caption naming that slot, and the buttons that copy, print and save them
// and set the pass/fail limits. The list follows the size of the pane; the other controls keep
// their places.
#pragma once

#include <memory>

#include "core/views/measurement_controller.h"
#include "views/dialog_runner.h"
#include "views/list_view_support.h"

namespace korvelane {

class WaveMeasurementView : public ReportListView, private MeasurementForm {
  Q_OBJECT

 public:
  enum class Button { kCopy, kPrint, kSaveAs, kPassFail };

  // Dialogs run through `run_dialog` (QDialog::exec when empty).
  WaveMeasurementView(const ViewContext& context, DialogRunner run_dialog = {},
                      QWidget* parent = nullptr);
  ~WaveMeasurementView() override;

  MeasurementController& controller() { return *controller_; }
  QLabel* caption_label() const { return caption_; }
  QPushButton* button(Button which) const { return buttons_[which]; }

  // "Pass|Fail": the limits dialog, modal. New limits take effect at the next measurement fill.
  void OpenPassFailSetting();

 signals:
  // "Save As": the wave measurement file save, which records its action and chooses the slot.
  void SaveRequested();
  // "Print" with measurements present: the print preview of the list's rows.
  void PrintRequested(int first_item, int item_count);

 private:
  // MeasurementForm
  void EnableFileButtons(bool enable) override;
  bool PutTextOnClipboard(const std::string& text) override;
  void OpenPrintPreview(int first_item, int item_count) override;
  void ShowCaption(const std::string& caption) override;

  ViewTables& tables_;
  UserInterface& ui_;
  DialogRunner run_dialog_;
  QLabel* caption_ = nullptr;
  ViewButtons<Button, 4> buttons_;
  std::unique_ptr<MeasurementController> controller_;
};

}  // namespace korvelane
