"""A user's first days with the bar: the first run, the bar on top, its
rows, starting and assigning programs, adding and removing buttons, moving
it, and the next start."""

import os
import shutil
import signal
import time

from skylane_e2e import MARKER, px, stays, wait_for

RECORDER = """#!/bin/sh
{{ printf '%s\\n' "$0" "$#"; for a in "$@"; do printf '%s\\n' "$a"; done; }} > "{out}.part"
mv "{out}.part" "{out}"
"""
RESTING = (810 + 120, 60 + 120)
HANDLE = (405 + 180, 110 + 120)


def recorder(skylane, name):
    folder = skylane.root / "my programs"
    folder.mkdir(exist_ok=True)
    out = skylane.root / f"{name}.out"
    script = folder / f"{name} run.sh"
    script.write_text(RECORDER.format(out=out))
    script.chmod(0o755)
    return script, out


def inet_lines(skylane):
    return skylane.cfg("Inet.cfg").read_bytes().split(b"\r\n")[:-1]


def choose_file(skylane, path):
    x = skylane.x
    dialog = wait_for(lambda: next((w for w in skylane.visible_windows() if w.id != skylane.bar().id), None),
                      what="the file dialog")
    wait_for(lambda: x.active_window() == dialog.id, what="the file dialog to take the focus")
    time.sleep(0.3)
    x.key("ctrl+a")
    x.type(str(path))
    x.key("Return")
    wait_for(lambda: not x.is_viewable(dialog), what="the file dialog to close")


def answer_question(skylane, key):
    box = skylane.wait_window("Lock Protection")
    wait_for(lambda: skylane.x.active_window() == box.id, what="the question to take the focus")
    skylane.x.key(key)
    wait_for(lambda: skylane.window_titled("Lock Protection") is None, what="the question to close")


def wait_width(skylane, buttons):
    want = skylane.bar_width_for(buttons)
    wait_for(lambda: skylane.x.geometry(skylane.bar())[2] == want, what=f"a row of {buttons} buttons")


