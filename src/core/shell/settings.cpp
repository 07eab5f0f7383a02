// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/settings.h"

namespace korvelane {
namespace {

// "1" is on; a missing value is off, and so is anything else, which is noted in the log.
bool ReadFastExchange(SettingsStore& store, DebugLog& log) {
  const auto text = store.ReadText(kFastExchangeValue);
  if (!text || *text == "0")
    return false;
  if (*text == "1")
    return true;
  log.WriteDebugLog("读注册表 软件配置参数：快速通信 无法识别，按关闭处理", kNormal);
  return false;
}

}  // namespace

ShellSettings LoadSettings(SettingsStore& store, const std::string& program_folder, DebugLog& log) {
  ShellSettings settings;
  settings.interval = SelectInterval(2, kDefaultIntervalMs);
  settings.initial_path = program_folder;
  if (!store.OpenForRead()) {
    log.WriteDebugLog("打开注册表读取软件配置参数失败", kNormal);
    return settings;
  }
  if (const auto text = store.ReadText(kIntervalTimeValue)) {
    settings.interval = IntervalFromStoredText(*text);
  }
  if (const auto value = store.ReadInt(kOperateFileCheckValue)) {
    settings.operate_log_on = *value & 0xFF;  // only the first byte counts
  }
  if (const auto path = store.ReadText(kFileInitPathValue))
    settings.initial_path = *path;
  if (const auto device = store.ReadText(kDeviceValue)) {
    std::string error;
    if (const auto choice = ParseDeviceChoice(*device, error)) {
      settings.device = FormatDeviceChoice(*choice);
    } else {
      log.WriteDebugLog("注册表中保存的仪器设置“" + *device + "”无效，已忽略（" + error + "）",
                        kNormal);
    }
  }
  settings.fast_exchange = ReadFastExchange(store, log);
  store.Close();
  return settings;
}

std::optional<DeviceChoice> StoredDevice(const ShellSettings& settings) {
  std::string error;
  return settings.device.empty() ? std::nullopt : ParseDeviceChoice(settings.device, error);
}

void SaveSettings(SettingsStore& store, const ShellSettings& settings, DebugLog& log) {
  if (!store.OpenForWrite()) {
    log.WriteDebugLog("打开注册表以保存软件配置参数失败", kNormal);
    if (!store.Create()) {
      log.WriteDebugLog("创建注册表以保存软件配置参数失败", kNormal);
      return;
    }
  }
  if (!store.WriteText(kIntervalTimeValue, std::to_string(settings.interval.interval_ms))) {
    log.WriteDebugLog("写注册表 保存软件配置参数：刷新时间 失败", kNormal);
  }
  if (!store.WriteInt(kOperateFileCheckValue, settings.operate_log_on)) {
    log.WriteDebugLog("写注册表 保存软件配置参数：动作文件是否保存 失败", kNormal);
  }
  if (!store.WriteText(kFileInitPathValue, settings.initial_path)) {
    log.WriteDebugLog("写注册表 保存软件配置参数：文件存取初始路径 失败", kNormal);
  }
  if (!settings.device.empty() && !store.WriteText(kDeviceValue, settings.device)) {
    log.WriteDebugLog("写注册表 保存软件配置参数：仪器 失败", kNormal);
  }
  if (!store.WriteText(kFastExchangeValue, settings.fast_exchange ? "1" : "0")) {
    log.WriteDebugLog("写注册表 保存软件配置参数：快速通信 失败", kNormal);
  }
  store.Close();
}

}  // namespace korvelane
