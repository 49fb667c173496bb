"""Bad input end to end: the bar still comes up, says nothing (no window
but the bar) and loses nothing it had (files byte-identical)."""

import os
import random
import subprocess
import time

import pytest

from skylane_e2e import MARKER, stays

HANDLE = (405 + 180, 110 + 120)

rng = random.Random(6)
BINARY = bytes(rng.randrange(256) for _ in range(4096))
JUNK = {
    "junk": b"LF= lots\r\nTP= \r\nBG= #ff\r\nTC= 1e999\r\nTF= \xff\xfe\r\nhello\r\n",
    "binary": BINARY,
    "nul bytes": b"LF= 15\x0000\r\nTP= \x00\r\n\x00\x00\x00",
    "long line": b"LF= " + b"9" * (10 * 1024 * 1024) + b"\r\n",
    "many lines": b"".join(b"TP= %d\r\n" % i for i in range(10000)),
    "lone CR and LF": b"LF= 1500\rTP= 3000\nBG= 255",
}


def snapshot(folder):
    return {p.name: p.read_bytes() for p in sorted(folder.iterdir()) if p.is_file()}


def only_the_bar(skylane):
    bar = skylane.bar()
    return bar is not None and [w.id for w in skylane.visible_windows()] == [bar.id]


def comes_up_quietly(skylane):
    skylane.start()
    assert stays(lambda: only_the_bar(skylane) and skylane.running(), 1.0), skylane.describe_windows()


@pytest.mark.parametrize("content", JUNK.values(), ids=JUNK.keys())
def test_bad_settings_file(skylane, content):
    skylane.config.mkdir(exist_ok=True)
    skylane.cfg("runs.cfg").write_bytes(MARKER)
    skylane.cfg("prg.cfg").write_bytes(content)
    before = snapshot(skylane.config)
    comes_up_quietly(skylane)
    g = skylane.x.geometry(skylane.bar())
    assert g[0] + g[2] > 0 and g[1] + g[3] > 0 and g[0] < skylane.x.width and g[1] < skylane.x.height, \
        "the bar is on the screen"
    skylane.stop()
    assert snapshot(skylane.config) == before


@pytest.mark.parametrize("content", [BINARY, b"/bin/true\r\n" + b"x" * (10 * 1024 * 1024) + b"\r\n",
                                     b"".join(b"/bin/true\r\n" for _ in range(10000)),
                                     b"\x00\xff\r\n\r\n\r\n/nonexistent/program\r\n"],
                         ids=["binary", "long line", "many lines", "blank and missing"])
def test_bad_category_file(skylane, content):
    skylane.config.mkdir(exist_ok=True)
    skylane.cfg("Inet.cfg").write_bytes(content)
    skylane.cfg("Game.cfg").write_bytes(content)
    skylane.cfg("runs.cfg").write_bytes(MARKER)
    before = snapshot(skylane.config)
    comes_up_quietly(skylane)
    # Switching rows reads them again. (A row of one button a line can be
    # wider than the screen, and the window manager may then push its
    # caption off the left edge.)
    if skylane.bar_geometry()[0] >= 0:
        skylane.click_caption()
        assert stays(lambda: only_the_bar(skylane), 0.5)
    skylane.stop()
    assert snapshot(skylane.config) == before


def test_missing_blank_button_picture(skylane):
    skylane.cfg("1.2.jpg").unlink()
    skylane.cfg("runs.cfg").write_bytes(MARKER)
    comes_up_quietly(skylane)
    assert not skylane.cfg("1.2.jpg").exists()


@pytest.fixture
def read_only_config(skylane):
    if os.geteuid() != 0:
        pytest.skip("a read-only bind mount needs root")
    skylane.config.mkdir(exist_ok=True)
    skylane.cfg("runs.cfg").write_bytes(MARKER)
    skylane.cfg("prg.cfg").write_bytes(b"LF= 1500\r\nTP= 3000\r\n")
    skylane.write_category("Inet", ["/bin/true", "/bin/false"])
    target = str(skylane.config)
    try:
        subprocess.run(["mount", "--bind", target, target], check=True)
    except (subprocess.CalledProcessError, FileNotFoundError):
        pytest.skip("bind mounts are not allowed here")
    try:
        subprocess.run(["mount", "-o", "remount,bind,ro", target, target], check=True)
        yield skylane.config
    finally:
        skylane.stop()
        subprocess.run(["umount", target], check=True)


def test_read_only_config_folder(skylane, read_only_config):
    before = snapshot(read_only_config)
    comes_up_quietly(skylane)
    x = skylane.x
    assert x.geometry(skylane.bar())[:2] == (100, 200)
    # A drag (which saves), an added and a removed button (which rewrite)
    # fail silently.
    start = skylane.bar_point(*HANDLE)
    x.drag(start, (start[0] + 100, start[1] + 50))
    resting = skylane.bar_point(810 + 120, 60 + 120)
    x.click(*resting)
    time.sleep(0.2)
    x.click(*resting)
    x.click(*resting, 3)
    time.sleep(0.2)
    x.click(*resting)
    time.sleep(1.0)
    assert only_the_bar(skylane) and skylane.running()
    assert snapshot(read_only_config) == before
