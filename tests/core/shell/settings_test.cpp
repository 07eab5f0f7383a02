// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>

#include "support/log_world.h"

namespace korvelane {
namespace {

// A settings key in memory; `writable` false makes every write and the creation fail.
class MapStore : public SettingsStore {
 public:
  bool OpenForRead() override { return exists; }
  bool OpenForWrite() override { return exists && writable; }
  bool Create() override { return exists = writable; }
  std::optional<std::string> ReadText(const std::string& name) override {
    return texts.count(name) ? std::optional(texts[name]) : std::nullopt;
  }
  std::optional<int> ReadInt(const std::string& name) override {
    return ints.count(name) ? std::optional(ints[name]) : std::nullopt;
  }
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
};

using SettingsTest = testing::LogWorld;

// What was read: interval|operate log|initial path|fast exchange|device.
std::string Read(const ShellSettings& s) {
  return std::to_string(s.interval.interval_ms) + "|" + std::to_string(s.operate_log_on) + "|" +
         s.initial_path + "|" + (s.fast_exchange ? "1" : "0") + "|" + s.device;
}

TEST_F(SettingsTest, EachValueFallsBackOnItsOwnWithALogLine) {
  using Text = std::optional<std::string>;
  const char* fast_unknown = "NORMAL :读注册表 软件配置参数：快速通信 无法识别，按关闭处理";
  const struct {
    bool key;  // false: the first run, no key at all
    Text interval;
    std::optional<int> operate;
    Text path, fast, device;
    const char* read;
    const char* logged;  // nullptr: nothing
  } cases[] = {
      {false, "700", 8, "/data", "1", "sim", "2000|0|/opt/k|0|", "打开注册表读取软件配置参数失败"},
      // An emptied path stays empty; only the first byte of the operate-log value counts.
      {true, "700", 0x108, "", "1", "sim", "700|8||1|sim", nullptr},
      // A device as lsusb prints it: any case, short ids.
      {true, "1000", 0, "/data", "0", "usb:F055:d50", "1000|0|/data|0|usb:f055:0d50", nullptr},
      {true, "abc", {}, "/data", "2", {}, "2000|0|/data|0|", fast_unknown},
      {true, {}, {}, {}, "", {}, "2000|0|/opt/k|0|", fast_unknown},
      // A malformed or unreadable device is as if absent, and disturbs no other value.
      {true, "1000", {}, "/data", {}, "serial", "1000|0|/data|0|", "仪器设置“serial”无效"},
      {true, "1000", {}, "/data", "1", "usb:12345:1", "1000|0|/data|1|", "无效"},
      {true, {}, {}, {}, {}, std::string("\xff\x00", 2), "2000|0|/opt/k|0|", "无效"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << &c - cases);
    std::remove(debug_log.debug_log_path().c_str());
    MapStore stored;
    stored.exists = c.key;
    const std::pair<const char*, Text> texts[] = {{kIntervalTimeValue, c.interval},
                                                  {kFileInitPathValue, c.path},
                                                  {kFastExchangeValue, c.fast},
                                                  {kDeviceValue, c.device}};
    for (const auto& [name, text] : texts) {
      if (text)
        stored.texts[name] = *text;
    }
    if (c.operate)
      stored.ints[kOperateFileCheckValue] = *c.operate;
    EXPECT_EQ(Read(LoadSettings(stored, "/opt/k", debug_log)), c.read);
    EXPECT_TRUE(c.logged ? Logged(c.logged)
                         : testing::ReadFileText(debug_log.debug_log_path()).empty());
    EXPECT_EQ(stored.closes, c.key ? 1 : 0);
  }
}

TEST_F(SettingsTest, AtExitTheKeyIsCreatedAndEveryValueWrittenEvenAfterAFailure) {
  MapStore store;
  ShellSettings s = LoadSettings(store, "/opt/korvelane", debug_log);
  SaveSettings(store, s, debug_log);
  EXPECT_TRUE(Logged("打开注册表以保存软件配置参数失败"));
  EXPECT_EQ(Read(LoadSettings(store, "/x", debug_log)), "2000|0|/opt/korvelane|0|");
  EXPECT_EQ(store.texts.size() + store.ints.size(), 4u);  // without a choice no "Device"

  class FailingIntStore : public MapStore {
   public:
    bool WriteInt(const std::string&, int) override { return false; }
  } failing;
  failing.exists = true;
  s = {SelectInterval(10, 700), 8, "/data", "usb:f055:0d50", true};
  SaveSettings(failing, s, debug_log);
  EXPECT_TRUE(Logged("写注册表 保存软件配置参数：动作文件是否保存 失败"));
  EXPECT_EQ(Read(LoadSettings(failing, "/x", debug_log)), "10000|0|/data|1|usb:f055:0d50");
  EXPECT_EQ(StoredDevice(s)->product_id, 0x0d50);

  MapStore unwritable;
  unwritable.writable = false;
  SaveSettings(unwritable, s, debug_log);
  EXPECT_TRUE(Logged("创建注册表以保存软件配置参数失败"));
}

TEST(StartupDevice, CommandLineThenStoredThenBuildIdsThenAnOfferNeverAnOpening) {
  std::string error;
  const std::optional<DeviceChoice> sim = ParseDeviceChoice("sim", error);
  const std::optional<DeviceChoice> socket = ParseDeviceChoice("socket:/s", error);
  const UsbIds build{0x1234, 0xabcd};
  const UsbIds found{0xf055, 0x0d50};
  struct Case {
    std::optional<DeviceChoice> command_line;
    std::optional<DeviceChoice> stored;
    std::optional<UsbIds> build_ids;
    std::vector<UsbIds> candidates;
    std::string opened;
    StartupDevice::Offer offer;
  } cases[] = {
      {sim, socket, build, {found}, "sim", StartupDevice::kNoOffer},
      {{}, socket, build, {found}, "socket:/s", StartupDevice::kNoOffer},
      {{}, {}, build, {found}, "usb:1234:abcd", StartupDevice::kNoOffer},
      {{}, {}, {}, {found}, "usb", StartupDevice::kOfferUsb},
      {{}, {}, {}, {found, {1, 2}}, "usb", StartupDevice::kOfferSim},
      {{}, {}, {}, {}, "usb", StartupDevice::kOfferSim},
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
