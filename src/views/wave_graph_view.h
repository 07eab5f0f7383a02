// SPDX-License-Identifier: GPL-3.0-or-later
// The Wave Graph view: the graph of up to seven waves, the parameter list with their scales, and
// the buttons and boxes that refresh, copy and print them, switch the refresh mode and show or
// hide each wave. Its controls keep their places; in a larger pane the graph grows to the right
// and down, and the list under it grows in width.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "core/views/wave_graph_controller.h"
#include "views/view_frame.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QTableView;

namespace korvelane {

class ParameterListModel;
class ScopeGraph;

// The main window's refresh timer as the view reaches it.
struct RefreshTimerCalls {
  std::function<bool()> auto_refresh;
  std::function<void()> start;
  std::function<void()> stop;
};

class WaveGraphView : public ViewFrame, private WaveGraphForm {
  Q_OBJECT

 public:
  enum class Button { kSave, kOpen, kCopy, kPrint, kAuto, kManu, kRefresh };

  // "Refresh" runs `acquisition`'s cycle; "Auto" needs `connection` bound.
  WaveGraphView(const ViewContext& context, Acquisition& acquisition, const Connection& connection,
                RefreshTimerCalls timer, QWidget* parent = nullptr);
  ~WaveGraphView() override;

  // What the main window forwards from the instrument's hooks.
  RequestOptions ReadRequestOptions() { return controller_->ReadRequestOptions(); }
  void RedrawWaveGraph() { controller_->RedrawWaveGraph(); }
  void SetAutoButtonEnabled(bool auto_enabled) { controller_->SetAutoButtonEnabled(auto_enabled); }

  // A wave was loaded into slot 3..7; mode 2 shows it, any other mode hides it.
  void ShowLoadedSlot(int slot, LoadMode mode) { controller_->ShowLoadedSlot(slot, mode); }
  WaveGraphController& controller() { return *controller_; }

  ScopeGraph* graph() const { return graph_; }
  QTableView* parameter_list() const { return list_; }
  QPushButton* button(Button which) const { return buttons_[which]; }
  QCheckBox* show_box(int slot) const;
  QCheckBox* measure_box(int channel) const;
  QCheckBox* all_data_box() const { return all_data_; }
  // "Export Graph..." of the graph's context menu.
  QAction* export_graph_action() const { return export_graph_action_; }

  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 signals:
  // "Save" and "Open" of a wave file, and "Print" once something is shown: `item_count` is the
  // length of the longest wave shown.
  void SaveRequested();
  void OpenRequested();
  void PrintRequested(int item_count);
  // "Export Graph...": the graph as a picture file.
  void ExportGraphRequested();

 private:
  class Timer;

  void BuildControls(ViewTables& tables);
  QGroupBox* AddGroup(const QString& title, const QRect& rect);
  QCheckBox* AddBox(const QString& text, const QString& accessible_name, const QRect& rect);
  void BuildParameterList(const QRect& rect, ViewTables& tables);

  // WaveGraphForm
  void ReadBoxes(WaveGraphFields& fields) override;
  void WriteBoxes(const WaveGraphFields& fields) override;
  void EnableShowBox(int slot, bool enable) override;
  void EnableModeButtons(bool auto_enabled) override;
  void EnableFileButtons(bool enable) override;
  bool CopyViewPicture() override;
  void OpenPrintPreview(int item_count) override;

  std::unique_ptr<Timer> timer_;
  ScopeGraph* graph_ = nullptr;
  QTableView* list_ = nullptr;
  ParameterListModel* model_ = nullptr;
  ViewButtons<Button, 7> buttons_;
  std::array<QCheckBox*, kSlotCount + 1> show_boxes_{};  // entry 0 unused
  std::array<QCheckBox*, 3> measure_boxes_{};            // entry 0 unused
  QCheckBox* all_data_ = nullptr;
  QSize content_size_;
  QRect graph_base_;  // the graph and the list at the view's own size
  QRect list_base_;
  std::unique_ptr<WaveGraphController> controller_;
  QAction* export_graph_action_ = nullptr;
};

}  // namespace korvelane
