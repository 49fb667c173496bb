"""The appearance menus with the real colour dialog."""

import time

from skylane_e2e import wait_for


def choose(skylane, top_downs, sub_downs):
    """Popup menu: the item `top_downs` down, then its submenu's item."""
    x = skylane.x
    skylane.open_menu()
    time.sleep(0.15)
    x.key(*(["Down"] * top_downs), "Right")
    time.sleep(0.2)
    x.key(*(["Down"] * sub_downs), "Return")


def pick_colour(skylane, html):
    x = skylane.x
    dialog = skylane.wait_window("Select Color")
    wait_for(lambda: x.active_window() == dialog.id, what="the colour dialog to take the focus")
    x.key("alt+h", "ctrl+a")
    x.type(html)
    x.key("Return")
    wait_for(lambda: skylane.window_titled("Select Color") is None, what="the colour dialog to close")


def bar_background(skylane):
    """The colour of the bar's right end, where no control lies."""
    x = skylane.x
    g = x.geometry(skylane.bar())
    return x.pixel(g[0] + g[2] - 3, g[1] + g[3] - 2)


def test_background_colour_from_the_colour_dialog(skylane):
    skylane.start()
    choose(skylane, 1, 0)  # Background > Color
    pick_colour(skylane, "#3366cc")
    wait_for(lambda: bar_background(skylane) == (0x33, 0x66, 0xCC), what="the bar in the chosen colour")
    wait_for(lambda: skylane.settings().get("BG= ") == str(0xCC6633), what="BG= in prg.cfg")
    # Kept for the next start.
    skylane.stop()
    skylane.start()
    wait_for(lambda: bar_background(skylane) == (0x33, 0x66, 0xCC), what="the colour after a restart")


def test_caption_colour_from_the_colour_dialog(skylane):
    skylane.start()
    choose(skylane, 2, 1)  # Font > Color
    pick_colour(skylane, "#ff8000")
    wait_for(lambda: skylane.settings().get("TC= ") == str(0x0080FF), what="TC= in prg.cfg")
    x = skylane.x
    g = x.geometry(skylane.bar())
    caption = x.pixels(g[0], g[1], 45, 13)
    assert any(p == (0xFF, 0x80, 0x00) for row in caption for p in row), "the caption is drawn orange"


def test_match_borders_and_desktop(skylane):
    skylane.start()
    choose(skylane, 1, 3)  # Background > Match Borders (the button face)
    wait_for(lambda: bar_background(skylane) != (0, 0, 0), what="the bar in the button face colour")
    face = bar_background(skylane)
    assert face[0] == face[1] == face[2] or max(face) - min(face) < 40, face
    choose(skylane, 1, 4)  # Match Desktop
    wait_for(lambda: bar_background(skylane) != face, what="the bar in the desktop colour")


def test_caption_font_from_the_font_dialog(skylane):
    x = skylane.x
    skylane.start()
    g = x.geometry(skylane.bar())
    before = x.pixels(g[0], g[1], 45, 13)
    choose(skylane, 2, 0)  # Font > Type
    dialog = skylane.wait_window("Select Font")
    wait_for(lambda: x.active_window() == dialog.id, what="the font dialog to take the focus")
    time.sleep(0.3)
    x.key("alt+f", "ctrl+a")
    x.type("DejaVu Serif")
    time.sleep(0.3)
    x.key("Return")
    wait_for(lambda: skylane.window_titled("Select Font") is None, what="the font dialog to close")
    wait_for(lambda: skylane.settings().get("TF= ") == "DejaVu Serif", what="TF= in prg.cfg")
    wait_for(lambda: x.pixels(g[0], g[1], 45, 13) != before, what="the caption in the new face")
