// What the Wave Data and Measurement views share: the view label's font, the colours of their
// static texts, the set-up of their report lists, and the rule by which a list follows the size
// of its view.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QStyledItemDelegate>
#include <optional>

class QLabel;
class QPushButton;
class QTableView;

namespace korvelane {

// "黑体" (or a CJK fallback), 16 pixels high, thin.
QFont ViewLabelFont();

// A static text drawn in `text` over `background`, enabled or not.
void ColourStatic(QLabel* label, const QColor& text, const QColor& background);

// Draws a list cell as a report list does: its text centred in one line, over the selection
// colour when its row is selected. Thousands of cells are redrawn after every refresh, so it
// draws the text alone, without the style's panel and focus work for each cell.
class ListCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

// A report list: grid lines, whole rows selected, no editing, no row header, rows of one fixed
// height, headers and cells centred, columns `widths[0..columns-1]` pixels wide, and the list and
// its text drawn on `background`.
void SetUpReportList(QTableView* list, const int* widths, int columns, const QColor& background);

// A push button of a view at a fixed place; Enter and Escape never press it.
QPushButton* MakeViewButton(QWidget* parent, const QString& text, const QRect& rect);

class DialogUnits;

// The list of a view keeps its top-left corner (x, y) and takes the size
// (x + width - allowance.width(), y + height - allowance.height()) for a client of
// (width, height), never reaching past the client's edges.
class ListResizeRule {
 public:
  // `initial_size`: the client size the list was placed for.
  ListResizeRule(QSize initial_size, QSize allowance);

  // The list's geometry for a client of `size`, or nothing when it stays as it is: when the
  // size is unchanged or empty. The size is remembered in every case.
  std::optional<QRect> Resize(const QRect& list, QSize size);

  QSize last_size() const { return last_size_; }

 private:
  QSize last_size_;
  QSize allowance_;
};

// Allowances given in pixels of the reference font (6 pixels per dialog-unit character, 13 per
// line), in pixels of the font `units` are measured in.
QSize ScaledAllowance(const DialogUnits& units, int width, int height);

}  // namespace korvelane
