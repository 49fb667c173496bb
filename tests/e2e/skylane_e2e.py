"""Drives the built bar as a user meets it: Xvfb with openbox, private D-Bus
buses with a mock logind, a fresh program folder per test, xdotool for the
mouse and keyboard, X properties and pixels read through python3-xlib."""

import os
import shutil
import subprocess
import time
from pathlib import Path

import dbus
from dbusmock import MOCK_IFACE, DBusTestCase
from Xlib import X, display as xdisplay
from Xlib.error import XError

MARKER = b" 1 \r\nVoltari Software - USA\r\nSky Lane v2.0\r\nhttps://www.example.com/skylane/\r\n"


def px(twips):
    return int(round(twips / 15))


def wait_for(predicate, timeout=10.0, what="condition"):
    """The first true value of predicate(); fails after timeout."""
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)
    return value


def stays(predicate, duration):
    """True when predicate() holds all through duration seconds."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not predicate():
            return False
        time.sleep(0.05)
    return True


def stop_processes(procs):
    for p in reversed(procs):
        p.terminate()
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()


def calls(mock):
    """[(method, [args...]), ...] a dbusmock object received."""
    return [(str(c[1]), list(c[2])) for c in mock.GetCalls()]


def quiet(*args, **kwargs):
    return subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kwargs)


class XServer:
    """Xvfb with openbox on the first free display of SKYLANE_E2E_DISPLAYS ("70-79")."""

    def __init__(self, workdir):
        self.procs = []
        first, _, last = os.environ.get("SKYLANE_E2E_DISPLAYS", "90-199").partition("-")
        free = [n for n in range(int(first), int(last or first) + 1)
                if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}")]
        self.name = f":{free[0]}"
        self.procs.append(quiet("Xvfb", self.name, "-screen", "0", "1280x800x24", "-nolisten", "tcp"))
        self.dpy = wait_for(self._connect, what="Xvfb")
        self.root = self.dpy.screen().root
        self.procs.append(quiet("openbox", "--sm-disable", env=dict(os.environ, DISPLAY=self.name, HOME=str(workdir))))
        wait_for(lambda: self.prop(self.root, "_NET_SUPPORTING_WM_CHECK"), what="openbox")

    def _connect(self):
        try:
            return xdisplay.Display(self.name)
        except Exception:
            return None

    def close(self):
        self.dpy.close()
        stop_processes(self.procs)

    def prop(self, window, name):
        try:
            p = window.get_full_property(self.dpy.get_atom(name), X.AnyPropertyType)
        except XError:
            return None
        return p.value if p else None

    def client_windows(self):
        """Managed top-level windows (openbox's client list)."""
        return [self.dpy.create_resource_object("window", int(i))
                for i in self.prop(self.root, "_NET_CLIENT_LIST") or []]

    def wm_class(self, window):
        try:
            return (window.get_wm_class() or [None])[0]
        except XError:
            return None

    def pid(self, window):
        return (self.prop(window, "_NET_WM_PID") or [None])[0]

    def geometry(self, window):
        """(x, y, width, height) of the client area in root coordinates."""
        try:
            g = window.get_geometry()
            t = window.translate_coords(self.root, 0, 0)
        except XError:
            return None
        return (-t.x, -t.y, g.width, g.height)

    def net_state(self, window):
        return {self.dpy.get_atom_name(a) for a in self.prop(window, "_NET_WM_STATE") or []}

    def wm_state(self, window):
        return {1: "Normal", 3: "Iconic"}.get((self.prop(window, "WM_STATE") or [0])[0], "Withdrawn")

    def is_viewable(self, window):
        try:
            return window.get_attributes().map_state == X.IsViewable
        except XError:
            return False

    def pixels(self, x, y, w, h):
        """The screen's pixels as rows of (r, g, b)."""
        d = self.root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF).data
        return [[(d[o + 2], d[o + 1], d[o]) for o in range(j * w * 4, (j + 1) * w * 4, 4)] for j in range(h)]

    def pixel(self, x, y):
        return self.pixels(x, y, 1, 1)[0][0]

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], check=True, env=dict(os.environ, DISPLAY=self.name))

    def click(self, x, y, button=1):
        p = self.root.query_pointer()
        if (p.root_x, p.root_y) != (x, y):  # --sync waits for a motion
            self.xdotool("mousemove", "--sync", x, y)
        self.xdotool("click", button)

    def drag(self, start, end, steps=10):
        self.xdotool("mousemove", "--sync", *start)
        self.xdotool("mousedown", 1)
        time.sleep(0.3)  # for the press to reach the program and its move request the window manager
        for i in range(1, steps + 1):
            self.xdotool("mousemove", start[0] + (end[0] - start[0]) * i // steps,
                         start[1] + (end[1] - start[1]) * i // steps)
            time.sleep(0.03)
        time.sleep(0.15)
        self.xdotool("mouseup", 1)
        time.sleep(0.3)  # the window manager's last configure follows the release

    def key(self, *keys):
        self.xdotool("key", "--delay", 40, *keys)


class PrivateBuses:
    """Private system and session buses from dbusmock, its logind on the system bus."""

    def __init__(self):
        DBusTestCase.start_system_bus()
        DBusTestCase.start_session_bus()
        self.env = {k: os.environ[k] for k in ("DBUS_SYSTEM_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS")}
        self.mock, logind = DBusTestCase.spawn_server_template("logind")
        self.logind = dbus.Interface(logind, MOCK_IFACE)

    def close(self):
        stop_processes([self.mock])
        DBusTestCase.tearDownClass()


class SkyLane:
    """A fresh copy of the built portable folder and the program started from it."""

    def __init__(self, x, buses, built_folder, workdir):
        self.x, self.buses, self.root = x, buses, Path(workdir)
        # A folder name that is not valid UTF-8 in a UTF-8 locale.
        self.folder = self.root / os.fsdecode(b"Sky Lane \xe9")
        shutil.copytree(built_folder, self.folder, symlinks=True)
        self.config = self.folder / "config"
        (self.config / "runs.cfg").write_bytes(MARKER)  # a later run, unless a test removes the config
        self.proc = None
        self.expects_logind = False  # any call to logind a test did not ask for is a fault

    def start(self, extra_env=None):
        """Starts a later run and closes its start-up window by a click on the red line."""
        self.launch(extra_env)
        bar = wait_for(self.bar, what="the bar")
        try:  # after a slow start the start-up window may have closed by itself
            self.x.click(*self.red_line_point(wait_for(self.splash, timeout=1.0)))
        except AssertionError:
            pass
        wait_for(lambda: self.splash() is None, what="the start-up window to close")
        return bar

    def red_line_point(self, splash):
        sx, sy, _, _ = self.x.geometry(splash)
        return sx + 1 + px(165) + 100, sy + 1 + px(2295) + 6

    def launch(self, extra_env=None):
        home = self.root / "home"
        (home / "runtime").mkdir(mode=0o700, parents=True, exist_ok=True)
        env = {"PATH": "/usr/local/bin:/usr/bin:/bin", "HOME": str(home), "DISPLAY": self.x.name,
               "QT_QPA_PLATFORM": "xcb", "XDG_RUNTIME_DIR": str(home / "runtime"), "LANG": "C.UTF-8",
               "QT_ACCESSIBILITY": "0", "NO_AT_BRIDGE": "1", **self.buses.env, **(extra_env or {})}
        # A sanitizer build's options pass through; nothing else of the caller's environment does.
        env.update({k: v for k, v in os.environ.items() if k in ("ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS")})
        self.env = env = {k: v for k, v in env.items() if v is not None}  # None in extra_env removes a variable
        with open(self.root / "skylane.log", "ab") as log:
            self.proc = subprocess.Popen([str(self.folder / "skylane")], cwd=self.root, env=env,
                                         stdout=log, stderr=subprocess.STDOUT, start_new_session=True)

    def stop(self):
        if self.proc and self.proc.poll() is None:
            stop_processes([self.proc])
        wait_for(lambda: not self.windows(), timeout=5, what="the program's windows to go")

    def output(self):
        p = self.root / "skylane.log"
        return p.read_bytes().decode("utf-8", "replace") if p.exists() else ""

    def windows(self):
        return [w for w in self.x.client_windows() if self.proc and self.x.pid(w) == self.proc.pid]

    def visible_windows(self):
        return [w for w in self.windows() if self.x.wm_state(w) == "Normal" and self.x.is_viewable(w)]

    def _window(self, test, viewable=True):
        return next((w for w in self.windows() if (self.x.is_viewable(w) or not viewable)
                     and test(w, self.x.geometry(w) or (0,) * 4)), None)

    def bar(self):
        return self._window(lambda w, g: g[3] == px(375) and self.x.wm_class(w) == "skylane")

    def splash(self):
        return self._window(lambda w, g: (g[2], g[3]) == (px(5970) + 2, px(4095) + 2))

    def window_titled(self, title, viewable=True):
        return self._window(lambda w, g: self.x.prop(w, "_NET_WM_NAME") == title.encode(), viewable)

    def wait_window(self, title):
        return wait_for(lambda: self.window_titled(title), what=f'window "{title}"')

    def bar_geometry(self):
        """The bar's place once two reads a moment apart agree."""
        def settled():
            bar = wait_for(self.bar, what="the bar")
            g = self.x.geometry(bar)
            time.sleep(0.03)
            return g == self.x.geometry(bar) and g
        return wait_for(settled, what="the bar to settle")

    def bar_point(self, tx, ty):
        """A point on the bar in twips from its top-left corner."""
        g = self.bar_geometry()
        return g[0] + px(tx), g[1] + px(ty)

    def button_point(self, index):
        return self.bar_point(1110 + (index - 1) * 345 + 160, 160)

    def bar_width_for(self, buttons):
        return px(1450 + (buttons - 1) * 345)

    def open_menu(self):
        """Releases the mouse on "MENU"; returns the popup menu windows."""
        before = {w.id for w in self.x.root.query_tree().children}
        self.x.click(*self.bar_point(435 + 150, 30))
        return wait_for(lambda: [w for w in self.x.root.query_tree().children if w.id not in before
                                 and self.x.is_viewable(w) and self.x.pid(w) == self.proc.pid], what="the popup menu")

    def menu_command(self, top_downs, sub_downs):
        """The popup menu's item `top_downs` down, then its submenu's item."""
        self.open_menu()
        time.sleep(0.15)
        self.x.key(*(["Down"] * top_downs), "Right")
        time.sleep(0.2)
        self.x.key(*(["Down"] * sub_downs), "Return")

    def exit_option(self, option):
        """The exit dialog's option (0 shut down ... 4 quit), then Ok."""
        gx, gy, _, _ = self.x.geometry(self.wait_window("Shutdown"))
        self.x.click(gx + px(240) + 8, gy + px(240 + 360 * option) + 8)
        self.x.click(gx + px(2040 + 360), gy + px(240 + 180))

    def settings(self):
        p = self.config / "prg.cfg"
        return dict((line[:4].decode("latin-1"), line[4:].decode("latin-1")) for line in
                    reversed(p.read_bytes().split(b"\r\n") if p.exists() else []))
