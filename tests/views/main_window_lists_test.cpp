// The Wave Data and Measurement views in the main window, after refreshes from the simulated
// instrument.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "app/app_test_support.h"
#include "core/shell/command_ids.h"
#include "core/views/copy_text.h"
#include "panes/right_pane.h"
#include "views/set_pass_fail_dlg.h"
#include "views/wave_data_view.h"
#include "views/wave_graph_view.h"
#include "views/wave_measurement_view.h"

namespace korvelane {
namespace {

using testing::AppTest;

QString Cell(QTableView* list, int row, int column) {
  return list->model()->index(row, column).data().toString();
}

void RefreshWithMeasurements(MainWindow& w) {
  WaveGraphView* graph = w.wave_graph_view();
  graph->measure_box(1)->setChecked(true);
  graph->measure_box(2)->setChecked(true);
  graph->button(WaveGraphView::Button::kRefresh)->click();
}

TEST_F(AppTest, AfterARefreshTheListViewsShowTheTablesAndCopyThemToTheClipboard) {
  MainWindow& w = Open();
  WaveDataView* data_view = w.wave_data_view();
  WaveMeasurementView* measure_view = w.wave_measurement_view();
  ASSERT_NE(data_view, nullptr);
  ASSERT_NE(measure_view, nullptr);
  EXPECT_EQ(w.right_pane()->page(kWaveDataView), data_view);
  EXPECT_EQ(w.right_pane()->page(kWaveMeasurementView), measure_view);
  EXPECT_FALSE(data_view->button(WaveDataView::Button::kCopy)->isEnabled());

  w.RunCommand(kCmdConnect);
  ASSERT_TRUE(w.device().connection().bound());
  RefreshWithMeasurements(w);
  ASSERT_TRUE(presenter.boxes.empty()) << presenter.boxes[0].text;

  const AcquisitionStore& store = w.device().store();
  const ViewTables& tables = w.view_tables();
  ASSERT_TRUE(store.ch1.enabled && store.ch2.enabled);
  QTableView* data_list = data_view->list();
  for (int channel : {1, 2}) {
    const ChannelData& data = store.channel(channel);
    ASSERT_GT(data.count, 200);
    for (int row : {0, data.count / 2, data.count - 1}) {
      EXPECT_EQ(Cell(data_list, row, channel),
                QString::number(data.samples[static_cast<size_t>(row)]));
    }
    if (data.count < 4000) {
      EXPECT_EQ(Cell(data_list, data.count, channel), QString());
    }
  }
  QTableView* measure_list = measure_view->list();
  for (int row = 0; row < 11; ++row) {
    for (int column : {1, 2, 8})
      EXPECT_EQ(Cell(measure_list, row, column).toStdString(),
                tables.measurement_list.text(row, column));
  }
  EXPECT_NE(Cell(measure_list, 0, 1), QString());
  EXPECT_EQ(measure_view->caption_label()->text(),
            QStringLiteral("The current Wave to 'Pass|Fail':  CH2"));

  data_view->button(WaveDataView::Button::kCopy)->click();
  const QString data_text = QApplication::clipboard()->text();
  EXPECT_EQ(data_text.toStdString(), WaveDataCopyText(tables));
  EXPECT_EQ(data_text.count(QLatin1Char('\n')), 2 + std::max(store.ch1.count, store.ch2.count));
  measure_view->button(WaveMeasurementView::Button::kCopy)->click();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), MeasurementCopyText(tables));
  EXPECT_TRUE(presenter.boxes.empty());
  w.RunCommand(kCmdDisconnect);
}

TEST_F(AppTest, PassFailLimitsSetThroughTheMainWindowApplyFromTheNextRefresh) {
  MainWindow& w = Open();
  w.RunCommand(kCmdConnect);
  ASSERT_TRUE(w.device().connection().bound());
  // Every Vavg fails from the next refresh on.
  dialog_script = [](QDialog& dialog) {
    auto* limits = qobject_cast<CSetPassFailDlg*>(&dialog);
    if (!limits)
      return static_cast<int>(QDialog::Rejected);
    limits->enable_check()->click();
    limits->minimum_field()->setText(QStringLiteral("999"));
    limits->minimum_unit_box()->setCurrentText(QStringLiteral("kV"));
    limits->ok_button()->click();
    return limits->result();
  };
  w.wave_measurement_view()->button(WaveMeasurementView::Button::kPassFail)->click();
  EXPECT_TRUE(w.view_tables().limits_initialised);
  RefreshWithMeasurements(w);
  QTableView* list = w.wave_measurement_view()->list();
  EXPECT_EQ(Cell(list, 0, 8), QStringLiteral("Fail"));
  EXPECT_EQ(w.view_tables().limits[0].minimum, 999);
  w.RunCommand(kCmdDisconnect);
}

}  // namespace
}  // namespace korvelane
