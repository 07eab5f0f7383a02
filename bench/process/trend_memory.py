#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Resident memory of the whole program with a day-long recording open in the Trend window: a
24-hour recording at 100 ms (864,000 rows, written by bench_day_recording) is opened through the
Wave Measurement view's "Trend" button and the window's "Open..." file dialog, as a person would,
against korvelane-sim over the socket link (bound, not refreshing). Prints the resident memory
before and after opening, the peak, and the time from accepting the file dialog to the figures
showing the failures of the whole day.

Usage: bench/process/trend_memory.py [--build build]
"""

import argparse
import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from process_tools import resident_kb, status_kb  # noqa: E402
from korvelane_session import Session, Window, build_dir, wait_for  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=build_dir())
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    with Session("trend", build=build) as s:
        recording = os.path.join(s.scratch, "day.csv")
        subprocess.run([os.path.join(build, "bin", "bench_day_recording"), recording], check=True)
        size_mb = os.path.getsize(recording) / 1e6
        w = Window(s)
        w.connect_by_shortcut()
        s.click(w.button("Wave Measure", s.find("panel", "Goto View")))
        s.click(w.button("Trend"))
        trend = s.find("filler", "Trend")
        before = resident_kb(s.pid)
        s.click_nowait(w.button("Open...", trend))
        s.find("dialog", "Open a recording")
        s.xdotool("search", "--sync", "--name", "^Open a recording$", "windowfocus", "--sync")
        s.xdotool("type", "--delay", "1", recording)
        s.xdotool("key", "Return")
        accepted = time.monotonic()
        failures = s.find("label", "Failures", trend)
        wait_for(lambda: not s.find_all("dialog", "Open a recording", limit=1)
                 and s.text_of(failures) not in ("", "0"), "the recording in the Trend window",
                 timeout=120, interval=0.05)
        shown = time.monotonic() - accepted
        time.sleep(1.0)  # let the plot settle
        after, peak = resident_kb(s.pid), status_kb(s.pid, "VmHWM")

    print("recording: 864,000 rows of CH1 (%.0f MB)" % size_mb)
    print("resident memory: %.1f MB before opening, %.1f MB with it open; peak %.1f MB"
          % (before / 1024, after / 1024, peak / 1024))
    print("from accepting the file dialog to the figures shown: %.2f s" % shown)
    return 0


if __name__ == "__main__":
    sys.exit(main())
