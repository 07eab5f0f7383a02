// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/program_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/temp_dir.h"

namespace korvelane {
namespace {

TEST(ProgramFolder, IsTheWritableExecutableFolderOrThePerUserDataFolder) {
  testing::TempDir dir;
  EXPECT_EQ(ProgramFolder(dir.path()), dir.path());
  setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);  // this test program's own environment
  const std::string folder = ProgramFolder(dir.File("not/there"));
  EXPECT_EQ(folder, dir.File("data/Korvelane"));
  EXPECT_TRUE(testing::FileExists(folder));
  EXPECT_EQ(ExecutableFolder(), std::filesystem::read_symlink("/proc/self/exe").parent_path());
}

TEST(PathLimit, JoinPathUsesOneSlashAndPathsHoldAtMostTwoHundredSixtyCharacters) {
  EXPECT_EQ(JoinPath("/a", "b.txt"), "/a/b.txt");
  EXPECT_EQ(JoinPath("/a/", "b.txt"), "/a/b.txt");
  EXPECT_EQ(JoinPath("", "b.txt"), "b.txt");
  // Characters, not bytes: each Chinese character is three bytes.
  std::string chinese;
  for (int i = 0; i < 260; ++i)
    chinese += "波";
  EXPECT_TRUE(FitsPathLimit(chinese));
  EXPECT_FALSE(FitsPathLimit(chinese + "波"));
  EXPECT_TRUE(FitsPathLimit(std::string(260, 'a')));
  EXPECT_FALSE(FitsPathLimit(std::string(261, 'a')));
}

}  // namespace
}  // namespace korvelane
