// SPDX-License-Identifier: GPL-3.0-or-later
// The DSO Bitmap view: a picture of the instrument's screen or of a bitmap file, stretched over
// the picture area, with its title below and the buttons that refresh, open, save, retitle, copy
// and print it.
#pragma once

#include <QFrame>
#include <QImage>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "views/bitmap/dso_bitmap_controller.h"
#include "views/bitmap/dso_bitmap_layout.h"
#include "views/view_frame.h"
#include "widgets/bitmap_page.h"
#include "widgets/file_dialogs.h"

class QDialog;
class QLabel;
class QPushButton;

namespace korvelane {

// The frame the picture is stretched into.
class BitmapPictureArea : public QFrame {
 public:
  explicit BitmapPictureArea(QWidget* parent = nullptr);
  void SetImage(QImage image);
  const QImage& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

// The decoded picture as an image, top row first.
QImage PictureImage(const DecodedBitmap& picture);

class DsoBitmapView : public ViewFrame, public BitmapPage, private DsoBitmapForm {
  Q_OBJECT

 public:
  enum class Button { kSave, kOpen, kAlterTitle, kCopy, kRefresh, kPrint };
  // Runs a modal dialog and returns its result; empty: QDialog::exec.
  using DialogRunner = std::function<int(QDialog&)>;

  // "Refresh" runs `transfer` when `connection` is bound.
  DsoBitmapView(const ViewContext& context, const Connection& connection, BitmapTransfer& transfer,
                FileDialogs& file_dialogs, DialogRunner run_dialog = {}, QWidget* parent = nullptr);
  ~DsoBitmapView() override;

  // BitmapPage: the right pane's way in.
  bool OpenPictureFile(const std::string& path) override;
  bool LoadPicture(const std::string& path, bool set_title);

  DsoBitmapController& controller() { return *controller_; }
  QPushButton* button(Button which) const { return buttons_[which]; }
  QLabel* view_label() const { return view_label_; }
  QLabel* title_label() const { return title_label_; }
  BitmapPictureArea* picture_area() const { return picture_; }
  // The whole title; the label shows it shortened in the middle when it does not fit.
  const std::string& title() const { return controller_->title(); }
  double scale() const { return scale_; }

  // The request of the view's own save dialog.
  static FileDialogRequest SaveRequest(const std::string& suggested_name,
                                       const std::string& folder);
  QSize sizeHint() const override;

 signals:
  // "Print" with a picture present: the print preview of this view.
  void PrintRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildControls();
  void ApplyLayout();
  void ShowElidedTitle();

  // DsoBitmapForm
  void ShowPicture(const DecodedBitmap& picture) override;
  void ShowTitle(const std::string& title) override;
  void EnablePictureButtons(bool enable) override;
  void EnableAlterTitle(bool enable) override;
  std::string ChooseFileToOpen() override;
  std::string ChooseFileToSave(const std::string& suggested_name) override;
  bool AskNewTitle(const std::string& current_title, std::string* new_title) override;
  void CopyShownPicture() override;
  void OpenPrintPreview() override;

  FileDialogs& file_dialogs_;
  DialogRunner run_dialog_;
  double scale_ = 1.0;
  DsoBitmapLayout layout_;
  QSize last_size_;
  QLabel* view_label_ = nullptr;
  QLabel* title_label_ = nullptr;
  BitmapPictureArea* picture_ = nullptr;
  ViewButtons<Button, 6> buttons_;
  std::unique_ptr<DsoBitmapController> controller_;
};

}  // namespace korvelane
