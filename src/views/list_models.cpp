// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/list_models.h"

#include "core/logs/gbk_text.h"

namespace korvelane {
namespace {

// The lists hold their texts as the instrument and the files give them: code page 936.
QString FromCodePage936(std::string_view text) {
  const std::string utf8 = GbkToUtf8(text);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

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
  return FromCodePage936(tables().parameter_list.text(row, column));
}

WaveDataListModel::WaveDataListModel(ViewTables& tables, QObject* parent)
    : ListTableModel(tables,
                     {ListKind::kWaveData, WaveDataList::kRows, WaveDataList::kColumns,
                      WaveDataList::kHeaders, Qt::AlignCenter},
                     parent) {}

QString WaveDataListModel::CellText(int row, int column) const {
  return FromCodePage936(tables().wave_data_list.text(row, column));
}

MeasurementListModel::MeasurementListModel(ViewTables& tables, QObject* parent)
    : ListTableModel(tables,
                     {ListKind::kMeasurements, MeasurementList::kRows, MeasurementList::kColumns,
                      MeasurementList::kHeaders, Qt::AlignCenter},
                     parent) {}

QString MeasurementListModel::CellText(int row, int column) const {
  return FromCodePage936(tables().measurement_list.text(row, column));
}

}  // namespace korvelane
