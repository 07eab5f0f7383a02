// The Wave Data list and the measurement list as table models over the shared list texts. A
// refilled column is announced as one change of that column; the views ask only for the cells
// they draw.
#pragma once

#include <QAbstractTableModel>

#include "core/views/view_tables.h"

namespace korvelane {

class WaveDataListModel : public QAbstractTableModel, private ViewTablesListener {
  Q_OBJECT

 public:
  explicit WaveDataListModel(ViewTables& tables, QObject* parent = nullptr);
  ~WaveDataListModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  void ColumnChanged(ListKind list, int column) override;

  ViewTables& tables_;
};

class MeasurementListModel : public QAbstractTableModel, private ViewTablesListener {
  Q_OBJECT

 public:
  explicit MeasurementListModel(ViewTables& tables, QObject* parent = nullptr);
  ~MeasurementListModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  void ColumnChanged(ListKind list, int column) override;

  ViewTables& tables_;
};

}  // namespace korvelane
