"""The built Windows folder under wine on Xvfb + openbox, walked through with
the Linux end-to-end harness: wine's X11 driver shows each Windows window as
an X window, a topmost one as _NET_WM_STATE_ABOVE, a tool window as
skip-taskbar. Session ends are only recorded (SKYLANE_SESSION_END_LOG)."""

import contextlib
import os
import shutil
import subprocess
import sys
import threading
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
from skylane_e2e import MARKER, SkyLane, XServer, px, stop_processes, wait_for  # noqa: E402

WINE = shutil.which("wine64") or "/usr/lib/wine/wine64"
PROBE_RGB = (255, 0, 255)
# Every character of the ANSI code page (1252) above ASCII, in two folders
# (a file name has at most 255 bytes of UTF-8), and what a shell or a split
# command line would cut.
ANSI = bytes(b for b in range(0x80, 0x100) if b not in b"\x81\x8d\x8f\x90\x9d")
ANSI = ANSI[:60] + b"\\" + ANSI[60:] + b" a b&c"


def wine_env(prefix, display, **extra):
    # No menu entries on this machine for the shortcuts an installer makes.
    return {"PATH": "/usr/bin:/bin", "HOME": str(prefix.parent), "DISPLAY": display, "WINEPREFIX": str(prefix),
            "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml,winemenubuilder.exe=", "LANG": "C.UTF-8",
            **extra}


@contextlib.contextmanager
def wine_desktop(work):
    """Xvfb with openbox and a fresh wine prefix in work; every wine process ends with it."""
    x, prefix = XServer(work), work / "prefix"
    try:
        subprocess.run([WINE, "wineboot", "-i"], env=wine_env(prefix, x.name), check=True, capture_output=True)
        yield x, prefix
    finally:
        subprocess.run([str(Path(WINE).with_name("wineserver")), "-k"], env=wine_env(prefix, x.name))
        x.close()


class WineSkyLane(SkyLane):
    """skylane.exe in folder, started with wine; the probe writes to work."""

    def __init__(self, x, folder, work, prefix):
        self.x, self.buses, self.root, self.prefix = x, None, work, prefix
        self.folder, self.config = folder, folder / "config"
        self.proc, self.probe_out, self.session_log = None, work / "probe.txt", work / "session.txt"

    def launch(self, extra_env=None):
        env = wine_env(self.prefix, self.x.name, SKYLANE_PROBE_OUT=str(self.probe_out),
                       SKYLANE_SESSION_END_LOG=str(self.session_log))
        with open(self.root / "skylane.log", "ab") as log:
            self.proc = subprocess.Popen([WINE, str(self.folder / "skylane.exe")], cwd=self.root, env=env,
                                         stdout=log, stderr=subprocess.STDOUT, start_new_session=True)

    def bar(self):
        return self._window(lambda w, g: g[3] == px(375) and self.x.prop(w, "_NET_WM_NAME") == b"Sky Lane")

    def add_button(self, buttons, program):
        """Adds button number `buttons` (resting picture, add picture); the file dialog gives it program."""
        for _ in range(2):
            self.x.click(*self.bar_point(795 + 150, 45 + 140))
        wait_for(lambda: self.bar_geometry()[2] == self.bar_width_for(buttons), what="a new button")
        self.x.click(*self.button_point(buttons), button=3)
        dialog = wait_for(lambda: next((w for w in self.visible_windows() if w.id != self.bar().id), None),
                          what="a dialog")
        self.x.xdotool("windowfocus", "--sync", dialog.id)
        self.x.xdotool("type", "--delay", 30, program)
        self.x.key("Return")


def test_a_windows_user_s_journey(tmp_path):
    with wine_desktop(tmp_path) as (x, prefix):
        skylane = WineSkyLane(x, tmp_path / "SkyLane", tmp_path, prefix)
        shutil.copytree(os.environ["SKYLANE_WINE_FOLDER"], skylane.folder)
        (skylane.config / "runs.cfg").write_bytes(MARKER)
        for folder in (ANSI.decode("cp1252").replace("\\", "/"), "tools"):  # xdotool cannot type "é" to wine
            (prefix / "drive_c" / folder).mkdir(parents=True)
            shutil.copy(os.environ["SKYLANE_WINE_PROBE"], prefix / "drive_c" / folder)
        try:
            walk(skylane, x)
        finally:
            if skylane.proc and skylane.proc.poll() is None:
                stop_processes([skylane.proc])


