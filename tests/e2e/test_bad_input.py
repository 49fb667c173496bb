"""Bad files end to end: the bar still comes up, says nothing (no window
but the bar) and leaves the files as they were."""

import random

import pytest

from skylane_e2e import MARKER, stays

BINARY = bytes(random.Random(6).randrange(256) for _ in range(4096))
CASES = {
    "junk": (b"LF= lots\r\nTP= \r\nBG= #ff\r\nTC= 1e999\r\nTF= \xff\xfe\r\nLF= 15\x0000\r\n" + BINARY,
             BINARY + b"\x00\xff\r\n\r\n/nonexistent/program\r\n"),
    "huge": (b"LF= " + b"9" * (10 * 1024 * 1024) + b"\r\n" + b"".join(b"TP= %d\r\n" % i for i in range(10000)),
             b"/bin/true\r\n" + b"x" * (10 * 1024 * 1024) + b"\r\n" + b"/bin/true\r\n" * 10000),
}


def snapshot(folder):
    return {p.name: p.read_bytes() for p in sorted(folder.iterdir()) if p.is_file()}


def only_the_bar(skylane):
    bar = skylane.bar()
    return bar is not None and [w.id for w in skylane.visible_windows()] == [bar.id]


@pytest.mark.parametrize("settings, category", CASES.values(), ids=CASES.keys())
def test_bad_files(skylane, settings, category):
    skylane.cfg("runs.cfg").write_bytes(MARKER)
    skylane.cfg("prg.cfg").write_bytes(settings)
    skylane.cfg("Inet.cfg").write_bytes(category)
    skylane.cfg("Game.cfg").write_bytes(category)
    skylane.cfg("1.2.jpg").unlink()
    before = snapshot(skylane.config)
    skylane.start()
    assert stays(lambda: only_the_bar(skylane) and skylane.running(), 1.0), skylane.describe_windows()
    g = skylane.bar_geometry()
    assert g[1] + g[3] > 0 and g[1] < skylane.x.height, "the bar is on the screen"
    if g[0] >= 0:  # switching rows reads them again
        skylane.click_caption()
        assert stays(lambda: only_the_bar(skylane), 0.5)
    skylane.stop()
    assert snapshot(skylane.config) == before
