// SPDX-License-Identifier: GPL-3.0-or-later
// The Measurement view's "Record..." and "Trend" buttons: recording into a file the user chooses,
// and the trend window over a recording from disk and over the recording under way.
#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <memory>

#include "core/protocol/unit_table.h"
#include "core/recording/measurement_recorder.h"
#include "list_view_world.h"
#include "views/trend_window.h"
#include "views/wave_measurement_view.h"

namespace korvelane {
namespace {

using Button = WaveMeasurementView::Button;
using testing::Strings;

class RecordingViewTest : public testing::ListViewWorld {
 protected:
  RecordingViewTest() {
    view = std::make_unique<WaveMeasurementView>(Context(), Runner());
    view->AttachRecorder(recorder, [this] { return dir.path(); });
    // File dialogs choose `chosen`; the append question answers `append`.
    script = [this](QDialog& dialog) {
      if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
        folders.push_back(files->directory().absolutePath().toStdString());
        files->selectFile(QString::fromStdString(chosen));
        return static_cast<int>(QDialog::Accepted);
      }
      if (qobject_cast<QMessageBox*>(&dialog))
        return static_cast<int>(append ? QMessageBox::Yes : QMessageBox::No);
      return static_cast<int>(QDialog::Rejected);
    };
  }
  void Click(Button which) { view->button(which)->click(); }

  MeasurementRecorder recorder{tables, device.store(), clock, debug_log, ui};
  std::unique_ptr<WaveMeasurementView> view;
  std::string chosen;
  bool append = false;
  Strings folders;
};

// The main window's test records through the file dialog; here the append question and Stop.
TEST_F(RecordingViewTest, RecordingIntoAnExistingFileAppendsOnlyAfterYes) {
  chosen = dir.File("night.csv");
  testing::WriteFileBytes(chosen, {'x', '\n'});
  Click(Button::kRecord);
  EXPECT_EQ(folders, Strings{dir.path()});
  EXPECT_FALSE(recorder.recording());  // "No" leaves it alone
  append = true;
  Click(Button::kRecord);
  EXPECT_EQ(view->button(Button::kRecord)->text(), QStringLiteral("Stop"));
  Measured(1, 2.0f, kUnitV);
  Click(Button::kRecord);
  EXPECT_FALSE(recorder.recording());
  EXPECT_EQ(view->button(Button::kRecord)->text(), QStringLiteral("Record..."));
  EXPECT_EQ(testing::ReadFileText(chosen).substr(0, 2), "x\n");
  EXPECT_EQ(Operations(), (Strings{"Record the measurements", "Record the measurements",
                                   "Stop recording the measurements"}));
}

TEST_F(RecordingViewTest, TheTrendWindowPlotsARecordedFileWithItsFiguresAndLimits) {
  ResetPassFailLimits(tables.limits);
  tables.limits_initialised = true;
  // CH1 Vpp of 1, 4, (none) and 2.5 V; the second and third rows fail.
  std::string text = RecordingHeader();
  LocalTime t = clock.time;
  const double vpp[] = {1.0, 4.0, NAN, 2.5};
  for (int row = 0; row < 4; ++row) {
    MeasurementSample sample;
    sample.channel = 1;
    sample.values.fill(0.001);
    sample.pass.fill(true);
    sample.values[kVpp] = vpp[row];
    sample.pass[kVpp] = row == 0 || row == 3;
    t.second = row;
    text += RecordingRow(t, sample);
  }
  text += "2026-12-06T09:05:";  // the last row, cut short
  chosen = dir.File("old.csv");
  testing::WriteFileBytes(chosen, std::vector<unsigned char>(text.begin(), text.end()));

  Click(Button::kTrend);
  TrendWindow* trend = view->trend_window();
  ASSERT_TRUE(trend && trend->isVisible());
  trend->open_button()->click();
  EXPECT_EQ(trend->data().rows(), 4);
  trend->measurement_box()->setCurrentText(QStringLiteral("CH1 Vpp"));
  EXPECT_EQ(trend->figure(TrendWindow::kMaximum)->text(), QStringLiteral("4 V"));
  EXPECT_EQ(trend->figure(TrendWindow::kFailures)->text(), QStringLiteral("2"));
  EXPECT_EQ(trend->plot()->graph(0)->dataCount(), 3);
  // The default limits, -999 mV and 999 mV, as lines.
  std::vector<double> lines;
  for (int i = 0; i < trend->plot()->itemCount(); ++i) {
    auto* line = qobject_cast<QCPItemStraightLine*>(trend->plot()->item(i));
    if (line && line->visible())
      lines.push_back(line->point1->coords().y());
  }
  EXPECT_EQ(lines, (std::vector<double>{-0.999, 0.999}));
  EXPECT_EQ(Operations(), Strings{"Show the measurement trend"});
}

TEST_F(RecordingViewTest, TheTrendWindowFollowsTheRecordingUnderWay) {
  chosen = dir.File("live.csv");
  Click(Button::kRecord);
  Measured(1, 2.0f, kUnitV);
  Click(Button::kTrend);
  TrendWindow* trend = view->trend_window();
  EXPECT_EQ(trend->data().rows(), 1);
  Measured(1, 3.0f, kUnitV);
  Measured(2, 5.0f, kUnitV);
  EXPECT_EQ(trend->data().rows(), 3);
  EXPECT_EQ(trend->data().series(1, kVpp).summary().last, 3.0);
}

}  // namespace
}  // namespace korvelane
