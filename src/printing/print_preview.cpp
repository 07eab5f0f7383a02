// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/print_preview.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "printing/page_painter.h"
#include "views/view_frame.h"

namespace korvelane {
namespace {

// The toolbar's pictures, 16 x 15 pixels, drawn here.
QIcon CommandIcon(int command) {
  QPixmap pixmap(16, 15);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(20, 60, 140));
  auto triangle = [&p](int tip, int base) {
    QPainterPath path;
    path.moveTo(tip, 7.5);
    path.lineTo(base, 2);
    path.lineTo(base, 13);
    path.closeSubpath();
    p.drawPath(path);
  };
  switch (command) {
    case CPreParent::kFirst:
      p.drawRect(2, 2, 2, 11);
      triangle(5, 13);
      break;
    case CPreParent::kPrevious:
      triangle(4, 12);
      break;
    case CPreParent::kNext:
      triangle(12, 4);
      break;
    case CPreParent::kLast:
      triangle(11, 3);
      p.drawRect(12, 2, 2, 11);
      break;
    case CPreParent::kGoto:
      p.setPen(QPen(QColor(20, 60, 140), 1));
      p.setBrush(Qt::white);
      p.drawRect(2, 1, 9, 12);
      p.setBrush(QColor(20, 60, 140));
      p.setPen(Qt::NoPen);
      {
        QPainterPath path;
        path.moveTo(15, 9);
        path.lineTo(10, 5);
        path.lineTo(10, 13);
        path.closeSubpath();
        p.drawPath(path);
      }
      break;
    case CPreParent::kClose:
      p.setPen(QPen(QColor(170, 20, 20), 2.5));
      p.drawLine(3, 2, 13, 12);
      p.drawLine(13, 2, 3, 12);
      break;
    case CPreParent::kPrint:
      p.setPen(QPen(Qt::black, 1));
      p.setBrush(Qt::white);
      p.drawRect(4, 1, 8, 5);
      p.setBrush(QColor(120, 120, 120));
      p.drawRect(1, 6, 14, 6);
      p.setBrush(Qt::white);
      p.drawRect(4, 10, 8, 4);
      break;
    default:
      break;
  }
  return QIcon(pixmap);
}

// A neutral 8 x 8 checker around the page.
QBrush BackgroundBrush() {
  QImage pattern(8, 8, QImage::Format_RGB32);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      pattern.setPixel(x, y, ((x / 4 + y / 4) % 2) ? qRgb(150, 150, 150) : qRgb(168, 168, 168));
  return QBrush(pattern);
}

// A page number as typed, clamped to 1..page count; `fallback` when the text is no number.
int TypedGotoPage(const QString& typed, int page_count, int fallback) {
  const QString text = typed.trimmed();
  static const QRegularExpression kNumber(QStringLiteral("^[+-]?[0-9]+$"));
  if (!kNumber.match(text).hasMatch())
    return fallback;
  bool ok = false;
  const long long value = text.toLongLong(&ok);
  if (!ok)  // more digits than any page count
    return text.startsWith(QLatin1Char('-')) ? 1 : page_count;
  return ClampGotoPage(static_cast<int>(std::clamp<long long>(value, 0, page_count)), page_count);
}

// The page field: any whole number can be typed, and it is clamped to 1..page count when it is
// taken; the arrows run 1..page count and wrap.
class GotoPageField : public QSpinBox {
 public:
  GotoPageField(int page_count, QWidget* parent) : QSpinBox(parent) {
    setRange(1, page_count);
    setWrapping(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  }

 protected:
  QValidator::State validate(QString& text, int& /*pos*/) const override {
    const QString typed = text.trimmed();
    if (typed.isEmpty() || typed == QLatin1String("-") || typed == QLatin1String("+"))
      return QValidator::Intermediate;
    return TypedGotoPage(typed, maximum(), 0) != 0 ? QValidator::Acceptable : QValidator::Invalid;
  }
  int valueFromText(const QString& text) const override {
    return TypedGotoPage(text, maximum(), value());
  }
};

}  // namespace

CPreGotoDlg::CPreGotoDlg(int current_page, int page_count, QWidget* parent)
    : QDialog(parent), page_count_(std::max(1, page_count)), page_(current_page) {
  setWindowTitle(QStringLiteral("Goto Page"));
  setAccessibleName(QStringLiteral("Goto Page"));
  auto* label = new QLabel(QStringLiteral("Page(&P):"), this);
  label->setAccessibleName(QStringLiteral("Page"));
  field_ = new GotoPageField(page_count_, this);
  field_->setAccessibleName(QStringLiteral("Page"));
  field_->setValue(ClampGotoPage(current_page, page_count_));
  label->setBuddy(field_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(field_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
}

void CPreGotoDlg::accept() {
  // The text as typed, clamped: above the count gives the count, 0 or less gives 1.
  page_ = TypedGotoPage(field_->cleanText(), page_count_, field_->value());
  field_->setValue(page_);
  QDialog::accept();
}

CPreView::CPreView(const PreviewSource& source, PrintJob& job, const Clock& clock, QWidget* parent)
    : QAbstractScrollArea(parent),
      source_(source),
      job_(job),
      clock_(clock),
      wheel_(QApplication::wheelScrollLines()),
      background_(BackgroundBrush()) {
  setAccessibleName(QStringLiteral("Preview page"));
  verticalScrollBar()->setAccessibleName(QStringLiteral("Vertical scroll"));
  horizontalScrollBar()->setAccessibleName(QStringLiteral("Horizontal scroll"));
  verticalScrollBar()->setSingleStep(kScrollLinePixels);
  horizontalScrollBar()->setSingleStep(kScrollLinePixels);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  UpdateRanges();
}

void CPreView::set_current_page(int page) {
  current_page_ = page;
  viewport()->update();
}

QImage CPreView::RenderPage() {
  const int dpi_x = logicalDpiX();
  const int dpi_y = logicalDpiY();
  QImage image(PreviewPageWidth(dpi_x), PreviewPageHeight(dpi_y), QImage::Format_RGB32);
  image.setDotsPerMeterX(qRound(dpi_x / 0.0254));
  image.setDotsPerMeterY(qRound(dpi_y / 0.0254));
  image.fill(Qt::white);
  job_.to_printer = 0;
  job_.page_to_draw = current_page_;
  if (source_.renderer) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintPage(painter, PreviewPage(*source_.renderer, job_, PrintDateText(clock_.Now())), dpi_x,
              dpi_y, source_.picture);
  }
  return image;
}

QPoint CPreView::PageOrigin() const {
  return QPoint(logicalDpiX() / 2 - horizontalScrollBar()->value(),
                logicalDpiY() / 2 - verticalScrollBar()->value());
}

void CPreView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), background_);
  painter.drawImage(PageOrigin(), RenderPage());
}

