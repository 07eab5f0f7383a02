// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

#include "support/temp_dir.h"

namespace korvelane {
namespace {

using testing::TempDir;
using Bytes = std::vector<uint8_t>;

// Every way a save can fail keeps the file that was there and leaves nothing else behind. (The
// setting commands show that a save replaces a file whole and a creation keeps an existing one.)
TEST(FileIo, AFailedWriteLeavesTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("keep.bin");
  ASSERT_TRUE(WriteWholeFile(path, Bytes{5, 5}));
  // Saved files can be read by others, as files made the usual way.
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  // Content that fails half-way.
  int calls = 0;
  const auto half = [&calls](ByteSink& sink) {
    ++calls;
    const uint8_t byte = 7;
    return sink.Write(&byte, 1) && false;
  };
  EXPECT_FALSE(WriteWholeFile(path, half));
  EXPECT_EQ(calls, 1);
  // No content is asked for when no file can be made.
  EXPECT_FALSE(WriteWholeFile(dir.File("missing/x"), half));
  EXPECT_FALSE(WriteWholeFile("", half));
  EXPECT_EQ(calls, 1);
  // The disk filling up after part of the bytes went (a file size limit stands in for it).
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  rlimit small = old_limit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool full_write = WriteWholeFile(path, Bytes(8192, 1));
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(full_write);
  EXPECT_EQ(*ReadWholeFile(path), (Bytes{5, 5}));
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"keep.bin"}));
}

TEST(FileIo, ReadsRefuseWhatIsNoRegularFileLongPathsAndOversizeFiles) {
  TempDir dir;
  // A pipe without a writer is refused without waiting for one.
  ASSERT_EQ(mkfifo(dir.File("pipe.wdf").c_str(), 0600), 0);
  EXPECT_FALSE(ReadWholeFile(dir.File("pipe.wdf")));
  ASSERT_TRUE(WriteWholeFile(dir.File("big"), Bytes(100, 7)));
  EXPECT_FALSE(ReadWholeFile(dir.File("big"), 99));
  EXPECT_EQ(ReadWholeFile(dir.File("big"), 100)->size(), 100u);

  // Paths of 260 characters are read, longer ones are not.
  const std::string folder = dir.File(std::string(150, 'd'));
  std::filesystem::create_directory(folder);
  const std::string fits = folder + "/" + std::string(260 - folder.size() - 1, 'f');
  ASSERT_EQ(fits.size(), 260u);
  for (const std::string& path : {fits, fits + "g"})
    ASSERT_TRUE(WriteWholeFile(path, Bytes{1}));
  EXPECT_TRUE(ReadWholeFile(fits));
  EXPECT_FALSE(ReadWholeFile(fits + "g"));
}

}  // namespace
}  // namespace korvelane
