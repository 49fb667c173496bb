"""Fixtures: one X server with openbox and one pair of private buses per
test module, a fresh program folder per test."""

import os
import shutil
import tempfile
from pathlib import Path

import pytest

from skylane_e2e import PrivateBuses, SkyLane, XServer


def built_folder():
    folder = os.environ.get("SKYLANE_E2E_FOLDER")
    if not folder:
        pytest.exit("SKYLANE_E2E_FOLDER must name the built portable folder (build/SkyLane)", returncode=2)
    path = Path(folder)
    if not (path / "skylane").is_file():
        pytest.exit(f"no program in {path}", returncode=2)
    return path


@pytest.fixture(scope="module")
def module_dir():
    d = Path(tempfile.mkdtemp(prefix="skylane-e2e-"))
    yield d
    shutil.rmtree(d, ignore_errors=True)


@pytest.fixture(scope="module")
def xserver(module_dir):
    x = XServer(module_dir)
    yield x
    x.close()


@pytest.fixture(scope="module")
def buses(module_dir):
    b = PrivateBuses(module_dir)
    yield b
    b.close()


@pytest.fixture
def skylane(xserver, buses, tmp_path):
    buses.clear_calls()
    app = SkyLane(xserver, buses, built_folder(), tmp_path)
    yield app
    app.stop()
    assert app.expects_logind or buses.logind_calls() == [], \
        "the program reached logind unasked"
    # A sanitizer build reports what it found in the program's output.
    output = app.output()
    for finding in ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"):
        assert finding not in output, output[-4000:]
