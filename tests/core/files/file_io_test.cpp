// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace korvelane {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

TEST(FileIo, WritesReplaceWholeAndLeaveNoTemporaryBehind) {
  TempDir dir;
  const std::string path = dir.File("a.bin");
  ASSERT_TRUE(WriteWholeFile(path, {1, 2, 3}));
  ASSERT_TRUE(WriteWholeFile(path, {9}));
  EXPECT_EQ(ReadFileBytes(path), (std::vector<unsigned char>{9}));
  EXPECT_EQ(*ReadWholeFile(path), (std::vector<uint8_t>{9}));
  ASSERT_TRUE(WriteWholeFile(dir.File("empty.bin"), {}));
  EXPECT_TRUE(ReadWholeFile(dir.File("empty.bin"))->empty());
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 2);
}

TEST(FileIo, CreateNewRefusesAnExistingFileAndKeepsIt) {
  TempDir dir;
  const std::string path = dir.File("s.ssf");
  ASSERT_TRUE(WriteWholeFile(path, {1}, WriteMode::kCreateNew));
  EXPECT_FALSE(WriteWholeFile(path, {2}, WriteMode::kCreateNew));
  EXPECT_EQ(ReadFileBytes(path), (std::vector<unsigned char>{1}));
}

TEST(FileIo, AFailedWriteLeavesTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("keep.bin");
  ASSERT_TRUE(WriteWholeFile(path, {5, 5}));
  EXPECT_FALSE(WriteWholeFile(dir.File("missing/keep.bin"), {1}));
  EXPECT_FALSE(WriteWholeFile("", {1}));
  EXPECT_EQ(ReadFileBytes(path), (std::vector<unsigned char>{5, 5}));
}

TEST(FileIo, ReadsRefuseWhatIsNoRegularFileLongPathsAndOversizeFiles) {
  TempDir dir;
  EXPECT_FALSE(ReadWholeFile(dir.File("none")));
  EXPECT_FALSE(ReadWholeFile(dir.path()));  // a folder is not a file
  // A pipe without a writer is refused without waiting for one.
  ASSERT_EQ(mkfifo(dir.File("pipe.wdf").c_str(), 0600), 0);
  EXPECT_FALSE(ReadWholeFile(dir.File("pipe.wdf")));
  ASSERT_TRUE(WriteWholeFile(dir.File("big"), std::vector<uint8_t>(100, 7)));
  EXPECT_FALSE(ReadWholeFile(dir.File("big"), 99));
  EXPECT_EQ(ReadWholeFile(dir.File("big"), 100)->size(), 100u);

  // Paths of 260 characters are read, longer ones are not.
  const std::string folder = dir.File(std::string(150, 'd'));
  std::filesystem::create_directory(folder);
  const std::string fits = folder + "/" + std::string(260 - folder.size() - 1, 'f');
  ASSERT_EQ(fits.size(), 260u);
  for (const std::string& path : {fits, fits + "g"})
    ASSERT_TRUE(WriteWholeFile(path, {1}));
  EXPECT_TRUE(ReadWholeFile(fits));
  EXPECT_FALSE(ReadWholeFile(fits + "g"));
}

TEST(FileIo, ExtensionsAreFoundAnywhereAndCaseSensitively) {
  EXPECT_TRUE(HasExtension("trace.wdf", ".wdf"));
  EXPECT_TRUE(HasExtension("trace.wdf.bak", ".wdf"));
  EXPECT_FALSE(HasExtension("trace.WDF", ".wdf"));
  EXPECT_FALSE(HasExtension("trace.txt", ".wdf"));
}

}  // namespace
}  // namespace korvelane
