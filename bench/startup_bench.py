#!/usr/bin/python3
"""Start-up benchmark of the bar against a bare Qt window.

Starts its own Xvfb with openbox and a private session D-Bus bus, then runs,
interleaved, the bar from a fresh copy of the program folder, its "Inet" row
holding five real programs of this machine (first run: no
config/runs.cfg; later run: the marker present, so the start-up window closes
by itself after 2 s) and bench/bare_window (a frameless QWidget of the bar's
size, the floor for any Qt program here; "bare + label" adds one text label,
that is the font set-up). For each run it measures the time from exec to the
MapNotify of the window (an X event, no polling) and, once the program has
settled (beside a bare window with a label that stays up throughout), its
proportional set size (PSS), its private memory (Private_Clean +
Private_Dirty) and the PSS of each mapped file (/proc/PID/smaps), so that the
bar's cost over the floor can be read library by library. Finally it leaves
one bar (later run) and one bare window idle side by side and reports their
CPU time and the context switches of each thread over the idle period, and
over as long again after it.

    bench/startup_bench.py [--build build] [--runs 20] [--settle 3] [--idle 60] [--display :80]
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

HERE = os.path.dirname(os.path.abspath(__file__))
# The row: the first five of these that exist here, each with its own icon
# lookup (a desktop entry's icon, a picture file, a file type's icon).
PROGRAMS = ["/usr/bin/python3", "/usr/bin/openbox", "/usr/bin/git", "/usr/bin/cmake", "/usr/bin/Xvfb",
            "/usr/bin/dbus-daemon", "/usr/bin/vim.basic", "/usr/bin/gdb", "/usr/bin/perl"]


def wait_for(predicate, timeout, what):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if predicate():
            return
        time.sleep(0.05)
    sys.exit(f"timed out waiting for {what}")


class Desktop:
    """Xvfb, openbox and a session bus on a display of its own."""

    def __init__(self, display_name):
        self.display_name = display_name
        self.procs = []
        self.tmp = tempfile.mkdtemp(prefix="skylane-bench-")
        number = display_name.lstrip(":")
        socket = f"/tmp/.X11-unix/X{number}"
        self.procs.append(subprocess.Popen(
            ["Xvfb", display_name, "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        wait_for(lambda: os.path.exists(socket), 10, "Xvfb")
        runtime = os.path.join(self.tmp, "runtime")
        os.mkdir(runtime, 0o700)
        self.env = {k: v for k, v in os.environ.items()
                    if not k.startswith(("QT_", "DBUS_", "XDG_RUNTIME", "WAYLAND"))}
        self.env.update(DISPLAY=display_name, XDG_RUNTIME_DIR=runtime)
        out = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                              "--print-pid=1"], env=self.env, capture_output=True,
                             text=True, check=True).stdout.split()
        self.env["DBUS_SESSION_BUS_ADDRESS"] = out[0]
        self.bus_pid = int(out[1])
        self.procs.append(subprocess.Popen(["openbox"], env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.x = xdisplay.Display(display_name)
        self.x.set_error_handler(lambda *args: None)  # windows may vanish under us
        self.root = self.x.screen().root
        check = self.x.intern_atom("_NET_SUPPORTING_WM_CHECK")
        wait_for(lambda: self.root.get_full_property(check, X.AnyPropertyType), 10, "openbox")
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.atom_pid = self.x.intern_atom("_NET_WM_PID")
        self.atom_state = self.x.intern_atom("_NET_WM_STATE")
        self.atom_above = self.x.intern_atom("_NET_WM_STATE_ABOVE")
        self.x.sync()

    def close(self):
        self.x.close()
        os.kill(self.bus_pid, signal.SIGTERM)
        for p in reversed(self.procs):
            p.terminate()
            p.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def _matches(self, window, pid, bar):
        try:
            p = window.get_full_property(self.atom_pid, X.AnyPropertyType)
            if not p or p.value[0] != pid:
                return False
            if not bar:
                return True
            # The bar is the program's one window kept above the others.
            wm_class = window.get_wm_class() or ()
            state = window.get_full_property(self.atom_state, X.AnyPropertyType)
            return "skylane" in wm_class and state is not None and self.atom_above in state.value
        except xerror.XError:
            return False

    def wait_for_map(self, pid, bar, timeout=30):
        """Monotonic time of the MapNotify of the process's (bar) window."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if not self.x.pending_events():
                select.select([self.x.fileno()], [], [], max(0.0, end - time.monotonic()))
            while self.x.pending_events():
                e = self.x.next_event()
                now = time.monotonic()
                if e.type == X.CreateNotify and e.parent == self.root:
                    # Top-level windows are reparented into frames before they
                    # map; watching the window itself sees its own MapNotify.
                    e.window.change_attributes(event_mask=X.StructureNotifyMask)
                    try:
                        viewable = e.window.get_attributes().map_state == X.IsViewable
                    except xerror.XError:
                        continue  # gone already (a previous run's window)
                    if viewable and self._matches(e.window, pid, bar):
                        return now
                elif e.type == X.MapNotify and e.event == e.window and self._matches(e.window, pid, bar):
                    return now
        sys.exit(f"no window of pid {pid} was mapped")


