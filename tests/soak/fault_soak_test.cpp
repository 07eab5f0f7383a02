// SPDX-License-Identifier: GPL-3.0-or-later
// Thousands of refreshes, settings transfers and screen-bitmap transfers against the simulated
// instrument while it drops answers, spoils headers, reports errors, sends bad pieces and is
// unplugged now and then. Nothing may crash, the store may only take data that passed every
// check, every failure leaves its debug-log line, and every action its operate-log line.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "device_world.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"

namespace korvelane {
namespace {

using sim::FaultKind;

struct Instrument {
  sim::SimulatedInstrument instrument{{0, 11}};
};

class FaultSoak : protected Instrument, public testing::DeviceWorld<sim::SimulatedLink> {
 protected:
  FaultSoak() : DeviceWorld(instrument) {
    link.SetDeviceChangeNotifier(
        [this](uintptr_t wparam, intptr_t lparam) { connection().OnDeviceChange(wparam, lparam); });
    connection().StartupLinkTest();
  }

  uintmax_t DebugLogSize() const {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(debug_log.debug_log_path(), error);
    return error ? 0 : size;
  }

  // Binds when the link allows it, counting the operate-log lines that gives.
  void BindIfNeeded() {
    if (connection().bound() || !connection().link_ok())
      return;
    connection().Connect();
    expected_operations += connection().bound() ? 2 : 1;  // "Bind", "Bind successed!"
  }

  // A fault on one of the next answers, now and then.
  void MaybeInjectFault() {
    if (chance(rng) >= 4)  // per cent
      return;
    sim::Fault fault;
    static const FaultKind kKinds[] = {
        FaultKind::kDropAnswer,       FaultKind::kBadSignature, FaultKind::kInvokeType,
        FaultKind::kUnknownOperation, FaultKind::kErrorReport,  FaultKind::kResultFailure,
        FaultKind::kBadChecksum,      FaultKind::kWrongFileNum, FaultKind::kZeroFileLen};
    fault.kind = kKinds[std::uniform_int_distribution<size_t>(0, 8)(rng)];
    fault.operation = fault.kind == FaultKind::kResultFailure ? OP_WAVE_DATA : 0;
    fault.piece = std::uniform_int_distribution<int>(0, 19)(rng);
    fault.times = std::uniform_int_distribution<int>(1, 7)(rng);
    instrument.InjectFault(fault);
  }

  void Refresh() {
    const uintmax_t log_before = DebugLogSize();
    const bool bound = connection().bound();
    const int ok = acquisition().RefreshAll();
    ++expected_operations;
    if (!ok) {
      ++failures;
      // An unbound refresh is refused with a message box instead.
      if (bound) {
        EXPECT_GT(DebugLogSize(), log_before) << "refresh failure without its log line";
      }
      return;
    }
    ++refreshes_done;
    // A record is only stored whole: counts stay in range and the lamps are the instrument's.
    for (int channel = 1; channel <= 2; ++channel) {
      const ChannelData& data = store().channel(channel);
      EXPECT_GE(data.count, 1);
      EXPECT_LE(data.count, kMaxSamples);
    }
    const auto lamps = instrument.panel_lamps();
    for (size_t i = 0; i < lamps.size(); ++i)
      EXPECT_EQ(store().panel_state[7 - i], lamps[i]) << "lamp byte " << i;
  }

  void Settings() {
    if (!connection().bound())
      return;
    const ConfigBlock held = store().config_block;
    const uintmax_t log_before = DebugLogSize();
    if (acquisition().FetchFromDevice(kFetchConfig) == 0) {
      ++failures;
      EXPECT_EQ(store().config_block, held) << "a failed upload changed the held block";
      EXPECT_GT(DebugLogSize(), log_before);
      return;
    }
    EXPECT_EQ(store().config_block, instrument.settings_block());
    const uintmax_t send_before = DebugLogSize();
    if (acquisition().SendConfigBlock() == 0) {
      ++failures;
      EXPECT_GT(DebugLogSize(), send_before);
      return;
    }
    ++settings_done;
    EXPECT_EQ(instrument.settings_block(), store().config_block);
  }

  void Bitmap() {
    if (!connection().bound())
      return;
    const size_t loaded = target.loaded.size();
    const uintmax_t log_before = DebugLogSize();
    if (!device.bitmap_transfer().FetchScreenBitmap(dir.path(), target)) {
      ++failures;
      EXPECT_EQ(target.loaded.size(), loaded) << "a failed transfer showed a picture";
      EXPECT_GT(DebugLogSize(), log_before);
      return;
    }
    ++bitmaps_done;
    ASSERT_EQ(target.loaded.size(), loaded + 1);
    EXPECT_EQ(target.loaded.back(), instrument.ScreenBitmap()) << "a bitmap with bad bytes";
    target.loaded.clear();
  }

  std::mt19937 rng{20261206};
  std::uniform_int_distribution<int> chance{0, 99};
  testing::RecordingTarget target;
  int expected_operations = 1;  // the welcome line
  int failures = 0;
  int refreshes_done = 0;
  int settings_done = 0;
  int bitmaps_done = 0;
};

TEST_F(FaultSoak, ThousandsOfActionsUnderRandomFaults) {
  hooks.options = {true, true, false};
  BindIfNeeded();
  ASSERT_TRUE(connection().bound());
  constexpr int kActions = 4000;
  for (int action = 0; action < kActions; ++action) {
    MaybeInjectFault();
    const int roll = chance(rng);
    if (roll < 2) {
      // Unplugged, perhaps in the middle of the next exchanges, and plugged in again later.
      instrument.UnplugAfter(std::uniform_int_distribution<int>(0, 3)(rng));
    } else if (roll < 4) {
      instrument.Plug();
    }
    if (!instrument.plugged() && chance(rng) < 30)
      instrument.Plug();
    BindIfNeeded();
    hooks.options.get_all_data = chance(rng) < 20;
    const int what = chance(rng);
    if (what < 80)
      Refresh();
    else if (what < 92)
      Settings();
    else
      Bitmap();
    if (HasFatalFailure())
      return;
    // The fakes keep every call; start them afresh now and then.
    if (action % 256 == 0)
      ui = testing::FakeUserInterface();
  }
  operate_log.FlushOnExit();
  const std::string written = testing::ReadFileText(operate_log.operate_log_path());
  size_t lines = 0;
  for (size_t at = written.find("\r\n"); at != std::string::npos; at = written.find("\r\n", at + 2))
    ++lines;
  EXPECT_EQ(lines, static_cast<size_t>(expected_operations));
  // The faults are rare: most actions get through, and some do not.
  EXPECT_GT(refreshes_done, kActions / 2);
  EXPECT_GT(settings_done, 100);
  EXPECT_GT(bitmaps_done, 50);
  EXPECT_GT(failures, 50);
  RecordProperty("refreshes", refreshes_done);
  RecordProperty("action_failures", failures);
  RecordProperty("settings", settings_done);
  RecordProperty("bitmaps", bitmaps_done);
}

}  // namespace
}  // namespace korvelane
