#!/usr/bin/python3
"""Takes the README's pictures from the real windows of the built program
under Xvfb + openbox (private D-Bus buses, a throw-away program folder).
Builds nothing itself.

    /usr/bin/python3 scripts/screenshots.py [build/SkyLane] [docs/screenshots]
"""

import os
import subprocess
import sys
import tempfile
import time
from pathlib import Path

here = Path(__file__).resolve().parent
sys.path.insert(0, str(here.parent / "tests" / "e2e"))

from skylane_e2e import PrivateBuses, SkyLane, XServer, wait_for  # noqa: E402

DESKTOP = 0x3A6EA5  # a classic desktop blue behind the bar
ROWS = {
    "Inet": ["/usr/bin/display", "/usr/bin/vim", "/usr/bin/python3.11", "/usr/bin/openbox", "/usr/bin/xclock"],
    "Grap": ["/usr/bin/display", "/usr/bin/xmag", "/usr/bin/xlogo"],
    "Tools": ["/usr/bin/vim", "/usr/bin/xcalc", "/usr/bin/xedit", "/usr/bin/xeyes"],
}
MARGIN = 12



def screenshot(x, path, geometry=None):
    """Saves the screen (or a part of it) as a PNG with ImageMagick."""
    args = ["import", "-window", "root"]
    if geometry:
        gx, gy, gw, gh = geometry
        args += ["-crop", f"{gw}x{gh}+{gx}+{gy}", "+repage"]
    subprocess.run([*args, str(path)], check=True, env=dict(os.environ, DISPLAY=x.name))


def set_desktop(x, rgb):
    x.root.change_attributes(background_pixel=rgb)
    x.root.clear_area(0, 0, x.width, x.height)
    x.dpy.sync()


def bar_shot(skylane, path, extra=(0, 0)):
    time.sleep(0.4)
    gx, gy, gw, gh = skylane.bar_geometry()
    screenshot(skylane.x, path, (gx - MARGIN, gy - MARGIN, gw + 2 * MARGIN + extra[0], gh + 2 * MARGIN + extra[1]))
    print("wrote", path)


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else "build/SkyLane").resolve()
    out = Path(sys.argv[2] if len(sys.argv) > 2 else here.parent / "docs" / "screenshots").resolve()
    if not (folder / "skylane").is_file():
        sys.exit(f"no built program in {folder} (build it first)")
    out.mkdir(parents=True, exist_ok=True)
    work = Path(tempfile.mkdtemp(prefix="skylane-shots-"))
    os.environ.setdefault("SKYLANE_E2E_DISPLAYS", "90-199")
    x = XServer(work)
    buses = PrivateBuses(work)
    try:
        set_desktop(x, DESKTOP)
        skylane = SkyLane(x, buses, folder, work / "app")
        skylane.config.mkdir(exist_ok=True)
        for name, programs in ROWS.items():
            skylane.write_category(name, programs)

        # The start-up window of a first run, with the bar beside it.
        skylane.launch()
        splash = wait_for(skylane.splash, what="the start-up window")
        time.sleep(0.5)
        sx, sy, sw, sh = x.geometry(splash)
        screenshot(x, out / "startup.png", (sx - MARGIN, sy - MARGIN, sw + 2 * MARGIN, sh + 2 * MARGIN))
        print("wrote", out / "startup.png")
        x.click(*skylane.red_line_point(splash))
        wait_for(lambda: skylane.splash() is None, what="the start-up window to close")

        bar_shot(skylane, out / "bar-inet-desktop.png")
        # The popup menu with its Type submenu.
        skylane.open_menu()
        time.sleep(0.15)
        x.key("Down", "Down", "Down", "Down", "Right")
        time.sleep(0.4)
        gx, gy, gw, gh = skylane.bar_geometry()
        screenshot(x, out / "bar-menu.png", (gx - MARGIN, gy - MARGIN, 330, 400))
        print("wrote", out / "bar-menu.png")
        x.key("Escape", "Escape")
        time.sleep(0.3)

        # Graphics on a chosen colour.
        skylane.x.click(*skylane.bar_point(300, 90))  # Aud .. the caption steps on
        skylane.menu_command(4, 2)  # Type > Graphics
        skylane.menu_command(1, 0)  # Background > Color
        dialog = skylane.wait_window("Select Color")
        wait_for(lambda: x.active_window() == dialog.id, what="the colour dialog")
        x.key("alt+h", "ctrl+a")
        x.type("#2e7d32")
        x.key("Return")
        wait_for(lambda: skylane.window_titled("Select Color") is None, what="the colour dialog to close")
        bar_shot(skylane, out / "bar-grap-colour.png")

        # Tools on the button face (Match Borders).
        skylane.menu_command(4, 8)  # Type > Tools
        skylane.menu_command(1, 3)  # Background > Match Borders
        bar_shot(skylane, out / "bar-tools-borders.png")

        # The exit dialog from the Exit row.
        skylane.menu_command(4, 12)  # Type > Exit
        wait_for(lambda: x.geometry(skylane.bar())[2] == skylane.bar_width_for(1), what="the Exit row")
        bar_shot(skylane, out / "bar-exit.png")
        x.click(*skylane.button_point(1))
        dialog = skylane.wait_window("Shutdown")
        time.sleep(0.5)
        # openbox's frame around the dialog is part of the picture.
        frame = x.prop(dialog, "_NET_FRAME_EXTENTS") or [0, 0, 0, 0]
        dx, dy, dw, dh = x.geometry(dialog)
        left, right, top, bottom = (int(v) for v in frame)
        screenshot(x, out / "exit-dialog.png", (dx - left, dy - top, dw + left + right, dh + top + bottom))
        print("wrote", out / "exit-dialog.png")
        skylane.stop()
    finally:
        buses.close()
        x.close()


if __name__ == "__main__":
    main()