def thread_switches(pid):
    """Context switches (voluntary + involuntary) of each live thread, by name and id."""
    switches = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/comm") as f:
                name = f.read().strip()
            count = 0
            with open(f"/proc/{pid}/task/{task}/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        count += int(line.split()[1])
            switches[(task, name)] = count
        except FileNotFoundError:
            pass  # ended meanwhile
    return switches


def proc_fields(pid):
    """CPU seconds (all threads, ended ones included); PSS, RSS and private memory in KiB."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    cpu = (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    kib = {}
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            key, _, rest = line.partition(":")
            if rest.strip().endswith("kB"):
                kib[key] = int(rest.split()[0])
    return cpu, kib.get("Pss", 0), kib.get("Rss", 0), kib.get("Private_Clean", 0) + kib.get("Private_Dirty", 0)


def pss_by_mapping(pid):
    """PSS in KiB of each mapped file (by name) and of the heap, stack and anonymous memory."""
    totals = {}
    name = None
    with open(f"/proc/{pid}/smaps") as f:
        for line in f:
            first = line.split(None, 6)
            if "-" in first[0] and len(first) >= 5 and not first[0].endswith(":"):
                path = first[5].strip() if len(first) > 5 else ""
                name = os.path.basename(path) if path.startswith("/") else (path or "[anonymous]")
            elif line.startswith("Pss:"):
                totals[name] = totals.get(name, 0) + int(first[1])
    return totals


def mapping_report(kind, base, maps):
    """The mappings whose median PSS differs most between `kind` and `base`."""
    names = set().union(*maps[kind], *maps[base])
    med = lambda k, n: statistics.median(m.get(n, 0) for m in maps[k])
    rows = sorted(((med(kind, n) - med(base, n), n) for n in names), reverse=True)
    print(f"PSS by mapping, {kind} minus {base} (medians, KiB; differences of 32 KiB or more):")
    for delta, n in rows:
        if abs(delta) >= 32:
            print(f"  {delta:+8.0f}  {n}  ({med(kind, n):.0f} vs {med(base, n):.0f})")


def idle_report(label, pid, seconds_from, seconds_to, cpu_before, threads_before, cpu_after, threads_after):
    """One line per program: CPU and wake-ups between two samples."""
    woke = {}
    for key, count in threads_after.items():
        delta = count - threads_before.get(key, 0)
        if delta:
            woke[key[1]] = woke.get(key[1], 0) + delta
    ended = [key[1] for key in threads_before if key not in threads_after]
    total = sum(woke.values())
    detail = ", ".join(f"{name} {n}" for name, n in sorted(woke.items()))
    if ended:
        detail += (", " if detail else "") + "ended: " + ", ".join(ended)
    print(f"idle {seconds_from:.0f}-{seconds_to:.0f} s after start, {label:4}: CPU {cpu_after - cpu_before:.2f} s "
          f"(target 0.00), context switches {total} in live threads{' (' + detail + ')' if detail else ''}")


class Runner:
    def __init__(self, desktop, build):
        self.desktop = desktop
        self.program_folder = os.path.join(build, "SkyLane")
        self.bare = os.path.join(build, "bench", "bare_window")
        self.marker = None  # what a first run writes as config/runs.cfg
        self.bar_size = (97, 25)
        self.programs = [p for p in PROGRAMS if os.access(p, os.X_OK)][:5]

    def _fresh_folder(self, later_run):
        folder = tempfile.mkdtemp(prefix="run-", dir=self.desktop.tmp)
        copy = os.path.join(folder, "SkyLane")
        shutil.copytree(self.program_folder, copy)
        if later_run:
            with open(os.path.join(copy, "config", "runs.cfg"), "wb") as f:
                f.write(self.marker)
        with open(os.path.join(copy, "config", "Inet.cfg"), "wb") as f:
            f.write(b"".join(os.fsencode(p) + b"\r\n" for p in self.programs))
        return folder, copy

    def start(self, kind):
        """Starts one program; returns (process, seconds to map, folder)."""
        folder = None
        if kind.startswith("bare"):
            argv = [self.bare, str(self.bar_size[0]), str(self.bar_size[1])]
            if kind == "bare + label":
                argv.append("Inet")
            cwd = self.desktop.tmp
        else:
            folder, copy = self._fresh_folder(kind == "bar, later run")
            argv = [os.path.join(copy, "skylane")]
            cwd = folder
        started = time.monotonic()
        p = subprocess.Popen(argv, cwd=cwd, env=self.desktop.env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        mapped = self.desktop.wait_for_map(p.pid, not kind.startswith("bare"))
        return p, mapped - started, folder

    @staticmethod
    def stop(p, folder):
        p.terminate()
        try:
            p.wait(timeout=5)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
        if folder:
            shutil.rmtree(folder, ignore_errors=True)

    def warm_up(self):
        """A first run: fills the caches, learns the bar's size and the marker."""
        p, _, folder = self.start("bar, first run")
        time.sleep(1)
        bar = self._bar_window(p.pid)
        if bar is not None:
            g = bar.get_geometry()
            self.bar_size = (g.width, g.height)
        with open(os.path.join(folder, "SkyLane", "config", "runs.cfg"), "rb") as f:
            self.marker = f.read()
        self.stop(p, folder)
        p, _, _ = self.start("bare")
        self.stop(p, None)

    def _bar_window(self, pid):
        tree = self.desktop.root.query_tree().children
        stack = list(tree)
        while stack:
            w = stack.pop()
            if self.desktop._matches(w, pid, True):
                return w
            stack.extend(w.query_tree().children)
        return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build"))
    parser.add_argument("--runs", type=int, default=20)
    # Long enough for a later run's start-up window (2 s) to have closed.
    parser.add_argument("--settle", type=float, default=3.0)
    parser.add_argument("--idle", type=float, default=60.0)
    parser.add_argument("--display", default=":80")
    args = parser.parse_args()

    load_before = os.getloadavg()
    desktop = Desktop(args.display)
    try:
        runner = Runner(desktop, os.path.abspath(args.build))
        runner.warm_up()
        # A Qt program with text stays up throughout, as on any desktop with
        # a Qt panel or applet: every program measured shares the library
        # pages it uses, so private memory and PSS do not swing with whatever
        # else happens to run on the machine.
        companion, _, _ = runner.start("bare + label")
        kinds = ["bare", "bar, later run", "bar, first run", "bare + label"]
        times = {k: [] for k in kinds}
        pss = {k: [] for k in kinds}
        rss = {k: [] for k in kinds}
        private = {k: [] for k in kinds}
        maps = {k: [] for k in kinds}
        for i in range(args.runs):
            # Rotated, so that no kind always follows the same one.
            for kind in kinds[i % len(kinds):] + kinds[:i % len(kinds)]:
                p, seconds, folder = runner.start(kind)
                time.sleep(args.settle)
                _, kib, rkib, pkib = proc_fields(p.pid)
                maps[kind].append(pss_by_mapping(p.pid))
                runner.stop(p, folder)
                times[kind].append(seconds * 1000)
                pss[kind].append(kib)
                rss[kind].append(rkib)
                private[kind].append(pkib)

        print(f"bar window {runner.bar_size[0]}x{runner.bar_size[1]} px, row: {' '.join(runner.programs)}; "
              f"{args.runs} runs of each, interleaved, measured {args.settle:g} s after the map; "
              f"load average before {load_before[0]:.2f}")
        print(f"{'':16} {'start median':>12} {'min':>7} {'max':>7} {'PSS median':>11} {'private':>11} "
              f"{'RSS median':>11}")
        med = statistics.median
        for kind in kinds:
            t = times[kind]
            print(f"{kind:16} {med(t):9.1f} ms {min(t):7.1f} {max(t):7.1f} {med(pss[kind]):7.0f} KiB "
                  f"{med(private[kind]):7.0f} KiB {med(rss[kind]):7.0f} KiB")
        for base in ("bare", "bare + label"):
            for kind in kinds:
                if kind.startswith("bar,") or (base == "bare" and kind == "bare + label"):
                    extra = (med(private[kind]) - med(private[base])) / 1024
                    print(f"ratio {kind} / {base}: start {med(times[kind]) / med(times[base]):.2f} "
                          f"(target <= 1.25), PSS {med(pss[kind]) / med(pss[base]):.2f} (target <= 1.2), "
                          f"private {extra:+.1f} MiB (target <= +2)")
        mapping_report("bar, later run", "bare + label", maps)

        # Idle: both side by side, from 5 s after the map (the start-up
        # window of a later run closes itself at 2 s) for args.idle seconds,
        # then for as long again: the steady state.
        bar, _, folder = runner.start("bar, later run")
        bare, _, _ = runner.start("bare")
        programs = (("bar", bar), ("bare", bare))
        samples = []
        for wait in (5, args.idle, args.idle):
            time.sleep(wait)
            samples.append({n: (proc_fields(p.pid)[0], thread_switches(p.pid)) for n, p in programs})
        runner.stop(bar, folder)
        runner.stop(bare, None)
        for first, (start_s, end_s) in ((0, (5, 5 + args.idle)), (1, (5 + args.idle, 5 + 2 * args.idle))):
            for name, p in programs:
                before, after = samples[first][name], samples[first + 1][name]
                idle_report(name, p.pid, start_s, end_s, before[0], before[1], after[0], after[1])
        runner.stop(companion, None)
        print(f"load average after {os.getloadavg()[0]:.2f}")
    finally:
        desktop.close()


if __name__ == "__main__":
    main()
