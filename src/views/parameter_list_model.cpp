#include "views/parameter_list_model.h"

namespace korvelane {

ParameterListModel::ParameterListModel(ViewTables& tables, QObject* parent)
    : QAbstractTableModel(parent), tables_(tables) {
  tables_.AddListener(this);
}

ParameterListModel::~ParameterListModel() {
  tables_.RemoveListener(this);
}

int ParameterListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ParameterList::kRows;
}

int ParameterListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ParameterList::kColumns;
}

QVariant ParameterListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid())
    return {};
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(tables_.parameter_list.text(index.row(), index.column()));
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
      return {};
  }
}

QVariant ParameterListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= ParameterList::kColumns)
    return {};
  if (role == Qt::DisplayRole)
    return QString::fromLatin1(ParameterList::kHeaders[section]);
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  return {};
}

Qt::ItemFlags ParameterListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ParameterListModel::ColumnChanged(ListKind list, int column) {
  if (list != ListKind::kParameters || column < 0 || column >= ParameterList::kColumns)
    return;
  emit dataChanged(index(0, column), index(ParameterList::kRows - 1, column), {Qt::DisplayRole});
}

}  // namespace korvelane
