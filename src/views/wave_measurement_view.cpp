#include "views/wave_measurement_view.h"

#include <QLabel>
#include <QPushButton>

#include "views/list_models.h"
#include "views/set_pass_fail_dlg.h"

namespace korvelane {
namespace {

// Where everything sits, in dialog units; the list's size comes from the resize rule, whose
// allowances are in pixels of the reference font.
const ReportListView::Layout kLayout{QSize(305, 306), QPoint(7, 44), QSize(35, 200)};
const QColor kCaptionText(255, 255, 255);
const QColor kListBackground(139, 168, 222);

}  // namespace

WaveMeasurementView::WaveMeasurementView(const ViewContext& context, DialogRunner run_dialog,
                                         QWidget* parent)
    : ReportListView(QStringLiteral("Wave Measurement"), QStringLiteral("Measurement"), kLayout,
                     parent),
      tables_(context.tables),
      ui_(context.ui),
      run_dialog_(std::move(run_dialog)) {
  buttons_.Add(this, Button::kCopy, QStringLiteral("Copy"), ToPixels(113, 7, 44, 14));
  buttons_.Add(this, Button::kPrint, QStringLiteral("Print"), ToPixels(160, 7, 44, 14));
  buttons_.Add(this, Button::kSaveAs, QStringLiteral("Save As"), ToPixels(207, 7, 44, 14));
  buttons_.Add(this, Button::kPassFail, QStringLiteral("Pass|Fail"), ToPixels(254, 7, 44, 14));

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
  controller_->Initialise();
}

WaveMeasurementView::~WaveMeasurementView() = default;

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
