#include "core/shell/settings.h"

#include <gtest/gtest.h>

#include <map>

#include "core/shell/command_ids.h"
#include "support/log_world.h"

namespace korvelane {
namespace {

class MapStore : public SettingsStore {
 public:
  bool OpenForRead() override { return exists && readable; }
  bool OpenForWrite() override { return exists && writable; }
  bool Create() override {
    if (!writable)
      return false;
    exists = true;
    return true;
  }
  std::optional<std::string> ReadText(const std::string& name) override {
    auto it = texts.find(name);
    return it == texts.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
  std::optional<int> ReadInt(const std::string& name) override {
    auto it = ints.find(name);
    return it == ints.end() ? std::nullopt : std::optional<int>(it->second);
  }
  bool WriteText(const std::string& name, const std::string& value) override {
    if (!writable)
      return false;
    texts[name] = value;
    return true;
  }
  bool WriteInt(const std::string& name, int value) override {
    if (!writable)
      return false;
    ints[name] = value;
    return true;
  }
  void Close() override { ++closes; }

  bool exists = false;
  bool readable = true;
  bool writable = true;
  int closes = 0;
  std::map<std::string, std::string> texts;
  std::map<std::string, int> ints;
};

class SettingsTest : public testing::LogWorld {
 protected:
  MapStore store;
};

TEST_F(SettingsTest, FirstRunUsesDefaultsAndExitWritesAllThree) {
  ShellSettings s = LoadSettings(store, "/opt/korvelane", debug_log);
  EXPECT_EQ(s.interval.interval_ms, 2000);
  EXPECT_EQ(s.interval.checked_command, kCmdInterval2s);
  EXPECT_EQ(s.operate_log_on, 0);
  EXPECT_EQ(s.initial_path, "/opt/korvelane");
  EXPECT_TRUE(Logged("打开注册表读取软件配置参数失败"));

  SaveSettings(store, s, debug_log);
  EXPECT_TRUE(Logged("打开注册表以保存软件配置参数失败"));
  EXPECT_EQ(store.texts[kIntervalTimeValue], "2000");
  EXPECT_EQ(store.ints[kOperateFileCheckValue], 0);
  EXPECT_EQ(store.texts[kFileInitPathValue], "/opt/korvelane");
}

TEST_F(SettingsTest, StoredValuesAreReadBack) {
  store.exists = true;
  store.texts[kIntervalTimeValue] = "700";
  store.ints[kOperateFileCheckValue] = 8;
  store.texts[kFileInitPathValue] = "";
  ShellSettings s = LoadSettings(store, "/opt/korvelane", debug_log);
  EXPECT_EQ(s.interval.interval_ms, 700);
  EXPECT_EQ(s.interval.checked_command, kCmdIntervalCustom);
  EXPECT_EQ(s.operate_log_on, 8);
  EXPECT_EQ(s.initial_path, "");  // an emptied path stays empty
  EXPECT_EQ(store.closes, 1);
}

TEST_F(SettingsTest, MissingValuesFallBackOneByOne) {
  store.exists = true;
  store.ints[kOperateFileCheckValue] = 0x108;  // only the first byte counts
  ShellSettings s = LoadSettings(store, "/opt/k", debug_log);
  EXPECT_EQ(s.interval.interval_ms, 2000);
  EXPECT_EQ(s.operate_log_on, 8);
  EXPECT_EQ(s.initial_path, "/opt/k");
}

TEST_F(SettingsTest, UnwritableStoreLogsAndStops) {
  store.writable = false;
  ShellSettings s;
  SaveSettings(store, s, debug_log);
  EXPECT_TRUE(Logged("创建注册表以保存软件配置参数失败"));
  EXPECT_TRUE(store.texts.empty());
}

TEST_F(SettingsTest, EachFailedWriteIsLoggedAndTheRestWritten) {
  class FailingIntStore : public MapStore {
   public:
    bool WriteInt(const std::string&, int) override { return false; }
  } failing;
  failing.exists = true;
  ShellSettings s;
  s.initial_path = "/data";
  SaveSettings(failing, s, debug_log);
  EXPECT_TRUE(Logged("写注册表 保存软件配置参数：动作文件是否保存 失败"));
  EXPECT_EQ(failing.texts[kFileInitPathValue], "/data");
  EXPECT_EQ(failing.texts[kIntervalTimeValue], "2000");
}

}  // namespace
}  // namespace korvelane
