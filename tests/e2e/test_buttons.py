"""Starting programs, giving a button a program through the real file
dialog, adding and removing buttons with the category file following."""

import os
import signal
import time

from skylane_e2e import stays, wait_for

RECORDER = """#!/bin/sh
{{ printf '%s\\n' "$0" "$#"; for a in "$@"; do printf '%s\\n' "$a"; done; pwd; }} > "{out}.part"
mv "{out}.part" "{out}"
"""

RESTING = (810 + 120, 60 + 120)


def make_recorder(skylane):
    folder = skylane.root / "my programs"
    folder.mkdir()
    out = skylane.root / "recorded"
    script = folder / "record args.sh"
    script.write_text(RECORDER.format(out=out))
    script.chmod(0o755)
    return script, out


def category_lines(skylane, name="Inet"):
    return skylane.cfg(f"{name}.cfg").read_bytes().split(b"\r\n")[:-1]


def test_left_click_starts_the_program_with_no_arguments(skylane):
    script, out = make_recorder(skylane)
    skylane.write_category("Inet", ["/bin/true", str(script)])
    skylane.start()
    # A right or middle release starts nothing; a left one starts it.
    skylane.x.click(*skylane.button_point(2), 2)
    assert stays(lambda: not out.exists(), 1.0)
    skylane.x.click(*skylane.button_point(2))
    wait_for(out.exists, what="the script to run")
    lines = out.read_text().splitlines()
    assert lines[0] == str(script) and lines[1] == "0"
    assert skylane.running()


def test_x_client_comes_up_minimized(skylane):
    x = skylane.x
    skylane.write_category("Inet", ["/usr/bin/xclock"])
    bar = skylane.start()
    skylane.x.click(*skylane.button_point(1))
    clock = wait_for(lambda: next((w for w in x.client_windows() if x.wm_class(w) == "xclock"), None),
                     what="xclock's window")
    try:
        wait_for(lambda: x.wm_state(clock) == "Iconic", what="xclock minimized")
        assert stays(lambda: x.wm_state(clock) == "Iconic", 1.0), "it stays minimized"
        assert "_NET_WM_STATE_ABOVE" in x.net_state(bar)
    finally:
        pid = x.pid(clock)
        if pid:
            os.kill(pid, signal.SIGTERM)


def open_dialog_and_choose(skylane, path):
    x = skylane.x
    dialog = wait_for(lambda: next((w for w in skylane.visible_windows() if w.id != skylane.bar().id
                                    and x.title(w) not in ("Lock Protection",)), None), what="the file dialog")
    wait_for(lambda: x.active_window() == dialog.id, what="the file dialog to take the focus")
    time.sleep(0.3)
    x.key("ctrl+a")
    x.type(str(path))
    x.key("Return")
    wait_for(lambda: not x.is_viewable(dialog), what="the file dialog to close")


def test_right_click_gives_a_button_a_program_through_the_file_dialog(skylane):
    x = skylane.x
    script, out = make_recorder(skylane)
    skylane.write_category("Inet", ["/bin/true", "/bin/false"])
    skylane.start()
    bx, by = skylane.button_point(2)
    x.click(bx, by, 3)
    # A button with a program asks first.
    box = skylane.wait_window("Lock Protection")
    wait_for(lambda: x.active_window() == box.id, what="the question to take the focus")
    x.key("Escape")  # Cancel: nothing changes
    wait_for(lambda: skylane.window_titled("Lock Protection") is None, what="the question to close")
    assert category_lines(skylane) == [b"/bin/true", b"/bin/false"]
    x.click(bx, by, 3)
    box = skylane.wait_window("Lock Protection")
    wait_for(lambda: x.active_window() == box.id, what="the question to take the focus")
    x.key("Return")  # Yes, the default
    open_dialog_and_choose(skylane, script)
    wait_for(lambda: category_lines(skylane) == [b"/bin/true", str(script).encode()],
             what="the category file to follow")
    # The new program runs from the button.
    x.click(bx, by)
    wait_for(out.exists, what="the chosen program to run")
    assert [w.id for w in skylane.visible_windows()] == [skylane.bar().id]


def test_add_and_remove_buttons_with_the_category_file_following(skylane):
    x = skylane.x
    script, _ = make_recorder(skylane)
    skylane.write_category("Inet", ["/bin/true", "/bin/false"])
    bar = skylane.start()
    width = x.geometry(bar)[2]
    assert width == skylane.bar_width_for(2)
    resting = skylane.bar_point(*RESTING)
    # Left click on the resting picture shows "add", a second click adds.
    x.click(*resting)
    time.sleep(0.2)
    x.click(*resting)
    wait_for(lambda: x.geometry(bar)[2] == skylane.bar_width_for(3), what="a third button")
    # A new button without program takes one without the question.
    x.click(*skylane.button_point(3), 3)
    open_dialog_and_choose(skylane, script)
    wait_for(lambda: category_lines(skylane) == [b"/bin/true", b"/bin/false", str(script).encode()],
             what="the category file with the third button")
    # Right click shows "remove", a left click on it removes the last one.
    x.click(*resting, 3)
    time.sleep(0.2)
    x.click(*resting)
    wait_for(lambda: x.geometry(bar)[2] == skylane.bar_width_for(2), what="the row of two again")
    wait_for(lambda: category_lines(skylane) == [b"/bin/true", b"/bin/false"],
             what="the category file without the third button")
    skylane.stop()
    bar = skylane.start()
    assert x.geometry(bar)[2] == skylane.bar_width_for(2)
