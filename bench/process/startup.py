#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up time of the whole program: from starting the korvelane process to its main window's
first paint reaching the screen, against korvelane-sim over the socket link, in Xvfb with the
accessibility bus running. The root window is black; the window is placed at (5, 5) and fills the
screen, so the first non-black pixel at the screen's centre is its first paint. Prints every run
and the median.

Usage: bench/process/startup.py [--runs 9] [--build build]
"""

import argparse
import os
import statistics
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from process_tools import ScreenProbe, resident_kb  # noqa: E402
from korvelane_session import Session, build_dir  # noqa: E402

WIDTH, HEIGHT = 1280, 1024


def one_start(session, probe, timeout=30.0):
    """Seconds from the process start to the first paint, and the resident memory then."""
    started = time.monotonic()
    proc = session.launch_app()
    deadline = started + timeout
    while probe.pixel(WIDTH // 2, HEIGHT // 2) == 0:
        if proc.poll() is not None or time.monotonic() > deadline:
            raise SystemExit("korvelane did not paint its window: " +
                             session.stderr_tail("korvelane"))
        time.sleep(0.001)
    painted = time.monotonic() - started
    rss = resident_kb(proc.pid)
    session.stop_app()
    # The screen is black again once the window has gone.
    while probe.pixel(WIDTH // 2, HEIGHT // 2) != 0:
        time.sleep(0.005)
    return painted, rss


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--build", default=build_dir())
    args = parser.parse_args()

    with Session("startup", build=os.path.abspath(args.build), start_app=False,
                 screen=f"{WIDTH}x{HEIGHT}x24", settings={}) as s:
        probe = ScreenProbe(s.display)
        try:
            one_start(s, probe)  # warms the page cache and font caches; not counted
            runs = [one_start(s, probe) for _ in range(args.runs)]
        finally:
            probe.close()
    times = [t for t, _ in runs]
    for i, (t, rss) in enumerate(runs, 1):
        print("run %d: %.0f ms to the first paint, %.1f MB resident" % (i, t * 1000, rss / 1024))
    print("start to first painted main window: median %.0f ms (min %.0f, max %.0f) over %d runs"
          % (statistics.median(times) * 1000, min(times) * 1000, max(times) * 1000, len(times)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
