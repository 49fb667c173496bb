"""First and later runs, and the bar's place, size and stacking."""

import time

from skylane_e2e import MARKER, px, stays, wait_for


def test_first_run_creates_folders_and_marker_and_keeps_the_startup_window(skylane):
    x = skylane.x
    # A bare program folder: no config, no help.
    for name in ("config", "help"):
        target = skylane.folder / name
        for f in target.iterdir():
            f.unlink()
        target.rmdir()
    skylane.launch()
    splash = wait_for(skylane.splash, what="the start-up window")
    assert (skylane.folder / "config").is_dir() and (skylane.folder / "help").is_dir()
    assert skylane.cfg("runs.cfg").read_bytes() == MARKER
    assert x.geometry(splash)[:2] == (px(3180) - 1, px(2040) - 1)
    assert "_NET_WM_STATE_SKIP_TASKBAR" in x.net_state(splash)
    # The first run waits for the user.
    assert stays(lambda: skylane.splash() is not None, 3.0)
    # The red line: Label4 at twips 165,2295 inside the client area.
    sx, sy, _, _ = x.geometry(splash)
    line = (sx + 1 + px(165), sy + 1 + px(2295), 300, px(195))
    rows = x.pixels(*line)
    reds = sum(p == (255, 0, 0) for row in rows for p in row)
    assert reds > len(rows) * len(rows[0]) // 2, "the red line shows"
    x.click(line[0] + 100, line[1] + 6)
    wait_for(lambda: skylane.splash() is None, what="the start-up window to close")
    assert skylane.bar() is not None
    assert skylane.cfg("runs.cfg").read_bytes() == MARKER


def test_later_run_closes_the_startup_window_by_itself(skylane):
    skylane.cfg("runs.cfg").write_bytes(MARKER)
    skylane.launch()
    wait_for(skylane.splash, what="the start-up window")
    wait_for(lambda: skylane.splash() is None, timeout=8, what="the start-up window to close by itself")
    assert skylane.bar() is not None and skylane.running()
    assert skylane.cfg("runs.cfg").read_bytes() == MARKER


def test_bar_place_size_and_stacking(skylane):
    x = skylane.x
    skylane.write_category("Inet", ["/bin/true", "/bin/false", "/usr/bin/env"])
    bar = skylane.start()
    wait_for(lambda: x.geometry(bar)[2] == skylane.bar_width_for(3), what="the row of three")
    assert x.geometry(bar) == (340, 308, skylane.bar_width_for(3), px(375))
    assert x.wm_class(bar) == "skylane"
    state = x.net_state(bar)
    assert {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR"} <= state
    assert list(x.prop(bar, "_NET_FRAME_EXTENTS")) == [0, 0, 0, 0]
    hints = x.prop(bar, "_MOTIF_WM_HINTS")
    assert hints is not None and hints[0] & 2 and hints[2] == 0, "the bar asks for no decorations"
    # Above a normal window that is raised later and covers it.
    cover = skylane.x.dpy.screen().root.create_window(
        300, 280, 400, 200, 0, x.dpy.screen().root_depth, background_pixel=x.dpy.screen().white_pixel)
    cover.set_wm_name("cover")
    cover.map()
    x.dpy.sync()
    try:
        wait_for(lambda: cover.id in x.stacking(), what="the covering window")
        x.activate(cover)
        time.sleep(0.5)
        stack = x.stacking()
        assert stack.index(bar.id) > stack.index(cover.id)
        # On screen too: a pixel inside the bar is not the white cover.
        assert x.pixel(340 + 60, 308 + 12) != (255, 255, 255)
    finally:
        cover.destroy()
        x.dpy.sync()
    # Nothing else came up.
    assert [w.id for w in skylane.visible_windows()] == [bar.id]
