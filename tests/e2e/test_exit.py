"""The exit dialog: quitting, and each session option reaching the mock
logind while the machine is left alone."""

import pytest

from skylane_e2e import px, stays, wait_for

OPTIONS = {"Normal Shutdown": 0, "Reboot": 1, "Log Off": 2, "Forced Shutdown": 3, "Quit": 4}


def open_exit_dialog(skylane, extra_env=None):
    skylane.start(extra_env)
    # The Exit category: the last of the Type menu.
    skylane.open_menu()
    skylane.x.key("Down", "Down", "Down", "Down", "Right")
    skylane.x.key(*(["Down"] * 12), "Return")
    wait_for(lambda: skylane.x.geometry(skylane.bar())[2] == skylane.bar_width_for(1), what="the Exit row")
    skylane.x.click(*skylane.button_point(1))
    return skylane.wait_window("Shutdown")


def choose(skylane, dialog, option):
    x = skylane.x
    gx, gy, _, _ = x.geometry(dialog)
    i = OPTIONS[option]
    x.click(gx + px(240) + 8, gy + px(240 + 360 * i) + 8)
    x.click(gx + px(2040 + 360), gy + px(240 + 180))  # Ok


def test_quit_ends_the_program_with_status_zero(skylane):
    dialog = open_exit_dialog(skylane)
    x = skylane.x
    assert x.wm_class(dialog) == "skylane"
    assert "_NET_WM_STATE_SKIP_TASKBAR" not in x.net_state(dialog)
    choose(skylane, dialog, "Quit")
    assert skylane.proc.wait(10) == 0
    assert skylane.buses.logind_calls() == []


def test_cancel_keeps_the_program(skylane):
    dialog = open_exit_dialog(skylane)
    x = skylane.x
    gx, gy, _, _ = x.geometry(dialog)
    x.click(gx + px(2040 + 360), gy + px(840 + 180))  # Cancel
    wait_for(lambda: skylane.window_titled("Shutdown") is None, what="the dialog to close")
    assert stays(skylane.running, 0.5) and skylane.bar() is not None


@pytest.mark.parametrize("option, call", [
    ("Normal Shutdown", ("PowerOff", [False])),
    ("Reboot", ("Reboot", [False])),
    ("Log Off", ("TerminateSession", ["e2e7"])),
    ("Forced Shutdown", ("TerminateSession", ["e2e7"])),
])
def test_session_option_reaches_logind(skylane, option, call):
    skylane.expects_logind = True
    dialog = open_exit_dialog(skylane, {"XDG_SESSION_ID": "e2e7"})
    choose(skylane, dialog, option)
    buses = skylane.buses
    wait_for(lambda: buses.logind_calls(), what="a call to logind")
    assert stays(lambda: len(buses.logind_calls()) == 1, 0.5)
    method, args = buses.logind_calls()[0]
    assert (method, [a for a in args]) == call
    assert skylane.running(), "asking logind leaves the bar running"


def test_log_off_asks_the_session_manager_when_one_runs(skylane):
    """With a desktop session manager on the session bus, Log Off asks it
    and leaves logind alone."""
    import subprocess
    import dbus

    buses = skylane.buses
    env = buses.env()
    manager = subprocess.Popen(
        ["/usr/bin/python3", "-m", "dbusmock", "org.gnome.SessionManager", "/org/gnome/SessionManager",
         "org.gnome.SessionManager"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    session = dbus.bus.BusConnection(buses.session_address)
    try:
        wait_for(lambda: session.name_has_owner("org.gnome.SessionManager"), what="the mock session manager")
        mock = dbus.Interface(session.get_object("org.gnome.SessionManager", "/org/gnome/SessionManager"),
                              "org.freedesktop.DBus.Mock")
        mock.AddMethod("", "Logout", "u", "", "")
        dialog = open_exit_dialog(skylane, {"XDG_SESSION_ID": "e2e7"})
        choose(skylane, dialog, "Log Off")
        wait_for(lambda: mock.GetCalls(), what="the session manager's Logout")
        calls = [(str(c[1]), [int(a) for a in c[2]]) for c in mock.GetCalls()]
        assert calls == [("Logout", [1])]
        assert stays(lambda: buses.logind_calls() == [], 0.5)
    finally:
        session.close()
        manager.terminate()
        manager.wait(5)
