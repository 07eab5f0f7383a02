// SPDX-License-Identifier: GPL-3.0-or-later
// A DSO Bitmap view over the simulated instrument, with recording fakes, scripted dialogs and
// helpers that make bitmap files.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/files/bitmap_codec.h"
#include "core/logs/gbk_text.h"
#include "core/protocol/device.h"
#include "core/views/view_context.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"
#include "support/fake_user_interface.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"
#include "views/bitmap/dso_bitmap_view.h"
#include "widgets/file_dialogs.h"

namespace korvelane::testing {

// Also keeps every action text shown in status pane 0, which is where RecordOperation puts it.
class RecordingUi : public FakeUserInterface {
 public:
  void SetPaneText(int pane, const std::string& text) override {
    if (pane == 0)
      actions.push_back(text);
    FakeUserInterface::SetPaneText(pane, text);
  }
  std::vector<std::string> actions;
};

// Eight digits, a dash and six digits.
inline bool IsTimeStamp(const std::string& text) {
  if (text.size() != 15 || text[8] != '-')
    return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i != 8 && (text[i] < '0' || text[i] > '9'))
      return false;
  }
  return true;
}

// A picture of `width` × `height` whose pixels all differ.
inline DecodedBitmap GradientPicture(int32_t width, int32_t height) {
  DecodedBitmap picture;
  picture.info_header.width = width;
  picture.info_header.height = height;
  for (int32_t i = 0; i < width * height; ++i) {
    picture.pixels.push_back(static_cast<uint8_t>(i * 3));
    picture.pixels.push_back(static_cast<uint8_t>(i * 5 + 1));
    picture.pixels.push_back(static_cast<uint8_t>(i * 7 + 2));
  }
  return picture;
}

class BitmapViewWorld : public ::testing::Test {
 protected:
  BitmapViewWorld() {
    link.SetDeviceChangeNotifier([this](uintptr_t wparam, intptr_t lparam) {
      device.connection().OnDeviceChange(wparam, lparam);
    });
    device.connection().StartupLinkTest();
  }

  void Bind() {
    device.connection().Connect();
    ASSERT_TRUE(device.connection().bound());
  }

  // Writes `picture` as a bitmap file named `name` in the scratch folder; its path.
  std::string WriteBitmap(const std::string& name, const DecodedBitmap& picture) {
    const std::string path = dir.File(name);
    WriteFileBytes(path, EncodeBitmapFile(picture));
    return path;
  }

  // The next file dialogs answer these paths in turn (an empty one cancels).
  void AnswerFileDialogs(std::vector<std::string> answers) {
    file_answers = std::move(answers);
    requests.clear();
    dialogs.set_runner([this](const FileDialogRequest& request) {
      requests.push_back(request);
      if (file_answers.empty())
        return std::string();
      std::string answer = file_answers.front();
      file_answers.erase(file_answers.begin());
      return answer;
    });
  }

  // A debug-log line with its level prefix, e.g. Logged("WARNING:", "...").
  bool Logged(const std::string& prefix, const std::string& utf8) const {
    return ReadFileText(debug_log.debug_log_path()).find(Utf8ToGbk(prefix + utf8)) !=
           std::string::npos;
  }

  TempDir dir;
  FixedClock clock;
  RecordingUi ui;
  DebugLog debug_log{dir.path(), clock};
  OperateLog operate_log{dir.path(), clock, debug_log, ui};
  DeviceHooks hooks;
  sim::SimulatedInstrument instrument;
  sim::SimulatedLink link{instrument};
  Device device{link, ui, debug_log, operate_log, hooks, clock};
  ViewTables tables;
  ViewContext context{device.store(), tables, operate_log, debug_log, ui};
  FileDialogs dialogs{[this] { return dir.path(); }};
  std::vector<std::string> file_answers;
  std::vector<FileDialogRequest> requests;
  std::function<int(QDialog&)> dialog_script;
};

}  // namespace korvelane::testing
