// SPDX-License-Identifier: GPL-3.0-or-later
// The libFuzzer entry point of one harness, chosen when the target is built.
#include <cstddef>
#include <cstdint>

#include "harnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korvelane::fuzz::KORVELANE_FUZZ_HARNESS(data, size);
  return 0;
}
