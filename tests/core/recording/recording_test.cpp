// SPDX-License-Identifier: GPL-3.0-or-later
// Recording the measurements of refreshes from the simulated instrument into a CSV file, and
// the bounded trend series built from recorded rows.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <fstream>

#include "../views/sim_view_world.h"
#include "core/recording/measurement_recorder.h"
#include "core/recording/trend_series.h"
#include "core/views/measurement_si.h"
#include "support/temp_dir.h"

namespace korvelane {
namespace {

using testing::Strings;

// The Wave Graph refresh over a simulated instrument, feeding the lists and a recorder.
class RecordingTest : public testing::SimViewWorld {
 protected:
  RecordingTest() : SimViewWorld({0, 11}) {
    clock.time.utc_offset_minutes = 60;
    form.boxes.measure_ch1 = 1;
    form.boxes.measure_ch2 = 1;
  }
  void Refresh(int times = 1) {
    for (int i = 0; i < times; ++i) {
      device.acquisition().RefreshAll();
      clock.time.second += 1;
    }
  }

  MeasurementRecorder recorder{tables, device.store(), clock, debug_log, ui};
  std::string path = dir.File("trend.csv");
};

TEST_F(RecordingTest, EachRefreshAppendsOneRowPerMeasuredChannelInSiUnitsWithTheListsVerdicts) {
  ResetPassFailLimits(tables.limits);
  tables.limits_initialised = true;
  tables.limits[kVpp].maximum = 1;  // so that some verdicts fail
  ASSERT_TRUE(recorder.Start(path));
  Refresh(3);
  const Strings lines = testing::SplitLines(testing::ReadFileText(path), "\n");
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0].rfind("Time (ISO 8601 local),Channel,Vavg (V),Vavg verdict,Vpp (V),", 0), 0u);
  EXPECT_NE(lines[0].find(",Period (s),Period verdict,Frequency (Hz),"), std::string::npos);
  EXPECT_EQ(lines[0].substr(lines[0].size() - 8), ",Verdict");

  // The last row holds what the list shows now: CH2's records and verdicts.
  const std::optional<MeasurementSample> first = ParseRecordingRow(lines[1]);
  const std::optional<MeasurementSample> last = ParseRecordingRow(lines[6]);
  ASSERT_TRUE(first && last);
  bool all_pass = true;
  for (int item = 0; item < kMeasurementItemCount; ++item) {
    SCOPED_TRACE(item);
    const auto i = static_cast<size_t>(item);
    const MeasurementRecord record = DecodeMeasurementRecord(
        ByteView(device.store().ch2.measure.data(), device.store().ch2.measure.size()), item);
    ASSERT_TRUE(record.valid);
    const double si = MeasurementSiValue(record)->value;  // the SI rule is the views'
    EXPECT_NEAR(last->values[i], si, std::fabs(si) * 1e-7);
    EXPECT_EQ(last->pass[i] ? "Pass" : "Fail",
              tables.measurement_list.text(item, MeasurementList::kVerdictColumn));
    all_pass = all_pass && last->pass[i];
  }
  EXPECT_FALSE(all_pass);
  EXPECT_EQ(last->overall_pass, all_pass);
  EXPECT_EQ(last->channel, 2);
  EXPECT_DOUBLE_EQ(last->time - first->time, 2.0);

  // A channel whose measurements are not asked for brings no rows. Recording again into the same
  // file appends without a second header, after ending its cut last line.
  form.boxes.measure_ch2 = 0;
  Refresh();
  recorder.Stop();
  Refresh();
  std::ofstream(path, std::ios::app) << "2026-";
  ASSERT_TRUE(recorder.Start(path));
  Refresh();
  const Strings again = testing::SplitLines(testing::ReadFileText(path), "\n");
  ASSERT_EQ(again.size(), 10u);
  EXPECT_EQ(again[7].rfind("2026-12-06T09:05:10.042+01:00,CH1,", 0), 0u);
  EXPECT_EQ(again[8], "2026-");
  EXPECT_EQ(again[9].rfind("2026-12-06T09:05:12.042+01:00,CH1,", 0), 0u);

  // Losing the instrument pauses the recording until measurements come again.
  recorder.SetInstrumentBound(false);
  EXPECT_EQ(recorder.StatusText(), "Recording paused: 1 rows");
  recorder.SetInstrumentBound(true);
  Refresh();
  EXPECT_EQ(recorder.StatusText(), "Recording: 2 rows");
}

TEST_F(RecordingTest, AKilledRecordingLeavesOnlyWholeRowsButPerhapsTheLast) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (!recorder.Start(path))
      _exit(1);
    for (;;)
      device.acquisition().RefreshAll();
  }
  for (int waited_ms = 0;
       waited_ms < 60000 && testing::SplitLines(testing::ReadFileText(path), "\n").size() < 200;
       waited_ms += 5)
    usleep(5000);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));

  const std::string text = testing::ReadFileText(path);
  const Strings lines = testing::SplitLines(text, "\n");
  const size_t whole = text.back() == '\n' ? lines.size() : lines.size() - 1;
  ASSERT_GE(whole, 200u);
  for (size_t i = 1; i < whole; ++i)
    ASSERT_TRUE(ParseRecordingRow(lines[i])) << "line " << i << ": " << lines[i];
}

