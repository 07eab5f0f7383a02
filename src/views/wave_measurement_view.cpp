// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/wave_measurement_view.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>

#include "views/list_models.h"
#include "views/set_pass_fail_dlg.h"
#include "views/trend_window.h"

namespace korvelane {
namespace {

// Where everything sits, in dialog units; the list's size comes from the resize rule, whose
// allowances are in pixels of the reference font.
const ReportListView::Layout kLayout{QSize(399, 306), QPoint(7, 44), QSize(35, 200)};
const QColor kCaptionText(255, 255, 255);
const QColor kListBackground(139, 168, 222);

}  // namespace

WaveMeasurementView::WaveMeasurementView(const ViewContext& context, DialogRunner run_dialog,
                                         QWidget* parent)
    : ReportListView(QStringLiteral("Wave Measurement"), QStringLiteral("Measurement"), kLayout,
                     parent),
      tables_(context.tables),
      ui_(context.ui),
      operate_log_(context.operate_log),
      run_dialog_(std::move(run_dialog)) {
  buttons_.Add(this, Button::kCopy, QStringLiteral("Copy"), ToPixels(113, 7, 44, 14));
  buttons_.Add(this, Button::kPrint, QStringLiteral("Print"), ToPixels(160, 7, 44, 14));
  buttons_.Add(this, Button::kSaveAs, QStringLiteral("Save As"), ToPixels(207, 7, 44, 14));
  buttons_.Add(this, Button::kPassFail, QStringLiteral("Pass|Fail"), ToPixels(254, 7, 44, 14));
  buttons_.Add(this, Button::kRecord, QStringLiteral("Record..."), ToPixels(301, 7, 44, 14));
  buttons_.Add(this, Button::kTrend, QStringLiteral("Trend"), ToPixels(348, 7, 44, 14));
  button(Button::kRecord)->setEnabled(false);

  caption_ = new QLabel(this);
  caption_->setAccessibleName(QStringLiteral("Verdict caption"));
  caption_->setGeometry(ToPixels(7, 29, 291, 12));
  caption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  caption_->setIndent(units().X(2));
  ColourStatic(caption_, kCaptionText, kListBackground);

  AddReportList(new MeasurementListModel(context.tables, this), QStringLiteral("Measurement list"),
                MeasurementList::kWidths, MeasurementList::kColumns, kListBackground);
  controller_ =
      std::make_unique<MeasurementController>(context, static_cast<MeasurementForm&>(*this));
  connect(button(Button::kCopy), &QPushButton::clicked, this, [this] { controller_->Copy(); });
  connect(button(Button::kPrint), &QPushButton::clicked, this, [this] { controller_->Print(); });
  connect(button(Button::kSaveAs), &QPushButton::clicked, this,
          &WaveMeasurementView::SaveRequested);
  connect(button(Button::kPassFail), &QPushButton::clicked, this,
          &WaveMeasurementView::OpenPassFailSetting);
  connect(button(Button::kRecord), &QPushButton::clicked, this, [this] {
    if (recorder_)
      PressRecord(*recorder_, operate_log_, *this);
  });
  connect(button(Button::kTrend), &QPushButton::clicked, this, &WaveMeasurementView::ShowTrend);
  controller_->Initialise();
  export_csv_action_ = AddContextAction(list(), QStringLiteral("Export CSV..."));
  connect(export_csv_action_, &QAction::triggered, this, &WaveMeasurementView::ExportCsvRequested);
}

WaveMeasurementView::~WaveMeasurementView() {
  delete trend_window_;
  if (recorder_)
    recorder_->RemoveObserver(this);
}

void WaveMeasurementView::AttachRecorder(MeasurementRecorder& recorder,
                                         std::function<std::string()> folder) {
  recorder_ = &recorder;
  recording_folder_ = std::move(folder);
  recorder_->AddObserver(this);
  button(Button::kRecord)->setEnabled(true);
}

void WaveMeasurementView::ShowTrend() {
  operate_log_.RecordOperation("Show the measurement trend");
  if (!trend_window_)
    trend_window_ = new TrendWindow(tables_, recorder_, run_dialog_, this);
  trend_window_->show();
  trend_window_->raise();
  trend_window_->activateWindow();
}

std::string WaveMeasurementView::ChooseRecordingFile() {
  QFileDialog dialog(this, QStringLiteral("Record the measurements"),
                     recording_folder_ ? QString::fromStdString(recording_folder_()) : QString());
  dialog.setAccessibleName(dialog.windowTitle());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // Whether an existing file is appended to is asked afterwards.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilters({QStringLiteral("CSV file (*.csv)")});
  if (RunModal(run_dialog_, dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().first().toStdString();
}

bool WaveMeasurementView::AskAppend(const std::string& path) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Record"),
                  QStringLiteral("The file %1 exists.\nAppend the new rows to it?")
                      .arg(QString::fromStdString(path)),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setAccessibleName(box.windowTitle());
  return RunModal(run_dialog_, box) == QMessageBox::Yes;
}

void WaveMeasurementView::RecorderChanged() {
  button(Button::kRecord)
      ->setText(recorder_->recording() ? QStringLiteral("Stop") : QStringLiteral("Record..."));
  emit RecordingStatusChanged(QString::fromStdString(recorder_->StatusText()));
}

void WaveMeasurementView::OpenPassFailSetting() {
  CSetPassFailDlg dialog(tables_, ui_, this);
  RunModal(run_dialog_, dialog);
}

void WaveMeasurementView::EnableFileButtons(bool enable) {
  for (Button which : {Button::kCopy, Button::kPrint, Button::kSaveAs})
    button(which)->setEnabled(enable);
}

bool WaveMeasurementView::PutTextOnClipboard(const std::string& text) {
  return CopyTextToClipboard(text);
}

void WaveMeasurementView::OpenPrintPreview(int first_item, int item_count) {
  emit PrintRequested(first_item, item_count);
}

void WaveMeasurementView::ShowCaption(const std::string& caption) {
  caption_->setText(QString::fromStdString(caption));
}

}  // namespace korvelane
