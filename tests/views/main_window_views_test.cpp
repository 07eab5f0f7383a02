// SPDX-License-Identifier: GPL-3.0-or-later
// Layout at QT_SCALE_FACTOR 1 and 2: the Wave Graph growing with its view, and every window and
// dialog opened through its own button or menu item with no control that leaves its parent, lies
// over a sibling or cuts its text (screenshots in the build's screenshots/). And the graph views'
// refresh in the main window.
#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSizeGrip>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "app/app_test_support.h"
#include "app/instrument_access.h"
#include "core/shell/command_ids.h"
#include "core/views/plot_slot.h"
#include "list_view_world.h"
#include "panes/base_operation_bar.h"
#include "panes/right_pane.h"
#include "printing/print_preview.h"
#include "views/bitmap/dso_bitmap_view.h"
#include "views/scope_graph.h"
#include "views/trend_window.h"
#include "views/wave_data_view.h"
#include "views/wave_graph_view.h"
#include "views/wave_measurement_view.h"
#include "widgets/file_dialogs.h"

namespace korvelane {
namespace {

// The room the text of a label or button needs; empty for other widgets.
QSize TextRoom(const QWidget* widget) {
  if (const auto* label = qobject_cast<const QLabel*>(widget))
    return label->wordWrap() || label->text().isEmpty() ? QSize() : label->minimumSizeHint();
  const auto* button = qobject_cast<const QAbstractButton*>(widget);
  if (!button || button->text().isEmpty())
    return QSize();
  const QFontMetrics metrics(button->font());
  int width = metrics.horizontalAdvance(QString(button->text()).remove(QLatin1Char('&')));
  if (!qobject_cast<const QPushButton*>(button)) {  // the check box's or radio's indicator
    width += button->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
             button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
  }
  return QSize(width, metrics.height());
}

// Checks `parent`'s visible children and theirs in turn; Qt's composite controls (views, spin
// and combo boxes, fields, buttons, tool bars) place their own parts.
void ExpectChildrenLaidOut(const QWidget* parent, const std::string& window) {
  if (qobject_cast<const QAbstractScrollArea*>(parent) ||
      qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent) ||
      qobject_cast<const QLineEdit*>(parent) || qobject_cast<const QToolBar*>(parent) ||
      qobject_cast<const QAbstractButton*>(parent))
    return;
  std::vector<const QWidget*> shown;
  for (const QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isWindow() && child->isVisible() && !qobject_cast<const QSizeGrip*>(child))
      shown.push_back(child);
  }
  for (size_t i = 0; i < shown.size(); ++i) {
    const QWidget* a = shown[i];
    const std::string named = window + ": " + a->metaObject()->className() + " \"" +
                              a->accessibleName().toStdString() + "\"";
    const QSize room = TextRoom(a);
    EXPECT_TRUE(parent->rect().contains(a->geometry())) << named << " leaves";
    EXPECT_TRUE(a->width() >= room.width() && a->height() >= room.height())
        << named << " cuts its text";
    // A group box may be drawn round controls that are its siblings.
    for (size_t j = i + 1; j < shown.size(); ++j) {
      const QRect r = a->geometry(), s = shown[j]->geometry();
      EXPECT_TRUE(!r.intersects(s) || (qobject_cast<const QGroupBox*>(a) && r.contains(s)) ||
                  (qobject_cast<const QGroupBox*>(shown[j]) && s.contains(r)))
          << named << " overlaps " << shown[j]->accessibleName().toStdString();
    }
    ExpectChildrenLaidOut(a, window);
  }
}

// Shows `window`, checks its layout and saves its screenshot as NAME_at_Rx.png in the build's
// screenshots/ folder.
void ExpectLaidOutAndShoot(QWidget* window, const QString& name) {
  window->show();
  QCoreApplication::sendPostedEvents();  // the layouts' requests
  const QString shots = QCoreApplication::applicationDirPath() + QStringLiteral("/../screenshots");
  QDir().mkpath(shots);
  window->grab().save(
      QStringLiteral("%1/%2_at_%3x.png").arg(shots, name).arg(window->devicePixelRatioF()));
  ExpectChildrenLaidOut(window, name.toStdString());
}

