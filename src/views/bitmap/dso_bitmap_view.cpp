// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/bitmap/dso_bitmap_view.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cstring>

#include "widgets/alter_title_dialog.h"

namespace korvelane {
namespace {

const QColor kLabelText(232, 116, 0);
const QColor kLabelBackground(98, 176, 255);
const QColor kTitleText(255, 255, 255);
const QColor kTitleBackground(0, 64, 128);
// Line height of the reference font the layout is measured in.
constexpr double kReferenceLineHeight = 13.0;

}  // namespace

BitmapPictureArea::BitmapPictureArea(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  setAccessibleName(QStringLiteral("Picture"));
}

void BitmapPictureArea::SetImage(QImage image) {
  image_ = std::move(image);
  update();
}

void BitmapPictureArea::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (image_.isNull())
    return;
  QPainter painter(this);
  const QRect target = contentsRect();
  // Shrinking blends neighbouring pixels; enlarging keeps the screen's pixels sharp.
  painter.setRenderHint(QPainter::SmoothPixmapTransform,
                        target.width() < image_.width() || target.height() < image_.height());
  painter.drawImage(target, image_);
}

QImage PictureImage(const DecodedBitmap& picture) {
  if (!picture.valid())
    return QImage();
  const int width = picture.width();
  const int height = picture.height();
  QImage image(width, height, QImage::Format_RGB888);
  if (image.isNull())
    return image;
  const size_t row_bytes = static_cast<size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    const uint8_t* source = &picture.pixels[static_cast<size_t>(height - 1 - y) * row_bytes];
    uchar* target = image.scanLine(y);
    for (size_t i = 0; i < row_bytes; i += 3) {
      target[i] = source[i + 2];
      target[i + 1] = source[i + 1];
      target[i + 2] = source[i];
    }
  }
  return image;
}

FileDialogRequest DsoBitmapView::SaveRequest(const std::string& suggested_name,
                                             const std::string& folder) {
  FileDialogRequest request;
  request.save = true;
  request.title = "Save Bmp File";
  request.filter = FileDialogs::Filter(kBitmapFile);
  request.folder = folder;
  request.initial_name = suggested_name;
  request.default_extension = "bmp";
  return request;
}

DsoBitmapView::DsoBitmapView(const ViewContext& context, const Connection& connection,
                             BitmapTransfer& transfer, FileDialogs& file_dialogs,
                             DialogRunner run_dialog, QWidget* parent)
    : ViewFrame(parent), file_dialogs_(file_dialogs), run_dialog_(std::move(run_dialog)) {
  setAccessibleName(QStringLiteral("DSO Bitmap"));
  scale_ = std::max(1.0, QFontMetrics(font()).height() / kReferenceLineHeight);
  BuildControls();
  controller_ = std::make_unique<DsoBitmapController>(
      context, connection, transfer, [this] { return file_dialogs_.initial_path(); },
      static_cast<DsoBitmapForm&>(*this));

  connect(button(Button::kRefresh), &QPushButton::clicked, this,
          [this] { controller_->Refresh(); });
  connect(button(Button::kSave), &QPushButton::clicked, this, [this] { controller_->Save(); });
  connect(button(Button::kOpen), &QPushButton::clicked, this, [this] { controller_->Open(); });
  connect(button(Button::kAlterTitle), &QPushButton::clicked, this,
          [this] { controller_->AlterTitle(); });
  connect(button(Button::kCopy), &QPushButton::clicked, this, [this] { controller_->Copy(); });
  connect(button(Button::kPrint), &QPushButton::clicked, this, [this] { controller_->Print(); });
  controller_->Initialise();
}

DsoBitmapView::~DsoBitmapView() = default;

