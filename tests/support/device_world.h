// SPDX-License-Identifier: GPL-3.0-or-later
// A Device over a link of the test's choice with recording fakes around it, the answers it
// expects, and the scripted instrument most tests talk to.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/protocol/device.h"
#include "support/log_world.h"
#include "support/messages.h"
#include "support/scripted_link.h"

namespace korvelane::testing {

class RecordingHooks : public DeviceHooks {
 public:
  void EnableSettingButtons(bool on) override {
    calls.push_back(on ? "settings:on" : "settings:off");
  }
  void StopRefreshTimer() override { calls.push_back("timer:stop"); }
  void SetAutoButtonEnabled(bool on) override { calls.push_back(on ? "auto:on" : "auto:off"); }
  RequestOptions ReadRequestOptions() override { return options; }
  void RedrawWaveGraph() override { calls.push_back("redraw"); }
  void UpdatePanelLamps() override { calls.push_back("lamps"); }
  RequestOptions options;
  Strings calls;
};

// A DSO Bitmap view that keeps the bytes of the file it was asked to load.
class RecordingTarget : public BitmapTarget {
 public:
  void LoadBitmapFile(const std::string& path) override { loaded.push_back(ReadFileBytes(path)); }
  void SetTitle(const std::string& text) override { title = text; }
  std::vector<std::vector<unsigned char>> loaded;
  std::string title;
};

// Channel record of `count` samples, sample i = (i + seed) & 0xFF, and eleven valid measurements
// of 500 mV with two decimals.
Bytes ChannelBody(int8_t data_type, int32_t count, uint8_t seed = 1);
// Settings record holding a block whose byte i is i * 7.
Bytes ConfigBody();
Bytes PieceBody(uint32_t file_num, const Bytes& data);

// Everything a Device touches, recorded; `Link` is the instrument's side.
template <typename Link>
class DeviceWorld : public LogWorld {
 protected:
  template <typename... Args>
  explicit DeviceWorld(Args&&... link_args) : link(std::forward<Args>(link_args)...) {}

  // Sleeps of 50 ms or more: the waits for answers, not the busy indicator's steps.
  std::vector<int> Waits() const {
    std::vector<int> waits;
    for (int ms : ui.sleeps) {
      if (ms >= 50)
        waits.push_back(ms);
    }
    return waits;
  }
  void Forget() {
    LogWorld::Forget();
    hooks.calls.clear();
  }

  Connection& connection() { return device.connection(); }
  Acquisition& acquisition() { return device.acquisition(); }
  AcquisitionStore& store() { return device.store(); }

  RecordingHooks hooks;
  Link link;
  Device device{link, ui, debug_log, operate_log, hooks, clock};
};

// A world whose `device` talks over a ScriptedLink `link`: the test writes the answers.
template <typename World>
class ScriptedDevice : public World {
 protected:
  void QueueAnswer(int8_t operation, const Bytes& body) {
    this->link.QueueAnswer(MakeMessage(operation, body));
  }
  // Links and binds, then forgets the records; the requests sent afterwards begin at
  // `link_writes_seen`.
  void BindNow() {
    this->device.connection().StartupLinkTest();
    QueueAnswer(OP_BIND, Body(4, {0, 2}));
    this->device.connection().Connect();
    ASSERT_TRUE(this->device.connection().bound());
    link_writes_seen = this->link.writes().size();
    this->Forget();
  }

  size_t link_writes_seen = 0;
};

using DeviceTest = ScriptedDevice<DeviceWorld<ScriptedLink>>;

}  // namespace korvelane::testing
