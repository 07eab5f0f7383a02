// The parameter list under the graph as a table model over the shared parameter texts.
#pragma once

#include <QAbstractTableModel>

#include "core/views/view_tables.h"

namespace korvelane {

class ParameterListModel : public QAbstractTableModel, private ViewTablesListener {
  Q_OBJECT

 public:
  explicit ParameterListModel(ViewTables& tables, QObject* parent = nullptr);
  ~ParameterListModel() override;

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
