#include "views/wave_data_view.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "views/dialog_units.h"
#include "views/list_models.h"
#include "views/set_prnt_item_dlg.h"

namespace korvelane {
namespace {

// Where everything sits, in dialog units; the list's size comes from the resize rule.
struct Place {
  int x, y, width, height;
};
constexpr int kContentWidth = 274, kContentHeight = 203;
constexpr Place kLabel{7, 5, 100, 18};
constexpr Place kCopy{115, 7, 46, 14};
constexpr Place kPrint{168, 7, 46, 14};
constexpr Place kSaveAs{221, 7, 46, 14};
constexpr int kListX = 7, kListY = 28;
// The resize rule, in pixels of the reference font.
constexpr int kWidthAllowance = 35, kHeightAllowance = 110;

const QColor kLabelText(232, 116, 0);
const QColor kLabelBackground(98, 176, 255);
const QColor kListBackground(199, 237, 237);

QRect ToPixels(const DialogUnits& units, const Place& p) {
  return units.Rect(p.x, p.y, p.width, p.height);
}

}  // namespace

WaveDataView::WaveDataView(const ViewContext& context, DialogRunner run_dialog, QWidget* parent)
    : QFrame(parent), ui_(context.ui), run_dialog_(std::move(run_dialog)) {
  setAccessibleName(QStringLiteral("Wave Data"));
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  BuildControls(context.tables);
  controller_ = std::make_unique<WaveDataController>(context, static_cast<WaveDataForm&>(*this));
  connect(button(Button::kCopy), &QPushButton::clicked, this, [this] { controller_->Copy(); });
  connect(button(Button::kPrint), &QPushButton::clicked, this, [this] { controller_->Print(); });
  connect(button(Button::kSaveAs), &QPushButton::clicked, this, &WaveDataView::SaveRequested);
  controller_->Initialise();
}

WaveDataView::~WaveDataView() = default;

void WaveDataView::BuildControls(ViewTables& tables) {
  const DialogUnits units(font());
  content_size_ = QSize(units.X(kContentWidth), units.Y(kContentHeight));
  resize_rule_ = std::make_unique<ListResizeRule>(
      QSize(), ScaledAllowance(units, kWidthAllowance, kHeightAllowance));

  view_label_ = new QLabel(QStringLiteral("Wave Data"), this);
  view_label_->setAccessibleName(QStringLiteral("View label"));
  view_label_->setGeometry(ToPixels(units, kLabel));
  view_label_->setFont(ViewLabelFont());
  view_label_->setAlignment(Qt::AlignCenter);
  ColourStatic(view_label_, kLabelText, kLabelBackground);

  AddButton(Button::kCopy, QStringLiteral("Copy"), ToPixels(units, kCopy));
  AddButton(Button::kPrint, QStringLiteral("Print"), ToPixels(units, kPrint));
  AddButton(Button::kSaveAs, QStringLiteral("Save as"), ToPixels(units, kSaveAs));

  model_ = new WaveDataListModel(tables, this);
  list_ = new QTableView(this);
  list_->setAccessibleName(QStringLiteral("Wave Data list"));
  list_->setModel(model_);
  SetUpReportList(list_, WaveDataList::kWidths, WaveDataList::kColumns, kListBackground);
  // The list as the resize rule sizes it for the view's own size.
  const QRect start(units.X(kListX), units.Y(kListY), 0, 0);
  list_->setGeometry(resize_rule_->Resize(start, content_size_).value_or(start));
}

QPushButton* WaveDataView::AddButton(Button which, const QString& text, const QRect& rect) {
  QPushButton* push = MakeViewButton(this, text, rect);
  buttons_[static_cast<size_t>(which)] = push;
  return push;
}

QPushButton* WaveDataView::button(Button which) const {
  return buttons_[static_cast<size_t>(which)];
}

QSize WaveDataView::sizeHint() const {
  return content_size_;
}

void WaveDataView::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  if (const std::optional<QRect> rect = resize_rule_->Resize(list_->geometry(), size()))
    list_->setGeometry(*rect);
}

void WaveDataView::keyPressEvent(QKeyEvent* event) {
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

void WaveDataView::EnableFileButtons(bool enable) {
  for (QPushButton* push : buttons_)
    push->setEnabled(enable);
}

bool WaveDataView::PutTextOnClipboard(const std::string& text) {
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard)
    return false;
  clipboard->setText(QString::fromStdString(text));
  return true;
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
