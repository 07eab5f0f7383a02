// SPDX-License-Identifier: GPL-3.0-or-later
// The device layer in this process against the simulated instrument for thousands of
// refreshes, settings transfers and screen-bitmap transfers, while the instrument drops answers,
// spoils headers, reports errors, sends bad pieces and is unplugged now and then. Nothing may
// crash, the store may only take data that passed every check, every failure leaves its
// debug-log line and every action its operate-log line. bench/process/soak.py runs it before
// the whole program's soak.
//
// Usage: korvelane-fault-soak [ACTIONS [SEED]]; exit status 1 when a check failed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/common/clock.h"
#include "core/common/silent_user_interface.h"
#include "core/logs/debug_log.h"
#include "core/logs/operate_log.h"
#include "core/protocol/device.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"

namespace korvelane {
namespace {

using sim::FaultKind;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Hooks : public DeviceHooks {
 public:
  RequestOptions ReadRequestOptions() override { return options; }
  RequestOptions options{true, true, false};
};

// The DSO Bitmap view: keeps the bytes of the last file it was asked to load.
class Target : public BitmapTarget {
 public:
  void LoadBitmapFile(const std::string& path) override {
    ++loads;
    const std::string text = ReadText(path);
    bytes.assign(text.begin(), text.end());
  }
  void SetTitle(const std::string&) override {}
  int loads = 0;
  std::vector<uint8_t> bytes;
};

// A fresh folder for the logs and the bitmap's temporary file, removed at the end.
struct Folder {
  Folder() {
    std::string pattern = std::filesystem::temp_directory_path() / "korvelane-soak-XXXXXX";
    if (!mkdtemp(pattern.data()))
      std::exit(2);
    path = pattern;
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string path;
};

class Soak {
 public:
  explicit Soak(unsigned seed) : rng_(seed) {
    operate_log_.set_operate_log_on(OperateLog::kOn);
    operate_log_.Start();
    link_.SetDeviceChangeNotifier([this](uintptr_t wparam, intptr_t lparam) {
      device_.connection().OnDeviceChange(wparam, lparam);
    });
    device_.connection().StartupLinkTest();
  }

  int Run(int actions) {
    BindIfNeeded();
    Check(device_.connection().bound(), "the first Bind failed");
    for (int action = 0; action < actions; ++action) {
      MaybeInjectFault();
      const int roll = Chance();
      if (roll < 2)  // unplugged, perhaps in the middle of the next exchanges
        instrument_.UnplugAfter(std::uniform_int_distribution<int>(0, 3)(rng_));
      else if (roll < 4 || (!instrument_.plugged() && Chance() < 30))
        instrument_.Plug();
      BindIfNeeded();
      hooks_.options.get_all_data = Chance() < 20;
      const int what = Chance();
      if (what < 80)
        Refresh();
      else if (what < 92)
        Settings();
      else
        Bitmap();
    }
    operate_log_.FlushOnExit();
    const std::string written = ReadText(operate_log_.operate_log_path());
    size_t lines = 0;
    for (size_t at = written.find("\r\n"); at != std::string::npos;
         at = written.find("\r\n", at + 2))
      ++lines;
    Check(lines == static_cast<size_t>(expected_operations_), "operate-log lines missing");
    // The faults are rare: most actions get through, and some do not.
    Check(refreshes_ > actions / 2 && settings_ > actions / 40 && bitmaps_ > actions / 80,
          "too few actions got through");
    Check(failures_ > actions / 80, "too few faults were met");
    std::printf(
        "fault soak: %d actions: %d refreshes, %d settings transfers, %d bitmaps, %d "
        "failed as the faults asked; %d checks failed\n",
        actions, refreshes_, settings_, bitmaps_, failures_, broken_);
    return broken_ == 0 ? 0 : 1;
  }

 private:
  int Chance() { return std::uniform_int_distribution<int>(0, 99)(rng_); }

  void Check(bool holds, const char* what) {
    if (!holds) {
      ++broken_;
      std::fprintf(stderr, "fault soak: %s\n", what);
    }
  }

  uintmax_t DebugLogSize() const {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(debug_log_.debug_log_path(), error);
    return error ? 0 : size;
  }

  // Binds when the link allows it, counting the operate-log lines that gives.
  void BindIfNeeded() {
    Connection& connection = device_.connection();
    if (connection.bound() || !connection.link_ok())
      return;
    connection.Connect();
    expected_operations_ += connection.bound() ? 2 : 1;  // "Bind", "Bind successed!"
  }

