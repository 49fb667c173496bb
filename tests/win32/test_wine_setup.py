"""The installer under wine: silent installs for the current user and for all users (wine's user is an
administrator, so nothing asks for elevation), the bar run from where it went, an install over it, and
silent uninstalls that leave the user's config folder and nothing else."""

import os
import pwd
import re
import subprocess
from pathlib import Path

import pytest

from test_wine_e2e import MARKER, WINE, WineSkyLane, stop_processes, wait_for, wine_desktop, wine_env

BUILT = Path(os.environ["SKYLANE_WINE_FOLDER"])
MAKER, VERSION = MARKER.decode().split("\r\n")[1], MARKER.decode().split("\r\n")[2].rsplit(" v", 1)[1]
SETUP = BUILT.parent / f"SkyLane-{VERSION}-setup.exe"
COPYRIGHT = re.search(r"^Copyright .*$", (Path(__file__).parents[2] / "LICENSE").read_text(), re.M)[0]
PROGRAM = {str(p.relative_to(BUILT)) for p in BUILT.rglob("*") if p.is_file() and p.parts[-2] != "config"}
UNINSTALL, RUN = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\SkyLane", r"Software\Microsoft\Windows\CurrentVersion\Run"
ROOTS = {"/CurrentUser": "HKCU", "/AllUsers": "HKLM"}


def test_install_use_upgrade_and_uninstall(tmp_path):
    with wine_desktop(tmp_path) as (x, prefix):
        wine = Wine(x, prefix)
        user = rf"C:\users\{pwd.getpwuid(os.getuid()).pw_name}"
        home, menu = rf"{user}\AppData\Local\Programs\Sky Lane", rf"{user}\AppData\Roaming\Microsoft\Windows\Start Menu"
        folder = install(wine, "/CurrentUser", home, menu, True, "/StartAtSignIn")
        wine.run(os.environ["SKYLANE_WINE_PROBE"], home + r"\skylane.exe")
        report = (tmp_path / "probe.txt").read_text()
        assert int(re.search(r"yellow (\d+)", report)[1]) >= 30, report  # the yellow of the desk lamp
        assert re.sub(r", yellow \d+", "", report) == (
            f"icons 1, sizes 16 24 32 48 256\nCompanyName={MAKER}\nFileDescription=Sky Lane launch bar\n"
            f"FileVersion={VERSION}\nLegalCopyright={COPYRIGHT}\nProductName=Sky Lane\nProductVersion={VERSION}\n")

        # The first run; a button added, given a program and saved beside the program.
        skylane = WineSkyLane(x, folder, tmp_path, prefix)
        skylane.launch()
        x.click(*skylane.red_line_point(wait_for(skylane.splash, timeout=60, what="the start-up window")))
        wait_for(skylane.bar, what="the bar")
        skylane.add_button(2, r"C:\windows\notepad.exe")
        inet = folder / "config" / "Inet.cfg"
        wait_for(lambda: inet.exists() and inet.read_bytes() == b"\r\nC:\\windows\\notepad.exe\r\n", what="Inet.cfg")
        assert wine.run(SETUP, "/S").returncode == 2  # not over the running bar
        stop_processes([skylane.proc])

        # Installed again over it, then uninstalled: the user's buttons stay, byte for byte.
        config = {p.name: p.read_bytes() for p in (folder / "config").iterdir()}
        install(wine, "/CurrentUser", home, menu, True)
        uninstall(wine, folder, menu)
        assert {p.name: p.read_bytes() for p in (folder / "config").iterdir()} == config

        # For all users; the program folder keeps only its blank-button picture.
        folder = install(wine, "/AllUsers", r"C:\Program Files\Sky Lane", r"C:\ProgramData\Microsoft\Windows\Start Menu",
                         False)
        uninstall(wine, folder, r"C:\ProgramData\Microsoft\Windows\Start Menu")
        assert [p.name for p in (folder / "config").iterdir()] == ["1.2.jpg"]


class Wine:
    def __init__(self, x, prefix):
        self.env, self.prefix = wine_env(prefix, x.name, SKYLANE_PROBE_OUT=str(prefix.parent / "probe.txt")), prefix

    def run(self, *args):
        return subprocess.run([WINE, *map(str, args)], env=self.env, capture_output=True)

    def path(self, windows_path):
        return self.prefix / "drive_c" / windows_path[3:].replace("\\", "/")

    def reg(self, root, key):
        """{name: data} of a registry key, {} when there is no such key."""
        out = self.run("reg", "query", f"{root}\\{key}")
        return {} if out.returncode else dict(line.strip().split("    ")[::2]
                                              for line in out.stdout.decode().splitlines() if line[:4] == "    ")


def install(wine, mode, windows_folder, menu, signs_in, *switches):
    """A silent install; checks what it left, returns its folder."""
    assert wine.run(SETUP, "/S", mode, *switches).returncode == 0
    folder, root = wine.path(windows_folder), ROOTS[mode]
    assert {str(p.relative_to(folder)) for p in folder.rglob("*") if p.is_file() and p.parts[-2] != "config"} \
        == PROGRAM | {"uninstall.exe"}
    assert (folder / "config" / "1.2.jpg").read_bytes() == (BUILT / "config" / "1.2.jpg").read_bytes()
    assert f"{windows_folder}\\skylane.exe".encode() in wine.path(menu + r"\Programs\Sky Lane.lnk").read_bytes()
    assert wine.reg(root, RUN).get("Sky Lane") == (f'"{windows_folder}\\skylane.exe"' if signs_in else None)
    entry, size = wine.reg(root, UNINSTALL), sum(p.stat().st_size for p in folder.rglob("*") if p.is_file())
    assert int(entry.pop("EstimatedSize"), 16) == pytest.approx(size // 1024, abs=8)
    uninstaller = f'"{windows_folder}\\uninstall.exe" {mode}'
    assert entry == {"DisplayName": "Sky Lane", "DisplayVersion": VERSION, "Publisher": MAKER,
                     "DisplayIcon": f"{windows_folder}\\skylane.exe,0", "InstallLocation": windows_folder,
                     "UninstallString": uninstaller, "QuietUninstallString": uninstaller + " /S",
                     "NoModify": "0x1", "NoRepair": "0x1"}
    return folder


def uninstall(wine, folder, menu):
    """Runs the entry's silent uninstall, which goes on from a copy of itself; only config/ stays."""
    for root in ROOTS.values():
        if entry := wine.reg(root, UNINSTALL):
            program, switches = re.fullmatch(r'"([^"]+)" (.*)', entry["QuietUninstallString"]).groups()
            assert wine.run(program, *switches.split()).returncode == 0
    wait_for(lambda: [p.name for p in folder.iterdir()] == ["config"], timeout=60, what="the program to go")
    assert not wine.path(menu + r"\Programs\Sky Lane.lnk").exists()
    assert not any(wine.reg(root, UNINSTALL) or "Sky Lane" in wine.reg(root, RUN) for root in ROOTS.values())
