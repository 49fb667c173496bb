#!/usr/bin/python3
"""Start-up, memory and idle CPU of the bar against the floor of a Qt program.

    bench/startup_vs_label.py [--build build] [-n 7] [-w 1] [--settle 2] [--idle 10]

Starts its own Xvfb (1280x800x24) with openbox and runs, interleaved, round
after round (one warm-up round first, not counted):

  skylane       the bar from a fresh copy of BUILD/SkyLane: a later run (the
                first-run marker present), its "Inet" row holding five real
                programs of this machine
  floor         BUILD/bench/bare_window: a QApplication and one frameless
                window of the bar's size
  floor-label   the same window with one label: the floor of any Qt program
                that shows text, the one the targets are set against

Each start gets a fresh HOME (XDG folders inside it) and a session bus of its
own, on which the services a desktop session already runs are started before
the clock starts. Measured per start: exec to the first window of the
program that is viewable, at least 8x8 and at least half on screen (looked
for at every MapNotify and every 20 ms); the CPU time spent until then; RSS
and PSS (smaps_rollup) of the window's process SETTLE seconds later; its CPU
time and context switches over the IDLE seconds after that.

Prints a table of medians and a last line with the bar's ratios to
floor-label; exits 0 when start <= 1.25x, PSS <= 1.2x and the bar's idle CPU
is 0. Measure with nothing else running that maps Qt: another Qt program
shares its pages and lowers every PSS.
"""

import argparse
import os
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display as xdisplay, error as xerror

TICK_MS = 1000 / os.sysconf("SC_CLK_TCK")
# The bar's row: the first five of these on this machine (a theme icon, a
# desktop entry's icon, pictures, a file-type icon).
PROGRAMS = ["/usr/bin/vim.basic", "/usr/bin/xclock", "/usr/bin/openbox", "/usr/bin/xterm", "/usr/bin/display",
            "/usr/bin/python3", "/usr/bin/git", "/usr/bin/cmake"]
MARKER = b" 1 \r\nVoltari Software - USA\r\nSky Lane v2.0\r\nhttp://x.example\r\n"
# Started on each run's bus before the clock, as a desktop session has them.
PREACTIVATE = ["org.a11y.Bus", "org.gtk.vfs.Daemon", "ca.desrt.dconf"]
RUN_TAG = "SKYLANE_BENCH_RUN"


def read(path, mode="r"):
    try:
        with open(path, mode) as f:
            return f.read()
    except OSError:
        return None


def tagged(tag):
    """Live processes whose environment carries RUN_TAG=tag: this run's program and what its bus started."""
    want = f"{RUN_TAG}={tag}".encode()
    return [int(d) for d in os.listdir("/proc")
            if d.isdigit() and want in (read(f"/proc/{d}/environ", "rb") or b"").split(b"\0")]


def cpu_ms(pid, children=False):
    stat = read(f"/proc/{pid}/stat")
    if not stat:
        return 0
    f = stat[stat.rindex(")") + 2:].split()
    ticks = int(f[11]) + int(f[12]) + (int(f[13]) + int(f[14]) if children else 0)
    return ticks * TICK_MS


