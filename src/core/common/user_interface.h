// SPDX-License-Identifier: GPL-3.0-or-later
// The only way the core reaches the user. The Qt layer implements it; tests use a recording
// fake whose Sleep returns at once.
#pragma once

#include <string>

namespace korvelane {

enum class MessageIcon { kNone, kInformation, kExclamation, kQuestion, kStop };

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A modal message box; returns when the user has dismissed it.
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           MessageIcon icon) = 0;
  virtual void SetWaitCursor(bool on) = 0;
  // Text of one status-bar pane (0..4).
  virtual void SetPaneText(int pane, const std::string& text) = 0;
  // Position (0..100) of the progress bar over status pane 2.
  virtual void SetProgressPosition(int position) = 0;
  // Blocks for the given time; the user interface keeps painting meanwhile.
  virtual void Sleep(int milliseconds) = 0;
  // Repaints the two connection lamps of the menu bar.
  virtual void RefreshMenuLamps() = 0;
};

}  // namespace korvelane
