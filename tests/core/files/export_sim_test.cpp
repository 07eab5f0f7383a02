// SPDX-License-Identifier: GPL-3.0-or-later
// The exported volts and seconds of the simulated instrument's waves against the measurements
// the instrument itself reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "../views/sim_view_world.h"
#include "core/files/wave_export.h"
#include "core/views/measurement_si.h"

namespace korvelane {
namespace {

class ExportSimTest : public testing::SimViewWorld {
 protected:
  ExportSimTest() : SimViewWorld({0, 3}) {}

  AcquisitionStore& store() { return device.store(); }

  // One refresh with both channels measured, as the view's "Refresh" runs it.
  void Refresh(bool all_data) {
    form.boxes.measure_ch1 = form.boxes.measure_ch2 = 1;
    form.boxes.all_data = all_data ? 1 : 0;
    ASSERT_EQ(device.acquisition().RefreshAll(), 1);
  }

  // The instrument's measurement `item` of `channel` in SI units, when it has one.
  std::optional<double> Reported(int channel, int item) {
    const MeasureBlock& block = store().channel(channel).measure;
    const auto si =
        MeasurementSiValue(DecodeMeasurementRecord(ByteView(block.data(), block.size()), item));
    return si ? std::optional<double>(si->value) : std::nullopt;
  }

  // Compares what the export gives with what the instrument reported; the number of periods
  // compared.
  int CheckAgainstInstrument() {
    const WaveExport waves = CollectExportedWaves(tables, store());
    EXPECT_EQ(waves.waves.size(), 2u);
    EXPECT_TRUE(waves.left_out.empty());
    int periods = 0;
    for (size_t w = 0; w < waves.waves.size(); ++w) {
      const ExportedWave& wave = waves.waves[w];
      const int channel = static_cast<int>(w) + 1;
      SCOPED_TRACE(wave.name);
      std::vector<double> volts, seconds;
      for (int i = 0; i < wave.scale.count; ++i) {
        volts.push_back(wave.scale.VoltsOf(wave.samples[static_cast<size_t>(i)]));
        seconds.push_back(wave.scale.SecondsAt(i));
      }
      const double unit = wave.scale.volts_per_div / ScreenScale::kUnitsPerDivision;
      const double vmax = *std::max_element(volts.begin(), volts.end());
      const double vmin = *std::min_element(volts.begin(), volts.end());
      const double vavg = std::accumulate(volts.begin(), volts.end(), 0.0) / volts.size();
      const std::pair<int, double> levels[] = {
          {kVmax, vmax}, {kVmin, vmin}, {kVpp, vmax - vmin}, {kVavg, vavg}};
      for (const auto& [item, exported] : levels) {
        const std::optional<double> reported = Reported(channel, item);
        EXPECT_TRUE(reported) << MeasurementItems[item];
        if (reported) {
          EXPECT_NEAR(exported, *reported, unit) << MeasurementItems[item];
        }
      }
      // Rising crossings of the middle level, armed again only below the lowest tenth.
      const double low = vmin + 0.1 * (vmax - vmin);
      const double middle = (vmin + vmax) / 2;
      std::vector<double> rises;
      bool armed = false;
      for (size_t i = 0; i < volts.size(); ++i) {
        if (volts[i] <= low)
          armed = true;
        if (armed && volts[i] >= middle) {
          rises.push_back(seconds[i]);
          armed = false;
        }
      }
      const std::optional<double> period = Reported(channel, kPeriod);
      if (period && rises.size() >= 2) {
        const double exported = (rises.back() - rises.front()) / (rises.size() - 1);
        EXPECT_NEAR(exported, *period, seconds[1]) << "period";
        ++periods;
      }
    }
    return periods;
  }
};

TEST_F(ExportSimTest, ExportedVoltsAndSecondsAgreeWithTheInstrumentsMeasurements) {
  ASSERT_TRUE(device.connection().bound());
  Refresh(false);
  int periods = CheckAgainstInstrument();
  Refresh(true);
  EXPECT_EQ(tables.wave_slots[1].count, kMaxSamples);
  periods += CheckAgainstInstrument();
  EXPECT_GT(periods, 0);
}

}  // namespace
}  // namespace korvelane