def context_switches(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task") if os.path.isdir(f"/proc/{pid}/task") else []:
        for line in (read(f"/proc/{pid}/task/{task}/status") or "").splitlines():
            if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                total += int(line.split()[1])
    return total


def memory_kib(pid):
    def field(path, name):
        line = next((l for l in (read(path) or "").splitlines() if l.startswith(name)), None)
        return int(line.split()[1]) if line else None
    return field(f"/proc/{pid}/status", "VmRSS:"), field(f"/proc/{pid}/smaps_rollup", "Pss:")


def alive(pid):
    stat = read(f"/proc/{pid}/stat")
    return bool(stat) and stat[stat.rindex(")") + 2] not in "ZX"


def other_qt_programs(ours):
    """Names of running programs other than `ours` that map Qt: they share its pages and lower every PSS."""
    names = set()
    for d in os.listdir("/proc"):
        if d.isdigit() and int(d) not in ours and "libQt6Core" in (read(f"/proc/{d}/maps") or ""):
            names.add((read(f"/proc/{d}/comm") or "?").strip())
    return names


def end_processes(pids):
    """SIGTERM, then SIGKILL, each of these processes (all started by this run)."""
    for sig, grace in ((signal.SIGTERM, 3.0), (signal.SIGKILL, 2.0)):
        live = [p for p in pids if alive(p)]
        for p in live:
            try:
                os.kill(p, sig)
            except ProcessLookupError:
                pass
        end = time.monotonic() + grace
        while live and time.monotonic() < end:
            reap()
            live = [p for p in live if alive(p)]
            time.sleep(0.05)
    reap()


def reap():
    try:
        while os.waitpid(-1, os.WNOHANG)[0] > 0:
            pass
    except ChildProcessError:
        pass


class Screen:
    """Xvfb and openbox on a free display, and a connection that watches it."""

    def __init__(self, first, work):
        self.procs = []
        number = first
        while os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
            number += 1
        self.name = f":{number}"
        self.procs.append(subprocess.Popen(["Xvfb", self.name, "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        wait_until(lambda: os.path.exists(f"/tmp/.X11-unix/X{number}"), 10, "Xvfb")
        home = os.path.join(work, "wm-home")
        os.makedirs(home)
        self.procs.append(subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL,
                                           env=dict(os.environ, DISPLAY=self.name, HOME=home)))
        self.x = xdisplay.Display(self.name)
        self.x.set_error_handler(lambda *args: None)  # windows vanish between requests
        self.root = self.x.screen().root
        self.size = (self.x.screen().width_in_pixels, self.x.screen().height_in_pixels)
        check = self.x.intern_atom("_NET_SUPPORTING_WM_CHECK")
        wait_until(lambda: self.root.get_full_property(check, X.AnyPropertyType), 10, "openbox")
        self.pid_atom = self.x.intern_atom("_NET_WM_PID")
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.x.sync()

    def close(self):
        self.x.close()
        end_processes([p.pid for p in reversed(self.procs)])

    def window_of(self, pid):
        """A window of the process that a user would see, or None."""
        for top in self.root.query_tree().children:
            try:
                if top.get_attributes().map_state != X.IsViewable:
                    continue
                for window in [top] + top.query_tree().children:
                    owner = window.get_full_property(self.pid_atom, X.AnyPropertyType)
                    if not owner or owner.value[0] != pid or window.get_attributes().map_state != X.IsViewable:
                        continue
                    g = window.get_geometry()
                    place = window.translate_coords(self.root, 0, 0)
                    x, y = -place.x, -place.y
                    seen_w = min(x + g.width, self.size[0]) - max(x, 0)
                    seen_h = min(y + g.height, self.size[1]) - max(y, 0)
                    if g.width >= 8 and g.height >= 8 and seen_w > 0 and seen_h > 0 \
                            and 2 * seen_w * seen_h >= g.width * g.height:
                        return window
            except xerror.XError:
                continue
        return None

    def wait(self, seconds):
        """Until an X event arrives or the time is up; drains the queue. True when a window was mapped."""
        if not self.x.pending_events():
            select.select([self.x.fileno()], [], [], max(0.0, seconds))
        mapped = False
        while self.x.pending_events():
            mapped |= self.x.next_event().type == X.MapNotify
        return mapped


def wait_until(predicate, seconds, what):
    end = time.monotonic() + seconds
    while not predicate():
        if time.monotonic() > end:
            sys.exit(f"bench: timed out waiting for {what}")
        time.sleep(0.05)


def start_bus(env, tag):
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           env=dict(env, **{RUN_TAG: tag}), stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, text=True)
    env = dict(env, DBUS_SESSION_BUS_ADDRESS=bus.stdout.readline().strip())

    def send(bus, *call):
        return subprocess.run(["dbus-send", bus, "--print-reply=literal", *call], env=env, text=True,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=10).stdout.strip()
    for name in PREACTIVATE:
        send("--session", "--dest=org.freedesktop.DBus", "/", "org.freedesktop.DBus.StartServiceByName",
             f"string:{name}", "uint32:0")
    # The accessibility bus's registry too, as a desktop session has it.
    address = send("--session", "--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress")
    if address:
        send(f"--bus={address}", "--dest=org.freedesktop.DBus", "/", "org.freedesktop.DBus.StartServiceByName",
             "string:org.a11y.atspi.Registry", "uint32:0")
    return env


def measure(screen, item, work, settle, idle, warm_up):
    """One start of one item: its figures, or None when no window showed."""
    home = tempfile.mkdtemp(dir=work)
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("QT_", "DBUS_", "XDG_", "WAYLAND", "SESSION_MANAGER", "DESKTOP_SESSION", "GDK_"))}
    env.update(DISPLAY=screen.name, HOME=home, XDG_CONFIG_HOME=f"{home}/.config", XDG_CACHE_HOME=f"{home}/.cache",
               XDG_DATA_HOME=f"{home}/.local/share", XDG_STATE_HOME=f"{home}/.local/state",
               XDG_RUNTIME_DIR=f"{home}/runtime")
    os.makedirs(f"{home}/runtime", mode=0o700)
    command = item["prepare"](home)
    tag = f"{os.getpid()}-{time.monotonic_ns()}"
    env = dict(start_bus(env, tag), **{RUN_TAG: tag})
    try:
        t0 = time.monotonic()
        proc = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, start_new_session=True)
        end, next_scan = t0 + 30, 0.0
        while True:
            now = time.monotonic()
            if now >= next_scan:
                if screen.window_of(proc.pid):
                    break
                next_scan = now + 0.02
            if now > end or proc.poll() is not None:
                print(f"  {item['label']}: no window", file=sys.stderr)
                return None
            if screen.wait(next_scan - time.monotonic()):
                next_scan = 0.0
        figures = {"window_ms": (now - t0) * 1000, "start_cpu_ms": cpu_ms(proc.pid, children=True)}
        if warm_up:
            return figures
        time.sleep(settle)
        figures["rss_kib"], figures["pss_kib"] = memory_kib(proc.pid)
        figures["beside"] = other_qt_programs(tagged(tag))
        cpu, switches, t1 = cpu_ms(proc.pid), context_switches(proc.pid), time.monotonic()
        time.sleep(idle)
        figures["idle_cpu_ms"] = cpu_ms(proc.pid) - cpu
        figures["idle_switches_per_s"] = (context_switches(proc.pid) - switches) / (time.monotonic() - t1)
        return figures
    finally:
        end_processes(tagged(tag))
        shutil.rmtree(home, ignore_errors=True)


