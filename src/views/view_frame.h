// SPDX-License-Identifier: GPL-3.0-or-later
// What every view of the right pane shares: the frame whose push buttons Enter and Escape never
// press, the buttons at fixed places, the view label's font and the colours of static texts.
#pragma once

#include <QFrame>
#include <array>
#include <string>

class QAction;
class QColor;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace korvelane {

// "黑体" (or a CJK fallback), 16 pixels high, thin.
QFont ViewLabelFont();

// A static text drawn in `text` over `background`, enabled or not.
void ColourStatic(QLabel* label, const QColor& text, const QColor& background);

// A push button of a view at a fixed place; Enter and Escape never press it.
QPushButton* MakeViewButton(QWidget* parent, const QString& text, const QRect& rect);

// Puts `text`, code page 936 as the lists hold their texts, on the clipboard; false when there
// is no clipboard.
bool CopyTextToClipboard(const std::string& text);

// An item of `widget`'s context menu showing `text`; the menu lists the widget's actions.
QAction* AddContextAction(QWidget* widget, const QString& text);

// Accepts `event` when it is Enter or Escape, so that the key does nothing; true when it did.
bool SwallowEnterAndEscape(QKeyEvent* event);

// A view's frame: Enter and Escape do nothing in it.
class ViewFrame : public QFrame {
 public:
  using QFrame::QFrame;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// The push buttons of a view, named by `Id`.
template <typename Id, size_t kCount>
class ViewButtons {
 public:
  QPushButton* Add(QWidget* parent, Id which, const QString& text, const QRect& rect) {
    return buttons_[static_cast<size_t>(which)] = MakeViewButton(parent, text, rect);
  }
  QPushButton* operator[](Id which) const { return buttons_[static_cast<size_t>(which)]; }

 private:
  std::array<QPushButton*, kCount> buttons_{};
};

}  // namespace korvelane
