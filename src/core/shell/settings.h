// SPDX-License-Identifier: GPL-3.0-or-later
// The settings kept between runs: refresh interval, operate-log switch, initial path, and the
// instrument chosen and the fast-exchange switch beside them.
#pragma once

#include <optional>
#include <string>

#include "core/logs/debug_log.h"
#include "core/shell/device_choice.h"
#include "core/shell/refresh_interval.h"

namespace korvelane {

// The store behind the settings key.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Opens the key for reading; false when it does not exist or cannot be read.
  virtual bool OpenForRead() = 0;
  // Opens the existing key for writing; false when it does not exist or cannot be written.
  virtual bool OpenForWrite() = 0;
  // Creates the key; false when it cannot be created.
  virtual bool Create() = 0;
  virtual std::optional<std::string> ReadText(const std::string& name) = 0;
  virtual std::optional<int> ReadInt(const std::string& name) = 0;
  virtual bool WriteText(const std::string& name, const std::string& value) = 0;
  virtual bool WriteInt(const std::string& name, int value) = 0;
  virtual void Close() = 0;
};

constexpr const char* kIntervalTimeValue = "Interval time";
constexpr const char* kOperateFileCheckValue = "Operate File check";
constexpr const char* kFileInitPathValue = "FileInit Path";
constexpr const char* kDeviceValue = "Device";
constexpr const char* kFastExchangeValue = "Fast exchange";  // "1" on, "0" off

struct ShellSettings {
  IntervalChoice interval;  // refresh_interval_ms and its check mark
  int operate_log_on = 0;   // 8 on, 0 off
  std::string initial_path;
  std::string device;          // the instrument chosen, in the --device syntax; empty: none
  bool fast_exchange = false;  // answers read as soon as they arrive
};

// Reads the settings with every fallback; `program_folder` is the default initial path.
ShellSettings LoadSettings(SettingsStore& store, const std::string& program_folder, DebugLog& log);

// The stored instrument choice, when there is a valid one.
std::optional<DeviceChoice> StoredDevice(const ShellSettings& settings);

// Writes the settings; failures are logged and the next value is still written.
void SaveSettings(SettingsStore& store, const ShellSettings& settings, DebugLog& log);

}  // namespace korvelane
