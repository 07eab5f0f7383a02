#include "views/list_view_support.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <algorithm>
#include <cmath>

#include "views/dialog_units.h"

namespace korvelane {
namespace {

// The font the allowances of the resize rule are measured in.
constexpr double kReferenceCharWidth = 6.0;
constexpr double kReferenceLineHeight = 13.0;

}  // namespace

QFont ViewLabelFont() {
  QFont font;
  font.setFamilies({QString::fromUtf8("黑体"), QStringLiteral("SimHei"),
                    QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("Noto Sans CJK")});
  font.setPixelSize(16);
  font.setWeight(static_cast<QFont::Weight>(16));
  return font;
}

void ColourStatic(QLabel* label, const QColor& text, const QColor& background) {
  QPalette palette = label->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::WindowText, text);
    palette.setColor(group, QPalette::Window, background);
  }
  label->setPalette(palette);
  label->setAutoFillBackground(true);
}

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

QPushButton* MakeViewButton(QWidget* parent, const QString& text, const QRect& rect) {
  auto* push = new QPushButton(text, parent);
  push->setAccessibleName(text);
  push->setGeometry(rect);
  push->setAutoDefault(false);
  push->setDefault(false);
  return push;
}

}  // namespace korvelane
