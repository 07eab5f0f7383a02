// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/list_view_support.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QTableView>
#include <algorithm>
#include <cmath>

namespace korvelane {
namespace {

// The font the allowances of the resize rule are measured in.
constexpr double kReferenceCharWidth = 6.0;
constexpr double kReferenceLineHeight = 13.0;

}  // namespace

void ListCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                             : QPalette::Inactive;
  const bool selected = option.state & QStyle::State_Selected;
  if (selected)
    painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
  const QString text = index.data(Qt::DisplayRole).toString();
  if (text.isEmpty())
    return;
  painter->setPen(
      option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(option.rect, Qt::AlignCenter | Qt::TextSingleLine, text);
}

void SetUpReportList(QTableView* list, const int* widths, int columns, const QColor& background) {
  list->setItemDelegate(new ListCellDelegate(list));
  list->setShowGrid(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setWordWrap(false);
  list->setCornerButtonEnabled(false);
  QHeaderView* rows = list->verticalHeader();
  rows->hide();
  rows->setMinimumSectionSize(1);
  rows->setDefaultSectionSize(list->fontMetrics().height() + 4);
  // Rows of one height are laid out without asking the model about each of them.
  rows->setSectionResizeMode(QHeaderView::Fixed);
  QHeaderView* header = list->horizontalHeader();
  header->setDefaultAlignment(Qt::AlignCenter);
  header->setHighlightSections(false);
  for (int column = 0; column < columns; ++column)
    list->setColumnWidth(column, widths[column]);
  QPalette palette = list->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, background);
    palette.setColor(group, QPalette::AlternateBase, background);
  }
  list->setPalette(palette);
}

ListResizeRule::ListResizeRule(QSize initial_size, QSize allowance)
    : last_size_(initial_size), allowance_(allowance) {}

std::optional<QRect> ListResizeRule::Resize(const QRect& list, QSize size) {
  const bool changed = size != last_size_;
  last_size_ = size;
  // An empty client (a collapsed pane) leaves the list as it is, so that it comes back with the
  // pane.
  if (!changed || size.width() <= 0 || size.height() <= 0)
    return std::nullopt;
  const int x = list.left();
  const int y = list.top();
  const int width =
      std::clamp(x + size.width() - allowance_.width(), 0, std::max(0, size.width() - x));
  const int height =
      std::clamp(y + size.height() - allowance_.height(), 0, std::max(0, size.height() - y));
  return QRect(x, y, width, height);
}

QSize ScaledAllowance(const DialogUnits& units, int width, int height) {
  return QSize(static_cast<int>(std::lround(width * units.base_width() / kReferenceCharWidth)),
               static_cast<int>(std::lround(height * units.base_height() / kReferenceLineHeight)));
}

namespace {

const QColor kLabelText(232, 116, 0);
const QColor kLabelBackground(98, 176, 255);

}  // namespace

ReportListView::ReportListView(const QString& name, const QString& label, const Layout& layout,
                               QWidget* parent)
    : ViewFrame(parent), units_(font()) {
  setAccessibleName(name);
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  content_size_ = QSize(units_.X(layout.content.width()), units_.Y(layout.content.height()));
  list_place_ = QPoint(units_.X(layout.list.x()), units_.Y(layout.list.y()));
  resize_rule_ = std::make_unique<ListResizeRule>(
      QSize(), ScaledAllowance(units_, layout.allowance.width(), layout.allowance.height()));

  view_label_ = new QLabel(label, this);
  view_label_->setAccessibleName(QStringLiteral("View label"));
  view_label_->setGeometry(ToPixels(7, 5, 100, 18));
  view_label_->setFont(ViewLabelFont());
  view_label_->setAlignment(Qt::AlignCenter);
  ColourStatic(view_label_, kLabelText, kLabelBackground);
}

void ReportListView::AddReportList(QAbstractItemModel* model, const QString& name,
                                   const int* widths, int columns, const QColor& background) {
  list_ = new QTableView(this);
  list_->setAccessibleName(name);
  list_->setModel(model);
  SetUpReportList(list_, widths, columns, background);
  const QRect start(list_place_, QSize(0, 0));
  list_->setGeometry(resize_rule_->Resize(start, content_size_).value_or(start));
}

QRect ReportListView::ToPixels(int x, int y, int width, int height) const {
  return units_.Rect(x, y, width, height);
}

void ReportListView::resizeEvent(QResizeEvent* event) {
  ViewFrame::resizeEvent(event);
  if (const std::optional<QRect> rect = resize_rule_->Resize(list_->geometry(), size()))
    list_->setGeometry(*rect);
}

}  // namespace korvelane
