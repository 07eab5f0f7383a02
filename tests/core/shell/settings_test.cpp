// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>

#include "core/shell/command_ids.h"
#include "support/log_world.h"

namespace korvelane {
namespace {

// A settings key in memory; `writable` false makes every write and the creation fail.
class MapStore : public SettingsStore {
 public:
  bool OpenForRead() override { return exists; }
  bool OpenForWrite() override { return exists && writable; }
  bool Create() override {
    exists = writable;
    return exists;
  }
  std::optional<std::string> ReadText(const std::string& name) override {
    return Find(texts, name);
  }
  std::optional<int> ReadInt(const std::string& name) override { return Find(ints, name); }
  bool WriteText(const std::string& name, const std::string& value) override {
    if (writable)
      texts[name] = value;
    return writable;
  }
  bool WriteInt(const std::string& name, int value) override {
    if (writable)
      ints[name] = value;
    return writable;
  }
  void Close() override { ++closes; }

  bool exists = false;
  bool writable = true;
  int closes = 0;
  std::map<std::string, std::string> texts;
  std::map<std::string, int> ints;

 private:
  template <typename T>
  static std::optional<T> Find(const std::map<std::string, T>& values, const std::string& name) {
    auto it = values.find(name);
    return it == values.end() ? std::nullopt : std::optional<T>(it->second);
  }
};

class SettingsTest : public testing::LogWorld {
 protected:
  MapStore store;
};

TEST_F(SettingsTest, EachValueFallsBackOnItsOwn) {
  using Text = std::optional<std::string>;
  const struct {
    bool key;  // false: the first run, no key at all
    Text interval;
    std::optional<int> operate;
    Text path;
    Text fast;
    int interval_ms, checked, operate_on;
    std::string initial_path;
    bool fast_on;
    const char* logged;  // nullptr: nothing
  } cases[] = {
      {false, "700", 8, "/data", "1", 2000, kCmdInterval2s, 0, "/opt/k", false,
       "打开注册表读取软件配置参数失败"},
      // An emptied path stays empty.
      {true, "700", 8, "", "1", 700, kCmdIntervalCustom, 8, "", true, nullptr},
      {true, "1000", 0, "/data", "0", 1000, kCmdInterval1s, 0, "/data", false, nullptr},
      // Only the first byte of the operate-log value counts.
      {true, {}, 0x108, {}, {}, 2000, kCmdInterval2s, 8, "/opt/k", false, nullptr},
      {true,
       "abc",
       {},
       "/data",
       "2",
       2000,
       kCmdInterval2s,
       0,
       "/data",
       false,
       "NORMAL :读注册表 软件配置参数：快速通信 无法识别，按关闭处理"},
      {true, {}, {}, {}, "true", 2000, kCmdInterval2s, 0, "/opt/k", false, "快速通信 无法识别"},
      {true, {}, {}, {}, "", 2000, kCmdInterval2s, 0, "/opt/k", false, "快速通信 无法识别"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.interval.value_or("-") + " " + c.fast.value_or("-"));
    std::remove(debug_log.debug_log_path().c_str());
    MapStore stored;
    stored.exists = c.key;
    const std::pair<const char*, Text> texts[] = {{kIntervalTimeValue, c.interval},
                                                  {kFileInitPathValue, c.path},
                                                  {kFastExchangeValue, c.fast}};
    for (const auto& [name, text] : texts) {
      if (text)
        stored.texts[name] = *text;
    }
    if (c.operate)
      stored.ints[kOperateFileCheckValue] = *c.operate;
    const ShellSettings s = LoadSettings(stored, "/opt/k", debug_log);
    EXPECT_EQ(s.interval.interval_ms, c.interval_ms);
    EXPECT_EQ(s.interval.checked_command, c.checked);
    EXPECT_EQ(s.operate_log_on, c.operate_on);
    EXPECT_EQ(s.initial_path, c.initial_path);
    EXPECT_EQ(s.fast_exchange, c.fast_on);
    EXPECT_EQ(testing::ReadFileText(debug_log.debug_log_path()).empty(), c.logged == nullptr);
    if (c.logged) {
      EXPECT_TRUE(Logged(c.logged));
    }
    EXPECT_EQ(stored.closes, c.key ? 1 : 0);
  }
}

TEST_F(SettingsTest, AtExitTheKeyIsCreatedAndEveryValueWrittenEvenAfterAFailure) {
  ShellSettings s = LoadSettings(store, "/opt/korvelane", debug_log);
  SaveSettings(store, s, debug_log);
  EXPECT_TRUE(Logged("打开注册表以保存软件配置参数失败"));
  EXPECT_EQ(store.texts[kIntervalTimeValue], "2000");
  EXPECT_EQ(store.ints[kOperateFileCheckValue], 0);
  EXPECT_EQ(store.texts[kFileInitPathValue], "/opt/korvelane");
  EXPECT_EQ(store.texts[kFastExchangeValue], "0");

  class FailingIntStore : public MapStore {
   public:
    bool WriteInt(const std::string&, int) override { return false; }
  } failing;
  failing.exists = true;
  s.initial_path = "/data";
  SaveSettings(failing, s, debug_log);
  EXPECT_TRUE(Logged("写注册表 保存软件配置参数：动作文件是否保存 失败"));
  EXPECT_EQ(failing.texts[kFileInitPathValue], "/data");
  EXPECT_EQ(failing.texts[kIntervalTimeValue], "2000");

  MapStore unwritable;
  unwritable.writable = false;
  SaveSettings(unwritable, s, debug_log);
  EXPECT_TRUE(Logged("创建注册表以保存软件配置参数失败"));
  EXPECT_TRUE(unwritable.texts.empty());
}

TEST_F(SettingsTest, DeviceIsAFourthValueThatNeverDisturbsTheOtherThree) {
  store.exists = true;
  store.texts[kIntervalTimeValue] = "1000";
  store.texts[kFileInitPathValue] = "/data";
  store.texts[kDeviceValue] = "usb:F055:d50";  // as lsusb prints it, any case, short ids
  ShellSettings s = LoadSettings(store, "/opt/k", debug_log);
  EXPECT_EQ(s.device, "usb:f055:0d50");
  ASSERT_TRUE(StoredDevice(s).has_value());
  EXPECT_EQ(StoredDevice(s)->product_id, 0x0d50);

  // Malformed or unreadable: as if absent, with a log line; the other values as before.
  for (const std::string& bad : {std::string("usb:12345:1"), std::string("serial"), std::string(),
                                 std::string("\xff\x00", 2)}) {
    store.texts[kDeviceValue] = bad;
    const size_t logged = testing::ReadFileText(debug_log.debug_log_path()).size();
    s = LoadSettings(store, "/opt/k", debug_log);
    EXPECT_GT(testing::ReadFileText(debug_log.debug_log_path()).size(), logged) << bad;
    EXPECT_EQ(s.device, "") << bad;
    EXPECT_FALSE(StoredDevice(s).has_value());
    EXPECT_EQ(s.interval.interval_ms, 1000);
    EXPECT_EQ(s.initial_path, "/data");
  }
  EXPECT_TRUE(Logged("注册表中保存的仪器设置“serial”无效"));

  // Without a choice no "Device" is written.
  MapStore fresh;
  fresh.exists = true;
  SaveSettings(fresh, s, debug_log);
  EXPECT_EQ(fresh.texts.count(kDeviceValue), 0u);
  EXPECT_EQ(fresh.texts.size() + fresh.ints.size(), 4u);
  s.device = "socket:/tmp/dso.sock";
  SaveSettings(fresh, s, debug_log);
  EXPECT_EQ(fresh.texts[kDeviceValue], "socket:/tmp/dso.sock");
}

TEST(StartupDevice, CommandLineThenStoredThenBuildIdsThenAnOfferNeverAnOpening) {
  DeviceChoice sim;
  sim.kind = DeviceChoice::kSim;
  DeviceChoice socket;
  socket.kind = DeviceChoice::kSocket;
  socket.socket_path = "/s";
  const UsbIds build{0x1234, 0xabcd};
  const UsbIds found{0xf055, 0x0d50};
  const UsbIds other{0x0001, 0x0002};
  struct Case {
    std::optional<DeviceChoice> command_line;
    std::optional<DeviceChoice> stored;
    std::optional<UsbIds> build_ids;
    std::vector<UsbIds> candidates;
    std::string opened;
    StartupDevice::Offer offer;
  } cases[] = {
      {sim, socket, build, {found}, "sim", StartupDevice::kNoOffer},
      {std::nullopt, socket, build, {found}, "socket:/s", StartupDevice::kNoOffer},
      {std::nullopt, std::nullopt, build, {found}, "usb:1234:abcd", StartupDevice::kNoOffer},
      {std::nullopt, std::nullopt, std::nullopt, {found}, "usb", StartupDevice::kOfferUsb},
      {std::nullopt, std::nullopt, std::nullopt, {found, other}, "usb", StartupDevice::kOfferSim},
      {std::nullopt, std::nullopt, std::nullopt, {}, "usb", StartupDevice::kOfferSim},
  };
  for (const Case& c : cases) {
    const StartupDevice startup =
        ChooseStartupDevice(c.command_line, c.stored, c.build_ids, c.candidates);
    EXPECT_EQ(FormatDeviceChoice(startup.choice), c.opened);
    EXPECT_EQ(startup.offer, c.offer) << c.opened;
    if (c.offer == StartupDevice::kOfferUsb) {
      EXPECT_EQ(startup.offered, found);
    }
  }
}

}  // namespace
}  // namespace korvelane