def items(build):
    folder = os.path.join(build, "SkyLane")
    floor = os.path.join(build, "bench", "bare_window")
    for needed in (os.path.join(folder, "skylane"), floor):
        if not os.access(needed, os.X_OK):
            sys.exit(f"bench: {needed} is missing: build the targets skylane and bare_window first")
    row = b"".join(p.encode() + b"\r\n" for p in [p for p in PROGRAMS if os.path.exists(p)][:5])

    def bar(home):
        # The program folder as built, its config only the blank-button
        # picture, the marker and the row.
        app = os.path.join(home, "app")
        shutil.copytree(folder, app, symlinks=True, ignore=lambda where, names: names if where.endswith("/config") else [])
        shutil.copy(os.path.join(folder, "config", "1.2.jpg"), os.path.join(app, "config"))
        for name, content in (("runs.cfg", MARKER), ("Inet.cfg", row)):
            with open(os.path.join(app, "config", name), "wb") as f:
                f.write(content)
        return [os.path.join(app, "skylane")]

    return [{"label": "skylane", "prepare": bar},
            {"label": "floor", "prepare": lambda home: [floor]},
            {"label": "floor-label", "prepare": lambda home: [floor, "Inet"]}]


def summary(results, idle):
    med = statistics.median
    header = ["program", "ok/runs", "window ms med", "min", "max", "start CPU ms", "RSS MiB med", "PSS MiB med",
              f"idle CPU ms/{idle:g}s", "idle ctxsw/s"]
    rows = [header]
    for label, runs in results.items():
        ok = [r for r in runs if r]
        if not ok:
            rows.append([label, f"0/{len(runs)}"] + ["-"] * (len(header) - 2))
            continue
        ms = [r["window_ms"] for r in ok]
        rows.append([label, f"{len(ok)}/{len(runs)}", f"{med(ms):.0f}", f"{min(ms):.0f}", f"{max(ms):.0f}",
                     f"{med(r['start_cpu_ms'] for r in ok):.0f}", f"{med(r['rss_kib'] for r in ok) / 1024:.1f}",
                     f"{med(r['pss_kib'] for r in ok) / 1024:.1f}", f"{med(r['idle_cpu_ms'] for r in ok):.0f}",
                     f"{med(r['idle_switches_per_s'] for r in ok):.1f}"])
    widths = [max(len(row[i]) for row in rows) for i in range(len(header))]
    for i, row in enumerate(rows):
        print("| " + " | ".join(c.ljust(w) for c, w in zip(row, widths)) + " |")
        if i == 0:
            print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    disturbed = [r for runs in results.values() for r in runs if r and r["beside"]]
    if disturbed:
        names = ", ".join(sorted(set().union(*(r["beside"] for r in disturbed))))
        print(f"note: {len(disturbed)} of {sum(len(runs) for runs in results.values())} starts had another Qt "
              f"program running ({names}): their PSS is lower than alone")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("-n", "--rounds", type=int, default=7)
    parser.add_argument("-w", "--warm-up", type=int, default=1)
    parser.add_argument("--settle", type=float, default=2)
    parser.add_argument("--idle", type=float, default=10)
    parser.add_argument("--display", type=int, default=71, help="first X display number to try")
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="skylane-bench-")
    screen = None
    try:
        candidates = items(os.path.abspath(args.build))
        screen = Screen(args.display, work)
        print(f"display {screen.name} (Xvfb 1280x800, openbox); {args.rounds} rounds + {args.warm_up} warm-up; "
              f"settle {args.settle:g} s; idle {args.idle:g} s", file=sys.stderr)
        results = {item["label"]: [] for item in candidates}
        for round_ in range(args.warm_up + args.rounds):
            warm_up = round_ < args.warm_up
            for item in candidates:
                figures = measure(screen, item, work, args.settle, args.idle, warm_up)
                shown = f"{figures['window_ms']:.0f} ms" if figures else "no window"
                print(f"  round {round_ + 1}{' (warm-up)' if warm_up else ''} {item['label']:<12} {shown}",
                      file=sys.stderr)
                if not warm_up:
                    results[item["label"]].append(figures)
                time.sleep(0.5)
    finally:
        if screen:
            screen.close()
        shutil.rmtree(work, ignore_errors=True)

    summary(results, args.idle)
    med = statistics.median
    figure = {label: {k: med(r[k] for r in runs if r) for k in ("window_ms", "pss_kib", "idle_cpu_ms")}
              for label, runs in results.items() if any(runs)}
    if not {"skylane", "floor-label"} <= figure.keys():
        sys.exit("perf: no figures (a window never showed)")
    bar, label = figure["skylane"], figure["floor-label"]
    start, pss = bar["window_ms"] / label["window_ms"], bar["pss_kib"] / label["pss_kib"]
    print(f"perf: bar {bar['window_ms']:.0f} ms {bar['pss_kib'] / 1024:.1f} MiB; vs floor-label: start {start:.2f}, "
          f"PSS {pss:.2f} ({label['window_ms']:.0f} ms {label['pss_kib'] / 1024:.1f} MiB); "
          f"idle bar {bar['idle_cpu_ms']:.0f} ms/{args.idle:g}s")
    return 0 if start <= 1.25 and pss <= 1.2 and bar["idle_cpu_ms"] == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
