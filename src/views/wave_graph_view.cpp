// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/wave_graph_view.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <algorithm>

#include "views/dialog_units.h"
#include "views/list_models.h"
#include "views/scope_graph.h"
#include "views/slot_colors.h"

namespace korvelane {
namespace {

// Where everything sits, in dialog units.
using Place = DialogPlace;
constexpr Place kGraphOper{1, 6, 72, 56};
constexpr Place kSave{6, 18, 30, 14};
constexpr Place kOpen{39, 18, 30, 14};
constexpr Place kCopy{6, 38, 30, 14};
constexpr Place kPrint{39, 38, 30, 14};
constexpr Place kRefreshOper{1, 66, 72, 132};
constexpr Place kWaveData{5, 76, 64, 24};
constexpr Place kAllData{11, 87, 54, 10};
constexpr Place kMode{5, 102, 64, 32};
constexpr Place kAuto{9, 114, 27, 14};
constexpr Place kManu{39, 114, 27, 14};
constexpr Place kMeasure{5, 138, 64, 34};
constexpr Place kMeasureCh1{9, 151, 28, 10};
constexpr Place kMeasureCh2{38, 151, 28, 10};
constexpr Place kRefresh{9, 178, 56, 14};
constexpr Place kGraphShow{1, 202, 72, 80};
constexpr int kShowBoxX = 11, kShowBoxTop = 213, kShowBoxStep = 9, kShowBoxWidth = 56;
constexpr Place kGraph{75, 9, 325, 202};
constexpr Place kList{75, 214, 325, 66};
constexpr int kContentWidth = 402, kContentHeight = 284;

const QColor kListBackground(240, 240, 193);
const QColor kListText(20, 10, 239);
// Behind the "Graph Show" boxes, so that their slot colours read like the graph's legend.
const QColor kShowBackground(0, 0, 0);
const QColor kShowTitle(220, 220, 220);

}  // namespace

class WaveGraphView::Timer : public RefreshTimer {
 public:
  explicit Timer(RefreshTimerCalls calls) : calls_(std::move(calls)) {}
  bool auto_refresh() const override { return calls_.auto_refresh && calls_.auto_refresh(); }
  void StartRefreshTimer() override {
    if (calls_.start)
      calls_.start();
  }
  void StopRefreshTimer() override {
    if (calls_.stop)
      calls_.stop();
  }

 private:
  RefreshTimerCalls calls_;
};

WaveGraphView::WaveGraphView(const ViewContext& context, Acquisition& acquisition,
                             const Connection& connection, RefreshTimerCalls timer, QWidget* parent)
    : ViewFrame(parent), timer_(std::make_unique<Timer>(std::move(timer))) {
  setAccessibleName(QStringLiteral("Wave Graph"));
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  BuildControls(context.tables);
  controller_ = std::make_unique<WaveGraphController>(context, acquisition, connection, *graph_,
                                                      static_cast<WaveGraphForm&>(*this), *timer_);

  connect(button(Button::kRefresh), &QPushButton::clicked, this,
          [this] { controller_->RefreshWaveGraph(); });
  connect(button(Button::kAuto), &QPushButton::clicked, this, [this] { controller_->PressAuto(); });
  connect(button(Button::kManu), &QPushButton::clicked, this,
          [this] { controller_->PressManual(); });
  connect(button(Button::kCopy), &QPushButton::clicked, this, [this] { controller_->Copy(); });
  connect(button(Button::kPrint), &QPushButton::clicked, this, [this] { controller_->Print(); });
  connect(button(Button::kSave), &QPushButton::clicked, this, &WaveGraphView::SaveRequested);
  connect(button(Button::kOpen), &QPushButton::clicked, this, &WaveGraphView::OpenRequested);
  // Every change of a "Graph Show" box by its user counts, also one made through the
  // accessibility bus, which toggles the box without a click; the view's own writes are silent.
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    connect(show_boxes_[static_cast<size_t>(slot)], &QCheckBox::toggled, this,
            [this, slot] { controller_->ToggleShow(slot); });
  }
  controller_->Initialise();
  export_graph_action_ = AddContextAction(graph_, QStringLiteral("Export Graph..."));
  connect(export_graph_action_, &QAction::triggered, this, &WaveGraphView::ExportGraphRequested);
}

