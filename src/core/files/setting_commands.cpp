// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/setting_commands.h"

#include <cstdio>

#include "core/common/program_folder.h"
#include "core/files/file_io.h"
#include "core/files/setting_file.h"

namespace korvelane {
namespace {

constexpr const char* kErrorTitle = "Error";
constexpr const char* kExtension = ".ssf";

}  // namespace

SettingCommands::SettingCommands(AcquisitionStore& store, const Connection& connection,
                                 Acquisition& acquisition, OperateLog& operate_log,
                                 DebugLog& debug_log, UserInterface& ui, const Clock& clock,
                                 FileChooser& chooser, std::function<std::string()> initial_path)
    : store_(store),
      connection_(connection),
      acquisition_(acquisition),
      operate_log_(operate_log),
      debug_log_(debug_log),
      ui_(ui),
      clock_(clock),
      chooser_(chooser),
      initial_path_(std::move(initial_path)) {}

std::string SettingCommands::TimeStampName(const LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

void SettingCommands::AttachForm(SettingForm* form) {
  form_ = form;
  const bool bound = connection_.bound();
  Enable(SettingButton::kUpload, bound);
  Enable(SettingButton::kDownload, bound);
  Enable(SettingButton::kSave, setting_loaded_);
  Enable(SettingButton::kSaveAs, setting_loaded_);
  if (form_)
    form_->ShowCurrentFile(current_file_);
}

void SettingCommands::Enable(SettingButton button, bool enable) {
  enabled_[static_cast<size_t>(button)] = enable;
  if (form_)
    form_->EnableSettingButton(button, enable);
}

void SettingCommands::SetCurrentFile(const std::string& text) {
  current_file_ = text;
  if (form_)
    form_->ShowCurrentFile(current_file_);
}

void SettingCommands::EnableSettingButtons(bool enable) {
  Enable(SettingButton::kUpload, enable);
  if (setting_loaded_ || !enable)
    Enable(SettingButton::kDownload, enable);
}

void SettingCommands::Upload() {
  operate_log_.RecordOperation("Up Load a Setting file from device");
  if (acquisition_.FetchFromDevice(kFetchConfig)) {
    SetCurrentFile(TimeStampName(clock_.Now()));
    setting_loaded_ = true;
    Enable(SettingButton::kSave, true);
    Enable(SettingButton::kSaveAs, true);
    Enable(SettingButton::kDownload, true);
    return;
  }
  debug_log_.WriteDebugLog("从设备下载设备配置数据失败", kWarning);
  ui_.ShowMessage("Try to up load a Setting file from device failed！", kErrorTitle,
                  MessageIcon::kInformation);
  ui_.RefreshMenuLamps();
  Enable(SettingButton::kSave, false);
  Enable(SettingButton::kSaveAs, false);
  Enable(SettingButton::kDownload, false);
}

void SettingCommands::Download() {
  operate_log_.RecordOperation("Down Load a Setting file to device");
  if (acquisition_.SendConfigBlock())
    return;
  ui_.ShowMessage("Try to down load a Setting file to device failed！", kErrorTitle,
                  MessageIcon::kInformation);
  ui_.RefreshMenuLamps();
}

void SettingCommands::Open() {
  operate_log_.RecordOperation("Open a Setting file");
  const std::string path = chooser_.ChooseFileToOpen(file_kind::kScopeSetting);
  if (path.empty())
    return;
  // Only a whole block replaces the one in memory: a file of any other size is refused, so a
  // partly replaced block can never reach the instrument.
  switch (ReadSettingFile(path, &store_.config_block)) {
    case SettingFileError::kNone:
      break;
    case SettingFileError::kCannotOpen:
      debug_log_.WriteDebugLog("打开‘设备配置数据’文件失败", kNormal);
      ui_.ShowMessage("Try to open a Setting file failed!", kErrorTitle, MessageIcon::kInformation);
      return;
    case SettingFileError::kWrongSize:
      debug_log_.WriteDebugLog("读取‘设备配置数据’文件失败", kNormal);
      ui_.ShowMessage("Try to open a Setting file failed!", kErrorTitle, MessageIcon::kInformation);
      return;
  }
  Enable(SettingButton::kSave, false);
  Enable(SettingButton::kSaveAs, true);
  if (connection_.bound())
    Enable(SettingButton::kDownload, true);
  SetCurrentFile(path);
  setting_loaded_ = true;
}

void SettingCommands::Save() {
  operate_log_.RecordOperation("Save a Setting file");
  const std::string folder = initial_path_ ? initial_path_() : std::string();
  const std::string path = JoinPath(folder, current_file_ + kExtension);
  // Never over an existing file; a failed write leaves no file behind.
  if (!WriteSettingFile(path, store_.config_block, true)) {
    debug_log_.WriteDebugLog("保存‘设备配置数据’文件失败", kNormal);
    ui_.ShowMessage("Try to Save Setting file failed!", kErrorTitle, MessageIcon::kInformation);
    return;
  }
  operate_log_.RecordOperation("Save Setting file successed！");
}

void SettingCommands::SaveAs() {
  operate_log_.RecordOperation("Save As a Setting file");
  std::string path = chooser_.ChooseFileToSave(file_kind::kScopeSetting);
  if (path.empty())
    return;
  if (!HasExtension(path, kExtension))
    path += kExtension;
  // The file that was there stays whole until the new one is complete.
  if (!WriteSettingFile(path, store_.config_block, false)) {
    debug_log_.WriteDebugLog("另存‘设备配置数据’文件失败", kNormal);
    ui_.ShowMessage("Try to save as Setting file failed!", kErrorTitle, MessageIcon::kInformation);
    return;
  }
  operate_log_.RecordOperation("Save As Setting file successed！");
}

}  // namespace korvelane
