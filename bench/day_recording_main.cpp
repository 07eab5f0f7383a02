// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the day-long recording that bench/process/trend_memory.py opens in the program.
#include <cstdio>

#include "day_recording.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE.csv\n", argv[0]);
    return 2;
  }
  return korvelane::bench::WriteDayRecording(argv[1]) ? 0 : 1;
}