WaveGraphView::~WaveGraphView() = default;

void WaveGraphView::BuildControls(ViewTables& tables) {
  const DialogUnits units(font());
  content_size_ = QSize(units.X(kContentWidth), units.Y(kContentHeight));

  AddGroup(QStringLiteral("Graph Oper"), units.Rect(kGraphOper));
  buttons_.Add(this, Button::kSave, QStringLiteral("Save"), units.Rect(kSave));
  buttons_.Add(this, Button::kOpen, QStringLiteral("Open"), units.Rect(kOpen));
  buttons_.Add(this, Button::kCopy, QStringLiteral("Copy"), units.Rect(kCopy));
  buttons_.Add(this, Button::kPrint, QStringLiteral("Print"), units.Rect(kPrint));

  AddGroup(QStringLiteral("Refresh Oper"), units.Rect(kRefreshOper));
  AddGroup(QStringLiteral("Wave Data"), units.Rect(kWaveData));
  all_data_ =
      AddBox(QStringLiteral("GetAllData"), QStringLiteral("GetAllData"), units.Rect(kAllData));
  AddGroup(QStringLiteral("Mode"), units.Rect(kMode));
  buttons_.Add(this, Button::kAuto, QStringLiteral("Auto"), units.Rect(kAuto));
  buttons_.Add(this, Button::kManu, QStringLiteral("Manu"), units.Rect(kManu));
  AddGroup(QStringLiteral("Measure"), units.Rect(kMeasure));
  measure_boxes_[1] =
      AddBox(QStringLiteral("CH1 "), QStringLiteral("Measure CH1"), units.Rect(kMeasureCh1));
  measure_boxes_[2] =
      AddBox(QStringLiteral("CH2"), QStringLiteral("Measure CH2"), units.Rect(kMeasureCh2));
  buttons_.Add(this, Button::kRefresh, QStringLiteral("Refresh"), units.Rect(kRefresh));

  QGroupBox* show_group = AddGroup(QStringLiteral("Graph Show"), units.Rect(kGraphShow));
  QPalette dark = show_group->palette();
  dark.setColor(QPalette::Window, kShowBackground);
  dark.setColor(QPalette::WindowText, kShowTitle);
  show_group->setPalette(dark);
  show_group->setAutoFillBackground(true);
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    const QString name = QString::fromLatin1(SlotBoxName(slot));
    const QRect rect =
        units.Rect(kShowBoxX, kShowBoxTop + (slot - 1) * kShowBoxStep, kShowBoxWidth, kShowBoxStep);
    QCheckBox* box = AddBox(name, QStringLiteral("Show ") + name, rect);
    QPalette palette = box->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
      palette.setColor(group, QPalette::WindowText, SlotColor(slot));
    box->setPalette(palette);
    show_boxes_[static_cast<size_t>(slot)] = box;
  }

  graph_base_ = units.Rect(kGraph);
  list_base_ = units.Rect(kList);
  graph_ = new ScopeGraph(this);
  graph_->setGeometry(graph_base_);
  BuildParameterList(list_base_, tables);
}

void WaveGraphView::resizeEvent(QResizeEvent* event) {
  ViewFrame::resizeEvent(event);
  // The groups keep their places on the left; the graph takes the room the view has beyond its
  // own size to the right and below, and the list under it follows in width.
  const int wider = std::max(0, width() - content_size_.width());
  const int taller = std::max(0, height() - content_size_.height());
  graph_->setGeometry(graph_base_.adjusted(0, 0, wider, taller));
  list_->setGeometry(list_base_.translated(0, taller).adjusted(0, 0, wider, 0));
}

