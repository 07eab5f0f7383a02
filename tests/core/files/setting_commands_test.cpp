// SPDX-License-Identifier: GPL-3.0-or-later
// The setting-file commands against the simulated instrument: Upload, Download, Open, Save and
// Save As with their buttons, texts and messages.
#include "core/files/setting_commands.h"

#include <gtest/gtest.h>

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
    settings.AttachForm(&form);
    Forget();
  }

  // Bind and UnBind reach the bar as the main window forwards them.
  void Bind() {
    connection().Connect();
    ASSERT_TRUE(connection().bound());
    settings.EnableSettingButtons(true);
  }
  void Unbind() {
    connection().Disconnect();
    ASSERT_FALSE(connection().bound());
    settings.EnableSettingButtons(false);
  }
  // Upload, Download, Save, Save As as the bar shows them; the commands' own view must agree.
  std::vector<bool> Buttons() const {
    std::vector<bool> shown(form.enabled, form.enabled + 4);
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(settings.button_enabled(static_cast<SettingButton>(i)), shown[i]) << i;
    return shown;
  }
  Bytes Block() const {
    return Bytes(device.store().config_block.begin(), device.store().config_block.end());
  }
  Bytes InstrumentBlock() const {
    return Bytes(instrument.settings_block().begin(), instrument.settings_block().end());
  }
  void Fail(int operation) {
    sim::Fault fault;
    fault.kind = sim::FaultKind::kResultFailure;
    fault.operation = operation;
    instrument.InjectFault(fault);
  }
  std::string folder = dir.path();
  testing::ScriptedChooser chooser;
  testing::RecordingSettingForm form;
  std::function<std::string()> initial_path = [this] { return folder; };
  SettingCommands settings{
      device.store(), device.connection(), device.acquisition(), operate_log, debug_log, ui, clock,
      chooser,        initial_path};
};

using B = std::vector<bool>;  // Upload, Download, Save, Save As

TEST_F(SettingTest, ButtonsFollowTheBindingAndTheBlockHeld) {
  // Created unbound and without a block: all four wait.
  EXPECT_EQ(Buttons(), (B{false, false, false, false}));
  EXPECT_EQ(form.current_file, "");
  // A Bind alone does not offer to download a block that is not there.
  Bind();
  EXPECT_EQ(Buttons(), (B{true, false, false, false}));
  settings.Upload();
  EXPECT_EQ(Buttons(), (B{true, true, true, true}));
  EXPECT_TRUE(settings.setting_loaded());
  EXPECT_EQ(settings.current_file_text(), "20261206-090507");
  EXPECT_EQ(form.current_file, "20261206-090507");
  Unbind();
  EXPECT_EQ(Buttons(), (B{false, false, true, true}));
  Bind();
  EXPECT_EQ(Buttons(), (B{true, true, true, true}));

  // Open while bound: "Save" goes, "Download" stays offered; unbound, "Download" keeps its state.
  chooser.answers = {dir.File("20261206-090507.ssf")};
  settings.Save();
  chooser.answers = {dir.File("20261206-090507.ssf")};
  settings.Open();
  EXPECT_EQ(Buttons(), (B{true, true, false, true}));
  Unbind();
  chooser.answers = {dir.File("20261206-090507.ssf")};
  settings.Open();
  EXPECT_EQ(Buttons(), (B{false, false, false, true}));
  EXPECT_EQ(form.current_file, dir.File("20261206-090507.ssf"));

  EXPECT_TRUE(ui.messages.empty());
}

