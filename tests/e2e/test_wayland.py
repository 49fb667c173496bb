"""A Wayland session runs the bar through XWayland; with no X display at
all the program says so and ends."""

import os
import re
import shutil
import subprocess
import types

import pytest

from skylane_e2e import MARKER, SkyLane, px, stop_processes, wait_for


@pytest.fixture
def weston(tmp_path):
    missing = [p for p in ("weston", "Xwayland") if not shutil.which(p)]
    if missing:
        pytest.skip(f"{' and '.join(missing)} not installed (Debian packages weston, xwayland)")
    runtime = tmp_path / "wayland-runtime"
    runtime.mkdir(mode=0o700)
    log = tmp_path / "weston.log"
    # Weston picks the first free X display number for its Xwayland.
    proc = subprocess.Popen(["weston", "--backend=headless-backend.so", "--xwayland", "--socket=wayland-skylane",
                             "--idle-time=0", f"--log={log}"], env=dict(os.environ, XDG_RUNTIME_DIR=str(runtime)),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def x_display():
        m = re.search(r"xserver listening on display (:\d+)", log.read_text() if log.exists() else "")
        return m and m.group(1)

    try:
        yield types.SimpleNamespace(runtime=runtime, display=wait_for(x_display, timeout=20, what="Xwayland"))
    finally:
        stop_processes([proc])


def bars(display):
    """Windows of class "skylane" that are 25 px high on an X display."""
    tree = subprocess.run(["xwininfo", "-root", "-tree", "-display", display], capture_output=True, text=True).stdout
    return re.findall(rf'\("skylane" "[^"]*"\)\s+\d+x{px(375)}\+', tree)


def test_a_wayland_session_shows_the_bar_as_an_x11_window(weston, desktop, tmp_path):
    _, buses, folder = desktop
    app = SkyLane(types.SimpleNamespace(name=weston.display), buses, folder, tmp_path)
    (app.config / "runs.cfg").write_bytes(MARKER)
    env = app.env({"WAYLAND_DISPLAY": "wayland-skylane", "XDG_RUNTIME_DIR": str(weston.runtime),
                   "XDG_SESSION_TYPE": "wayland"})
    del env["QT_QPA_PLATFORM"]
    with open(tmp_path / "skylane.log", "wb") as log:
        proc = subprocess.Popen([str(app.folder / "skylane")], env=env, stdout=log, stderr=subprocess.STDOUT)
    try:
        wait_for(lambda: bars(weston.display), what=f"the bar on the Xwayland display; output: {app.output()!r}")
    finally:
        stop_processes([proc])


def test_without_an_x_display_one_line_explains_and_the_program_ends(desktop, tmp_path):
    env = {"PATH": "/usr/bin:/bin", "HOME": str(tmp_path), "XDG_RUNTIME_DIR": str(tmp_path),
           "WAYLAND_DISPLAY": "wayland-none"}
    env.update({k: v for k, v in os.environ.items() if k.endswith("SAN_OPTIONS")})
    run = subprocess.run([str(desktop[2] / "skylane")], env=env, capture_output=True, timeout=60)
    assert run.returncode != 0
    lines = run.stderr.decode().splitlines()
    assert len(lines) == 1 and "X display" in lines[0], lines
