# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end tests: the real korvelane in an X display, against a korvelane-sim process over the
socket link, driven over the accessibility bus, with keys and the clipboard.

Run one: KORVELANE_BUILD_DIR=build /usr/bin/python3 tests/e2e/test_e2e.py EndToEnd.test_connect
"""

import os
import re
import signal
import sys
import time
import unittest

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from korvelane_session import (GREEN, RED, Session, Window, read_settings,  # noqa: E402
                               wait_for)

MODEL_TEXT = "Dentrallo: NRG-200, 200 MHz, 1 GSa/s"  # product type 0, the simulator's default
UNPLUG_TEXT = "There is a device changing !"
UNPLUG_LOG = "当前应用程序检测到USB设备的拔插动作"


class EndToEnd(unittest.TestCase):
    def session(self, **kwargs):
        name = self.id().rsplit(".", 1)[-1]
        return Session(name, **kwargs)

    def test_connect(self):
        with self.session(settings={"operate_log_on": True}) as s:
            w = Window(s)
            w.connect_by_shortcut()
            wait_for(lambda: w.connection_text() == MODEL_TEXT, "the model text in pane 3")
            w.wait_lamps((GREEN, GREEN))
            # Switching the operate log off writes out the buffered actions.
            s.press_keys("ctrl+d")
            actions = wait_for(lambda: "Not save Operate File" in s.operate_log_actions()
                               and s.operate_log_actions(), "the operate log written")
            self.assertEqual(actions[0], "Welcome use Korvelane 2.0")
            self.assertIn("Bind", actions)
            self.assertEqual(actions[actions.index("Bind") + 1], "Bind successed!")

    def test_refresh_and_copy_wave_data(self):
        with self.session() as s:
            w = Window(s)
            w.connect_by_shortcut()
            graph = w.goto("Wave Graph")
            all_data = s.find("check box", "GetAllData", graph)
            s.click(all_data)
            wait_for(lambda: s.checked(all_data), "GetAllData checked")
            s.click(w.button("Refresh", graph))
            data = w.goto("Wave Data")
            copy = w.button("Copy", data)
            wait_for(lambda: s.enabled(copy), "Copy enabled by the refreshed data")
            s.click(copy)
            text = wait_for(s.clipboard, "the Wave Data text on the clipboard")
            lines = text.split("\n")
            self.assertEqual(lines[0].split(),
                             ["#", "CH1", "CH2", "Chan3", "Chan4", "Chan5", "Chan6", "Chan7"])
            self.assertEqual(lines[-2:], ["", ""], "an empty line ends the text")
            rows = lines[1:-2]
            self.assertEqual(len(rows), 4000, "all 4000 samples of each channel")
            number = re.compile(r"^-?\d+(\.\d+)?$")
            for index, row in enumerate(rows):
                cells = row.split()
                self.assertEqual(cells[0], str(index + 1), row)
                self.assertTrue(number.match(cells[1]) and number.match(cells[2]), row)

    def test_unplug_and_replug(self):
        with self.session(settings={"interval_ms": 500}) as s:
            w = Window(s)
            w.connect_by_shortcut()
            graph = w.goto("Wave Graph")
            auto, manual = w.button("Auto", graph), w.button("Manu", graph)
            s.click(auto)
            wait_for(lambda: not s.enabled(auto) and s.enabled(manual), "Auto taken")
            s.kill_sim()
            wait_for(lambda: UNPLUG_LOG in s.debug_log(), "the unplug in the debug log")
            w.wait_lamps((RED, RED))
            w.wait_bound(False)
            self.assertEqual(w.connection_text(), UNPLUG_TEXT)
            self.assertTrue(s.enabled(auto) and not s.enabled(manual),
                            "Auto given back: the refresh timer stopped")
            s.start_sim()
            w.connect_by_shortcut()
            w.wait_lamps((GREEN, GREEN))

    def test_exit_refused_while_bound(self):
        with self.session(settings=False) as s:
            w = Window(s)
            w.connect_by_shortcut()
            self.assertFalse(s.enabled(w.tool_button("Exit")))
            s.request_close()
            w.dismiss_alert("Error", "The software is Binding now, it can't exit!")
            self.assertFalse(s.app_exited())
            s.click(s.find("menu item", "5 s", showing=False))
            s.press_keys("ctrl+u")
            w.wait_bound(False)
            s.click_nowait(w.tool_button("Exit"))
            wait_for(s.app_exited, "korvelane to end")
            self.assertEqual(s.app.returncode, 0)
            self.assertEqual(read_settings(s.settings_path), {
                "Interval time": "5000",
                "Operate File check": "0",
                "FileInit Path": s.program_folder,
                "Fast exchange": "0",
            })

    def test_ended_by_signal(self):
        with self.session(settings={"interval_ms": 500, "operate_log_on": True}) as s:
            w = Window(s)
            w.connect_by_shortcut()
            w.start_auto_refresh()
            s.click(s.find("menu item", "5 s", showing=False))
            time.sleep(1.5)  # the running timer keeps its period of 500 ms
            os.kill(s.pid, signal.SIGTERM)
            wait_for(s.app_exited, "korvelane to end")
            self.assertEqual(s.app.returncode, 0)
            actions = s.operate_log_actions()
            self.assertIn("Refresh the Wave Graph", actions)
            # The instrument was unbound first; the buffered actions reached the file.
            self.assertEqual(actions[-3:], ["UnBind", "UnBind successed!", "Exit"])
            self.assertEqual(read_settings(s.settings_path)["Interval time"], "5000")

    def test_ended_by_signal_under_a_box_of_the_bind(self):
        with self.session(settings={"operate_log_on": True},
                          sim_args=["--fault", "result:1"]) as s:
            w = Window(s)
            w.wait_link_ok()
            s.press_keys("ctrl+b")
            s.find("alert", "Error")  # "Try to Bind failed!", shown inside the Bind
            os.kill(s.pid, signal.SIGTERM)
            wait_for(s.app_exited, "korvelane to end")
            self.assertEqual(s.app.returncode, 0)
            self.assertEqual(s.operate_log_actions()[-2:], ["Bind", "Exit"])


if __name__ == "__main__":
    unittest.main()