TEST_F(RecordingTest, WriteErrorsStopTheRecordingWithAMessageAndKeepTheRows) {
  EXPECT_FALSE(recorder.Start(dir.File("gone/trend.csv")));  // a folder that is gone
  EXPECT_EQ(ui.messages.at(0).text.rfind("The recording file can't be opened: ", 0), 0u);
  EXPECT_TRUE(Logged("打开测量记录文件失败：" + dir.File("gone/trend.csv")));

  // A disk that fills up while recording.
  ASSERT_TRUE(recorder.Start(path));
  Refresh(2);
  const std::string before = testing::ReadFileText(path);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit full = old_limit;
  full.rlim_cur = before.size() + 100;
  signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &full);
  Refresh(2);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  signal(SIGXFSZ, SIG_DFL);

  EXPECT_FALSE(recorder.recording());
  EXPECT_EQ(recorder.rows_written(), 4);
  EXPECT_EQ(ui.messages.at(1).text.rfind(
                "Writing the recording file failed, the recording has stopped: " + path, 0),
            0u);
  EXPECT_EQ(testing::ReadFileText(path).substr(0, before.size()), before);
}

// A row read back names its moment, a leap day's last half second and the first of March after
// it included, and feeds the trend of its own channel; anything after a value's number spoils it.
TEST(RecordingRowTest, ARowReadBackKeepsItsMomentAndFeedsItsChannelsTrend) {
  MeasurementSample sample;
  sample.channel = 2;
  sample.values.fill(std::nan(""));
  sample.values[kVpp] = 1.25;
  sample.pass.fill(true);
  const auto first_line = [&sample](const LocalTime& t) {
    const std::string row = RecordingRow(t, sample);
    return row.substr(0, row.find_first_of("\r\n"));
  };
  std::string row = first_line({2024, 2, 29, 23, 59, 59, 500, 60});
  const auto back = ParseRecordingRow(row);
  ASSERT_TRUE(back) << row;
  EXPECT_EQ(back->time, 1709247599.5);  // 2024-02-29T22:59:59.5Z
  EXPECT_EQ(ParseRecordingRow(first_line({2024, 3, 1, 0, 0, 0, 0, 60})).value().time, 1709247600);
  ASSERT_NE(row.find(",1.25,"), std::string::npos) << row;
  EXPECT_FALSE(ParseRecordingRow(row.replace(row.find(",1.25,"), 6, ",1.25V,")));

  EXPECT_EQ(back->channel, 2);
  TrendData data;
  data.Add(*back);
  EXPECT_EQ(data.series(2, kVpp).summary().values, 1);
  EXPECT_EQ(data.series(1, kVpp).summary().values, 0);

  // A file of rows feeds every one of them.
  testing::TempDir dir;
  const std::string path = dir.File("rows.csv");
  std::ofstream(path) << RecordingRow({2024, 3, 1, 0, 0, 1, 0, 60}, sample)
                      << RecordingRow({2024, 3, 1, 0, 0, 2, 0, 60}, sample)
                      << RecordingRow({2024, 3, 1, 0, 0, 3, 0, 60}, sample);
  std::string error;
  ASSERT_TRUE(LoadRecording(path, data, error)) << error;
  EXPECT_EQ(data.series(2, kVpp).summary().values, 4);
}

TEST(TrendSeriesTest, OldPointsKeepTheirExtremesInBoundedMemoryAndTheSummaryCountsEveryRow) {
  TrendSeries series;
  constexpr int kRows = 200000;
  double sum = 0;
  for (int i = 0; i < kRows; ++i) {
    // Two spikes, long since decimated.
    double value = i == 1234 ? 7.5 : i == 5678 ? -3.25 : std::sin(i * 0.01);
    if (i % 10 == 0)
      value = NAN;
    else
      sum += value;
    series.Add(i * 0.1, value, i % 1000 != 0);
  }
  EXPECT_LE(series.stored_points(), TrendSeries::kRecentPoints + 2 * TrendSeries::kMaxColumns);
  const std::vector<TrendPoint> points = series.Points();
  double low = 0;
  double high = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    ASSERT_TRUE(i == 0 || points[i - 1].time <= points[i].time) << i;
    low = std::min(low, points[i].value);
    high = std::max(high, points[i].value);
  }
  EXPECT_EQ(high, 7.5);
  EXPECT_EQ(low, -3.25);
  EXPECT_EQ(points.back().time, (kRows - 1) * 0.1);

  const TrendSummary& summary = series.summary();
  EXPECT_EQ(summary.values, kRows - kRows / 10);
  EXPECT_EQ(summary.failures, kRows / 1000);
  EXPECT_EQ(summary.maximum, 7.5);
  EXPECT_EQ(summary.minimum, -3.25);
  EXPECT_EQ(summary.last, std::sin((kRows - 1) * 0.01));
  EXPECT_NEAR(summary.mean, sum / summary.values, 1e-12);
}

}  // namespace
}  // namespace korvelane