def test_first_run_and_the_bar_on_top(skylane):
    x = skylane.x
    for name in ("config", "help"):
        shutil.rmtree(skylane.folder / name)
    skylane.launch()
    splash = wait_for(skylane.splash, what="the start-up window")
    assert (skylane.folder / "help").is_dir() and skylane.cfg("runs.cfg").read_bytes() == MARKER
    assert x.geometry(splash)[:2] == (px(3180) - 1, px(2040) - 1)
    assert "_NET_WM_STATE_SKIP_TASKBAR" in x.net_state(splash)
    assert stays(lambda: skylane.splash() is not None, 3.0), "a first run waits for the user"
    sx, sy, _, _ = x.geometry(splash)
    line = x.pixels(sx + 1 + px(165), sy + 1 + px(2295), 300, px(195))
    assert sum(p == (255, 0, 0) for row in line for p in row) > 300 * px(195) // 2, "the red line shows"
    x.click(*skylane.red_line_point(splash))
    wait_for(lambda: skylane.splash() is None, what="the start-up window to close")

    bar = skylane.wait_bar()
    assert x.geometry(bar) == (340, 308, skylane.bar_width_for(1), px(375))
    assert x.wm_class(bar) == "skylane"
    assert {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR"} <= x.net_state(bar)
    assert list(x.prop(bar, "_NET_FRAME_EXTENTS")) == [0, 0, 0, 0]
    # Above a normal window raised later over it, on screen too.
    screen = x.dpy.screen()
    cover = screen.root.create_window(300, 280, 400, 200, 0, screen.root_depth, background_pixel=screen.white_pixel)
    cover.set_wm_name("cover")
    cover.map()
    x.dpy.sync()
    try:
        wait_for(lambda: x.geometry(cover) and x.is_viewable(cover), what="the covering window")
        x.activate(cover)
        time.sleep(0.5)
        assert x.pixel(340 + 60, 308 + 12) != (255, 255, 255)
    finally:
        cover.destroy()
        x.dpy.sync()
    assert [w.id for w in skylane.visible_windows()] == [bar.id]


def test_rows_programs_and_the_place(skylane):
    x = skylane.x
    first, first_out = recorder(skylane, "first")
    second, second_out = recorder(skylane, "second")
    skylane.write_category("Inet", ["/bin/true", str(first), "/usr/bin/xclock"])
    skylane.write_category("Game", ["/bin/true"] * 4)
    skylane.cfg("runs.cfg").write_bytes(MARKER)
    # A later run: the start-up window closes by itself.
    skylane.launch()
    wait_for(skylane.splash, what="the start-up window")
    wait_for(lambda: skylane.splash() is None, timeout=8, what="the start-up window to close by itself")
    bar = skylane.wait_bar()
    wait_width(skylane, 3)
    for index in (1, 2, 3):
        bx, by = skylane.button_point(index)
        colours = {p for row in x.pixels(bx - 8, by - 8, 16, 16) for p in row}
        assert len(colours) > 3, f"button {index} shows a picture"

    # A middle release starts nothing, a left one the program, without arguments.
    x.click(*skylane.button_point(2), 2)
    assert stays(lambda: not first_out.exists(), 1.0)
    x.click(*skylane.button_point(2))
    wait_for(first_out.exists, what="the program to run")
    assert first_out.read_text().splitlines() == [str(first), "0"]
    # An X program comes up minimized; the bar stays on top.
    x.click(*skylane.button_point(3))
    clock = wait_for(lambda: next((w for w in x.client_windows() if x.wm_class(w) == "xclock"), None),
                     what="xclock's window")
    try:
        wait_for(lambda: x.wm_state(clock) == "Iconic", what="xclock minimized")
        assert stays(lambda: x.wm_state(clock) == "Iconic", 1.0)
        assert "_NET_WM_STATE_ABOVE" in x.net_state(bar)
    finally:
        os.kill(x.pid(clock), signal.SIGTERM)

    # The caption steps to the next row; the menu's Type > Internet comes back.
    skylane.click_caption()
    wait_width(skylane, 4)
    skylane.open_menu()
    x.key("Down", "Down", "Down", "Down", "Right")
    time.sleep(0.2)
    x.key("Down", "Down", "Down", "Return")
    wait_width(skylane, 3)

    # A right release asks first; Cancel changes nothing, Yes opens the file dialog.
    x.click(*skylane.button_point(2), 3)
    answer_question(skylane, "Escape")
    assert inet_lines(skylane) == [b"/bin/true", str(first).encode(), b"/usr/bin/xclock"]
    x.click(*skylane.button_point(2), 3)
    answer_question(skylane, "Return")
    choose_file(skylane, second)
    wait_for(lambda: inet_lines(skylane)[1] == str(second).encode(), what="the file to follow")
    x.click(*skylane.button_point(2))
    wait_for(second_out.exists, what="the new program to run")

    # Add a button, give it a program (no question), remove it again.
    resting = skylane.bar_point(*RESTING)
    x.click(*resting)
    time.sleep(0.2)
    x.click(*resting)
    wait_width(skylane, 4)
    x.click(*skylane.button_point(4), 3)
    choose_file(skylane, first)
    wait_for(lambda: len(inet_lines(skylane)) == 4, what="the file with the fourth button")
    x.click(*resting, 3)
    time.sleep(0.2)
    x.click(*resting)
    wait_width(skylane, 3)
    wait_for(lambda: len(inet_lines(skylane)) == 3, what="the file without it")

    # Dragged by the handle: the place is saved for the next start.
    start = skylane.bar_point(*HANDLE)
    x.drag(start, (start[0] + 250, start[1] + 150))
    wait_for(lambda: x.geometry(bar)[:2] != (340, 308), what="the bar to move")
    left, top = skylane.bar_geometry()[:2]
    assert abs(left - 590) <= 3 and abs(top - 458) <= 3
    wait_for(lambda: skylane.settings().get("LF= ") == str(left * 15)
             and skylane.settings().get("TP= ") == str(top * 15), what="the new place in prg.cfg")
    skylane.stop()
    bar = skylane.start()
    assert x.geometry(bar)[:2] == (left, top)
    assert x.geometry(bar)[2] == skylane.bar_width_for(3)
    # Far off every screen: brought back inside it.
    skylane.stop()
    skylane.cfg("prg.cfg").write_bytes(b"LF= 90000\r\nTP= -9000\r\n")
    g = x.geometry(skylane.start())
    assert g[0] + g[2] <= x.width and g[1] >= 0 and g[0] > x.width - 200