QGroupBox* WaveGraphView::AddGroup(const QString& title, const QRect& rect) {
  auto* group = new QGroupBox(title, this);
  group->setAccessibleName(title);
  group->setGeometry(rect);
  return group;
}

QCheckBox* WaveGraphView::AddBox(const QString& text, const QString& accessible_name,
                                 const QRect& rect) {
  auto* box = new QCheckBox(text, this);
  box->setAccessibleName(accessible_name);
  box->setGeometry(rect);
  return box;
}

void WaveGraphView::BuildParameterList(const QRect& rect, ViewTables& tables) {
  model_ = new ParameterListModel(tables, this);
  list_ = new QTableView(this);
  list_->setAccessibleName(QStringLiteral("Parameter list"));
  list_->setGeometry(rect);
  list_->setModel(model_);
  list_->setShowGrid(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setMinimumSectionSize(1);
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 2);
  list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  list_->horizontalHeader()->setHighlightSections(false);
  for (int column = 0; column < ParameterList::kColumns; ++column)
    list_->setColumnWidth(column, ParameterList::kWidths[column]);
  QPalette palette = list_->palette();
  palette.setColor(QPalette::Base, kListBackground);
  palette.setColor(QPalette::Text, kListText);
  list_->setPalette(palette);
}

QCheckBox* WaveGraphView::show_box(int slot) const {
  return WaveSlotTable::Valid(slot) ? show_boxes_[static_cast<size_t>(slot)] : nullptr;
}

QCheckBox* WaveGraphView::measure_box(int channel) const {
  return channel == 1 || channel == 2 ? measure_boxes_[static_cast<size_t>(channel)] : nullptr;
}

QSize WaveGraphView::sizeHint() const {
  return content_size_;
}

void WaveGraphView::ReadBoxes(WaveGraphFields& fields) {
  fields.measure_ch1 = measure_boxes_[1]->isChecked() ? 1 : 0;
  fields.measure_ch2 = measure_boxes_[2]->isChecked() ? 1 : 0;
  fields.all_data = all_data_->isChecked() ? 1 : 0;
  for (int slot = 1; slot <= kSlotCount; ++slot)
    fields.show[static_cast<size_t>(slot)] = show_boxes_[static_cast<size_t>(slot)]->isChecked();
}

void WaveGraphView::WriteBoxes(const WaveGraphFields& fields) {
  measure_boxes_[1]->setChecked(fields.measure_ch1 != 0);
  measure_boxes_[2]->setChecked(fields.measure_ch2 != 0);
  all_data_->setChecked(fields.all_data != 0);
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    QCheckBox* box = show_boxes_[static_cast<size_t>(slot)];
    const QSignalBlocker silent(box);
    box->setChecked(fields.show[static_cast<size_t>(slot)] != 0);
  }
}

void WaveGraphView::EnableShowBox(int slot, bool enable) {
  if (QCheckBox* box = show_box(slot))
    box->setEnabled(enable);
}

void WaveGraphView::EnableModeButtons(bool auto_enabled) {
  button(Button::kAuto)->setEnabled(auto_enabled);
  button(Button::kManu)->setEnabled(!auto_enabled);
}

void WaveGraphView::EnableFileButtons(bool enable) {
  for (Button which : {Button::kSave, Button::kCopy, Button::kPrint})
    button(which)->setEnabled(enable);
}

bool WaveGraphView::CopyViewPicture() {
  const QPixmap picture = grab();
  QClipboard* clipboard = QApplication::clipboard();
  if (picture.isNull() || !clipboard)
    return false;
  clipboard->setPixmap(picture);
  return true;
}

void WaveGraphView::OpenPrintPreview(int item_count) {
  emit PrintRequested(item_count);
}

}  // namespace korvelane
