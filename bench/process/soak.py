#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Whole-process soak: korvelane in Xvfb refreshing automatically every 100 ms against
korvelane-sim with a few per cent of its answers spoilt, for N minutes. Resident memory is
sampled every few seconds; the run fails when the end is more than 5 % above the value after the
first minute, when the program ends, or when it stopped refreshing.

The faults come in rounds: each korvelane-sim runs with `--fault unplug-after:N` (it unplugs
itself after N exchanges) and a few failing refresh answers and spoilt answers queued, about 3 %
of N. As a person would, the soak binds again whenever the link is back, presses "Auto" again,
and closes any message box.

Before that, korvelane-fault-soak runs the device layer in one process against the simulated
instrument for --actions refreshes, settings and screen-bitmap transfers under random faults and
unplugs, and checks that every failure is logged and nothing spoilt is taken; the soak fails
with it.

Usage: bench/process/soak.py [--minutes 5] [--build build] [--seed 1] [--actions 4000]
"""

import argparse
import os
import random
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from process_tools import dismiss_alerts, resident_kb, sim_unplugged, stop_sim  # noqa: E402
from korvelane_session import Session, Window, build_dir  # noqa: E402

REFRESH_ACTION = "Refresh the Wave Graph"
REFRESH_FAILED = "通信失败，刷新波形参数失败"
ANY_ANSWER_FAULTS = ["drop", "bad-signature", "invoke-type", "unknown-op", "error-report"]
WAVE_DATA_OP = 5


def round_faults(rng, fault_share=0.03):
    """The --fault arguments of one korvelane-sim: an unplug after N exchanges and about
    `fault_share` of N spoilt answers, most of them refresh answers."""
    exchanges = rng.randint(150, 400)
    spoilt = max(1, round(exchanges * fault_share))
    faults = ["unplug-after:%d" % exchanges]
    any_answer = rng.choice(ANY_ANSWER_FAULTS)
    faults.append(any_answer)
    if spoilt > 1:
        faults.append("result:%d*%d" % (WAVE_DATA_OP, spoilt - 1))
    args = []
    for f in faults:
        args += ["--fault", f]
    return args, exchanges, spoilt


class Soak:
    def __init__(self, session, seed, sample_seconds, verbose=False):
        self.s = session
        self.verbose = verbose
        self.w = Window(session)
        self.rng = random.Random(seed)
        self.sample_seconds = sample_seconds
        self.samples = []  # (seconds since start, VmRSS kB)
        self.rounds = 0
        self.exchanges_planned = 0
        self.faults_planned = 0
        self.boxes = []

    def new_round(self):
        """A fresh korvelane-sim with this round's faults (the old one's going is an unplug)."""
        args, exchanges, spoilt = round_faults(self.rng)
        stop_sim(self.s)
        self.s.start_sim(args)
        self.rounds += 1
        self.exchanges_planned += exchanges
        self.faults_planned += spoilt

    def step(self):
        """One look at the window and what a person would do about it."""
        self.boxes += dismiss_alerts(self.s)
        if sim_unplugged(self.s):
            self.new_round()
            return
        bound = self.w.bound()
        if bound is None:
            return
        if not bound:
            if self.s.enabled(self.w.tool_button("Connect")):
                self.s.press_keys("ctrl+b")
            return
        graph = self.w.goto("Wave Graph")
        if self.s.enabled(self.w.button("Auto", graph)):
            self.s.click(self.w.button("Auto", graph))

    def run(self, minutes):
        start = time.monotonic()
        next_sample = start
        self.new_round()
        while time.monotonic() - start < minutes * 60:
            if self.s.app_exited():
                raise SystemExit("korvelane ended during the soak: " +
                                 self.s.stderr_tail("korvelane"))
            try:
                self.step()
            except Exception as error:  # a widget that went or did not show in time
                print("  (retrying: %s)" % error, file=sys.stderr)
            if self.verbose:
                print("  %.1f s: bound %s, boxes %d" % (time.monotonic() - start, self.w.bound(),
                                                        len(self.boxes)), file=sys.stderr)
            now = time.monotonic()
            if now >= next_sample:
                self.samples.append((now - start, resident_kb(self.s.pid)))
                next_sample += self.sample_seconds
            time.sleep(0.5)
        self.samples.append((time.monotonic() - start, resident_kb(self.s.pid)))
        return time.monotonic() - start


def rss_after(samples, seconds):
    return next(kb for t, kb in samples if t >= seconds)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--minutes", type=float, default=5.0)
    parser.add_argument("--build", default=build_dir())
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--sample-seconds", type=float, default=5.0)
    parser.add_argument("--verbose", action="store_true", help="the state at every step")
    parser.add_argument("--limit", type=float, default=1.05,
                        help="largest end / first-minute resident memory ratio")
    parser.add_argument("--actions", type=int, default=4000,
                        help="actions of the in-process fault soak")
    args = parser.parse_args()

    in_process = subprocess.run([os.path.join(os.path.abspath(args.build), "bin",
                                              "korvelane-fault-soak"),
                                 str(args.actions), str(args.seed)], check=False)

    settings = {"interval_ms": 100, "operate_log_on": True}
    with Session("soak", build=os.path.abspath(args.build), settings=settings,
                 sim_args=["--verbose"]) as s:
        soak = Soak(s, args.seed, args.sample_seconds, args.verbose)
        wall = soak.run(args.minutes)
        alive = not s.app_exited()
        actions = s.operate_log_actions()
        refreshes = actions.count(REFRESH_ACTION)
        failures = s.debug_log().count(REFRESH_FAILED)

    first = rss_after(soak.samples, min(60.0, wall / 2))
    end = soak.samples[-1][1]
    ratio = end / first
    print("soak: %.1f min, %d rounds of korvelane-sim, %d spoilt answers planned in %d "
          "exchanges (%.1f %%)" % (wall / 60, soak.rounds, soak.faults_planned,
                                   soak.exchanges_planned,
                                   100.0 * soak.faults_planned / max(1, soak.exchanges_planned)))
    print("refreshes logged: %d (%.2f per second), failed refreshes in the debug log: %d, "
          "message boxes closed: %d" % (refreshes, refreshes / wall, failures, len(soak.boxes)))
    for text in sorted(set(soak.boxes)):
        print("  box: %s (x%d)" % (text, soak.boxes.count(text)))
    print("resident memory: %.1f MB after the first minute, %.1f MB at the end, ratio %.3f"
          % (first / 1024, end / 1024, ratio))
    minutes = [rss_after(soak.samples, 60.0 * m) for m in range(int(wall // 60) + 1)]
    print("resident memory each minute (MB): " + ", ".join("%.1f" % (kb / 1024)
                                                          for kb in minutes))
    print("lowest %.1f MB, highest %.1f MB over %d samples"
          % (min(kb for _, kb in soak.samples) / 1024, max(kb for _, kb in soak.samples) / 1024,
             len(soak.samples)))
    ok = in_process.returncode == 0 and alive and refreshes > 0 and ratio <= args.limit
    print("soak " + ("passed" if ok else "FAILED"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
