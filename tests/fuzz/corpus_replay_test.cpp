// SPDX-License-Identifier: GPL-3.0-or-later
// Replays every committed fuzz input through its harness: seeds and the inputs that once broke a
// parser must keep passing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "harnesses.h"

namespace korvelane::fuzz {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class CorpusReplay : public ::testing::TestWithParam<Harness> {};

TEST_P(CorpusReplay, EveryInputPasses) {
  const fs::path folder = fs::path(KORVELANE_FUZZ_CORPUS) / GetParam().name;
  ASSERT_TRUE(fs::is_directory(folder)) << folder;
  size_t inputs = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file())
      continue;
    SCOPED_TRACE(entry.path().string());
    const std::vector<uint8_t> bytes = ReadAll(entry.path());
    GetParam().run(bytes.data(), bytes.size());
    ++inputs;
  }
  EXPECT_GT(inputs, 0u) << "no seeds for " << GetParam().name;
}

// Truncations and single-byte changes of the seeds: the cheap neighbourhood every run visits.
TEST_P(CorpusReplay, TruncatedAndFlippedSeedsPass) {
  const fs::path folder = fs::path(KORVELANE_FUZZ_CORPUS) / GetParam().name;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::vector<uint8_t> bytes = ReadAll(entry.path());
    SCOPED_TRACE(entry.path().string());
    for (size_t cut = 0; cut < bytes.size(); cut += 1 + bytes.size() / 64)
      GetParam().run(bytes.data(), cut);
    for (size_t at = 0; at < bytes.size(); at += 1 + bytes.size() / 256) {
      const uint8_t kept = bytes[at];
      for (uint8_t value : {uint8_t{0}, uint8_t{0xFF}, static_cast<uint8_t>(kept ^ 0x80)}) {
        bytes[at] = value;
        GetParam().run(bytes.data(), bytes.size());
      }
      bytes[at] = kept;
    }
  }
}

std::vector<Harness> AllHarnesses() {
  return {kHarnesses, kHarnesses + kHarnessCount};
}

INSTANTIATE_TEST_SUITE_P(Fuzz, CorpusReplay, ::testing::ValuesIn(AllHarnesses()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvelane::fuzz
