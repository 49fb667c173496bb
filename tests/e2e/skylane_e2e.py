"""Drives the built bar the way a user meets it: a private X server with
openbox, private D-Bus buses with a mock logind, a fresh program folder per
test, xdotool for the mouse and keyboard, X properties and pixels read back
through python3-xlib."""

import os
import shutil
import subprocess
import time
from pathlib import Path

from Xlib import X, display as xdisplay
from Xlib.error import XError

MARKER = b" 1 \r\nVoltari Software - USA\r\nSky Lane v2.0\r\nhttps://www.example.com/skylane/\r\n"


def px(twips):
    return int(round(twips / 15))


def wait_for(predicate, timeout=10.0, what="condition"):
    """Returns the first true value of predicate(); fails after timeout."""
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
    """Ends helper processes, last started first; a stuck one is killed."""
    for p in reversed(procs):
        p.terminate()
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()


class XServer:
    """Xvfb with openbox on a free display of SKYLANE_E2E_DISPLAYS ("70-79")."""

    def __init__(self, workdir, width=1280, height=800):
        self.width, self.height = width, height
        first, _, last = os.environ.get("SKYLANE_E2E_DISPLAYS", "90-199").partition("-")
        self.procs = []
        for n in range(int(first), int(last or first) + 1):
            if os.path.exists(f"/tmp/.X{n}-lock") or os.path.exists(f"/tmp/.X11-unix/X{n}"):
                continue
            xvfb = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp",
                                     "-noreset"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_for(lambda: xvfb.poll() is not None or os.path.exists(f"/tmp/.X11-unix/X{n}"), what="Xvfb")
            if xvfb.poll() is None:
                self.procs.append(xvfb)
                self.name = f":{n}"
                break
        else:
            raise RuntimeError("no free X display")
        self.dpy = wait_for(self._connect, what="X connection")
        self.root = self.dpy.screen().root
        self.atoms = {}
        env = dict(os.environ, DISPLAY=self.name, HOME=str(workdir))
        self.procs.append(subprocess.Popen(["openbox", "--sm-disable"], env=env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        wait_for(lambda: self.prop(self.root, "_NET_SUPPORTING_WM_CHECK"), what="openbox")

    def _connect(self):
        try:
            return xdisplay.Display(self.name)
        except Exception:
            return None

    def close(self):
        try:
            self.dpy.close()
        finally:
            stop_processes(self.procs)

    def atom(self, name):
        if name not in self.atoms:
            self.atoms[name] = self.dpy.intern_atom(name)
        return self.atoms[name]

    def prop(self, window, name):
        if isinstance(window, int):
            window = self.dpy.create_resource_object("window", window)
        try:
            p = window.get_full_property(self.atom(name), X.AnyPropertyType)
        except XError:
            return None
        return p.value if p else None

    def client_windows(self):
        """Managed top-level windows (openbox's client list)."""
        return [self.dpy.create_resource_object("window", int(i))
                for i in self.prop(self.root, "_NET_CLIENT_LIST") or []]

    def wm_class(self, window):
        try:
            c = window.get_wm_class()
        except XError:
            return None
        return c[0] if c else None

    def title(self, window):
        name = self.prop(window, "_NET_WM_NAME") or self.prop(window, "WM_NAME")
        return name.decode("utf-8", "replace") if isinstance(name, bytes) else name or ""

    def pid(self, window):
        v = self.prop(window, "_NET_WM_PID")
        return int(v[0]) if v else None

    def geometry(self, window):
        """(x, y, width, height) of the client area in root coordinates."""
        try:
            g = window.get_geometry()
            t = window.translate_coords(self.root, 0, 0)
        except XError:
            return None
        return (-t.x, -t.y, g.width, g.height)

    def net_state(self, window):
        return {self.dpy.get_atom_name(a) for a in (self.prop(window, "_NET_WM_STATE") or [])}

    def wm_state(self, window):
        v = self.prop(window, "WM_STATE")
        return {1: "Normal", 3: "Iconic"}.get(int(v[0]) if v else 0, "Withdrawn")

    def is_viewable(self, window):
        try:
            return window.get_attributes().map_state == X.IsViewable
        except XError:
            return False

    def active_window(self):
        v = self.prop(self.root, "_NET_ACTIVE_WINDOW")
        return int(v[0]) if v else 0

    def pixels(self, x, y, w, h):
        """The screen's pixels as rows of (r, g, b)."""
        d = self.root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF).data
        return [[(d[o + 2], d[o + 1], d[o]) for o in range(j * w * 4, (j + 1) * w * 4, 4)] for j in range(h)]

    def pixel(self, x, y):
        return self.pixels(x, y, 1, 1)[0][0]

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], check=True,
                       env=dict(os.environ, DISPLAY=self.name), stdout=subprocess.DEVNULL)

    def click(self, x, y, button=1):
        # xdotool's --sync waits for a motion, so none is asked for when
        # the pointer is there already.
        p = self.root.query_pointer()
        if (p.root_x, p.root_y) != (x, y):
            self.xdotool("mousemove", "--sync", x, y)
        self.xdotool("click", button)

    def drag(self, start, end, steps=10):
        self.xdotool("mousemove", "--sync", *start)
        self.xdotool("mousedown", 1)
        # Time for the press to reach the program and its move request the
        # window manager before the pointer moves.
        time.sleep(0.3)
        for i in range(1, steps + 1):
            self.xdotool("mousemove", start[0] + (end[0] - start[0]) * i // steps,
                         start[1] + (end[1] - start[1]) * i // steps)
            time.sleep(0.03)
        time.sleep(0.15)
        self.xdotool("mouseup", 1)
        time.sleep(0.3)  # the window manager's last configure follows the release

    def key(self, *keys):
        self.xdotool("key", "--delay", 40, *keys)

    def type(self, text):
        self.xdotool("type", "--delay", 20, text)

    def activate(self, window):
        self.xdotool("windowactivate", window.id)


DBUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>{kind}</type><listen>unix:path={socket}</listen><auth>EXTERNAL</auth>
  <policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
    <allow own="*"/><allow user="*"/></policy></busconfig>
"""


class PrivateBuses:
    """A private system bus with dbusmock's logind and a private session
    bus. Nothing here knows the machine's own buses."""

    def __init__(self, workdir):
        import dbus
        self.workdir = Path(workdir)
        self.procs = []
        self.system_address = self._bus("system")
        self.session_address = self._bus("session")
        self.procs.append(subprocess.Popen(["/usr/bin/python3", "-m", "dbusmock", "--system", "--template", "logind"],
                                           env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.system = dbus.bus.BusConnection(self.system_address)
        wait_for(lambda: self.system.name_has_owner("org.freedesktop.login1"), what="mock logind")
        self.logind = dbus.Interface(self.system.get_object("org.freedesktop.login1", "/org/freedesktop/login1"),
                                     "org.freedesktop.DBus.Mock")

    def _bus(self, kind):
        socket = self.workdir / f"{kind}_bus_socket"
        config = self.workdir / f"{kind}-bus.conf"
        config.write_text(DBUS_CONFIG.format(kind=kind, socket=socket))
        proc = subprocess.Popen(["dbus-daemon", f"--config-file={config}", "--nofork", "--nopidfile",
                                 "--print-address=1"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.procs.append(proc)
        address = proc.stdout.readline().strip()
        if not address.startswith(f"unix:path={socket}"):
            raise RuntimeError(f"private {kind} bus did not start")
        return address

    def env(self):
        return {"DBUS_SYSTEM_BUS_ADDRESS": self.system_address, "DBUS_SESSION_BUS_ADDRESS": self.session_address}

    def is_private(self, address):
        return address in (self.system_address, self.session_address) and str(self.workdir) in address

    def logind_calls(self):
        """[(method, [args...]), ...] the mock logind received."""
        return [(str(c[1]), list(c[2])) for c in self.logind.GetCalls()]

    def clear_calls(self):
        self.logind.ClearCalls()

    def close(self):
        try:
            self.system.close()
        finally:
            stop_processes(self.procs)


class SkyLane:
    """A fresh copy of the built portable folder and the program started
    from it, as many times as a test needs."""

    def __init__(self, x, buses, built_folder, workdir):
        self.x, self.buses = x, buses
        self.root = Path(workdir)
        # A folder name that is not valid UTF-8 in a UTF-8 locale.
        self.folder = self.root / os.fsdecode(b"Sky Lane \xe9")
        shutil.copytree(built_folder, self.folder, symlinks=True)
        self.config = self.folder / "config"
        self.home = self.root / "home"
        self.runtime = self.root / "runtime"
        self.home.mkdir(exist_ok=True)
        self.runtime.mkdir(mode=0o700, exist_ok=True)
        self.proc = self.log = None
        # A test that asks for a session option sets this; any other call
        # to logind is a fault.
        self.expects_logind = False

    def env(self, extra):
        home = self.home
        env = {"PATH": "/usr/local/bin:/usr/bin:/bin", "HOME": str(home), "DISPLAY": self.x.name,
               "QT_QPA_PLATFORM": "xcb", "XDG_RUNTIME_DIR": str(self.runtime),
               "XDG_CONFIG_HOME": str(home / ".config"), "XDG_DATA_HOME": str(home / ".local/share"),
               "XDG_CACHE_HOME": str(home / ".cache"), "LANG": "C.UTF-8", "QT_ACCESSIBILITY": "0",
               "NO_AT_BRIDGE": "1"}
        # A sanitizer build's options pass through; nothing else of the
        # caller's environment does.
        env.update({k: os.environ[k] for k in ("ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS") if k in os.environ})
        env.update(self.buses.env())
        env.update(extra or {})
        return env

    def start(self, extra_env=None):
        """Starts the program as a later run and closes its start-up window
        by a click on the red line before this returns."""
        if not self.cfg("runs.cfg").exists():
            self.config.mkdir(exist_ok=True)
            self.cfg("runs.cfg").write_bytes(MARKER)
        self.launch(extra_env)
        bar = self.wait_bar()
        # The start-up window maps with the bar; after a slow start its
        # overdue timer may have closed it already.
        try:
            self.x.click(*self.red_line_point(wait_for(self.splash, timeout=1.0)))
        except AssertionError:
            pass
        wait_for(lambda: self.splash() is None, what="the start-up window to close")
        return bar

    def red_line_point(self, splash):
        sx, sy, _, _ = self.x.geometry(splash)
        return sx + 1 + px(165) + 100, sy + 1 + px(2295) + 6

    def launch(self, extra_env=None):
        env = self.env(extra_env)
        # The program must never reach the machine's own buses.
        for key in ("DBUS_SYSTEM_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"):
            if not self.buses.is_private(env.get(key, "")):
                raise RuntimeError(f"{key} is not a private bus: refusing to start the program")
        self.log = open(self.root / "skylane.log", "ab")
        self.proc = subprocess.Popen([str(self.folder / "skylane")], cwd=str(self.root), env=env,
                                     stdout=self.log, stderr=subprocess.STDOUT, start_new_session=True)

    def stop(self):
        if self.proc and self.proc.poll() is None:
            stop_processes([self.proc])
        if self.log:
            self.log.close()
            self.log = None
        wait_for(lambda: not self.windows(), timeout=5, what="the program's windows to go")

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def output(self):
        p = self.root / "skylane.log"
        return p.read_bytes().decode("utf-8", "replace") if p.exists() else ""

    def windows(self):
        """The program's managed top-level windows."""
        pid = self.proc.pid if self.proc else None
        return [w for w in self.x.client_windows() if pid is not None and self.x.pid(w) == pid]

    def visible_windows(self):
        return [w for w in self.windows() if self.x.wm_state(w) == "Normal" and self.x.is_viewable(w)]

    def _window_sized(self, size, wm_class=None):
        for w in self.windows():
            g = self.x.geometry(w)
            if g and size(g) and self.x.is_viewable(w) and wm_class in (None, self.x.wm_class(w)):
                return w
        return None

    def bar(self):
        """The bar: class "skylane", 25 px high."""
        return self._window_sized(lambda g: g[3] == px(375), "skylane")

    def splash(self):
        return self._window_sized(lambda g: (g[2], g[3]) == (px(5970) + 2, px(4095) + 2))

    def wait_bar(self):
        try:
            return wait_for(self.bar, what="the bar")
        except AssertionError as e:
            raise AssertionError(f"{e}; running: {self.running()}; windows: {self.describe_windows()}; "
                                 f"output: {self.output()!r}") from None

    def describe_windows(self):
        x = self.x
        return [(hex(w.id), x.wm_class(w), x.title(w), x.geometry(w), x.wm_state(w)) for w in x.client_windows()]

    def window_titled(self, title, viewable=True):
        return next((w for w in self.windows()
                     if self.x.title(w) == title and (not viewable or self.x.is_viewable(w))), None)

    def wait_window(self, title):
        return wait_for(lambda: self.window_titled(title), what=f'window "{title}"')

    def bar_geometry(self):
        """The bar's place once two reads a moment apart agree."""
        bar = self.wait_bar()
        last = [None]

        def settled():
            g = self.x.geometry(bar)
            same, last[0] = g == last[0], g
            time.sleep(0 if same else 0.03)
            return g if same else None
        return wait_for(settled, what="the bar to settle")

    def bar_point(self, tx, ty):
        """A point on the bar given in twips from its top-left corner."""
        g = self.bar_geometry()
        return g[0] + px(tx), g[1] + px(ty)

    def button_point(self, index):
        """The middle of program button `index` (1-based)."""
        return self.bar_point(1110 + (index - 1) * (325 + 20) + 160, 160)

    def bar_width_for(self, buttons):
        return px(1450 + max(0, buttons - 1) * (325 + 20))

    def click_caption(self):
        self.x.click(*self.bar_point(300, 90))

    def open_menu(self):
        """Releases the mouse on "MENU"; returns the popup menu windows."""
        before = {w.id for w in self.x.root.query_tree().children}
        self.x.click(*self.bar_point(435 + 150, 30))
        return wait_for(lambda: [w for w in self.x.root.query_tree().children if w.id not in before
                                 and self.x.is_viewable(w) and self.x.pid(w) == self.proc.pid], what="the popup menu")

    def cfg(self, name):
        return self.config / name

    def write_category(self, name, lines):
        self.config.mkdir(exist_ok=True)
        self.cfg(f"{name}.cfg").write_bytes(b"".join(line.encode() + b"\r\n" for line in lines))

    def settings(self):
        p = self.cfg("prg.cfg")
        values = {}
        for line in p.read_bytes().split(b"\r\n") if p.exists() else []:
            values.setdefault(line[:4].decode("latin-1"), line[4:].decode("latin-1"))
        return values
