// SPDX-License-Identifier: GPL-3.0-or-later
// The column of buttons in the left pane: "Goto View" brings a view to the front, "Open Files"
// opens a stored file into its view, and "Device Setting Oper" carries the setting-file commands
// with the current-file field.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "core/files/setting_commands.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace korvelane {

class DebugLog;
class FileDialogs;
class RightPane;

class BaseOperationBar : public QWidget, public SettingForm {
  Q_OBJECT

 public:
  // The rows of "Open Files", top to bottom.
  enum OpenRow : int { kGraphFileRow = 0, kDataFileRow, kMeasureFileRow, kBitmapFileRow };
  static constexpr int kOpenRows = 4;

  // `select_view` brings a view to the front and reports success; `record` is RecordOperation.
  BaseOperationBar(std::function<bool(int)> select_view,
                   std::function<void(const std::string&)> record, DebugLog& debug_log,
                   QWidget* parent = nullptr);

  // Brings view `index` to the front: 1 Wave Graph, 2 DSO Bitmap, 3 Wave Data, 4 Wave
  // Measurement.
  void SelectView(int index);

  // The partners of the file groups, known once the views exist: the shared dialogs, the right
  // pane that loads the files into their views and the setting-file commands, which from then
  // on drive the setting buttons and the current-file field. Nulls detach them.
  void AttachFiles(FileDialogs* dialogs, RightPane* right_pane, SettingCommands* settings);

  // An "Open Files" row: the shared open dialog of its kind, then its view in front with the file
  // loaded. Cancelling ends it after the action text.
  void OpenFile(int row);

  QPushButton* open_button(int row) const;
  QPushButton* setting_button(SettingButton button) const;
  QPushButton* open_setting_button() const { return open_setting_; }
  QLineEdit* current_file_field() const { return current_file_; }

  // SettingForm
  void EnableSettingButton(SettingButton button, bool enable) override;
  void ShowCurrentFile(const std::string& text) override;

 private:
  QGroupBox* BuildGotoGroup();
  QGroupBox* BuildOpenFilesGroup();
  QGroupBox* BuildSettingGroup();
  QPushButton* AddSettingButton(SettingButton button, const char* text);
  void RunSetting(SettingButton button);

  std::function<bool(int)> select_view_;
  std::function<void(const std::string&)> record_;
  DebugLog& debug_log_;
  FileDialogs* dialogs_ = nullptr;
  RightPane* right_pane_ = nullptr;
  SettingCommands* settings_ = nullptr;
  std::array<QPushButton*, kOpenRows> open_buttons_{};
  std::array<QPushButton*, 4> setting_buttons_{};
  QPushButton* open_setting_ = nullptr;
  QLineEdit* current_file_ = nullptr;
};

}  // namespace korvelane
