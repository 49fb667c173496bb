"""The popup menu with the real colour and font dialogs, and the status
light sending the bar to its restore window and back."""

import time

from skylane_e2e import wait_for

LIGHT = (60 + 90, 160 + 90)


def choose(skylane, top_downs, sub_downs):
    """Popup menu: the item `top_downs` down, then its submenu's item."""
    skylane.open_menu()
    time.sleep(0.15)
    skylane.x.key(*(["Down"] * top_downs), "Right")
    time.sleep(0.2)
    skylane.x.key(*(["Down"] * sub_downs), "Return")


def use_dialog(skylane, title, field_key, text):
    x = skylane.x
    dialog = skylane.wait_window(title)
    wait_for(lambda: x.active_window() == dialog.id, what=f"the {title} dialog to take the focus")
    time.sleep(0.3)
    x.key(field_key, "ctrl+a")
    x.type(text)
    time.sleep(0.3)
    x.key("Return")
    wait_for(lambda: skylane.window_titled(title) is None, what=f"the {title} dialog to close")


def background(skylane):
    g = skylane.x.geometry(skylane.bar())
    return skylane.x.pixel(g[0] + g[2] - 3, g[1] + g[3] - 2)


def caption(skylane):
    g = skylane.x.geometry(skylane.bar())
    return skylane.x.pixels(g[0], g[1], 45, 13)


def is_green(c):
    return c[1] > 120 and c[0] < 100 and c[2] < 100


def test_menus_dialogs_and_the_status_light(skylane):
    x = skylane.x
    bar = skylane.start()
    # The menu opens at the pointer and closes on Escape.
    menus = skylane.open_menu()
    mx, my = skylane.bar_point(435 + 150, 30)
    g = x.geometry(menus[0])
    assert abs(g[0] - mx) <= 2 and abs(g[1] - my) <= 2
    x.key("Escape")
    wait_for(lambda: not any(x.is_viewable(m) for m in menus), what="the menu to close")

    choose(skylane, 1, 0)  # Background > Color
    use_dialog(skylane, "Select Color", "alt+h", "#3366cc")
    wait_for(lambda: background(skylane) == (0x33, 0x66, 0xCC), what="the bar in the chosen colour")
    wait_for(lambda: skylane.settings().get("BG= ") == str(0xCC6633), what="BG= in prg.cfg")
    choose(skylane, 2, 1)  # Font > Color
    use_dialog(skylane, "Select Color", "alt+h", "#ff8000")
    wait_for(lambda: skylane.settings().get("TC= ") == str(0x0080FF), what="TC= in prg.cfg")
    assert any(p == (0xFF, 0x80, 0x00) for row in caption(skylane) for p in row), "the caption is orange"
    before = caption(skylane)
    choose(skylane, 2, 0)  # Font > Type
    use_dialog(skylane, "Select Font", "alt+f", "DejaVu Serif")
    wait_for(lambda: skylane.settings().get("TF= ") == "DejaVu Serif", what="TF= in prg.cfg")
    wait_for(lambda: caption(skylane) != before, what="the caption in the new face")
    choose(skylane, 1, 3)  # Match Borders: the button face, grey
    wait_for(lambda: background(skylane) != (0x33, 0x66, 0xCC), what="the button face colour")
    face = background(skylane)
    assert max(face) - min(face) < 40, face
    skylane.stop()
    bar = skylane.start()
    assert background(skylane) == (0x33, 0x66, 0xCC), "a Match command saves nothing"

    # The green light drops the bar and shows a restore window in the taskbar.
    light = skylane.bar_point(*LIGHT)
    assert is_green(x.pixel(*light))
    x.click(*light)
    restore = wait_for(lambda: skylane.window_titled("Ulvo's Launch Bar", viewable=False),
                       what="the restore window")
    wait_for(lambda: x.wm_state(restore) == "Iconic", what="the restore window minimized")
    assert "_NET_WM_STATE_SKIP_TASKBAR" not in x.net_state(restore)
    # Only the bar carries the program's icon (openbox puts its own on a window without one).
    assert list(x.prop(restore, "_NET_WM_ICON") or []) != list(x.prop(bar, "_NET_WM_ICON")), "an icon"
    wait_for(lambda: "_NET_WM_STATE_ABOVE" not in x.net_state(bar), what="the bar to leave the top")
    wait_for(lambda: not is_green(x.pixel(*light)), what="the unlit lamp")
    x.activate(restore)
    wait_for(lambda: skylane.window_titled("Ulvo's Launch Bar", viewable=False) is None
             or x.wm_state(restore) == "Withdrawn", what="the restore window to close")
    wait_for(lambda: "_NET_WM_STATE_ABOVE" in x.net_state(bar), what="the bar back on top")
    wait_for(lambda: is_green(x.pixel(*light)), what="the green lamp")
    assert [w.id for w in skylane.visible_windows()] == [bar.id]