using WaveGraphLayout = testing::ListViewWorld;

TEST_F(WaveGraphLayout, TheGraphGrowsWithTheViewAndNothingOverlaps) {
  WaveGraphView view(Context(), device.acquisition(), device.connection(), RefreshTimerCalls{});
  view.resize(view.sizeHint());
  view.show();  // a hidden widget hears of its new size only once shown
  const QRect graph_base = view.graph()->geometry();
  const int list_height = view.parameter_list()->height();
  QRect last_graph = graph_base;
  for (const QSize size : {QSize(800, 600), QSize(1280, 800), QSize(2560, 1440)}) {
    SCOPED_TRACE(size.width());
    view.resize(size.expandedTo(view.sizeHint()));
    const QRect graph = view.graph()->geometry();
    EXPECT_EQ(graph.topLeft(), graph_base.topLeft());
    EXPECT_GT(graph.width(), last_graph.width());
    EXPECT_GT(graph.height(), last_graph.height());
    EXPECT_EQ(graph.right(), view.width() - 1 - (view.sizeHint().width() - 1 - graph_base.right()));
    EXPECT_EQ(view.parameter_list()->width(), graph.width());
    EXPECT_EQ(view.parameter_list()->height(), list_height);
    last_graph = graph;
    ExpectLaidOutAndShoot(&view, QStringLiteral("Wave_Graph_view_%1").arg(size.width()));
    // The screen keeps its 10 x 8 divisions of a 200-unit range.
    EXPECT_EQ(view.graph()->yAxis->range(), QCPRange(0, ScopeGraph::kScreenHeight));
  }
}

using testing::AppTest;
using GraphButton = WaveGraphView::Button;
using BitmapButton = DsoBitmapView::Button;

TEST_F(AppTest, BothGraphViewsRefreshFromTheInstrumentAndTheBitmapOpensFromItsFile) {
  MainWindow& w = Open();
  w.RunCommand(kCmdConnect);
  WaveGraphView* graph = w.wave_graph_view();
  graph->button(GraphButton::kRefresh)->click();
  for (int channel : {1, 2}) {
    SCOPED_TRACE(channel);
    const ChannelData& data = w.device().store().channel(channel);
    QCPGraph* plot = graph->graph()->plot_graph(channel);
    ASSERT_EQ(plot->dataCount(), data.count);
    for (int i : {0, data.count - 1})
      EXPECT_EQ(plot->data()->at(i)->value, PlotValue(data.samples[static_cast<size_t>(i)]));
    EXPECT_TRUE(plot->visible() && graph->show_box(channel)->isChecked());
  }

  DsoBitmapView* view = w.dso_bitmap_view();
  view->button(BitmapButton::kRefresh)->click();
  ASSERT_TRUE(presenter.boxes.empty()) << presenter.boxes[0].text;
  EXPECT_EQ(view->title(), "20261206-090507");  // the moment of the refresh

  // Saved from the view, then opened through the base operation bar's "Bitmap file" row.
  const std::string saved = dir.File("screen.bmp");
  w.file_dialogs().set_runner([&](const FileDialogRequest&) { return saved; });
  view->button(BitmapButton::kSave)->click();
  w.base_bar()->open_button(BaseOperationBar::kBitmapFileRow)->click();
  EXPECT_EQ(view->title(), saved);
}

