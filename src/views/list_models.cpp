#include "views/list_models.h"

namespace korvelane {
namespace {

QVariant Centred() {
  return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
}

QVariant HeaderData(const char* const* headers, int columns, int section,
                    Qt::Orientation orientation, int role) {
  if (orientation != Qt::Horizontal || section < 0 || section >= columns)
    return {};
  if (role == Qt::DisplayRole)
    return QString::fromLatin1(headers[section]);
  if (role == Qt::TextAlignmentRole)
    return Centred();
  return {};
}

}  // namespace

WaveDataListModel::WaveDataListModel(ViewTables& tables, QObject* parent)
    : QAbstractTableModel(parent), tables_(tables) {
  tables_.AddListener(this);
}

WaveDataListModel::~WaveDataListModel() {
  tables_.RemoveListener(this);
}

int WaveDataListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : WaveDataList::kRows;
}

int WaveDataListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : WaveDataList::kColumns;
}

QVariant WaveDataListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid())
    return {};
  switch (role) {
    case Qt::DisplayRole: {
      const std::string_view text = tables_.wave_data_list.text(index.row(), index.column());
      return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    }
    case Qt::TextAlignmentRole:
      return Centred();
    default:
      return {};
  }
}

QVariant WaveDataListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  return HeaderData(WaveDataList::kHeaders, WaveDataList::kColumns, section, orientation, role);
}

Qt::ItemFlags WaveDataListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void WaveDataListModel::ColumnChanged(ListKind list, int column) {
  if (list != ListKind::kWaveData || column < 0 || column >= WaveDataList::kColumns)
    return;
  emit dataChanged(index(0, column), index(WaveDataList::kRows - 1, column), {Qt::DisplayRole});
}

MeasurementListModel::MeasurementListModel(ViewTables& tables, QObject* parent)
    : QAbstractTableModel(parent), tables_(tables) {
  tables_.AddListener(this);
}

MeasurementListModel::~MeasurementListModel() {
  tables_.RemoveListener(this);
}

int MeasurementListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : MeasurementList::kRows;
}

int MeasurementListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : MeasurementList::kColumns;
}

QVariant MeasurementListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid())
    return {};
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(tables_.measurement_list.text(index.row(), index.column()));
    case Qt::TextAlignmentRole:
      return Centred();
    default:
      return {};
  }
}

QVariant MeasurementListModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
  return HeaderData(MeasurementList::kHeaders, MeasurementList::kColumns, section, orientation,
                    role);
}

Qt::ItemFlags MeasurementListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void MeasurementListModel::ColumnChanged(ListKind list, int column) {
  if (list != ListKind::kMeasurements || column < 0 || column >= MeasurementList::kColumns)
    return;
  emit dataChanged(index(0, column), index(MeasurementList::kRows - 1, column), {Qt::DisplayRole});
}

}  // namespace korvelane
