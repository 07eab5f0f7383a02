// SPDX-License-Identifier: GPL-3.0-or-later
// Scripted dialogs and views for the file commands.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/files/file_chooser.h"
#include "core/files/wave_file_commands.h"
#include "core/views/wave_graph_controller.h"
#include "support/fake_user_interface.h"

namespace korvelane::testing {

// Answers the dialogs from a script: each dialog takes the next path, "" cancels it; an empty
// script cancels every dialog.
class ScriptedChooser : public FileChooser {
 public:
  std::string ChooseFileToOpen(int kind) override { return Next(kind); }
  std::string ChooseFileToSave(int kind) override { return Next(kind); }

  std::deque<std::string> answers;
  std::vector<int> kinds;  // of the dialogs shown

 private:
  std::string Next(int kind) {
    kinds.push_back(kind);
    const std::string path = answers.empty() ? "" : answers.front();
    if (!answers.empty())
      answers.pop_front();
    return path;
  }
};

// The channel choice answers `slot`; plots and shows go to the Wave Graph
// controller, as the view does.
class ControllerHost : public WaveFileHost {
 public:
  explicit ControllerHost(WaveGraphController& controller) : controller_(controller) {}
  std::optional<int> SelectChannel(SelectChanMode) override { return slot; }
  void PlotSlot(const uint8_t* samples, int count, int slot_number) override {
    controller_.PlotSlot(samples, count, slot_number);
  }
  void ShowLoadedSlot(int slot_number, LoadMode mode) override {
    shown.emplace_back(slot_number, mode);
    controller_.ShowLoadedSlot(slot_number, mode);
  }

  std::optional<int> slot = 1;  // nothing cancels
  std::vector<std::pair<int, LoadMode>> shown;

 private:
  WaveGraphController& controller_;
};

}  // namespace korvelane::testing
