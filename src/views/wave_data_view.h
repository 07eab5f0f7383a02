// SPDX-License-Identifier: GPL-3.0-or-later
// The Wave Data view: the sample codes of the seven wave slots as a numbered list of 4000 rows,
// with the buttons that copy, print and save them. The list follows the size of the pane; the
// other controls keep their places.
#pragma once

#include <memory>

#include "core/views/wave_data_controller.h"
#include "views/dialog_runner.h"
#include "views/list_view_support.h"

namespace korvelane {

class WaveDataView : public ReportListView, private WaveDataForm {
  Q_OBJECT

 public:
  enum class Button { kCopy, kPrint, kSaveAs };

  // Dialogs run through `run_dialog` (QDialog::exec when empty).
  WaveDataView(const ViewContext& context, DialogRunner run_dialog = {}, QWidget* parent = nullptr);
  ~WaveDataView() override;

  WaveDataController& controller() { return *controller_; }
  QPushButton* button(Button which) const { return buttons_[which]; }
  // "Export CSV (seconds, volts)..." of the list's context menu.
  QAction* export_csv_action() const { return export_csv_action_; }

 signals:
  // "Save as": the wave data file save, which records its action and chooses the slot.
  void SaveRequested();
  // "Print" with wave data present and an item range chosen: the print preview of items
  // `first_item` .. `first_item + item_count - 1` (no items when End came before Start).
  void PrintRequested(int first_item, int item_count);
  // The list's "Export CSV (seconds, volts)...".
  void ExportCsvRequested();

 private:
  // WaveDataForm
  void EnableFileButtons(bool enable) override;
  bool PutTextOnClipboard(const std::string& text) override;
  bool AskPrintRange(int* first, int* last) override;
  void OpenPrintPreview(int first_item, int item_count) override;

  UserInterface& ui_;
  DialogRunner run_dialog_;
  ViewButtons<Button, 3> buttons_;
  std::unique_ptr<WaveDataController> controller_;
  QAction* export_csv_action_ = nullptr;
};

}  // namespace korvelane