// "Save" names the file after the upload and never overwrites; "Save As" adds the extension only
// where it is missing anywhere in the name and replaces a file whole.
TEST_F(SettingTest, SaveNeverOverwritesAndSaveAsReplaces) {
  Bind();
  Forget();
  settings.Upload();
  EXPECT_EQ(Block(), InstrumentBlock());
  settings.Save();
  const std::string saved = dir.File("20261206-090507.ssf");
  EXPECT_EQ(ReadFileBytes(saved), InstrumentBlock());
  EXPECT_EQ(Operations(), (Strings{"Up Load a Setting file from device", "Save a Setting file",
                                   "Save Setting file successed！"}));
  const Bytes first = Block();
  device.store().config_block[0] ^= 0xFF;
  Forget();
  settings.Save();
  EXPECT_EQ(MessageTexts(ui), (Strings{"Try to Save Setting file failed!"}));
  EXPECT_TRUE(Logged("保存‘设备配置数据’文件失败"));
  EXPECT_EQ(Operations(), (Strings{"Save a Setting file"}));
  EXPECT_EQ(ReadFileBytes(saved), first);

  testing::WriteFileBytes(dir.File("probe.ssf"), Bytes(9000, 0xEE));
  Strings panes;  // the last action text after each
  for (const char* typed : {"probe", "probe.SSF", "probe.ssf.bak", "gone/probe"}) {
    chooser.answers = {dir.File(typed)};
    settings.SaveAs();
    panes.push_back(ui.panes[0]);
  }
  const std::string done = "Save As Setting file successed！";
  EXPECT_EQ(panes, (Strings{done, done, done, "Save As a Setting file"}));
  EXPECT_EQ(dir.Names("probe"), (Strings{"probe.SSF.ssf", "probe.ssf", "probe.ssf.bak"}));
  for (const char* written : {"probe.SSF.ssf", "probe.ssf", "probe.ssf.bak"})
    EXPECT_EQ(ReadFileBytes(dir.File(written)), Block()) << written;
  EXPECT_EQ(MessageTexts(ui),
            (Strings{"Try to Save Setting file failed!", "Try to save as Setting file failed!"}));
  EXPECT_TRUE(Logged("另存‘设备配置数据’文件失败"));
}

TEST_F(SettingTest, UploadThenDownloadSendsTheInstrumentTheVeryBytesItSent) {
  Bind();
  settings.Upload();
  const Bytes uploaded = Block();
  Forget();
  settings.Download();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(Operations(), (Strings{"Down Load a Setting file to device"}));
  const MessageBuffer& sent = device.protocol().send_buffer();
  EXPECT_EQ(Bytes(sent.begin() + 16, sent.begin() + 16 + 2500), uploaded);
  EXPECT_EQ(InstrumentBlock(), uploaded);

  // A refused download is reported; the block stays.
  device.store().config_block[0] ^= 0xFF;
  const Bytes held = Block();
  Fail(OP_SET_CONFIG);
  settings.Download();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Try to down load a Setting file to device failed！");
  EXPECT_EQ(ui.messages[0].caption, "Error");
  EXPECT_GE(ui.lamp_refreshes, 1);
  EXPECT_EQ(Block(), held);
}

TEST_F(SettingTest, AFailedUploadDisablesTheFileButtonsButKeepsTheBlockAndTheText) {
  Bind();
  settings.Upload();
  const Bytes held = Block();
  Forget();
  Fail(OP_WAVE_DATA);
  settings.Upload();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0],
            (testing::MessageRecord{"Try to up load a Setting file from device failed！", "Error",
                                    MessageIcon::kInformation}));
  EXPECT_TRUE(Logged("从设备下载设备配置数据失败"));
  EXPECT_GE(ui.lamp_refreshes, 1);
  EXPECT_EQ(Buttons(), (B{true, false, false, false}));
  EXPECT_EQ(Block(), held);
  EXPECT_EQ(form.current_file, "20261206-090507");
  EXPECT_TRUE(settings.setting_loaded());

  // Unbound, the fetch refuses first and the upload reports after it.
  Unbind();
  Forget();
  settings.Upload();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "The software is not link with device");
  EXPECT_EQ(ui.messages[1].text, "Try to up load a Setting file from device failed！");
}

// Only a whole block replaces the one held, so a partly read block never reaches the instrument.
TEST_F(SettingTest, OpenTakesOnlyWholeBlocksAndChangesNothingOtherwise) {
  Bind();
  settings.Upload();
  const Bytes held = Block();
  testing::WriteFileBytes(dir.File("long.ssf"), Bytes(2501, 0x33));
  const std::pair<const char*, const char*> bad[] = {{"long.ssf", "读取‘设备配置数据’文件失败"},
                                                     {"missing.ssf", "打开‘设备配置数据’文件失败"}};
  for (const auto& [name, log] : bad) {
    SCOPED_TRACE(name);
    Forget();
    chooser.answers = {dir.File(name)};
    settings.Open();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Try to open a Setting file failed!");
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_TRUE(Logged(log));
    EXPECT_EQ(Block(), held);
    EXPECT_EQ(form.current_file, "20261206-090507");
    EXPECT_EQ(Buttons(), (B{true, true, true, true}));
  }
}

}  // namespace
}  // namespace korvelane
