#include "views/wave_measurement_view.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "views/dialog_units.h"
#include "views/list_models.h"
#include "views/set_pass_fail_dlg.h"

namespace korvelane {
namespace {

// Where everything sits, in dialog units; the list's size comes from the resize rule.
struct Place {
  int x, y, width, height;
};
constexpr int kContentWidth = 305, kContentHeight = 306;
constexpr Place kLabel{7, 5, 100, 18};
constexpr Place kCopy{113, 7, 44, 14};
constexpr Place kPrint{160, 7, 44, 14};
constexpr Place kSaveAs{207, 7, 44, 14};
constexpr Place kPassFail{254, 7, 44, 14};
constexpr Place kCaption{7, 29, 291, 12};
constexpr int kListX = 7, kListY = 44;
// The resize rule, in pixels of the reference font.
constexpr int kWidthAllowance = 35, kHeightAllowance = 200;

const QColor kLabelText(232, 116, 0);
const QColor kLabelBackground(98, 176, 255);
const QColor kCaptionText(255, 255, 255);
const QColor kListBackground(139, 168, 222);

QRect ToPixels(const DialogUnits& units, const Place& p) {
  return units.Rect(p.x, p.y, p.width, p.height);
}

}  // namespace

WaveMeasurementView::WaveMeasurementView(const ViewContext& context, DialogRunner run_dialog,
                                         QWidget* parent)
    : QFrame(parent), tables_(context.tables), ui_(context.ui), run_dialog_(std::move(run_dialog)) {
  setAccessibleName(QStringLiteral("Wave Measurement"));
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  BuildControls(context.tables);
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

void WaveMeasurementView::BuildControls(ViewTables& tables) {
  const DialogUnits units(font());
  content_size_ = QSize(units.X(kContentWidth), units.Y(kContentHeight));
  resize_rule_ = std::make_unique<ListResizeRule>(
      QSize(), ScaledAllowance(units, kWidthAllowance, kHeightAllowance));

  view_label_ = new QLabel(QStringLiteral("Measurement"), this);
  view_label_->setAccessibleName(QStringLiteral("View label"));
  view_label_->setGeometry(ToPixels(units, kLabel));
  view_label_->setFont(ViewLabelFont());
  view_label_->setAlignment(Qt::AlignCenter);
  ColourStatic(view_label_, kLabelText, kLabelBackground);

  AddButton(Button::kCopy, QStringLiteral("Copy"), ToPixels(units, kCopy));
  AddButton(Button::kPrint, QStringLiteral("Print"), ToPixels(units, kPrint));
  AddButton(Button::kSaveAs, QStringLiteral("Save As"), ToPixels(units, kSaveAs));
  AddButton(Button::kPassFail, QStringLiteral("Pass|Fail"), ToPixels(units, kPassFail));

  caption_ = new QLabel(this);
  caption_->setAccessibleName(QStringLiteral("Verdict caption"));
  caption_->setGeometry(ToPixels(units, kCaption));
  caption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  caption_->setIndent(units.X(2));
  ColourStatic(caption_, kCaptionText, kListBackground);

  model_ = new MeasurementListModel(tables, this);
  list_ = new QTableView(this);
  list_->setAccessibleName(QStringLiteral("Measurement list"));
  list_->setModel(model_);
  SetUpReportList(list_, MeasurementList::kWidths, MeasurementList::kColumns, kListBackground);
  const QRect start(units.X(kListX), units.Y(kListY), 0, 0);
  list_->setGeometry(resize_rule_->Resize(start, content_size_).value_or(start));
}

QPushButton* WaveMeasurementView::AddButton(Button which, const QString& text, const QRect& rect) {
  QPushButton* push = MakeViewButton(this, text, rect);
  buttons_[static_cast<size_t>(which)] = push;
  return push;
}

QPushButton* WaveMeasurementView::button(Button which) const {
  return buttons_[static_cast<size_t>(which)];
}

QSize WaveMeasurementView::sizeHint() const {
  return content_size_;
}

void WaveMeasurementView::OpenPassFailSetting() {
  CSetPassFailDlg dialog(tables_, ui_, this);
  RunModal(run_dialog_, dialog);
}

void WaveMeasurementView::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  if (const std::optional<QRect> rect = resize_rule_->Resize(list_->geometry(), size()))
    list_->setGeometry(*rect);
}

void WaveMeasurementView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();
      return;
    default:
      QFrame::keyPressEvent(event);
  }
}

void WaveMeasurementView::EnableFileButtons(bool enable) {
  for (Button which : {Button::kCopy, Button::kPrint, Button::kSaveAs})
    button(which)->setEnabled(enable);
}

bool WaveMeasurementView::PutTextOnClipboard(const std::string& text) {
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard)
    return false;
  clipboard->setText(QString::fromStdString(text));
  return true;
}

void WaveMeasurementView::OpenPrintPreview(int first_item, int item_count) {
  emit PrintRequested(first_item, item_count);
}

void WaveMeasurementView::ShowCaption(const std::string& caption) {
  caption_->setText(QString::fromStdString(caption));
}

}  // namespace korvelane
