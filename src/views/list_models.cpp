#include "views/list_models.h"

namespace korvelane {

ListTableModel::ListTableModel(ViewTables& tables, const Shape& shape, QObject* parent)
    : QAbstractTableModel(parent), tables_(tables), shape_(shape) {
  tables_.AddListener(this);
}

ListTableModel::~ListTableModel() {
  tables_.RemoveListener(this);
}

int ListTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shape_.rows;
}

int ListTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shape_.columns;
}

QVariant ListTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid())
    return {};
  switch (role) {
    case Qt::DisplayRole:
      return CellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(shape_.alignment);
    default:
      return {};
  }
}

QVariant ListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= shape_.columns)
    return {};
  if (role == Qt::DisplayRole)
    return QString::fromLatin1(shape_.headers[section]);
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(shape_.alignment);
  return {};
}

Qt::ItemFlags ListTableModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ListTableModel::ColumnChanged(ListKind list, int column) {
  if (list != shape_.kind || column < 0 || column >= shape_.columns)
    return;
  emit dataChanged(index(0, column), index(shape_.rows - 1, column), {Qt::DisplayRole});
}

ParameterListModel::ParameterListModel(ViewTables& tables, QObject* parent)
    : ListTableModel(tables,
                     {ListKind::kParameters, ParameterList::kRows, ParameterList::kColumns,
                      ParameterList::kHeaders, Qt::AlignLeft | Qt::AlignVCenter},
                     parent) {}

QString ParameterListModel::CellText(int row, int column) const {
  return QString::fromStdString(tables().parameter_list.text(row, column));
}

WaveDataListModel::WaveDataListModel(ViewTables& tables, QObject* parent)
    : ListTableModel(tables,
                     {ListKind::kWaveData, WaveDataList::kRows, WaveDataList::kColumns,
                      WaveDataList::kHeaders, Qt::AlignCenter},
                     parent) {}

QString WaveDataListModel::CellText(int row, int column) const {
  const std::string_view text = tables().wave_data_list.text(row, column);
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

MeasurementListModel::MeasurementListModel(ViewTables& tables, QObject* parent)
    : ListTableModel(tables,
                     {ListKind::kMeasurements, MeasurementList::kRows, MeasurementList::kColumns,
                      MeasurementList::kHeaders, Qt::AlignCenter},
                     parent) {}

QString MeasurementListModel::CellText(int row, int column) const {
  return QString::fromStdString(tables().measurement_list.text(row, column));
}

}  // namespace korvelane
