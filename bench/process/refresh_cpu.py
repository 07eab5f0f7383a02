#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Automatic refresh at 100 ms against korvelane-sim (no faults), measured over a window of
60 s: refreshes actually done per second (counted from korvelane-sim's exchange lines), the CPU
time of korvelane (utime + stime from /proc) over the wall time, the time per refresh outside the
protocol's fixed waits, resident memory, and how quickly the window reacts between and during
refreshes: an accessibility query's round trip, and a key (Ctrl+T, sent through XTEST) until the X server maps its menu.

--fast starts korvelane with "Fast exchange" on (answers read as soon as they arrive, no fixed
waits); --device sim runs the simulated instrument inside korvelane instead of korvelane-sim
over the socket, the refreshes then being counted from the operate log (switched on for it).

Usage: bench/process/refresh_cpu.py [--seconds 60] [--build build] [--fast] [--device sim]
"""

import argparse
import os
import re
import statistics
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from process_tools import process_times  # noqa: E402
from korvelane_session import Session, Window, build_dir  # noqa: E402
from x_keys import MAP_NOTIFY, UNMAP_NOTIFY, KeyTimer  # noqa: E402

# The fixed waits of one refresh with both channels on: the parameter record (50 ms), then each
# channel's samples, with measurements 200 ms, without 100 ms.
PARAMS_WAIT_MS = 50
EXCHANGE = re.compile(r"#\d+ op 5 \[(..) ")


def count_exchanges(session):
    """(parameter-record requests, channel requests) korvelane-sim has answered so far."""
    params = channels = 0
    for line in session.stderr_tail("sim", lines=10**9).splitlines():
        m = EXCHANGE.search(line)
        if m:
            if m.group(1) == "00":
                params += 1
            else:
                channels += 1
    return params, channels


def count_refreshes(session):
    """Refreshes korvelane has recorded in its operate log (written ten lines at a time)."""
    return sum(1 for text in session.operate_log_actions() if text == "Refresh the Wave Graph")


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))]


def query_latencies(session, seconds):
    """Round trips of an accessibility query (the connection pane's text) while refreshing."""
    label = session.find("label", "Connection")
    times = []
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        t = time.monotonic()
        label.get_description()
        times.append(time.monotonic() - t)
        time.sleep(0.013)  # not a multiple of the tick, so the queries fall everywhere in it
    return times


def key_latencies(session, count):
    """From pressing Ctrl+T (through XTEST) to the X server mapping the Time Setting menu,
    `count` times."""
    keys = KeyTimer(session.display)
    try:
        times = []
        for _ in range(count):
            session.focus_window()
            keys.drain()
            sent = keys.press("Control_L", "t")
            times.append(keys.wait(MAP_NOTIFY) - sent)
            keys.press("Escape")
            keys.wait(UNMAP_NOTIFY)
            time.sleep(0.137)  # not a multiple of the tick, so the keys fall everywhere in it
        return times
    finally:
        keys.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seconds", type=float, default=60.0)
    parser.add_argument("--build", default=build_dir())
    parser.add_argument("--fast", action="store_true", help="with Fast Exchange on")
    parser.add_argument("--device", choices=("socket", "sim"), default="socket")
    args = parser.parse_args()

    in_process = args.device == "sim"
    settings = {"interval_ms": 100, "fast_exchange": args.fast, "operate_log_on": in_process}
    with Session("refresh", build=os.path.abspath(args.build), settings=settings,
                 sim_args=["--verbose"], device=args.device) as s:
        w = Window(s)
        w.connect_by_shortcut()
        idle_keys = key_latencies(s, 10)
        w.start_auto_refresh()
        measure_ms = 200 if s.checked(s.find("check box", "Measure CH1")) else 100
        time.sleep(2.0)  # let the first refreshes settle before the window opens

        def sim_cpu():
            return 0.0 if in_process else process_times(s._procs["sim"].pid)[0]

        def exchanges():
            return (count_refreshes(s), None) if in_process else count_exchanges(s)

        cpu0, _ = process_times(s.pid)
        sim_cpu0 = sim_cpu()
        params0, channels0 = exchanges()
        t0 = time.monotonic()
        time.sleep(args.seconds)
        wall = time.monotonic() - t0
        cpu1, rss = process_times(s.pid)
        sim_cpu1 = sim_cpu()
        params1, channels1 = exchanges()

        queries = query_latencies(s, 10.0)
        keys = key_latencies(s, 40)

    ticks = params1 - params0
    cpu = cpu1 - cpu0
    print("window: %.1f s of automatic refresh at 100 ms, %s, fast exchange %s"
          % (wall, "simulated in process" if in_process else "korvelane-sim over the socket",
             "on" if args.fast else "off"))
    print("refreshes: %d, %.2f per second (%.0f ms each)"
          % (ticks, ticks / wall, 1000 * wall / max(1, ticks)))
    if not in_process:
        channel_requests = channels1 - channels0
        wait_s = 0 if args.fast else (ticks * PARAMS_WAIT_MS + channel_requests * measure_ms) / 1000
        print("%.1f channel records per refresh; fixed protocol waits: %.0f ms per refresh; "
              "outside them: %.1f ms per refresh"
              % (channel_requests / max(1, ticks), 1000 * wait_s / max(1, ticks),
                 1000 * (wall - wait_s) / max(1, ticks)))
        print("korvelane-sim CPU: %.1f %% of one core" % (100 * (sim_cpu1 - sim_cpu0) / wall))
    print("korvelane CPU: %.2f s in %.1f s = %.1f %% of one core; %.1f ms per refresh"
          % (cpu, wall, 100 * cpu / wall, 1000 * cpu / max(1, ticks)))
    print("resident memory, bound and refreshing: %.1f MB" % (rss / 1024))
    print("accessibility query round trip: median %.1f ms, 95th %.1f ms, max %.1f ms (%d)"
          % (1000 * statistics.median(queries), 1000 * percentile(queries, 0.95),
             1000 * max(queries), len(queries)))
    print("Ctrl+T to its menu shown, bound and not refreshing: median %.0f ms, max %.0f ms (%d)"
          % (1000 * statistics.median(idle_keys), 1000 * max(idle_keys), len(idle_keys)))
    print("Ctrl+T to its menu shown while refreshing: median %.0f ms, 95th %.0f ms, max %.0f ms (%d)"
          % (1000 * statistics.median(keys), 1000 * percentile(keys, 0.95), 1000 * max(keys),
             len(keys)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
