// SPDX-License-Identifier: GPL-3.0-or-later
// The views in the main window over the simulated instrument: the Wave Graph's and the DSO
// Bitmap's refresh, and every window and dialog of the program opened through its own button or
// menu item, at the scale the environment sets (ctest runs it at QT_SCALE_FACTOR 1 and 2): no
// control leaves its parent, lies over a sibling or cuts its text; screenshots in screenshots/.
#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QAction>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>

#include "app/app_test_support.h"
#include "app/instrument_access.h"
#include "core/shell/command_ids.h"
#include "core/views/plot_slot.h"
#include "layout_check.h"
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

using testing::AppTest;
using testing::ExpectLaidOutAndShoot;
using GraphButton = WaveGraphView::Button;
using BitmapButton = DsoBitmapView::Button;

TEST_F(AppTest, TheWaveGraphsRefreshPlotsWhatTheInstrumentSent) {
  MainWindow& w = Open();
  w.RunCommand(kCmdConnect);
  WaveGraphView* view = w.wave_graph_view();
  view->button(GraphButton::kRefresh)->click();
  ASSERT_TRUE(presenter.boxes.empty()) << presenter.boxes[0].text;
  for (int channel : {1, 2}) {
    SCOPED_TRACE(channel);
    const ChannelData& data = w.device().store().channel(channel);
    QCPGraph* plot = view->graph()->plot_graph(channel);
    ASSERT_EQ(plot->dataCount(), data.count);
    for (int i : {0, data.count - 1})
      EXPECT_EQ(plot->data()->at(i)->value, PlotValue(data.samples[static_cast<size_t>(i)]));
    EXPECT_TRUE(plot->visible() && view->show_box(channel)->isChecked());
  }
  EXPECT_TRUE(view->button(GraphButton::kPrint)->isEnabled());
}

TEST_F(AppTest, TheDsoBitmapViewRefreshesFromTheInstrumentAndOpensFiles) {
  MainWindow& w = Open();
  DsoBitmapView* view = w.dso_bitmap_view();
  EXPECT_EQ(w.right_pane()->page(kDsoBitmapView), view);
  w.RunCommand(kCmdConnect);
  w.right_pane()->SelectView(kDsoBitmapView);
  view->button(BitmapButton::kRefresh)->click();
  ASSERT_TRUE(presenter.boxes.empty()) << presenter.boxes[0].text;
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{8}-\\d{6}$"))
                  .match(QString::fromStdString(view->title()))
                  .hasMatch())
      << view->title();
  EXPECT_EQ(view->controller().picture().width(), 320);
  EXPECT_EQ(view->controller().picture().height(), 240);
  // The temporary file went into the initial path and is gone again.
  EXPECT_TRUE(dir.Names("myTempBmp").empty());

  // Saved from the view, then opened through the shared dialog and the right pane, as the
  // base operation bar's "Bitmap file" row does.
  const std::string saved = dir.File("screen.bmp");
  w.file_dialogs().set_runner([&](const FileDialogRequest& request) {
    EXPECT_EQ(request.folder, dir.path());
    return saved;
  });
  view->button(BitmapButton::kSave)->click();
  ASSERT_EQ(w.file_dialogs().OpenFileDialog(kBitmapFile), 1);
  EXPECT_EQ(w.right_pane()->OpenBitmapFile(w.file_dialogs().open_path()), 1);
  EXPECT_EQ(view->title(), saved);
  EXPECT_FALSE(view->button(BitmapButton::kAlterTitle)->isEnabled());
  EXPECT_EQ(view->controller().picture().width(), 320);
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
    connect_box_closer_.setInterval(10);
    QObject::connect(&connect_box_closer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        Check(box);
        box->done(QMessageBox::Ok);
      }
    });
    connect_box_closer_.start();
  }

  // Checks `window` under `name`, by default its accessible name.
  void Check(QWidget* window, QString name = QString()) {
    if (name.isEmpty())
      name = window->accessibleName().isEmpty() ? window->windowTitle() : window->accessibleName();
    seen.insert(name);
    static const QRegularExpression kNotInFileNames(QStringLiteral("[^A-Za-z0-9]+"));
    ExpectLaidOutAndShoot(window, QString(name).replace(kNotInFileNames, QStringLiteral("_")));
  }

  MessageBoxPresenter boxes;
  InstrumentAccess access;
  QTimer connect_box_closer_;
  QSet<QString> seen;
};

TEST_F(LayoutTest, NoWindowOrDialogCutsOrOverlapsItsControls) {
  MainWindow& w = Open();
  w.resize(1024, 700);
  w.show();
  w.file_dialogs().set_runner([this](const FileDialogRequest&) { return dir.File("graph.png"); });
  w.RunCommand(kCmdConnect);
  ASSERT_TRUE(w.device().connection().bound());
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
