// SPDX-License-Identifier: GPL-3.0-or-later
// A UserInterface that records what the core asked of it and never blocks.
#pragma once

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "core/common/user_interface.h"

namespace korvelane::testing {

struct MessageRecord {
  std::string text;
  std::string caption;
  MessageIcon icon;
  bool operator==(const MessageRecord& o) const {
    return text == o.text && caption == o.caption && icon == o.icon;
  }
};

inline void PrintTo(const MessageRecord& m, std::ostream* out) {
  *out << '"' << m.text << "\" \"" << m.caption << "\" icon " << static_cast<int>(m.icon);
}

class FakeUserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
    messages.push_back({text, caption, icon});
    events.push_back("message:" + text);
  }
  void SetWaitCursor(bool on) override {
    wait_cursor = on;
    events.push_back(on ? "wait:on" : "wait:off");
  }
  void SetPaneText(int pane, const std::string& text) override { panes[pane] = text; }
  void SetProgressPosition(int position) override { progress.push_back(position); }
  void Sleep(int milliseconds) override {
    slept_ms += milliseconds;
    sleeps.push_back(milliseconds);
    // What the Qt side's waits let through: timer ticks, device changes, close requests.
    if (during_sleep)
      during_sleep();
  }
  void RefreshMenuLamps() override { ++lamp_refreshes; }

  std::vector<MessageRecord> messages;
  std::vector<std::string> events;
  std::map<int, std::string> panes;
  std::vector<int> progress;
  std::vector<int> sleeps;
  long slept_ms = 0;
  int lamp_refreshes = 0;
  bool wait_cursor = false;
  std::function<void()> during_sleep;
};

}  // namespace korvelane::testing
