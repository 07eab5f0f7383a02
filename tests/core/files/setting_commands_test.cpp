// SPDX-License-Identifier: GPL-3.0-or-later
// The setting-file commands against the simulated instrument: Upload, Download, Open, Save and
// Save As with their buttons, texts and messages.
#include "core/files/setting_commands.h"

#include <gtest/gtest.h>

#include "core/protocol/panel_codes.h"
#include "file_command_fakes.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"
#include "support/device_world.h"

namespace korvelane {
namespace {

using testing::ReadFileBytes;
using testing::Strings;
using Bytes = std::vector<unsigned char>;

struct Instrument {
  sim::SimulatedInstrument instrument{{0, 7}};
};

class SettingTest : protected Instrument, public testing::DeviceWorld<sim::SimulatedLink> {
 protected:
  SettingTest() : DeviceWorld(instrument) {
    connection().StartupLinkTest();
    Forget();
  }

  // Bind and UnBind reach the bar as the main window forwards them.
  void Bind() {
    connection().Connect();
    settings.EnableSettingButtons(true);
  }
  void Unbind() {
    connection().Disconnect();
    settings.EnableSettingButtons(false);
  }
  // Whether Upload, Download, Save and Save As are on (the main window's tests drive the bar).
  std::vector<bool> Buttons() const {
    std::vector<bool> enabled;
    for (int i = 0; i < 4; ++i)
      enabled.push_back(settings.button_enabled(static_cast<SettingButton>(i)));
    return enabled;
  }
  Bytes Block() const {
    return Bytes(device.store().config_block.begin(), device.store().config_block.end());
  }
  Bytes InstrumentBlock() const {
    return Bytes(instrument.settings_block().begin(), instrument.settings_block().end());
  }
  testing::ScriptedChooser chooser;
  std::function<std::string()> initial_path = [this] { return dir.path(); };
  SettingCommands settings{
      device.store(), device.connection(), device.acquisition(), operate_log, debug_log, ui, clock,
      chooser,        initial_path};
};

using B = std::vector<bool>;  // Upload, Download, Save, Save As

TEST_F(SettingTest, ButtonsFollowTheBindingAndTheBlockHeld) {
  const std::string file = dir.File("20261206-090507.ssf");
  const auto open = [this, &file] {
    chooser.answers = {file};
    settings.Open();
  };
  const std::pair<std::function<void()>, B> steps[] = {
      {[] {}, {false, false, false, false}},              // created unbound without a block
      {[this] { Bind(); }, {true, false, false, false}},  // no block to download yet
      {[this] { settings.Upload(); }, {true, true, true, true}},
      {[this] { Unbind(); }, {false, false, true, true}},
      {[this] { Bind(); }, {true, true, true, true}},
      // Open while bound: "Save" goes, "Download" stays; unbound, "Download" keeps its state.
      {[this, &open] { settings.Save(), open(); }, {true, true, false, true}},
      {[this, &open] { Unbind(), open(); }, {false, false, false, true}},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(i);
    steps[i].first();
    EXPECT_EQ(Buttons(), steps[i].second);
  }
  EXPECT_EQ(settings.current_file_text(), file);
  EXPECT_TRUE(ui.messages.empty());
}

// "Save" names the file after the upload and never overwrites; "Save As" adds the extension only
// where it is missing anywhere in the name and replaces a file whole.
TEST_F(SettingTest, SaveNeverOverwritesAndSaveAsReplaces) {
  Bind();
  settings.Upload();
  EXPECT_EQ(settings.current_file_text(), "20261206-090507");
  Forget();
  settings.Save();
  device.store().config_block[0] ^= 0xFF;
  settings.Save();  // the same name again
  const std::string saved = dir.File("20261206-090507.ssf");
  EXPECT_EQ(ReadFileBytes(saved), InstrumentBlock());
  EXPECT_EQ(Operations(), (Strings{"Save a Setting file", "Save Setting file successed！",
                                   "Save a Setting file"}));
  EXPECT_TRUE(Logged("保存‘设备配置数据’文件失败"));

  testing::WriteFileBytes(dir.File("probe.ssf"), Bytes(9000, 0xEE));
  Strings panes;  // the last action text after each
  for (const char* typed : {"probe", "probe.SSF", "probe.ssf.bak", "gone/probe"}) {
    chooser.answers = {dir.File(typed)};
    settings.SaveAs();
    panes.push_back(ui.panes[0]);
  }
  const std::string done = "Save As Setting file successed！";
  EXPECT_EQ(panes, (Strings{done, done, done, "Save As a Setting file"}));
  // Nothing else is left behind, no temporary file either.
  EXPECT_EQ(dir.Names("2"), (Strings{"20261206-090507.ssf"}));
  EXPECT_EQ(dir.Names("probe"), (Strings{"probe.SSF.ssf", "probe.ssf", "probe.ssf.bak"}));
  for (const char* written : {"probe.SSF.ssf", "probe.ssf", "probe.ssf.bak"})
    EXPECT_EQ(ReadFileBytes(dir.File(written)), Block()) << written;
  EXPECT_EQ(ui.messages.at(0).text, "Try to Save Setting file failed!");
  EXPECT_EQ(ui.messages.at(1).text, "Try to save as Setting file failed!");
  EXPECT_TRUE(Logged("另存‘设备配置数据’文件失败"));
}

TEST_F(SettingTest, DownloadSendsTheBlockHeldAndFailuresKeepItAndTheText) {
  Bind();
  settings.Upload();
  const Bytes uploaded = Block();
  connection().SendPanelKey(KnobIncreaseCode(kKnobSdiv), 3);  // the instrument's settings change
  ASSERT_NE(InstrumentBlock(), uploaded);
  Forget();
  settings.Download();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(Operations(), (Strings{"Down Load a Setting file to device"}));
  EXPECT_EQ(InstrumentBlock(), uploaded);

  // Refused transfers, and a file that is not one whole block, are reported and change nothing
  // but the upload's file buttons: a partly read block never reaches the instrument.
  device.store().config_block[0] ^= 0xFF;
  const Bytes held = Block();
  Forget();
  instrument.InjectFault({sim::FaultKind::kResultFailure, OP_SET_CONFIG});
  settings.Download();
  EXPECT_EQ(ui.lamp_refreshes, 1);
  instrument.InjectFault({sim::FaultKind::kResultFailure, OP_WAVE_DATA});
  settings.Upload();
  EXPECT_EQ(ui.lamp_refreshes, 2);
  testing::WriteFileBytes(dir.File("long.ssf"), Bytes(2501, 0x33));
  chooser.answers = {dir.File("long.ssf")};
  settings.Open();
  const auto box = [](const char* text) {
    return testing::MessageRecord{text, "Error", MessageIcon::kInformation};
  };
  EXPECT_EQ(ui.messages, (std::vector<testing::MessageRecord>{
                             box("Try to down load a Setting file to device failed！"),
                             box("Try to up load a Setting file from device failed！"),
                             box("Try to open a Setting file failed!")}));
  EXPECT_TRUE(Logged("从设备下载设备配置数据失败"));
  EXPECT_TRUE(Logged("读取‘设备配置数据’文件失败"));
  EXPECT_EQ(Buttons(), (B{true, false, false, false}));
  EXPECT_EQ(Block(), held);
  EXPECT_EQ(settings.current_file_text(), "20261206-090507");
}

}  // namespace
}  // namespace korvelane
