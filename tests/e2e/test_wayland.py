"""A Wayland session runs the bar through XWayland."""

import os
import re
import shutil
import subprocess
import types

import pytest

from skylane_e2e import SkyLane, px, stop_processes, wait_for


def bars(display):
    """Windows of class "skylane" that are 25 px high on an X display."""
    tree = subprocess.run(["xwininfo", "-root", "-tree", "-display", display], capture_output=True, text=True).stdout
    return re.findall(rf'\("skylane" "[^"]*"\)\s+\d+x{px(375)}\+', tree)


def test_a_wayland_session_shows_the_bar_as_an_x11_window(desktop, tmp_path):
    missing = [p for p in ("weston", "Xwayland") if not shutil.which(p)]
    if missing:
        pytest.skip(f"{' and '.join(missing)} not installed (Debian packages weston, xwayland)")
    runtime, log = tmp_path / "wayland-runtime", tmp_path / "weston.log"
    runtime.mkdir(mode=0o700)
    # Weston picks the first free X display number for its Xwayland.
    procs = [subprocess.Popen(["weston", "--backend=headless-backend.so", "--xwayland", "--socket=wayland-skylane",
                               "--idle-time=0", f"--log={log}"], env=dict(os.environ, XDG_RUNTIME_DIR=str(runtime)),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)]
    try:
        listening = r"xserver listening on display (:\d+)"
        display = wait_for(lambda: log.exists() and re.findall(listening, log.read_text()), 20, "Xwayland")[0]
        app = SkyLane(types.SimpleNamespace(name=display), desktop[1], desktop[2], tmp_path)
        app.launch({"WAYLAND_DISPLAY": "wayland-skylane", "XDG_RUNTIME_DIR": str(runtime),
                    "XDG_SESSION_TYPE": "wayland", "QT_QPA_PLATFORM": None})
        procs.append(app.proc)
        wait_for(lambda: bars(display), what=f"the bar on the Xwayland display; output: {app.output()!r}")
    finally:
        stop_processes(procs)

