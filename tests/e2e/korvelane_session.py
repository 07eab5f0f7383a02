# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the real korvelane against a korvelane-sim process in a private X display and D-Bus
session, and drives it as a person would: widgets over the accessibility bus, keys with xdotool,
the clipboard with xclip, effects read back from the program's logs and the screen.

Used by the end-to-end tests and the whole-process measurements (bench/process). Needs Debian's python3 (for
pyatspi), Xvfb, dbus-daemon, at-spi2-core, xdotool, xclip and imagemagick.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from xlib_tools import send_close_request

SETTINGS_GROUP = "Settings"
SETTINGS_DIR = "Dentrallo Korvelane Application"
SETTINGS_FILE = "Korvelane.conf"
OPERATE_LOG = "Operate File.txt"
DEBUG_LOG = "BlogFile.txt"
AT_SPI_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"

GREEN, RED = "green", "red"

# Subtrees never searched: the lists hold thousands of cells.
_PRUNED_ROLES = {"table", "tree table", "list", "tree"}


class WaitTimeout(AssertionError):
    pass


def wait_for(predicate, what, timeout=15.0, interval=0.05):
    """Polls `predicate` until it returns a true value, which is returned; fails after `timeout`."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = predicate()
            if value:
                return value
        except Exception as error:  # a widget that went away between two calls
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error!r})" if last_error else ""
            raise WaitTimeout(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(interval)


def build_dir():
    """The build tree whose bin/ holds korvelane and korvelane-sim."""
    path = os.environ.get("KORVELANE_BUILD_DIR")
    if not path:
        path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "build")
    return os.path.abspath(path)


def read_settings(path):
    """The values of the [Settings] group of a QSettings ini file, as raw strings."""
    values, group = {}, None
    try:
        with open(path, encoding="utf-8") as f:
            for line in f:
                line = line.strip()
                if line.startswith("[") and line.endswith("]"):
                    group = line[1:-1]
                elif "=" in line and group == SETTINGS_GROUP:
                    name, value = line.split("=", 1)
                    values[name.replace("%20", " ")] = value
    except FileNotFoundError:
        pass
    return values


def write_settings(path, interval_ms=2000, operate_log_on=False, fast_exchange=None):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    lines = [f"[{SETTINGS_GROUP}]", f"Interval%20time={interval_ms}",
             f"Operate%20File%20check={8 if operate_log_on else 0}"]
    if fast_exchange is not None:
        lines.append(f"Fast%20exchange={1 if fast_exchange else 0}")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


class Session:
    """One private world: Xvfb, a D-Bus session with the accessibility bus, korvelane-sim and
    korvelane, with HOME and the program's folder in a scratch folder. Use it in a `with`
    statement; when the block fails, a screenshot and the logs' tails are kept for the reader.
    One session per Python process: pyatspi stays with the first accessibility bus it meets.
    With device="sim" korvelane simulates the instrument in its own process and no
    korvelane-sim runs."""

    def __init__(self, name, build=None, settings=None, sim_args=(), screen="1280x1024x24",
                 keep_failures=True, start_app=True, device="socket"):
        self.name = name
        self.build = build or build_dir()
        self.settings = settings if settings is not None else {}
        self.sim_args = list(sim_args)
        self.screen = screen
        self.keep_failures = keep_failures
        self.auto_start = start_app
        self.device = device
        self.scratch = tempfile.mkdtemp(prefix=f"korvelane-{name}-")
        self.program_folder = os.path.join(self.scratch, "program")
        self.home = os.path.join(self.scratch, "home")
        self.socket = os.path.join(self.scratch, "dso.sock")
        self.display = None
        self.env = None
        self._procs = {}  # name -> Popen, in start order
        self._stderr = {}
        self._app_acc = None
        self._a11y_address = None

    # ---- lifetime -------------------------------------------------------------------------

    def __enter__(self):
        try:
            self._prepare_env()
            self._start_display()
            self._start_buses()
            if self.device == "socket":
                self.start_sim()
            if self.settings is not False:
                write_settings(self.settings_path, **self.settings)
            if self.auto_start:
                self.start_app()
        except BaseException:
            self._keep_failure_evidence()
            self.close()
            raise
        return self

    def __exit__(self, kind, error, trace):
        if kind is None:
            try:
                self._check_sanitizer_reports()
            except AssertionError:
                self._keep_failure_evidence()
                self.close()
                raise
        elif self.keep_failures:
            self._keep_failure_evidence()
        self.close()
        return False

    def _check_sanitizer_reports(self):
        """A sanitizer build's reports on the programs' standard error fail the session."""
        for name in ("korvelane", "sim"):
            text = self.stderr_tail(name, lines=10**6)
            for mark in ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"):
                if mark in text:
                    raise AssertionError(f"{name}: sanitizer report ({mark})")

    def close(self):
        for name in reversed(list(self._procs)):
            self._stop(name)
        for f in self._stderr.values():
            f.close()
        shutil.rmtree(self.scratch, ignore_errors=True)

    def _prepare_env(self):
        runtime = os.path.join(self.scratch, "run")
        for folder in (self.program_folder, self.home, runtime):
            os.makedirs(folder, mode=0o700)
        # A copy of the program keeps its logs (written beside the executable) out of the build.
        self.program = os.path.join(self.program_folder, "korvelane")
        shutil.copy2(os.path.join(self.build, "bin", "korvelane"), self.program)
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "DBUS_", "AT_SPI", "XDG_")) and k != "DISPLAY"}
        env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_RUNTIME_DIR": runtime,
            "TMPDIR": runtime,
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
            "NO_AT_BRIDGE": "0",
            "LANG": "C.UTF-8",
        })
        self.env = env

    def _log_file(self, name):
        if name in self._stderr:
            self._stderr.pop(name).close()
        f = open(os.path.join(self.scratch, f"{name}.stderr"), "w+b")
        self._stderr[name] = f
        return f

    def _spawn(self, name, args, **kwargs):
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", self._log_file(name))
        proc = subprocess.Popen(args, env=self.env, start_new_session=True, **kwargs)
        self._procs[name] = proc
        return proc

    def _stop(self, name, sig=signal.SIGTERM, timeout=5.0):
        """Stops a process this session started, with the processes it started in turn (each
        runs in a session of its own: the D-Bus daemon's holds the services it activated)."""
        proc = self._procs.pop(name, None)
        if proc is None:
            return
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            pass
        try:
            proc.wait(timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
        if proc.stdout:
            proc.stdout.close()

    def _start_display(self):
        read_fd, write_fd = os.pipe()
        self._spawn("xvfb", ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", self.screen,
                             "-nolisten", "tcp", "-noreset", "-br"], pass_fds=(write_fd,))
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start: " + self.stderr_tail("xvfb"))
        self.display = f":{number}"
        self.env["DISPLAY"] = self.display

    def _start_buses(self):
        proc = self._spawn("dbus", ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           stdout=subprocess.PIPE)
        address = proc.stdout.readline().decode().strip()
        if not address:
            raise RuntimeError("dbus-daemon did not start: " + self.stderr_tail("dbus"))
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self._spawn("at-spi", [AT_SPI_LAUNCHER, "--launch-immediately", "--a11y=1"])
        # pyatspi talks to the buses of this process's environment.
        for key in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"):
            os.environ[key] = self.env[key]
        self._a11y_address = wait_for(self._query_a11y_address, "the accessibility bus")
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi
        # The program answers between its instrument exchanges, which may block for a second.
        Atspi.set_timeout(5000, 15000)

    def _query_a11y_address(self):
        out = subprocess.run(
            ["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
             "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
            env=self.env, capture_output=True, text=True, timeout=5)
        return out.stdout.strip() if out.returncode == 0 else None

    def start_sim(self, extra_args=()):
        args = [os.path.join(self.build, "bin", "korvelane-sim"), "--socket", self.socket]
        self._spawn("sim", args + self.sim_args + list(extra_args))
        wait_for(lambda: os.path.exists(self.socket), "korvelane-sim's socket")

    def kill_sim(self):
        """Kills korvelane-sim outright, as when the instrument is pulled out."""
        self._stop("sim", sig=signal.SIGKILL)
        if os.path.exists(self.socket):
            os.unlink(self.socket)

    def launch_app(self):
        """Starts korvelane without waiting for its window."""
        device = f"socket:{self.socket}" if self.device == "socket" else self.device
        return self._spawn("korvelane", [self.program, "--device", device])

    def stop_app(self):
        self._stop("korvelane")

    def start_app(self):
        self.launch_app()
        self.wait_for_main_window()

    @property
    def app(self):
        return self._procs.get("korvelane")

    @property
    def pid(self):
        return self.app.pid

    def app_exited(self):
        return self.app.poll() is not None

    @property
    def settings_path(self):
        return os.path.join(self.env["XDG_CONFIG_HOME"], SETTINGS_DIR, SETTINGS_FILE)

    # ---- the program's logs -------------------------------------------------------------

    def _read_log(self, name):
        try:
            with open(os.path.join(self.program_folder, name), "rb") as f:
                return f.read().decode("gbk", errors="replace")
        except FileNotFoundError:
            return ""

    def operate_log_actions(self):
        """The action texts of the operate log, without their time stamps."""
        return [line.split("——", 1)[-1] for line in self._read_log(OPERATE_LOG).splitlines()]

    def debug_log(self):
        return self._read_log(DEBUG_LOG)

    def stderr_tail(self, name, lines=20):
        f = self._stderr.get(name)
        if f is None:
            return ""
        f.flush()
        f.seek(0)
        text = f.read().decode(errors="replace")
        return "\n".join(text.splitlines()[-lines:])

    # ---- accessibility --------------------------------------------------------------------

    def _find_application(self):
        import pyatspi
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.pid:
                return app
        return None

    def wait_for_main_window(self, timeout=20.0):
        def ready():
            if self.app_exited():
                raise AssertionError("korvelane exited: " + self.stderr_tail("korvelane"))
            self._app_acc = self._find_application()
            return self._app_acc is not None and self.find_all("frame", "Korvelane", limit=1)
        wait_for(ready, "korvelane's main window on the accessibility bus", timeout)
        self.window_id = wait_for(self._window_id, "korvelane's X window", timeout)
        out = subprocess.run(["xwininfo", "-root"], env=self.env, capture_output=True, text=True,
                             check=True, timeout=5).stdout
        self.root_id = int(re.search(r"Window id: (0x[0-9a-f]+)", out).group(1), 16)

    def _window_id(self):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.pid),
                              "--name", "^Korvelane$"],
                             env=self.env, capture_output=True, text=True, timeout=5)
        ids = out.stdout.split()
        return int(ids[0]) if ids else None

    def find_all(self, role, name=None, root=None, showing=True, limit=None):
        """Accessibles of `role` (and `name`, when given) under `root` (the application by
        default); only those on screen when `showing`."""
        import pyatspi
        found = []
        stack = [root or self._app_acc]
        while stack and (limit is None or len(found) < limit):
            node = stack.pop()
            if node is None:
                continue
            node_role = node.getRoleName()
            if node_role == role and (name is None or node.name == name):
                if not showing or node.getState().contains(pyatspi.STATE_SHOWING):
                    found.append(node)
            if node_role in _PRUNED_ROLES:
                continue
            children = [node.getChildAtIndex(i) for i in range(node.childCount)]
            stack.extend(reversed(children))
        return found

    def find(self, role, name=None, root=None, showing=True, timeout=10.0):
        """The first accessible of `role` and `name` (on screen when `showing`), waiting for it
        to appear."""
        return wait_for(lambda: next(iter(self.find_all(role, name, root, showing, 1)), None),
                        f"{role} {name!r}", timeout)

    @staticmethod
    def text_of(acc):
        try:
            text = acc.queryText()
            return text.getText(0, text.characterCount) or acc.name
        except Exception:  # no text interface: the name is the visible text
            return acc.name

    @staticmethod
    def enabled(acc):
        import pyatspi
        return acc.getState().contains(pyatspi.STATE_ENABLED)

    @staticmethod
    def checked(acc):
        import pyatspi
        return acc.getState().contains(pyatspi.STATE_CHECKED)

    @staticmethod
    def click(acc):
        """Presses a button, box or menu item over the accessibility bus (its first action:
        press, toggle or trigger)."""
        acc.queryAction().doAction(0)

    def click_nowait(self, acc):
        """Presses a button without waiting for the answer: for buttons that open a modal
        dialog or end the program."""
        bus_name, path = acc.app.bus_name, acc.path
        subprocess.run(["dbus-send", f"--bus={self._a11y_address}", "--type=method_call",
                        f"--dest={bus_name}", path, "org.a11y.atspi.Action.DoAction",
                        "int32:0"], env=self.env, check=True, timeout=5)

    def extents(self, acc):
        import pyatspi
        box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return box.x, box.y, box.width, box.height

    # ---- keyboard, window, clipboard, screen ------------------------------------------------

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=10)

    def press_keys(self, *keys):
        """Types key combinations into the main window (focus follows the pointer without a
        window manager, so the window gets the focus first)."""
        self.focus_window()
        self.xdotool("key", "--clearmodifiers", *keys)

    def focus_window(self):
        # Focus goes elsewhere first: a window that already holds the X focus gets no focus-in,
        # and after a message box has closed Qt waits for one to make the window active again.
        self.xdotool("windowfocus", "--sync", str(self.root_id))
        self.xdotool("windowfocus", "--sync", str(self.window_id))

    def request_close(self):
        """What the window manager sends for the title bar's close button."""
        send_close_request(self.display, self.window_id)

    def clipboard(self):
        out = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                             capture_output=True, timeout=10)
        return out.stdout.decode(errors="replace") if out.returncode == 0 else ""

    def screenshot(self, path):
        subprocess.run(["import", "-silent", "-window", "root", path], env=self.env,
                       check=True, timeout=20)
        return path

    @staticmethod
    def crop(image, x, y, width, height):
        """The RGB bytes of a rectangle of an image file, row by row."""
        return subprocess.run(["convert", image, "-crop", f"{width}x{height}+{x}+{y}", "+repage",
                               "-depth", "8", "rgb:-"],
                              capture_output=True, check=True, timeout=20).stdout

    # ---- failures -----------------------------------------------------------------------

    def _keep_failure_evidence(self):
        folder = os.path.join(self.build, "e2e-failures")
        os.makedirs(folder, exist_ok=True)
        report = [f"--- {self.name}: evidence"]
        if self.display and "xvfb" in self._procs:
            try:
                shot = self.screenshot(os.path.join(folder, f"{self.name}.png"))
                report.append(f"screenshot: {shot}")
            except Exception as error:
                report.append(f"no screenshot: {error!r}")
        report.append("--- operate log (tail):\n" + "\n".join(self.operate_log_actions()[-15:]))
        report.append("--- debug log (tail):\n" + "\n".join(self.debug_log().splitlines()[-15:]))
        for name in ("korvelane", "sim"):
            report.append(f"--- {name} stderr (tail):\n" + self.stderr_tail(name))
        print("\n".join(report), file=sys.stderr)


