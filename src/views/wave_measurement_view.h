// The Measurement view: the eleven measurements of the seven wave slots with the verdicts of the
// slot filled last, the caption naming that slot, and the buttons that copy, print and save them
// and set the pass/fail limits. The list follows the size of the pane; the other controls keep
// their places.
#pragma once

#include <QFrame>
#include <array>
#include <memory>

#include "core/views/measurement_controller.h"
#include "views/dialog_runner.h"
#include "views/list_view_support.h"

class QLabel;
class QPushButton;
class QTableView;

namespace korvelane {

class MeasurementListModel;

class WaveMeasurementView : public QFrame, private MeasurementForm {
  Q_OBJECT

 public:
  enum class Button { kCopy, kPrint, kSaveAs, kPassFail };

  // Dialogs run through `run_dialog` (QDialog::exec when empty).
  WaveMeasurementView(const ViewContext& context, DialogRunner run_dialog = {},
                      QWidget* parent = nullptr);
  ~WaveMeasurementView() override;

  MeasurementController& controller() { return *controller_; }
  QLabel* view_label() const { return view_label_; }
  QLabel* caption_label() const { return caption_; }
  QTableView* list() const { return list_; }
  QPushButton* button(Button which) const;

  // "Pass|Fail": the limits dialog, modal. New limits take effect at the next measurement fill.
  void OpenPassFailSetting();

  QSize sizeHint() const override;

 signals:
  // "Save As": the wave measurement file save, which records its action and chooses the slot.
  void SaveRequested();
  // "Print" with measurements present: the print preview of the list's rows.
  void PrintRequested(int first_item, int item_count);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls(ViewTables& tables);
  QPushButton* AddButton(Button which, const QString& text, const QRect& rect);

  // MeasurementForm
  void EnableFileButtons(bool enable) override;
  bool PutTextOnClipboard(const std::string& text) override;
  void OpenPrintPreview(int first_item, int item_count) override;
  void ShowCaption(const std::string& caption) override;

  ViewTables& tables_;
  UserInterface& ui_;
  DialogRunner run_dialog_;
  QSize content_size_;
  std::unique_ptr<ListResizeRule> resize_rule_;
  QLabel* view_label_ = nullptr;
  QLabel* caption_ = nullptr;
  QTableView* list_ = nullptr;
  MeasurementListModel* model_ = nullptr;
  std::array<QPushButton*, 4> buttons_{};
  std::unique_ptr<MeasurementController> controller_;
};

}  // namespace korvelane
