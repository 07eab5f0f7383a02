// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/wave_data_view.h"

#include <QAction>
#include <QPushButton>
#include <QTableView>

#include "views/list_models.h"
#include "views/set_prnt_item_dlg.h"

namespace korvelane {
namespace {

// Where everything sits, in dialog units; the list's size comes from the resize rule, whose
// allowances are in pixels of the reference font.
const ReportListView::Layout kLayout{QSize(274, 203), QPoint(7, 28), QSize(35, 110)};
const QColor kListBackground(199, 237, 237);

}  // namespace

WaveDataView::WaveDataView(const ViewContext& context, DialogRunner run_dialog, QWidget* parent)
    : ReportListView(QStringLiteral("Wave Data"), QStringLiteral("Wave Data"), kLayout, parent),
      ui_(context.ui),
      run_dialog_(std::move(run_dialog)) {
  buttons_.Add(this, Button::kCopy, QStringLiteral("Copy"), ToPixels(115, 7, 46, 14));
  buttons_.Add(this, Button::kPrint, QStringLiteral("Print"), ToPixels(168, 7, 46, 14));
  buttons_.Add(this, Button::kSaveAs, QStringLiteral("Save as"), ToPixels(221, 7, 46, 14));
  AddReportList(new WaveDataListModel(context.tables, this), QStringLiteral("Wave Data list"),
                WaveDataList::kWidths, WaveDataList::kColumns, kListBackground);
  controller_ = std::make_unique<WaveDataController>(context, static_cast<WaveDataForm&>(*this));
  connect(button(Button::kCopy), &QPushButton::clicked, this, [this] { controller_->Copy(); });
  connect(button(Button::kPrint), &QPushButton::clicked, this, [this] { controller_->Print(); });
  connect(button(Button::kSaveAs), &QPushButton::clicked, this, &WaveDataView::SaveRequested);
  controller_->Initialise();
  export_csv_action_ = AddContextAction(list(), QStringLiteral("Export CSV (seconds, volts)..."));
  connect(export_csv_action_, &QAction::triggered, this, &WaveDataView::ExportCsvRequested);
}

WaveDataView::~WaveDataView() = default;

void WaveDataView::EnableFileButtons(bool enable) {
  for (Button which : {Button::kCopy, Button::kPrint, Button::kSaveAs})
    button(which)->setEnabled(enable);
}

bool WaveDataView::PutTextOnClipboard(const std::string& text) {
  return CopyTextToClipboard(text);
}

bool WaveDataView::AskPrintRange(int* first, int* last) {
  CSetPrntItemDlg dialog(ui_, *first, *last, this);
  if (RunModal(run_dialog_, dialog) != QDialog::Accepted)
    return false;
  *first = dialog.start();
  *last = dialog.end();
  return true;
}

void WaveDataView::OpenPrintPreview(int first_item, int item_count) {
  emit PrintRequested(first_item, item_count);
}

}  // namespace korvelane