class Window:
    """The main window's controls as a person sees them."""

    def __init__(self, session):
        self.s = session

    def button(self, name, root=None):
        return self.s.find("push button", name, root)

    def tool_button(self, name):
        return self.button(name, self.s.find("tool bar", "Toolbar"))

    def connection_text(self):
        return self.s.find("label", "Connection").description

    def bound(self):
        """True or False once the toolbar shows one state clearly."""
        connect = self.s.enabled(self.tool_button("Connect"))
        disconnect = self.s.enabled(self.tool_button("Disc"))
        return None if connect == disconnect else disconnect

    def wait_bound(self, expected):
        wait_for(lambda: self.bound() is expected, f"bound = {expected}")

    def goto(self, view_name):
        self.s.click(self.button(view_name, self.s.find("panel", "Goto View")))
        return self.s.find("frame", view_name)

    def connect_by_shortcut(self):
        self.wait_link_ok()
        self.s.press_keys("ctrl+b")
        self.wait_bound(True)

    def wait_link_ok(self):
        """Waits for the link lamp to turn green (Connect itself is enabled whenever unbound)."""
        self.wait_lamps((GREEN, RED))

    def lamps(self, shot):
        """(link lamp, bind lamp) colours as painted at the right end of the menu bar."""
        x, y, width, height = self.s.extents(self.s.find("menu bar"))
        strip = 80
        pixels = self.s.crop(shot, x + width - strip, y, strip, height)
        found = {}
        for row in range(height):
            for col in range(strip):
                rgb = pixels[(row * strip + col) * 3:(row * strip + col) * 3 + 3]
                colour = {b"\x00\xff\x00": GREEN, b"\xff\x00\x00": RED}.get(bytes(rgb))
                if colour:
                    found.setdefault(col, []).append(colour)
        if not found:
            return None
        # The lamps stand 20 pixels apart and are at most 18 wide.
        first = min(found)
        link = [c for col, cs in found.items() if col < first + 19 for c in cs]
        bind = [c for col, cs in found.items() if col >= first + 19 for c in cs]
        majority = lambda cs: max(set(cs), key=cs.count) if cs else None  # noqa: E731
        return majority(link), majority(bind)

    def wait_lamps(self, expected):
        shots = tempfile.mkdtemp(prefix="lamps-", dir=self.s.scratch)
        counter = iter(range(10**6))

        def look():
            shot = self.s.screenshot(os.path.join(shots, f"{next(counter)}.png"))
            return self.lamps(shot) == expected
        wait_for(look, f"lamps {expected}", interval=0.2)

    def dismiss_alert(self, caption, text=None):
        alert = self.s.find("alert", caption)
        if text is not None:
            labels = [self.s.text_of(a) for a in self.s.find_all("label", root=alert)]
            assert text in labels, f"{caption!r} box says {labels!r}, not {text!r}"
        self.s.click(self.button("OK", alert))
        wait_for(lambda: not self.s.find_all("alert", caption), f"{caption!r} box closed")

    def start_auto_refresh(self):
        """"Auto" in the Wave Graph view; true once the timer runs ("Manu" enabled)."""
        graph = self.goto("Wave Graph")
        auto, manual = self.button("Auto", graph), self.button("Manu", graph)
        if self.s.enabled(auto):
            self.s.click(auto)
        return wait_for(lambda: not self.s.enabled(auto) and self.s.enabled(manual),
                        "the refresh timer started")
