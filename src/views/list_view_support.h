// SPDX-License-Identifier: GPL-3.0-or-later
// What the Wave Data and Measurement views share: their frame with the view label and the
// report list, the set-up of the list, and the rule by which it follows the size of its view.
#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QStyledItemDelegate>
#include <memory>
#include <optional>

#include "views/dialog_units.h"
#include "views/view_frame.h"

class QAbstractItemModel;
class QLabel;
class QTableView;

namespace korvelane {

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

// A boxed view with its label at the top left and a report list below its other controls; the
// list follows the size of the view, the other controls keep their places. Places are in dialog
// units of the view's font, allowances in pixels of the reference font.
class ReportListView : public ViewFrame {
 public:
  struct Layout {
    QSize content;    // the size the view asks for
    QPoint list;      // the list's top-left corner
    QSize allowance;  // of the resize rule
  };

  QLabel* view_label() const { return view_label_; }
  QTableView* list() const { return list_; }
  QSize sizeHint() const override { return content_size_; }

 protected:
  // The frame and its label, named `name` and showing `label`.
  ReportListView(const QString& name, const QString& label, const Layout& layout, QWidget* parent);

  // The list over `model`, sized by the resize rule for the view's own size.
  void AddReportList(QAbstractItemModel* model, const QString& name, const int* widths, int columns,
                     const QColor& background);
  const DialogUnits& units() const { return units_; }
  QRect ToPixels(int x, int y, int width, int height) const;

  void resizeEvent(QResizeEvent* event) override;

 private:
  DialogUnits units_;
  QPoint list_place_;
  QSize content_size_;
  std::unique_ptr<ListResizeRule> resize_rule_;
  QLabel* view_label_ = nullptr;
  QTableView* list_ = nullptr;
};

}  // namespace korvelane
