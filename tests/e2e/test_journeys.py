"""What a user meets on a real desktop, one journey per test."""

import os
import re
import shutil
import signal
import time

import dbus
from dbusmock import MOCK_IFACE, DBusTestCase

from dbusmock.templates.systemd import MAIN_IFACE as SYSTEMD
from skylane_e2e import calls, px, stays, stop_processes, wait_for


def test_first_run_and_the_bar_on_top(skylane):
    x = skylane.x
    shutil.rmtree(skylane.config)
    skylane.launch()
    splash = wait_for(skylane.splash, what="the start-up window")
    assert "_NET_WM_STATE_SKIP_TASKBAR" in x.net_state(splash)
    wait_for(lambda: sum(p == (255, 0, 0) for row in x.pixels(*skylane.red_line_point(splash), 100, 5)
                         for p in row) > 150, what="the red line")
    x.click(*skylane.red_line_point(splash))
    wait_for(lambda: skylane.splash() is None, what="the start-up window to close")
    bar = wait_for(skylane.bar, what="the bar")
    assert x.geometry(bar) == (340, 308, skylane.bar_width_for(1), px(375))
    assert {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR"} <= x.net_state(bar)
    assert list(x.prop(bar, "_NET_FRAME_EXTENTS")) == [0, 0, 0, 0]
    assert [w.id for w in skylane.visible_windows()] == [bar.id]


def test_programs_and_the_place(skylane):
    x = skylane.x
    first, first_out = skylane.root / "my first.sh", skylane.root / "first.out"
    first.write_text(f'#!/bin/sh\nprintf "%s\\n" "$0" "$#" > "{first_out}.part"; mv "{first_out}.part" "{first_out}"\n')
    first.chmod(0o755)
    (skylane.config / "Inet.cfg").write_bytes(bytes(first) + b"\r\n/usr/bin/xclock\r\n")
    bar = skylane.start()
    x.click(*skylane.button_point(1))
    assert wait_for(first_out.exists) and first_out.read_text().splitlines() == [str(first), "0"]
    # An X program comes up minimized; the bar stays on top.
    x.click(*skylane.button_point(2))
    clock = wait_for(lambda: next((w for w in x.client_windows() if x.wm_class(w) == "xclock"), None))
    wait_for(lambda: x.wm_state(clock) == "Iconic", what="xclock minimized")
    assert stays(lambda: x.wm_state(clock) == "Iconic", 1.0) and "_NET_WM_STATE_ABOVE" in x.net_state(bar)
    os.kill(x.pid(clock), signal.SIGTERM)
    # Dragged by the handle: the place is saved for the next start.
    start = skylane.bar_point(405 + 180, 110 + 120)
    x.drag(start, (start[0] + 250, start[1] + 150))
    # Wherever the window manager's move left it (a loaded machine may drop pointer motions).
    left, top = wait_for(lambda: (g := skylane.bar_geometry())[:2] != (340, 308) and g)[:2]
    wait_for(lambda: skylane.settings().get("LF= ") == str(left * 15) and skylane.settings().get("TP= ") == str(top * 15),
             what="the new place in prg.cfg")
    skylane.stop()
    assert x.geometry(skylane.start()) == (left, top, skylane.bar_width_for(2), px(375))


def test_menus_and_the_status_light(skylane):
    x = skylane.x
    bar = skylane.start()
    menus = skylane.open_menu()
    pointer = skylane.bar_point(585, 30)[0]
    wait_for(lambda: abs(x.geometry(menus[0])[0] - pointer) <= 2, what="the menu at the pointer")
    x.key("Escape")
    wait_for(lambda: not any(x.is_viewable(m) for m in menus), what="the menu to close")
    # The green light drops the bar and shows a restore window in the taskbar.
    light = skylane.bar_point(150, 250)
    green = lambda: (lambda c: c[1] > 120 and c[0] < 100 and c[2] < 100)(x.pixel(*light))  # noqa: E731
    assert green()
    x.click(*light)
    restore = wait_for(lambda: skylane.window_titled("Ulvo's Launch Bar", viewable=False), what="the restore window")
    wait_for(lambda: x.wm_state(restore) == "Iconic", what="the restore window minimized")
    assert "_NET_WM_STATE_SKIP_TASKBAR" not in x.net_state(restore)
    # Only the bar carries the program's icon (openbox puts its own on a window without one).
    assert list(x.prop(restore, "_NET_WM_ICON") or []) != list(x.prop(bar, "_NET_WM_ICON")), "an icon"
    wait_for(lambda: "_NET_WM_STATE_ABOVE" not in x.net_state(bar) and not green(), what="the bar down, unlit")
    x.xdotool("windowactivate", restore.id)
    wait_for(lambda: "_NET_WM_STATE_ABOVE" in x.net_state(bar) and green(), what="the bar back on top, green")
    assert [w.id for w in skylane.visible_windows()] == [bar.id]


def test_exit_dialog(skylane):
    skylane.expects_logind = True
    x, buses = skylane.x, skylane.buses
    # The bar's own session as logind tells it, and Xfce's session manager.
    buses.logind.AddSession("c7", "seat0", dbus.UInt32(1000), "tester", True)
    buses.logind.AddMethod("org.freedesktop.login1.Manager", "GetSessionByPID", "u", "o",
                           "ret = '/org/freedesktop/login1/session/c7'")
    buses.logind.ClearCalls()
    xfce = DBusTestCase.spawn_server("org.xfce.SessionManager", "/org/xfce/SessionManager", "org.xfce.Session.Manager")
    manager = dbus.Interface(DBusTestCase.get_dbus().get_object("org.xfce.SessionManager", "/org/xfce/SessionManager"),
                             MOCK_IFACE)

    try:
        manager.AddMethod("", "Logout", "bb", "", "")
        skylane.start()
        skylane.menu_command(4, 12)  # Type > Exit, whose button opens the exit dialog
        wait_for(lambda: x.geometry(skylane.bar())[2] == skylane.bar_width_for(1), what="the Exit row")
        x.click(*skylane.button_point(1))
        dialog = skylane.wait_window("Shutdown")
        assert x.wm_class(dialog) == "skylane" and "_NET_WM_STATE_SKIP_TASKBAR" not in x.net_state(dialog)
        for option in range(4):
            skylane.exit_option(option)
        wait_for(lambda: len(calls(buses.logind)) == 4, what="four calls to logind")
        assert calls(buses.logind) == [("PowerOff", [False]), ("Reboot", [False]),
                                       ("GetSessionByPID", [skylane.proc.pid]), ("TerminateSession", ["c7"])]
        assert calls(manager) == [("Logout", [False, True])]
    finally:
        stop_processes([xfce])
    assert stays(lambda: skylane.proc.poll() is None, 0.5) and skylane.window_titled("Shutdown") is not None
    skylane.exit_option(4)  # Quit
    assert skylane.proc.wait(10) == 0


def test_the_bar_knows_its_place(skylane):
    """Start after start, the program's idea of its place is the X server's: widened by one button, and once
    more, the bar stays where it is (a program that believes it is elsewhere resizes itself there)."""
    x, wrong, starts = skylane.x, [], int(os.environ.get("SKYLANE_E2E_STARTS", "300"))
    for start in range(starts):
        bar = skylane.start()
        places = [skylane.bar_geometry()]
        for _ in range(2):
            x.click(*skylane.bar_point(810 + 120, 60 + 120))  # the resting image arms adding
            x.click(*skylane.bar_point(795 + 150, 45 + 140))  # the add image adds a button
            places.append(wait_for(lambda: (g := x.geometry(bar)) and g[2] != places[-1][2] and g, what="a wider bar"))
        if places != [(340, 308, places[0][2] + px(345) * i, px(375)) for i in range(3)]:
            wrong.append((start, places))
        skylane.stop()
    assert wrong == [], f"{len(wrong)} of {starts} starts: {wrong[:3]}"


def test_moving_a_button_along_the_row(skylane):
    """Dragged along the row a button takes its new place and the file's lines follow, byte for byte; Escape
    or a release off the bar changes nothing; a click still starts the program now in the place."""
    x, names, cfg = skylane.x, [b"a.sh", b"caf\xe9 b.sh", b"c.sh"], skylane.config / "Inet.cfg"
    paths = [os.fsencode(skylane.root) + b"/" + n for n in names]
    for p in paths:
        with open(p, "wb") as f:
            f.write(b'#!/bin/sh\nprintf "%s" "$0" > "$0.out"\n')
        os.chmod(p, 0o755)
    cfg.write_bytes(b"\r\n".join([*paths, b""]) + b"\r\n")  # the last button blank
    skylane.start()
    slot = px(345)

    def drag(frm, by, end="up"):
        start = skylane.button_point(frm)
        x.xdotool("mousemove", "--sync", *start)
        x.xdotool("mousedown", 1)
        for i in range(1, 11):
            x.xdotool("mousemove", start[0] + by * i // 10, start[1])
            time.sleep(0.03)
        if end == "Escape":
            x.key("Escape")
        elif end == "off":
            x.xdotool("mousemove", "--sync", start[0] + by, start[1] - px(1000))
        time.sleep(0.15)
        x.xdotool("mouseup", 1)
        time.sleep(0.3)

    drag(1, 2 * slot)  # right
    order = [paths[1], paths[2], paths[0], b""]
    wait_for(lambda: cfg.read_bytes() == b"\r\n".join(order) + b"\r\n", what="the moved line")
    drag(4, -3 * slot)  # left: the blank button first
    order = [b"", *order[:3]]
    wait_for(lambda: cfg.read_bytes() == b"\r\n".join(order) + b"\r\n", what="the blank line first")
    before = os.stat(cfg).st_mtime_ns
    drag(2, slot, "Escape")
    drag(2, slot, "off")
    x.click(*skylane.button_point(2))
    out = paths[1] + b".out"
    assert wait_for(lambda: os.path.exists(out)) and open(out, "rb").read() == paths[1]
    assert os.stat(cfg).st_mtime_ns == before and not any(os.path.exists(p + b".out") for p in (paths[0], paths[2]))


def test_a_started_program_has_the_session_environment_and_a_scope_of_its_own(skylane):
    """The program gets the variables the bar was started with, not the bar's own choices nor its start-up id;
    the user's service manager is asked for a scope holding it; refused or absent, the program starts all the same."""
    x, prog, out = skylane.x, skylane.root / "env-recorder", skylane.root / "env.out"
    prog.write_text(f'#!/bin/sh\n{{ echo $$; cat /proc/$$/environ; }} > "{out}.tmp"; mv "{out}.tmp" "{out}"\n')
    prog.chmod(0o755)
    (skylane.config / "Inet.cfg").write_bytes(bytes(prog) + b"\r\n")

    def start():
        out.unlink(missing_ok=True)
        x.click(*skylane.button_point(1))
        pid, _, env = wait_for(lambda: out.exists() and out.read_bytes(), what="the program").partition(b"\n")
        return int(pid), dict(e.split("=", 1) for e in env.decode().split("\0") if e)

    mock, systemd = DBusTestCase.spawn_server_template("systemd", {}, system_bus=False)
    systemd = dbus.Interface(systemd, MOCK_IFACE)
    try:
        skylane.start({"QT_QPA_PLATFORM": None, "DESKTOP_STARTUP_ID": "launcher-1_TIME9", "XDG_ACTIVATION_TOKEN": "t"})
        pid, env = start()
        assert env == {k: v for k, v in skylane.env.items() if k not in ("DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN")}
        [(_, [unit, mode, properties, aux])] = wait_for(lambda: systemd.GetMethodCalls("StartTransientUnit"))
        assert re.fullmatch(r"app-skylane-env\\x2drecorder-[0-9a-f]{16}\.scope", unit) and mode == "fail"
        assert dict(properties)["PIDs"] == [pid] and aux == []
        systemd.AddMethod(SYSTEMD, "StartTransientUnit", "ssa(sv)a(sa(sv))", "o",
                          "raise dbus.exceptions.DBusException('no', name='org.freedesktop.systemd1.UnitExists')")
        assert start()[0] != pid
        wait_for(lambda: len(systemd.GetMethodCalls("StartTransientUnit")) == 2, what="the refused call")
    finally:
        stop_processes([mock])
    assert start()[0] != pid and skylane.proc.poll() is None and "no scope of its own" in skylane.output()
