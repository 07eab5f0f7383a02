// SPDX-License-Identifier: GPL-3.0-or-later
// Every window and dialog of the program, opened through its own button or menu item, at the
// scale the environment sets (ctest runs this at QT_SCALE_FACTOR 1 and 2): no control leaves its
// parent, lies over a sibling or cuts its text; the screenshots go to screenshots/.
#include <gtest/gtest.h>

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
#include "layout_check.h"
#include "panes/right_pane.h"
#include "printing/print_preview.h"
#include "views/bitmap/dso_bitmap_view.h"
#include "views/trend_window.h"
#include "views/wave_data_view.h"
#include "views/wave_graph_view.h"
#include "views/wave_measurement_view.h"
#include "widgets/file_dialogs.h"

namespace korvelane {
namespace {

using testing::ExpectLaidOutAndShoot;

class LayoutTest : public testing::AppTest {
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

  // Checks `window` under `name`, by default its accessible name or else its title.
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
  graph->button(WaveGraphView::Button::kRefresh)->click();
  w.dso_bitmap_view()->button(DsoBitmapView::Button::kRefresh)->click();
  using Measure = WaveMeasurementView::Button;

  struct Window {
    const char* name;  // the title or accessible name it shows
    int page;          // the view shown meanwhile
    std::function<void()> open;
  };
  const Window windows[] = {
      {"Wave Graph", kWaveGraphView, nullptr},
      {"Wave Data", kWaveDataView, nullptr},
      {"Wave Measurement", kWaveMeasurementView, nullptr},
      {"DSO Bitmap", kDsoBitmapView, nullptr},
      {"Pass|Fail setting", kWaveMeasurementView,
       [&] { w.wave_measurement_view()->button(Measure::kPassFail)->click(); }},
      {"Trend", kWaveMeasurementView,
       [&] {
         w.wave_measurement_view()->button(Measure::kTrend)->click();
         Check(w.wave_measurement_view()->trend_window(), QStringLiteral("Trend"));
       }},
      {"Select the list item to print", kWaveDataView,
       [&] { w.wave_data_view()->button(WaveDataView::Button::kPrint)->click(); }},
      {"Goto Page", kWaveGraphView, [&] { graph->button(WaveGraphView::Button::kPrint)->click(); }},
      {"Alter the title", kDsoBitmapView,
       [&] { w.dso_bitmap_view()->button(DsoBitmapView::Button::kAlterTitle)->click(); }},
      {"Picture Size", kWaveGraphView, [&] { w.export_graph_action()->trigger(); }},
      {"Virtual Pane", kWaveGraphView, [&] { w.tool_action(kCmdSimulantPane)->trigger(); }},
      {"Set Custom Time", kWaveGraphView, [&] { w.menu_action(kCmdIntervalCustom)->trigger(); }},
      {"Alter the initial path", kWaveGraphView,
       [&] { w.menu_action(kCmdPathSetting)->trigger(); }},
      {"About  Korvelane 2.0", kWaveGraphView, [&] { w.menu_action(kCmdAbout)->trigger(); }},
      {"Info", kWaveGraphView, [&] { w.menu_action(kCmdTestLinkState)->trigger(); }},
      {"Instrument", kWaveGraphView,
       [&] {
         w.RunCommand(kCmdDisconnect);
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
    EXPECT_TRUE(seen.contains(QString::fromUtf8(window.name)))
        << seen.values().join(", ").toStdString();
  }
}

}  // namespace
}  // namespace korvelane