void CPreView::UpdateRanges() {
  const int total_height = logicalDpiY() + PreviewPageHeight(logicalDpiY());
  const int total_width = logicalDpiX() + PreviewPageWidth(logicalDpiX());
  const QSize visible = viewport()->size();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setRange(0, std::max(0, total_height - visible.height()));
  verticalScrollBar()->setPageStep(std::max(1, visible.height()));
  horizontalScrollBar()->setRange(0, std::max(0, total_width - visible.width()));
  horizontalScrollBar()->setPageStep(std::max(1, visible.width()));
}

void CPreView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateRanges();
}

void CPreView::wheelEvent(QWheelEvent* event) {
  const int lines = wheel_.Consume(event->angleDelta().y());
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bar->value() + lines * kScrollLinePixels);
  event->accept();
}

void CPreView::scrollContentsBy(int, int) {
  viewport()->update();
}

CPreParent::CPreParent(PreviewSource source, const PrintJob& job, const PrintServices& services,
                       PrintDialogRunner run_dialog, PrinterFactory printers, QWidget* parent)
    : QDialog(parent),
      source_(std::move(source)),
      job_(job),
      services_(services),
      run_dialog_(std::move(run_dialog)),
      printers_(printers ? std::move(printers) : PrinterFactory(&OpenDefaultPrinter)),
      navigation_((SetPrintJob(job_), job_.page_count)) {
  setWindowTitle(QStringLiteral("Preview"));
  setAccessibleName(QStringLiteral("Preview"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);

  auto* bar = new QToolBar(this);
  bar->setAccessibleName(QStringLiteral("Preview toolbar"));
  bar->setIconSize(QSize(16, 15));
  AddAction(bar, kFirst, QStringLiteral("First Page"), CommandIcon(kFirst));
  AddAction(bar, kPrevious, QStringLiteral("Previous Page"), CommandIcon(kPrevious));
  bar->addSeparator();
  AddAction(bar, kGoto, QStringLiteral("Goto Page"), CommandIcon(kGoto));
  bar->addSeparator();
  AddAction(bar, kNext, QStringLiteral("Next Page"), CommandIcon(kNext));
  AddAction(bar, kLast, QStringLiteral("Last Page"), CommandIcon(kLast));
  bar->addSeparator();
  AddAction(bar, kClose, QStringLiteral("Close"), CommandIcon(kClose));
  bar->addSeparator();
  AddAction(bar, kPrint, QStringLiteral("Print"), CommandIcon(kPrint));

  auto line = [this] {
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setAccessibleName(QStringLiteral("Separator"));
    return frame;
  };
  view_ = new CPreView(source_, job_, services_.clock, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(line());
  layout->addWidget(bar);
  layout->addWidget(line());
  layout->addWidget(view_, 1);
  actions_[kGoto]->setEnabled(navigation_.goto_enabled());
  ShowNavigation();
}

void CPreParent::AddAction(QToolBar* bar, int command, const QString& text, const QIcon& icon) {
  QAction* action = bar->addAction(icon, text);
  action->setToolTip(text);
  if (QWidget* button = bar->widgetForAction(action))
    button->setAccessibleName(text);
  connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
  actions_[command] = action;
}

QAction* CPreParent::action(int command) const {
  auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

int CPreParent::Open() {
  if (job_.item_count <= 0)
    return QDialog::Rejected;
  setWindowState(windowState() | Qt::WindowMaximized);
  return run_dialog_ ? run_dialog_(*this) : exec();
}

void CPreParent::ShowNavigation() {
  actions_[kFirst]->setEnabled(navigation_.first_enabled());
  actions_[kPrevious]->setEnabled(navigation_.previous_enabled());
  actions_[kNext]->setEnabled(navigation_.next_enabled());
  actions_[kLast]->setEnabled(navigation_.last_enabled());
  view_->set_current_page(navigation_.current_page());
}

void CPreParent::RunCommand(int command) {
  switch (command) {
    case kFirst:
      navigation_.First();
      break;
    case kPrevious:
      navigation_.Previous();
      break;
    case kNext:
      navigation_.Next();
      break;
    case kLast:
      navigation_.Last();
      break;
    case kGoto: {
      CPreGotoDlg dialog(navigation_.current_page(), navigation_.page_count(), this);
      const int result = run_dialog_ ? run_dialog_(dialog) : dialog.exec();
      if (result != QDialog::Accepted)
        return;
      navigation_.Goto(dialog.page());
      break;
    }
    case kClose:
      done(QDialog::Rejected);
      return;
    case kPrint:
      Print();
      return;
    default:
      return;
  }
  ShowNavigation();
}

void CPreParent::Print() {
  QMessageBox question(QMessageBox::Question, QStringLiteral("Print Info"),
                       QStringLiteral("Are you sure to printing current date?"),
                       QMessageBox::Yes | QMessageBox::No, this);
  question.setAccessibleName(QStringLiteral("Print Info"));
  question.setDefaultButton(QMessageBox::No);
  const int answer = run_dialog_ ? run_dialog_(question) : question.exec();
  if (answer != QMessageBox::Yes)
    return;
  std::unique_ptr<QPrinter> printer = printers_();
  if (!printer) {
    services_.debug_log.WriteDebugLog("打印机初始化失败", kWarning);
    services_.ui.ShowMessage("Initialize the printer failed!", "错误", MessageIcon::kStop);
    return;
  }
  job_.to_printer = 1;
  job_.page_to_draw = navigation_.current_page();
  if (!source_.renderer)
    return;
  PrinterSurface surface(printer.get(), source_.picture);
  PrintWholeDocument(*source_.renderer, job_, surface, services_);
}

void CPreParent::keyPressEvent(QKeyEvent* event) {
  // Enter and Escape leave the preview open.
  if (!SwallowEnterAndEscape(event))
    QDialog::keyPressEvent(event);
}

}  // namespace korvelane
