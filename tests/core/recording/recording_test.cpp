// SPDX-License-Identifier: GPL-3.0-or-later
// Recording the measurements of refreshes from the simulated instrument into a CSV file, and
// the bounded trend series built from recorded rows.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <sstream>

#include "../views/sim_view_world.h"
#include "core/recording/measurement_recorder.h"
#include "core/recording/trend_series.h"
#include "core/views/measurement_si.h"

namespace korvelane {
namespace {

using testing::Strings;

Strings Lines(const std::string& text) {
  Strings lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

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
  std::vector<MeasurementSample> Rows() const {
    std::vector<MeasurementSample> rows;
    for (const std::string& line : Lines(testing::ReadFileText(path))) {
      if (auto sample = ParseRecordingRow(line))
        rows.push_back(*sample);
    }
    return rows;
  }

  MeasurementRecorder recorder{tables, device.store(), clock, debug_log, ui};
  std::string path = dir.File("trend.csv");
};

TEST_F(RecordingTest, EachRefreshAppendsOneRowPerMeasuredChannelInSiUnitsWithTheListsVerdicts) {
  ASSERT_TRUE(device.connection().bound());
  ResetPassFailLimits(tables.limits);
  tables.limits_initialised = true;
  tables.limits[kVpp].maximum = 1;  // so that some verdicts fail
  ASSERT_TRUE(recorder.Start(path));
  Refresh(3);
  ASSERT_EQ(recorder.rows_written(), 6);
  EXPECT_EQ(recorder.StatusText(), "Recording: 6 rows");

  const Strings lines = Lines(testing::ReadFileText(path));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0].rfind("Time (ISO 8601 local),Channel,Vavg (V),Vavg verdict,Vpp (V),", 0), 0u);
  EXPECT_NE(lines[0].find(",Period (s),Period verdict,Frequency (Hz),"), std::string::npos);
  EXPECT_EQ(lines[0].substr(lines[0].size() - 8), ",Verdict");
  EXPECT_EQ(lines[1].rfind("2026-12-06T09:05:07.042+01:00,CH1,", 0), 0u);
  EXPECT_EQ(lines[6].rfind("2026-12-06T09:05:09.042+01:00,CH2,", 0), 0u);

  // The last row holds what the list shows now: CH2's records and verdicts.
  const std::vector<MeasurementSample> rows = Rows();
  ASSERT_EQ(rows.size(), 6u);
  const MeasurementSample& last = rows.back();
  bool all_pass = true;
  int failures = 0;
  for (int item = 0; item < kMeasurementItemCount; ++item) {
    SCOPED_TRACE(item);
    const auto i = static_cast<size_t>(item);
    const MeasurementRecord record = DecodeMeasurementRecord(
        ByteView(device.store().ch2.measure.data(), device.store().ch2.measure.size()), item);
    ASSERT_TRUE(record.valid);
    const double si = MeasurementSiValue(record)->value;  // the SI rule is the views'
    EXPECT_NEAR(last.values[i], si, std::fabs(si) * 1e-7);
    EXPECT_EQ(last.pass[i] ? "Pass" : "Fail",
              tables.measurement_list.text(item, MeasurementList::kVerdictColumn));
    all_pass = all_pass && last.pass[i];
    failures += last.pass[i] ? 0 : 1;
  }
  EXPECT_EQ(last.overall_pass, all_pass);
  EXPECT_GT(failures, 0);
  EXPECT_EQ(last.channel, 2);
  EXPECT_DOUBLE_EQ(last.time - rows.front().time, 2.0);

  // A channel whose measurements are not asked for brings no rows.
  form.boxes.measure_ch2 = 0;
  Refresh();
  EXPECT_EQ(recorder.rows_written(), 7);
  EXPECT_EQ(Rows().back().channel, 1);

  // Recording again into the same file appends without a second header.
  recorder.Stop();
  Refresh();
  EXPECT_EQ(Rows().size(), 7u);
  ASSERT_TRUE(recorder.Start(path));
  Refresh();
  const Strings again = Lines(testing::ReadFileText(path));
  ASSERT_EQ(again.size(), 9u);
  EXPECT_EQ(again[8].rfind("2026-12-06T09:05:12.042+01:00,CH1,", 0), 0u);
}

TEST_F(RecordingTest, AFileWhoseLastLineWasCutGetsALineEndBeforeTheNextRow) {
  testing::WriteFileBytes(path, {'a', ',', 'b', '\n', '2', '0', '2', '6', '-'});
  ASSERT_TRUE(recorder.Start(path));
  Refresh();
  const Strings lines = Lines(testing::ReadFileText(path));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "2026-");
  EXPECT_TRUE(ParseRecordingRow(lines[2]));
  EXPECT_TRUE(ParseRecordingRow(lines[3]));
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
  for (int waited_ms = 0; waited_ms < 60000 && Lines(testing::ReadFileText(path)).size() < 200;
       waited_ms += 5)
    usleep(5000);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));

  const std::string text = testing::ReadFileText(path);
  const Strings lines = Lines(text);
  const size_t whole = text.back() == '\n' ? lines.size() : lines.size() - 1;
  ASSERT_GE(whole, 200u);
  for (size_t i = 1; i < whole; ++i)
    ASSERT_TRUE(ParseRecordingRow(lines[i])) << "line " << i << ": " << lines[i];
}

