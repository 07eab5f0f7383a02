// SPDX-License-Identifier: GPL-3.0-or-later
// The two connection lamps at the right end of the menu bar: left the link, right the binding.
#pragma once

#include <QWidget>

namespace korvelane {

class LampIndicator : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 55;

  explicit LampIndicator(QWidget* parent = nullptr);

  void SetState(bool link_ok, bool bound);
  bool link_ok() const { return link_ok_; }
  bool bound() const { return bound_; }

  // Centres of the two lamps, for tests that read the painted pixels.
  QPoint LinkLampCentre() const;
  QPoint BindLampCentre() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect LampRect(int left) const;

  bool link_ok_ = false;
  bool bound_ = false;
};

}  // namespace korvelane