def probe_pixels(skylane, index):
    bx, by = skylane.button_point(index)
    return sum(p == PROBE_RGB for row in skylane.x.pixels(bx - 8, by - 8, 16, 16) for p in row)


def walk(skylane, x):
    cfg, game = skylane.config / "prg.cfg", skylane.config / "Game.cfg"
    cfg.write_bytes(b"LF= 4500\r\nTP= 3000\r\n")
    # ANSI, CR LF: the probe, a path that is not there, a blank line, the
    # probe's path with a NUL after it (no path: it must not reach the probe).
    probe = b"C:\\" + ANSI + b"\\probe.exe"
    (skylane.config / "Inet.cfg").write_bytes(probe + b"\r\nC:\\no such\\program.exe\r\n\r\n" + probe + b"\0.txt\r\n")
    skylane.launch()
    assert "_NET_WM_STATE_SKIP_TASKBAR" in x.net_state(wait_for(skylane.splash, timeout=60, what="the start-up window"))
    wait_for(lambda: skylane.splash() is None, what="the start-up window to close by itself")
    bar = wait_for(skylane.bar, what="the bar")
    assert skylane.bar_geometry() == (300, 200, skylane.bar_width_for(4), px(375))
    assert {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR"} <= x.net_state(bar)
    wait_for(lambda: probe_pixels(skylane, 1) > 100, what="the probe's icon")
    assert probe_pixels(skylane, 2) == probe_pixels(skylane, 3) == probe_pixels(skylane, 4) == 0
    x.click(*skylane.button_point(1))
    wait_for(lambda: skylane.probe_out.exists() and skylane.probe_out.read_text(), timeout=30, what="the probe")
    assert skylane.probe_out.read_text() == "show 2, argc 1"  # SW_SHOWMINIMIZED, its own name only

    # Dragged by the handle: one rewrite of prg.cfg, when the button is released.
    versions, dragged = set(), threading.Event()
    watcher = threading.Thread(target=lambda: [versions.add((cfg.stat().st_ino, cfg.stat().st_mtime_ns))
                                               for _ in iter(lambda: dragged.wait(0.01), True)])
    watcher.start()
    try:
        start = skylane.bar_point(405 + 180, 110 + 120)
        x.drag(start, (start[0] + 200, start[1] + 120))
        left, top = wait_for(lambda: (g := skylane.bar_geometry())[:2] != (300, 200) and g)[:2]
        wait_for(lambda: (skylane.settings().get("LF= "), skylane.settings().get("TP= ")) == (str(left * 15), str(top * 15)),
                 what="the new place in twips")
    finally:
        dragged.set()
        watcher.join()
    assert len(versions) == 2, versions  # as written above, and once more

    x.click(*skylane.bar_point(200, 90))  # the caption: Inet, then Game
    wait_for(lambda: skylane.bar_geometry()[2] == skylane.bar_width_for(1), what="the Game row")
    skylane.add_button(2, "C:\\tools\\probe.exe")
    wait_for(lambda: game.exists() and game.read_bytes() == b"\r\nC:\\tools\\probe.exe\r\n", what="Game.cfg")
    # Remove it: the right-clicked resting picture turns into the remove picture.
    x.click(*skylane.bar_point(795 + 150, 45 + 140), button=3)
    x.click(*skylane.bar_point(780 + 150, 45 + 140))
    wait_for(lambda: game.read_bytes() == b"\r\n", what="Game.cfg with one blank line")

    skylane.menu_command(4, 12)  # Type > Exit: the button opens the exit dialog
    wait_for(lambda: skylane.bar_geometry()[2] == skylane.bar_width_for(1), what="the Exit row")
    x.click(*skylane.button_point(1))
    for option in range(4):  # shut down, restart, log off, forced log-off: recorded only
        skylane.exit_option(option)
    wait_for(lambda: skylane.session_log.exists() and skylane.session_log.read_bytes().count(b"\r\n") == 4,
             what="four session-end requests")
    assert skylane.session_log.read_bytes() == b"1\r\n2\r\n0\r\n4\r\n"  # EWX_SHUTDOWN, REBOOT, LOGOFF, FORCE
    skylane.exit_option(4)  # Quit
    assert skylane.proc.wait(20) == 0