TEST_F(RecordingTest, WriteErrorsStopTheRecordingWithAMessageAndKeepTheRows) {
  // A folder that is gone: nothing starts.
  EXPECT_FALSE(recorder.Start(dir.File("gone/trend.csv")));
  EXPECT_FALSE(recorder.recording());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind("The recording file can't be opened: ", 0), 0u);
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
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].caption, "Error");
  EXPECT_EQ(ui.messages[1].text.rfind(
                "Writing the recording file failed, the recording has stopped: " + path, 0),
            0u);
  EXPECT_TRUE(Logged("写入测量记录文件失败，记录已停止：" + path));
  EXPECT_EQ(testing::ReadFileText(path).substr(0, before.size()), before);
}

TEST_F(RecordingTest, LosingTheInstrumentPausesUntilMeasurementsComeAgain) {
  ASSERT_TRUE(recorder.Start(path));
  Refresh(2);
  instrument.Unplug();
  recorder.SetInstrumentBound(device.connection().bound());
  EXPECT_EQ(recorder.state(), MeasurementRecorder::State::kPaused);
  EXPECT_EQ(recorder.StatusText(), "Recording paused: 4 rows");
  Refresh();  // refused: not bound
  clock.time.minute += 5;
  instrument.Plug();
  device.connection().Connect();
  recorder.SetInstrumentBound(device.connection().bound());
  EXPECT_EQ(recorder.state(), MeasurementRecorder::State::kPaused);
  Refresh();
  EXPECT_EQ(recorder.state(), MeasurementRecorder::State::kRecording);

  const std::vector<MeasurementSample> rows = Rows();
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_DOUBLE_EQ(rows[4].time - rows[3].time, 5 * 60 + 2.0);
}

// A row read back names its moment, a February date and a local offset included, and feeds the
// trend of its own channel.
TEST(RecordingRowTest, ARowReadBackKeepsItsMomentAndFeedsItsChannelsTrend) {
  LocalTime t;
  t.year = 2024;
  t.month = 2;
  t.day = 29;
  t.hour = 23;
  t.minute = 59;
  t.second = 59;
  t.millisecond = 500;
  t.utc_offset_minutes = 60;
  MeasurementSample sample;
  sample.channel = 2;
  sample.values.fill(std::nan(""));
  sample.values[kVpp] = 1.25;
  sample.pass.fill(true);
  const std::string row = RecordingRow(t, sample);
  const auto back = ParseRecordingRow(row.substr(0, row.find_first_of("\r\n")));
  ASSERT_TRUE(back) << row;
  EXPECT_EQ(back->time, 1709247599.5);  // 2024-02-29T22:59:59.5Z
  // A value with anything after its number spoils the row.
  std::string spoilt = row.substr(0, row.find_first_of("\r\n"));
  ASSERT_NE(spoilt.find(",1.25,"), std::string::npos) << spoilt;
  EXPECT_FALSE(ParseRecordingRow(spoilt.replace(spoilt.find(",1.25,"), 6, ",1.25V,")));
  EXPECT_EQ(back->channel, 2);
  TrendData data;
  data.Add(*back);
  EXPECT_EQ(data.rows(), 1);
  EXPECT_EQ(data.series(2, kVpp).summary().values, 1);
  EXPECT_EQ(data.series(1, kVpp).summary().values, 0);

  // Half a second later it is March: the first month after the leap day.
  t = {2024, 3, 1, 0, 0, 0, 0};
  t.utc_offset_minutes = 60;
  const std::string march = RecordingRow(t, sample);
  const auto next = ParseRecordingRow(march.substr(0, march.find_first_of("\r\n")));
  ASSERT_TRUE(next) << march;
  EXPECT_EQ(next->time, 1709247600.0);
}

TEST(TrendSeriesTest, OldPointsKeepTheirExtremesInBoundedMemoryAndTheSummaryCountsEveryRow) {
  TrendSeries series;
  constexpr int kRows = 200000;
  double sum = 0;
  for (int i = 0; i < kRows; ++i) {
    double value = std::sin(i * 0.01);
    if (i == 1234)
      value = 7.5;  // one spike, long since decimated
    if (i == 5678)
      value = -3.25;
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
    if (i > 0) {
      ASSERT_LE(points[i - 1].time, points[i].time);
    }
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
