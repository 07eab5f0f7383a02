// SPDX-License-Identifier: GPL-3.0-or-later
// "Picture Size": the width and height in pixels of an exported graph picture.
#pragma once

#include <QDialog>
#include <QSize>

class QSpinBox;

namespace korvelane {

class PictureSizeDialog : public QDialog {
  Q_OBJECT

 public:
  // The bounds of either side, in pixels.
  static constexpr int kMinimumSide = 160;
  static constexpr int kMaximumSide = 8192;

  // Offers `shown`, brought within the bounds.
  explicit PictureSizeDialog(QSize shown, QWidget* parent = nullptr);

  QSize chosen_size() const;
  QSpinBox* width_box() const { return width_; }
  QSpinBox* height_box() const { return height_; }

 private:
  QSpinBox* width_;
  QSpinBox* height_;
};

}  // namespace korvelane
