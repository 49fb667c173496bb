"""Dragging the bar by its handle; the status light and the restore window."""

import time

from skylane_e2e import wait_for

HANDLE = (405 + 180, 110 + 120)
LIGHT = (60 + 90, 160 + 90)


def test_drag_by_the_handle_saves_the_place_for_the_next_start(skylane):
    x = skylane.x
    bar = skylane.start()
    start = skylane.bar_point(*HANDLE)
    x.drag(start, (start[0] + 250, start[1] + 150))
    wait_for(lambda: x.geometry(bar)[:2] != (340, 308), what="the bar to move")
    left, top = x.geometry(bar)[:2]
    assert abs(left - 590) <= 3 and abs(top - 458) <= 3, x.geometry(bar)
    wait_for(lambda: skylane.settings().get("LF= ") == str(left * 15)
             and skylane.settings().get("TP= ") == str(top * 15), what="the new place in prg.cfg")
    skylane.stop()
    bar = skylane.start()
    assert x.geometry(bar)[:2] == (left, top)


def test_place_from_settings_and_kept_on_screen(skylane):
    x = skylane.x
    skylane.config.mkdir(exist_ok=True)
    skylane.cfg("prg.cfg").write_bytes(b"LF= 1500\r\nTP= 3000\r\n")
    bar = skylane.start()
    assert x.geometry(bar)[:2] == (100, 200)
    skylane.stop()
    # Far off every screen: brought to the nearest place inside it.
    skylane.cfg("prg.cfg").write_bytes(b"LF= 90000\r\nTP= -9000\r\n")
    bar = skylane.start()
    g = x.geometry(bar)
    assert g[0] + g[2] <= x.width and g[1] >= 0 and g[0] > x.width - 200


def lamp_colour(skylane):
    return skylane.x.pixel(*skylane.bar_point(*LIGHT))


def is_green(c):
    return c[1] > 120 and c[0] < 100 and c[2] < 100


def test_status_light_sends_the_bar_to_the_restore_window_and_back(skylane):
    x = skylane.x
    bar = skylane.start()
    assert is_green(lamp_colour(skylane)), lamp_colour(skylane)
    x.click(*skylane.bar_point(*LIGHT))
    restore = wait_for(
        lambda: skylane.window_titled("Ulvo's Launch Bar", viewable=False), what="the restore window")
    wait_for(lambda: x.wm_state(restore) == "Iconic", what="the restore window minimized")
    assert "_NET_WM_STATE_SKIP_TASKBAR" not in x.net_state(restore), "it has a taskbar entry"
    # Only the bar carries the program's icon (openbox puts its own on a window without one).
    assert list(x.prop(restore, "_NET_WM_ICON") or []) != list(x.prop(bar, "_NET_WM_ICON")), "an icon"
    wait_for(lambda: "_NET_WM_STATE_ABOVE" not in x.net_state(bar), what="the bar to leave the top")
    time.sleep(0.2)
    assert not is_green(lamp_colour(skylane)), "the lamp is unlit"
    # Restoring the taskbar entry brings the bar back on top.
    x.activate(restore)
    wait_for(lambda: skylane.window_titled("Ulvo's Launch Bar", viewable=False) is None
             or x.wm_state(restore) == "Withdrawn", what="the restore window to close")
    wait_for(lambda: "_NET_WM_STATE_ABOVE" in x.net_state(bar), timeout=5, what="the bar back on top")
    wait_for(lambda: is_green(lamp_colour(skylane)), what="the green lamp")
    assert [w.id for w in skylane.visible_windows()] == [bar.id]
