// SPDX-License-Identifier: GPL-3.0-or-later
// A user interface that shows nothing and never waits, for runs without anyone to show anything
// to (benchmarks, fuzzing).
#pragma once

#include <string>

#include "core/common/user_interface.h"

namespace korvelane {

class SilentUserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
  void SetWaitCursor(bool) override {}
  void SetPaneText(int, const std::string&) override {}
  void SetProgressPosition(int) override {}
  void Sleep(int) override {}
  void RefreshMenuLamps() override {}
};

}  // namespace korvelane
