"""One X server with openbox and one pair of private buses for the run, a
fresh program folder per test."""

import os
from pathlib import Path

import pytest

from skylane_e2e import PrivateBuses, SkyLane, XServer, calls


@pytest.fixture(scope="session")
def desktop(tmp_path_factory):
    folder = Path(os.environ.get("SKYLANE_E2E_FOLDER", "build/SkyLane"))
    if not (folder / "skylane").is_file():
        pytest.exit(f"no program in {folder}: SKYLANE_E2E_FOLDER must name the built portable folder", returncode=2)
    work = tmp_path_factory.mktemp("desktop")
    x = XServer(work)
    buses = PrivateBuses()
    yield x, buses, folder
    buses.close()
    x.close()


@pytest.fixture
def skylane(desktop, tmp_path):
    x, buses, folder = desktop
    buses.logind.ClearCalls()
    app = SkyLane(x, buses, folder, tmp_path)
    yield app
    app.stop()
    assert app.expects_logind or calls(buses.logind) == [], "the program reached logind unasked"
    # A sanitizer build reports what it found in the program's output.
    for finding in ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"):
        assert finding not in app.output(), app.output()[-4000:]
