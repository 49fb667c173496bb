"""Saves the machine refuses, on a real file system: the files stay as they were, the user is told once,
and the next save that can be written brings the whole state to disk."""

import subprocess

import pytest

from skylane_e2e import wait_for

ROW = b"/bin/true\r\n/bin/false\r\n/bin/ls\r\n\r\n"


def mount(folder, size):
    r = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "skylane-test", folder], capture_output=True)
    if r.returncode:
        pytest.skip(f"a small file system cannot be mounted here: {r.stderr.decode().strip()}")


def fill(folder):  # until the file system has no page left
    subprocess.run(["dd", "if=/dev/zero", f"of={folder / 'filler'}", "bs=4k"], capture_output=True)


def test_a_full_disk_and_a_folder_turned_read_only(skylane):
    x, cfg = skylane.x, skylane.config
    kept = {p.name: p.read_bytes() for p in cfg.iterdir()}
    mount(cfg, "256k")
    try:
        for name, content in {**kept, "Inet.cfg": ROW, "prg.cfg": b"LF= 1500\r\nTP= 1500\r\n"}.items():
            (cfg / name).write_bytes(content)
        bar = skylane.start()
        assert skylane.bar_geometry()[:2] == (100, 100)
        on_disk = lambda: {p.name: p.read_bytes() for p in cfg.iterdir() if p.name != "filler"}

        def refused(change, key, reason):
            before = on_disk()
            change()
            message = wait_for(lambda: next((w for w in skylane.windows() if w.id != bar.id and x.is_viewable(w)
                                             and x.prop(w, "_NET_WM_NAME") == b"Sky Lane"), None), what="the message")
            wait_for(lambda: reason in skylane.output(), what=reason)
            assert len([w for w in skylane.visible_windows() if w.id != bar.id]) == 1 and on_disk() == before
            x.key(key)
            wait_for(lambda: not x.is_viewable(message), what="the message to close")

        def remove_last():  # the right-clicked resting image turns into the remove image
            x.click(*skylane.bar_point(810 + 120, 60 + 120), button=3)
            x.click(*skylane.bar_point(780 + 150, 45 + 140))

        fill(cfg)
        refused(remove_last, "Return", "No space left on device")
        start = skylane.bar_point(405 + 180, 110 + 120)
        refused(lambda: x.drag(start, (start[0] + 150, start[1] + 90)), "Escape", "No space left on device")
        left, top = skylane.bar_geometry()[:2]
        (cfg / "filler").unlink()
        remove_last()  # writes the row as it is now and the bar's place with it
        wait_for(lambda: (cfg / "Inet.cfg").read_bytes() == b"/bin/true\r\n/bin/false\r\n", what="the row")
        assert skylane.settings()["LF= "] == str(left * 15) and skylane.settings()["TP= "] == str(top * 15)
        assert not [p.name for p in cfg.iterdir() if ".skylane-" in p.name]

        subprocess.run(["mount", "-o", "remount,ro", cfg], check=True)
        refused(remove_last, "Escape", "Read-only file system")
        skylane.stop()
        # A start on a full disk: the bar at its place, the marker that cannot be written told once it shows.
        subprocess.run(["mount", "-o", "remount,rw", cfg], check=True)
        (cfg / "runs.cfg").unlink()
        fill(cfg)
        skylane.launch()
        assert wait_for(lambda: (g := skylane.bar_geometry()) and g[:2]) == (left, top)
        wait_for(lambda: skylane.output().count("runs.cfg") == 1, what="the marker's failure")
    finally:
        subprocess.run(["umount", "-l", cfg])
