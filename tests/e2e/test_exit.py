"""The exit dialog: each session option reaches the mock logind or the
desktop's session manager while the bar keeps running; Cancel; Quit."""

import subprocess

import dbus

from skylane_e2e import px, stays, wait_for

OPTIONS = {"Normal Shutdown": 0, "Reboot": 1, "Log Off": 2, "Forced Shutdown": 3, "Quit": 4}


def open_exit_dialog(skylane):
    # The Exit category, the last of the Type menu; its button opens the dialog.
    skylane.open_menu()
    skylane.x.key("Down", "Down", "Down", "Down", "Right")
    skylane.x.key(*(["Down"] * 12), "Return")
    wait_for(lambda: skylane.x.geometry(skylane.bar())[2] == skylane.bar_width_for(1), what="the Exit row")
    skylane.x.click(*skylane.button_point(1))
    return skylane.wait_window("Shutdown")


def press(skylane, dialog, option=None, button_top=240):
    x = skylane.x
    gx, gy, _, _ = x.geometry(dialog)
    if option is not None:
        x.click(gx + px(240) + 8, gy + px(240 + 360 * OPTIONS[option]) + 8)
    x.click(gx + px(2040 + 360), gy + px(button_top + 180))  # Ok, or Cancel at 840


def test_exit_dialog(skylane):
    skylane.expects_logind = True
    buses = skylane.buses
    manager = subprocess.Popen(
        ["/usr/bin/python3", "-m", "dbusmock", "org.gnome.SessionManager", "/org/gnome/SessionManager",
         "org.gnome.SessionManager"], env=buses.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    session = dbus.bus.BusConnection(buses.session_address)
    try:
        wait_for(lambda: session.name_has_owner("org.gnome.SessionManager"), what="the mock session manager")
        mock = dbus.Interface(session.get_object("org.gnome.SessionManager", "/org/gnome/SessionManager"),
                              "org.freedesktop.DBus.Mock")
        mock.AddMethod("", "Logout", "u", "", "")
        skylane.start({"XDG_SESSION_ID": "e2e7"})
        dialog = open_exit_dialog(skylane)
        assert skylane.x.wm_class(dialog) == "skylane"
        assert "_NET_WM_STATE_SKIP_TASKBAR" not in skylane.x.net_state(dialog)
        expected = []
        for option, call in [("Normal Shutdown", ("PowerOff", [False])), ("Reboot", ("Reboot", [False])),
                             ("Forced Shutdown", ("TerminateSession", ["e2e7"]))]:
            press(skylane, dialog, option)
            expected.append(call)
            wait_for(lambda: len(buses.logind_calls()) == len(expected), what=f"logind asked for {option}")
            assert buses.logind_calls() == expected
        press(skylane, dialog, "Log Off")
        wait_for(mock.GetCalls, what="the session manager's Logout")
        assert [(str(c[1]), [int(a) for a in c[2]]) for c in mock.GetCalls()] == [("Logout", [1])]
        assert stays(lambda: buses.logind_calls() == expected, 0.5), "Log Off leaves logind alone"
        assert skylane.running() and skylane.window_titled("Shutdown") is not None
    finally:
        session.close()
        manager.terminate()
        manager.wait(5)

    press(skylane, dialog, button_top=840)  # Cancel
    wait_for(lambda: skylane.window_titled("Shutdown") is None, what="the dialog to close")
    assert stays(skylane.running, 0.5) and skylane.bar() is not None
    skylane.x.click(*skylane.button_point(1))
    press(skylane, skylane.wait_window("Shutdown"), "Quit")
    assert skylane.proc.wait(10) == 0
    assert len(buses.logind_calls()) == len(expected)