  // A fault on one of the next answers, now and then.
  void MaybeInjectFault() {
    if (Chance() >= 4)  // per cent
      return;
    static const FaultKind kKinds[] = {
        FaultKind::kDropAnswer,       FaultKind::kBadSignature, FaultKind::kInvokeType,
        FaultKind::kUnknownOperation, FaultKind::kErrorReport,  FaultKind::kResultFailure,
        FaultKind::kBadChecksum,      FaultKind::kWrongFileNum, FaultKind::kZeroFileLen};
    sim::Fault fault;
    fault.kind = kKinds[std::uniform_int_distribution<size_t>(0, 8)(rng_)];
    fault.operation = fault.kind == FaultKind::kResultFailure ? OP_WAVE_DATA : 0;
    fault.piece = std::uniform_int_distribution<int>(0, 19)(rng_);
    fault.times = std::uniform_int_distribution<int>(1, 7)(rng_);
    instrument_.InjectFault(fault);
  }

  void Refresh() {
    const uintmax_t log_before = DebugLogSize();
    const bool bound = device_.connection().bound();
    ++expected_operations_;
    if (!device_.acquisition().RefreshAll()) {
      ++failures_;
      // An unbound refresh is refused with a message box instead.
      Check(!bound || DebugLogSize() > log_before, "a failed refresh without its log line");
      return;
    }
    ++refreshes_;
    // A record is only stored whole: counts stay in range and the lamps are the instrument's.
    for (int channel = 1; channel <= 2; ++channel) {
      const ChannelData& data = device_.store().channel(channel);
      Check(data.count >= 1 && data.count <= kMaxSamples, "a sample count out of range");
    }
    const auto lamps = instrument_.panel_lamps();
    for (size_t i = 0; i < lamps.size(); ++i)
      Check(device_.store().panel_state[7 - i] == lamps[i], "a lamp byte not the instrument's");
  }

  void Settings() {
    if (!device_.connection().bound())
      return;
    const ConfigBlock held = device_.store().config_block;
    const uintmax_t log_before = DebugLogSize();
    if (!device_.acquisition().FetchFromDevice(kFetchConfig)) {
      ++failures_;
      Check(device_.store().config_block == held, "a failed upload changed the held block");
      Check(DebugLogSize() > log_before, "a failed upload without its log line");
      return;
    }
    Check(device_.store().config_block == instrument_.settings_block(), "a wrong block held");
    const uintmax_t send_before = DebugLogSize();
    if (!device_.acquisition().SendConfigBlock()) {
      ++failures_;
      Check(DebugLogSize() > send_before, "a failed download without its log line");
      return;
    }
    ++settings_;
    Check(instrument_.settings_block() == device_.store().config_block, "a wrong block sent");
  }

  void Bitmap() {
    if (!device_.connection().bound())
      return;
    const int loads = target_.loads;
    const uintmax_t log_before = DebugLogSize();
    if (!device_.bitmap_transfer().FetchScreenBitmap(folder_.path, target_)) {
      ++failures_;
      Check(target_.loads == loads, "a failed transfer showed a picture");
      Check(DebugLogSize() > log_before, "a failed transfer without its log line");
      return;
    }
    ++bitmaps_;
    Check(target_.loads == loads + 1, "a transfer showed no picture");
    Check(target_.bytes == instrument_.ScreenBitmap(), "a bitmap with bad bytes");
  }

  std::mt19937 rng_;
  Folder folder_;
  SystemClock clock_;
  SilentUserInterface ui_;
  DebugLog debug_log_{folder_.path, clock_};
  OperateLog operate_log_{folder_.path, clock_, debug_log_, ui_};
  Hooks hooks_;
  Target target_;
  sim::SimulatedInstrument instrument_{{0, 11}};
  sim::SimulatedLink link_{instrument_};
  Device device_{link_, ui_, debug_log_, operate_log_, hooks_, clock_};
  int expected_operations_ = 1;  // the welcome line
  int failures_ = 0;
  int refreshes_ = 0;
  int settings_ = 0;
  int bitmaps_ = 0;
  int broken_ = 0;
};

}  // namespace
}  // namespace korvelane

int main(int argc, char** argv) {
  const int actions = argc > 1 ? std::atoi(argv[1]) : 4000;
  const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 20261206u;
  if (actions < 100) {
    std::fprintf(stderr, "usage: korvelane-fault-soak [ACTIONS (100 or more) [SEED]]\n");
    return 2;
  }
  korvelane::Soak soak(seed);
  return soak.Run(actions);
}
