// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/setting_file.h"

#include <gtest/gtest.h>

#include "core/files/file_io.h"
#include "support/temp_dir.h"

namespace korvelane {
namespace {

ConfigBlock Pattern(uint8_t seed) {
  ConfigBlock block;
  for (size_t i = 0; i < block.size(); ++i)
    block[i] = static_cast<uint8_t>(i * 31 + seed);
  return block;
}

TEST(SettingFile, RoundTripIsExactly2500Bytes) {
  testing::TempDir dir;
  const ConfigBlock block = Pattern(3);
  ASSERT_TRUE(WriteSettingFile(dir.File("probe.ssf"), block, /*must_be_new=*/true));
  EXPECT_EQ(testing::ReadFileBytes(dir.File("probe.ssf")).size(), 2500u);
  ConfigBlock read{};
  EXPECT_EQ(ReadSettingFile(dir.File("probe.ssf"), &read), SettingFileError::kNone);
  EXPECT_EQ(read, block);
  EXPECT_FALSE(WriteSettingFile(dir.File("probe.ssf"), block, /*must_be_new=*/true));
  EXPECT_TRUE(WriteSettingFile(dir.File("probe.ssf"), Pattern(4), /*must_be_new=*/false));
}

TEST(SettingFile, OtherSizesAreRefusedAndTheBlockKept) {
  testing::TempDir dir;
  const ConfigBlock before = Pattern(9);
  for (size_t size : {0u, 2499u, 2501u, 10000u}) {
    ASSERT_TRUE(WriteWholeFile(dir.File("x.ssf"), std::vector<uint8_t>(size, 0xAA)));
    ConfigBlock block = before;
    EXPECT_EQ(ReadSettingFile(dir.File("x.ssf"), &block), SettingFileError::kWrongSize) << size;
    EXPECT_EQ(block, before) << size;
  }
  ConfigBlock block = before;
  EXPECT_EQ(ReadSettingFile(dir.File("missing.ssf"), &block), SettingFileError::kCannotOpen);
  EXPECT_EQ(ReadSettingFile(dir.path(), &block), SettingFileError::kCannotOpen);
  EXPECT_EQ(block, before);
}

}  // namespace
}  // namespace korvelane
