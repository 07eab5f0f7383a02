// SPDX-License-Identifier: GPL-3.0-or-later
// Scripted dialogs and views for the file commands.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/files/file_chooser.h"
#include "core/files/setting_commands.h"
#include "core/files/wave_file_commands.h"
#include "core/views/wave_graph_controller.h"
#include "support/fake_user_interface.h"

namespace korvelane::testing {

// Answers the dialogs from a script: each dialog takes the next path, "" cancels it; an empty
// script cancels every dialog.
class ScriptedChooser : public FileChooser {
 public:
  struct Asked {
    int kind;
    bool save;
  };
  std::string ChooseFileToOpen(int kind) override { return Next(kind, false); }
  std::string ChooseFileToSave(int kind) override { return Next(kind, true); }

  std::deque<std::string> answers;
  std::vector<Asked> asked;

 private:
  std::string Next(int kind, bool save) {
    asked.push_back({kind, save});
    if (answers.empty())
      return {};
    std::string path = answers.front();
    answers.pop_front();
    return path;
  }
};

// The channel choice answers `slot`; plots and shows go to the Wave Graph
// controller, as the view does.
class ControllerHost : public WaveFileHost {
 public:
  explicit ControllerHost(WaveGraphController& controller) : controller_(controller) {}
  std::optional<int> SelectChannel(SelectChanMode mode) override {
    modes.push_back(mode);
    return slot;
  }
  void PlotSlot(const uint8_t* samples, int count, int slot_number) override {
    controller_.PlotSlot(samples, count, slot_number);
  }
  void ShowLoadedSlot(int slot_number, LoadMode mode) override {
    shown.emplace_back(slot_number, mode);
    controller_.ShowLoadedSlot(slot_number, mode);
  }

  std::optional<int> slot = 1;  // nothing cancels
  std::vector<SelectChanMode> modes;
  std::vector<std::pair<int, LoadMode>> shown;

 private:
  WaveGraphController& controller_;
};

// The texts of the boxes `ui` has shown.
inline std::vector<std::string> MessageTexts(const FakeUserInterface& ui) {
  std::vector<std::string> texts;
  for (const MessageRecord& m : ui.messages)
    texts.push_back(m.text);
  return texts;
}

class RecordingSettingForm : public SettingForm {
 public:
  void EnableSettingButton(SettingButton button, bool enable) override {
    enabled[static_cast<size_t>(button)] = enable;
  }
  void ShowCurrentFile(const std::string& text) override { current_file = text; }

  // Upload, Download, Save, Save As; true until told otherwise, like buttons just created.
  bool enabled[4] = {true, true, true, true};
  std::string current_file = "(never shown)";
};

}  // namespace korvelane::testing
