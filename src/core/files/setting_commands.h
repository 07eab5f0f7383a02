// SPDX-License-Identifier: GPL-3.0-or-later
// The "Device Setting Oper" commands of the base operation bar: the instrument's 2500-byte
// settings block moved between the instrument ("Upload", "Download"), memory and scope setting
// files ("Open", "Save", "Save As"), with the current-file text and the rules that enable the
// four buttons.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "core/common/clock.h"
#include "core/common/user_interface.h"
#include "core/files/file_chooser.h"
#include "core/logs/debug_log.h"
#include "core/logs/operate_log.h"
#include "core/protocol/acquisition.h"
#include "core/protocol/acquisition_store.h"
#include "core/protocol/connection.h"

namespace korvelane {

enum class SettingButton : int { kUpload = 0, kDownload, kSave, kSaveAs };

// The bar's buttons and current-file field as the commands drive them.
class SettingForm {
 public:
  virtual ~SettingForm() = default;
  virtual void EnableSettingButton(SettingButton button, bool enable) = 0;
  virtual void ShowCurrentFile(const std::string& text) = 0;
};

class SettingCommands {
 public:
  // The block lives in `store`; `acquisition` moves it to and from the instrument while
  // `connection` is bound. `initial_path` gives the folder "Save" writes into.
  SettingCommands(AcquisitionStore& store, const Connection& connection, Acquisition& acquisition,
                  OperateLog& operate_log, DebugLog& debug_log, UserInterface& ui,
                  const Clock& clock, FileChooser& chooser,
                  std::function<std::string()> initial_path);

  // The bar has been created: "Upload" and "Download" follow `bound`, "Save" and "Save As"
  // follow `setting_loaded`. The form must outlive the commands or be detached with null.
  void AttachForm(SettingForm* form);

  void Upload();
  void Download();
  void Open();
  void Save();
  void SaveAs();

  // Bind (true) and UnBind (false): "Upload" follows the flag; "Download" too, except that a
  // Bind does not enable it before a block has been loaded.
  void EnableSettingButtons(bool enable);

  bool setting_loaded() const { return setting_loaded_; }
  const std::string& current_file_text() const { return current_file_; }
  bool button_enabled(SettingButton button) const { return enabled_[static_cast<size_t>(button)]; }

  // The name of a block uploaded at `t`: "%04d%02d%02d-%02d%02d%02d".
  static std::string TimeStampName(const LocalTime& t);

 private:
  void Enable(SettingButton button, bool enable);
  void SetCurrentFile(const std::string& text);

  AcquisitionStore& store_;
  const Connection& connection_;
  Acquisition& acquisition_;
  OperateLog& operate_log_;
  DebugLog& debug_log_;
  UserInterface& ui_;
  const Clock& clock_;
  FileChooser& chooser_;
  std::function<std::string()> initial_path_;
  SettingForm* form_ = nullptr;
  bool setting_loaded_ = false;
  std::string current_file_;
  std::array<bool, 4> enabled_{};
};

}  // namespace korvelane
