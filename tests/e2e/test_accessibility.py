"""The bar as a screen reader reads it through AT-SPI, on a private accessibility bus."""

import os

import dbus

from skylane_e2e import quiet, stop_processes, wait_for


def a11y_bus_address(session):
    try:
        return str(session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(dbus_interface="org.a11y.Bus"))
    except dbus.DBusException:
        return None


def test_the_bar_read_by_a_screen_reader(skylane, monkeypatch):
    env = dict(os.environ, DISPLAY=skylane.x.name, **skylane.buses.env)
    procs = [quiet("/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1", "--screen-reader=1", env=env)]
    try:
        session = dbus.bus.BusConnection(env["DBUS_SESSION_BUS_ADDRESS"])
        address = wait_for(lambda: a11y_bus_address(session), what="the accessibility bus")
        procs.append(quiet("/usr/libexec/at-spi2-registryd", env=dict(env, AT_SPI_BUS_ADDRESS=address)))
        monkeypatch.setenv("AT_SPI_BUS_ADDRESS", address)
        import pyatspi  # reads the bus address when first imported

        # A program with a desktop entry (which has no Icon= line) and one without.
        apps = skylane.root / "home/.local/share/applications"
        apps.mkdir(parents=True)
        named, plain = skylane.root / "viewer.sh", skylane.root / "plain tool.sh"
        for program in (named, plain):
            program.write_text("#!/bin/sh\n")
            program.chmod(0o755)
        (apps / "viewer.desktop").write_text(f"[Desktop Entry]\nType=Application\nName=Probe Viewer\nExec={named} %f\n")
        (skylane.config / "Inet.cfg").write_bytes(bytes(named) + b"\r\n" + bytes(plain) + b"\r\n")
        skylane.start(extra_env={"QT_ACCESSIBILITY": None, "NO_AT_BRIDGE": None})

        def bar():
            app = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == skylane.proc.pid), None)
            return app and next((w for w in app if w.getState().contains(pyatspi.STATE_SHOWING)), None)
        bar = wait_for(bar, what="the bar on the accessibility bus")
        controls = list(bar)
        showing = [c for c in controls if c.getState().contains(pyatspi.STATE_SHOWING)]
        assert [(c.getRoleName(), c.name) for c in [bar, *showing]
                if c.getRoleName() in ("filler", "panel", "unknown") or not c.name] == []
        assert bar.name == "Sky Lane"
        assert {"Probe Viewer", "plain tool.sh"} <= {c.name for c in showing if c.getRoleName() == "push button"}
        adder = {c.name: c.description for c in controls if c.name in ("Add button", "Remove last button")}
        assert len({*adder.values(), "Add button"}) == 3, adder  # neither the tooltip both share
        menu = skylane.bar_point(435 + 150, 30)
        assert bar.get_accessible_at_point(*menu, pyatspi.DESKTOP_COORDS).name == "MENU"
    finally:
        stop_processes(procs)
