// The column of buttons in the left pane: "Goto View" (and, later, the file groups).
#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QGroupBox;

namespace korvelane {

class DebugLog;

class BaseOperationBar : public QWidget {
  Q_OBJECT

 public:
  // `select_view` brings a view to the front and reports success; `record` is RecordOperation.
  BaseOperationBar(std::function<bool(int)> select_view,
                   std::function<void(const std::string&)> record, DebugLog& debug_log,
                   QWidget* parent = nullptr);

  // Brings view `index` to the front: 1 Wave Graph, 2 DSO Bitmap, 3 Wave Data, 4 Wave
  // Measurement.
  void SelectView(int index);

 private:
  QGroupBox* BuildGotoGroup();

  std::function<bool(int)> select_view_;
  std::function<void(const std::string&)> record_;
  DebugLog& debug_log_;
};

}  // namespace korvelane
