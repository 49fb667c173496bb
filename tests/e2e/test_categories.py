"""Rows built from the category files, switched by the caption and by the
popup menu."""

import time

from skylane_e2e import wait_for

ROWS = {"Inet": 3, "Aud": 2, "Game": 4, "Grap": 1, "Work": 5}


def fill_categories(skylane):
    programs = ["/usr/bin/xclock", "/bin/true", "/usr/bin/xterm", "/bin/sh", "/usr/bin/env"]
    for name, count in ROWS.items():
        skylane.write_category(name, programs[:count])


def wait_row(skylane, buttons):
    x = skylane.x
    want = skylane.bar_width_for(buttons)
    wait_for(lambda: x.geometry(skylane.bar())[2] == want, what=f"a row of {buttons} buttons")


def test_caption_click_steps_through_the_categories(skylane):
    fill_categories(skylane)
    before = {p.name: p.read_bytes() for p in skylane.config.iterdir()}
    skylane.start()
    wait_row(skylane, ROWS["Inet"])
    # Each left release on the caption shows the next category of the list
    # Aud, Game, Grap, Inet, ...; a category without a file has one button.
    for expected in ["Game", "Grap", "Inet", "Misc"]:
        skylane.click_caption()
        wait_row(skylane, ROWS.get(expected, 1))
    skylane.click_caption()  # Pack
    wait_row(skylane, 1)
    after = {p.name: p.read_bytes() for p in skylane.config.iterdir() if p.name != "prg.cfg"}
    assert {k: v for k, v in before.items() if k in after} == {k: after[k] for k in before}, \
        "switching rows rewrites no category file"


def test_row_shows_the_programs_icons(skylane):
    fill_categories(skylane)
    bar = skylane.start()
    wait_row(skylane, ROWS["Inet"])
    x = skylane.x
    g = x.geometry(bar)
    background = x.pixel(g[0] + g[2] - 2, g[1] + 1)
    for index in range(1, ROWS["Inet"] + 1):
        bx, by = skylane.button_point(index)
        area = x.pixels(bx - 8, by - 8, 16, 16)
        colours = {p for row in area for p in row}
        assert len(colours) > 3 and colours != {background}, f"button {index} shows a picture"


def test_popup_menu_type_switches_the_category(skylane):
    fill_categories(skylane)
    skylane.start()
    wait_row(skylane, ROWS["Inet"])
    # Type > Work, the twelfth item; Type > Audio, the first.
    skylane.open_menu()
    skylane.x.key("Down", "Down", "Down", "Down", "Right")
    time.sleep(0.2)
    skylane.x.key(*(["Down"] * 11), "Return")
    wait_row(skylane, ROWS["Work"])
    skylane.open_menu()
    skylane.x.key("Down", "Down", "Down", "Down", "Right")
    time.sleep(0.2)
    skylane.x.key("Return")
    wait_row(skylane, ROWS["Aud"])
    # The menu is gone once a command is chosen.
    time.sleep(0.3)
    assert [w.id for w in skylane.visible_windows()] == [skylane.bar().id]


def test_popup_menu_opens_at_the_pointer_and_closes_on_escape(skylane):
    skylane.start()
    menus = skylane.open_menu()
    x = skylane.x
    mx, my = skylane.bar_point(435 + 150, 30)
    g = x.geometry(menus[0])
    assert abs(g[0] - mx) <= 2 and abs(g[1] - my) <= 2, "the menu's corner is at the pointer"
    x.key("Escape")
    wait_for(lambda: not any(x.is_viewable(m) for m in menus), what="the menu to close")
