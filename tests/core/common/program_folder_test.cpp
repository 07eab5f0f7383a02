// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/program_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temp_dir.h"

namespace korvelane {
namespace {

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_DATA_HOME");
    had_old_ = old != nullptr;
    if (old)
      old_ = old;
    setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
  }
  void TearDown() override {
    if (had_old_) {
      setenv("XDG_DATA_HOME", old_.c_str(), 1);
    } else {
      unsetenv("XDG_DATA_HOME");
    }
  }
  testing::TempDir dir;
  std::string old_;
  bool had_old_ = false;
};

TEST_F(ProgramFolderTest, WritableExecutableFolderIsUsed) {
  EXPECT_EQ(ProgramFolder(dir.path()), dir.path());
}

TEST_F(ProgramFolderTest, OtherwiseThePerUserDataFolderIsCreated) {
  const std::string folder = ProgramFolder(dir.File("not/there"));
  EXPECT_EQ(folder, dir.File("data/Korvelane"));
  EXPECT_TRUE(testing::FileExists(folder));
}

TEST(PathLimit, JoinPathUsesOneSlashAndPathsHoldAtMostTwoHundredSixtyCharacters) {
  EXPECT_EQ(JoinPath("/a", "b.txt"), "/a/b.txt");
  EXPECT_EQ(JoinPath("/a/", "b.txt"), "/a/b.txt");
  EXPECT_EQ(JoinPath("", "b.txt"), "b.txt");
  const auto repeat = [](const std::string& part, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i)
      text += part;
    return text;
  };
  // Characters, not bytes: each Chinese character is three bytes.
  for (const std::string character : {"a", "波"}) {
    EXPECT_TRUE(FitsPathLimit(repeat(character, 260))) << character;
    EXPECT_FALSE(FitsPathLimit(repeat(character, 261))) << character;
  }
  EXPECT_TRUE(FitsPathLimit(""));
}

TEST(ExecutableFolder, IsTheFolderOfTheRunningTest) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_NE(folder.back(), '/');
}

}  // namespace
}  // namespace korvelane