class LayoutTest : public AppTest {
 protected:
  LayoutTest() {
    context.presenter = &boxes;
    access.list_usb = [] { return std::vector<transport::UsbDeviceInfo>(); };
    access.watch_usb = [](std::function<void()>) { return std::make_unique<UsbPlugWatch>(); };
    access.use = [](const DeviceChoice&) {};
    context.instruments = &access;
    // Each dialog is checked, a print preview's "Goto Page" too, and then cancelled.
    dialog_script = [this](QDialog& dialog) {
      Check(&dialog);
      if (auto* preview = qobject_cast<CPreParent*>(&dialog))
        preview->action(CPreParent::kGoto)->trigger();
      return static_cast<int>(QDialog::Rejected);
    };
    // Message boxes are the real ones: checked and closed once shown.
    box_closer.setInterval(10);
    QObject::connect(&box_closer, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        Check(box);
        box->done(QMessageBox::Ok);
      }
    });
    box_closer.start();
  }

  // Checks `window` under `name`, by default its accessible name.
  void Check(QWidget* window, QString name = QString()) {
    if (name.isEmpty())
      name = window->accessibleName();
    seen.insert(name);
    static const QRegularExpression kNotInFileNames(QStringLiteral("[^A-Za-z0-9]+"));
    ExpectLaidOutAndShoot(window, QString(name).replace(kNotInFileNames, QStringLiteral("_")));
  }

  MessageBoxPresenter boxes;
  InstrumentAccess access;
  QTimer box_closer;
  QSet<QString> seen;
};

TEST_F(LayoutTest, NoWindowOrDialogCutsOrOverlapsItsControls) {
  MainWindow& w = Open();
  w.resize(1024, 700);
  w.show();
  w.file_dialogs().set_runner([this](const FileDialogRequest&) { return dir.File("graph.png"); });
  w.RunCommand(kCmdConnect);
  WaveGraphView* graph = w.wave_graph_view();
  graph->measure_box(1)->setChecked(true);
  graph->button(GraphButton::kRefresh)->click();
  w.dso_bitmap_view()->button(BitmapButton::kRefresh)->click();
  WaveMeasurementView* measure = w.wave_measurement_view();
  using Measure = WaveMeasurementView::Button;
  auto click = [](QAbstractButton* button) { return [button] { button->click(); }; };
  auto trigger = [](QAction* action) { return [action] { action->trigger(); }; };

  struct Window {
    const char* name;            // the title or accessible name it shows
    int page;                    // the view shown meanwhile
    std::function<void()> open;  // none: the main window itself
  };
  const Window windows[] = {
      {"Wave Graph", kWaveGraphView, nullptr},
      {"Wave Data", kWaveDataView, nullptr},
      {"Wave Measurement", kWaveMeasurementView, nullptr},
      {"DSO Bitmap", kDsoBitmapView, nullptr},
      {"Pass|Fail setting", kWaveMeasurementView, click(measure->button(Measure::kPassFail))},
      {"Trend", kWaveMeasurementView,
       [&] {
         measure->button(Measure::kTrend)->click();
         Check(measure->trend_window(), QStringLiteral("Trend"));
       }},
      {"Select the list item to print", kWaveDataView,
       click(w.wave_data_view()->button(WaveDataView::Button::kPrint))},
      {"Goto Page", kWaveGraphView, click(graph->button(GraphButton::kPrint))},
      {"Alter the title", kDsoBitmapView,
       click(w.dso_bitmap_view()->button(BitmapButton::kAlterTitle))},
      {"Picture Size", kWaveGraphView, trigger(w.export_graph_action())},
      {"Virtual Pane", kWaveGraphView, trigger(w.tool_action(kCmdSimulantPane))},
      {"Set Custom Time", kWaveGraphView, trigger(w.menu_action(kCmdIntervalCustom))},
      {"Alter the initial path", kWaveGraphView, trigger(w.menu_action(kCmdPathSetting))},
      {"About  Korvelane 2.0", kWaveGraphView, trigger(w.menu_action(kCmdAbout))},
      {"Info", kWaveGraphView, trigger(w.menu_action(kCmdTestLinkState))},
      {"Instrument", kWaveGraphView,
       [&] {
         w.RunCommand(kCmdDisconnect);  // chosen only while nothing is bound
         w.menu_action(kCmdInstrument)->trigger();
       }},
  };
  for (const Window& window : windows) {
    SCOPED_TRACE(window.name);
    w.right_pane()->SelectView(window.page);
    if (window.open)
      window.open();
    else
      Check(&w, QString::fromUtf8(window.name));
    EXPECT_TRUE(seen.contains(QString::fromUtf8(window.name)));
  }
}

}  // namespace
}  // namespace korvelane