void DsoBitmapView::BuildControls() {
  layout_ = InitialDsoBitmapLayout(scale_);
  // The size the controls were placed for; a resize to any other size moves them.
  last_size_ = DsoBitmapTemplateSize(scale_);

  view_label_ = new QLabel(QStringLiteral("DSO Bitmap"), this);
  view_label_->setAccessibleName(QStringLiteral("View label"));
  view_label_->setFont(ViewLabelFont());
  view_label_->setAlignment(Qt::AlignCenter);
  ColourStatic(view_label_, kLabelText, kLabelBackground);

  picture_ = new BitmapPictureArea(this);

  title_label_ = new QLabel(this);
  title_label_->setAccessibleName(QStringLiteral("Picture title"));
  title_label_->setFont(ViewLabelFont());
  title_label_->setAlignment(Qt::AlignCenter);
  ColourStatic(title_label_, kTitleText, kTitleBackground);

  using L = DsoBitmapLayout;
  buttons_.Add(this, Button::kSave, QStringLiteral("Save"), layout_.buttons[L::kSave]);
  buttons_.Add(this, Button::kOpen, QStringLiteral("Open"), layout_.buttons[L::kOpen]);
  buttons_.Add(this, Button::kCopy, QStringLiteral("Copy"), layout_.buttons[L::kCopy]);
  buttons_.Add(this, Button::kRefresh, QStringLiteral("Refresh"), layout_.buttons[L::kRefresh]);
  buttons_.Add(this, Button::kPrint, QStringLiteral("Print"), layout_.buttons[L::kPrint]);
  buttons_.Add(this, Button::kAlterTitle, QStringLiteral("Alter Title"), layout_.alter_title);
  ApplyLayout();
}

QSize DsoBitmapView::sizeHint() const {
  return DsoBitmapTemplateSize(scale_);
}

void DsoBitmapView::ApplyLayout() {
  view_label_->setGeometry(layout_.label);
  picture_->setGeometry(layout_.picture);
  title_label_->setGeometry(layout_.title);
  button(Button::kAlterTitle)->setGeometry(layout_.alter_title);
  if (controller_)
    ShowElidedTitle();
}

void DsoBitmapView::resizeEvent(QResizeEvent* event) {
  ViewFrame::resizeEvent(event);
  if (size() == last_size_)
    return;
  layout_ = ResizeDsoBitmapLayout(layout_, size(), scale_);
  ApplyLayout();
  last_size_ = size();
}

bool DsoBitmapView::OpenPictureFile(const std::string& path) {
  return controller_->OpenPictureFile(path);
}

bool DsoBitmapView::LoadPicture(const std::string& path, bool set_title) {
  return controller_->LoadPicture(path, set_title);
}

void DsoBitmapView::EnableAlterTitle(bool enable) {
  button(Button::kAlterTitle)->setEnabled(enable);
}

void DsoBitmapView::ShowPicture(const DecodedBitmap& picture) {
  picture_->SetImage(PictureImage(picture));
}

void DsoBitmapView::ShowTitle(const std::string& title) {
  title_label_->setToolTip(QString::fromStdString(title));
  ShowElidedTitle();
}

void DsoBitmapView::ShowElidedTitle() {
  const QString full = QString::fromStdString(controller_->title());
  const int room = std::max(0, title_label_->contentsRect().width() - 4);
  title_label_->setText(title_label_->fontMetrics().elidedText(full, Qt::ElideMiddle, room));
  title_label_->setAccessibleDescription(full);
}

void DsoBitmapView::EnablePictureButtons(bool enable) {
  for (Button which : {Button::kSave, Button::kAlterTitle, Button::kCopy, Button::kPrint})
    button(which)->setEnabled(enable);
}

std::string DsoBitmapView::ChooseFileToOpen() {
  return file_dialogs_.OpenFileDialog(kBitmapFile) ? file_dialogs_.open_path() : std::string();
}

std::string DsoBitmapView::ChooseFileToSave(const std::string& suggested_name) {
  return file_dialogs_.Run(SaveRequest(suggested_name, file_dialogs_.initial_path()));
}

bool DsoBitmapView::AskNewTitle(const std::string& current_title, std::string* new_title) {
  AlterTitleDialog dialog(QString::fromStdString(current_title), this);
  const int result = run_dialog_ ? run_dialog_(dialog) : dialog.exec();
  if (result != QDialog::Accepted)
    return false;
  *new_title = dialog.new_title().toStdString();
  return true;
}

void DsoBitmapView::CopyShownPicture() {
  QClipboard* clipboard = QApplication::clipboard();
  const QPixmap shown = picture_->grab();
  if (clipboard && !shown.isNull())
    clipboard->setPixmap(shown);
}

void DsoBitmapView::OpenPrintPreview() {
  emit PrintRequested();
}

}  // namespace korvelane
