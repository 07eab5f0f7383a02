// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter, Wave Data and measurement lists as table models over the shared list texts. A
// refilled column is announced as one change of that column; the views ask only for the cells
// they draw.
#pragma once

#include <QAbstractTableModel>

#include "core/views/view_tables.h"

namespace korvelane {

// What the three list models share: the shape of their list, its headers and the alignment of
// its cells; a subclass only reads a cell's text.
class ListTableModel : public QAbstractTableModel, private ViewTablesListener {
 public:
  ~ListTableModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 protected:
  struct Shape {
    ListKind kind;
    int rows;
    int columns;
    const char* const* headers;
    Qt::Alignment alignment;
  };
  ListTableModel(ViewTables& tables, const Shape& shape, QObject* parent);

  virtual QString CellText(int row, int column) const = 0;
  const ViewTables& tables() const { return tables_; }

 private:
  void ColumnChanged(ListKind list, int column) override;

  ViewTables& tables_;
  Shape shape_;
};

class ParameterListModel : public ListTableModel {
 public:
  explicit ParameterListModel(ViewTables& tables, QObject* parent = nullptr);

 private:
  QString CellText(int row, int column) const override;
};

class WaveDataListModel : public ListTableModel {
 public:
  explicit WaveDataListModel(ViewTables& tables, QObject* parent = nullptr);

 private:
  QString CellText(int row, int column) const override;
};

class MeasurementListModel : public ListTableModel {
 public:
  explicit MeasurementListModel(ViewTables& tables, QObject* parent = nullptr);

 private:
  QString CellText(int row, int column) const override;
};

}  // namespace korvelane
