#!/usr/bin/env python3
"""zirvo-saver beside zirvo in an Xvfb of 1920 x 1080: the CPU each uses on
the default sample scene (zirvo spins a core in its busy-wait by design; the
saver is meant to stay under 5 % of one), and the turns per second of each at
speed 1.

zirvo-observed (zirvo with a log of its run) reports only the pixels it sets, so its turns are
counted with a metronome scene: one swirl that draws a pixel every turn and
never erases, so that every pass is two Delays (its top and the turn) and one
pixel. The saver's --stats count its turns (Delays) directly.

The programs run one after the other, never together, and (when run as root)
at nice -10, so that the compilers of whoever shares the machine take less from
them; the busy-wait's own speed still follows the machine (see the calibrated
wait zirvo reports). Rows for bench/run's table ("figure|value|target|verdict").

  bench/saver_cpu.py ZIRVO ZIRVO_SAVER [SCENE [SECONDS]]
"""
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WARM_UP = 3.0  # seconds after the first pixel before measuring
TICK = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat", encoding="ascii") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK  # utime + stime


class Xvfb:
    def __enter__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            NICE + ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1080x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], 20)
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                sys.exit("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait()


class Run:
    """A program on the display, its stderr lines of (ms, pixels, turns)."""

    def __init__(self, command, env, prefix):
        self.prefix = prefix
        self.process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.entries = []
        self.lock = threading.Lock()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for raw in self.process.stderr:
            parts = raw.decode(errors="replace").split()
            if not parts or parts[0] != self.prefix:
                continue
            fields = dict(p.split("=", 1) for p in parts if "=" in p)
            with self.lock:
                self.entries.append((int(fields["ms"]), int(fields["pixels"]),
                                     int(fields.get("turns", 0)), fields))

    def last(self):
        with self.lock:
            return self.entries[-1] if self.entries else None


NICE = ["nice", "-n", "-10"] if os.geteuid() == 0 else []


def measure(command, env, prefix, seconds, xvfb):
    run = Run(NICE + command, env, prefix)
    try:
        deadline = time.monotonic() + 30
        while (run.last() is None or run.last()[1] == 0) and time.monotonic() < deadline:
            time.sleep(0.1)
        if run.last() is None:
            sys.exit(f"{command[0]} logged nothing")
        time.sleep(WARM_UP)
        start = (time.monotonic(), cpu_seconds(run.process.pid), cpu_seconds(xvfb.process.pid),
                 run.last())
        time.sleep(seconds)
        end = (time.monotonic(), cpu_seconds(run.process.pid), cpu_seconds(xvfb.process.pid),
               run.last())
        run.process.send_signal(signal.SIGTERM)
        code = run.process.wait(timeout=10)
    finally:
        if run.process.poll() is None:
            run.process.kill()
            run.process.wait()
    wall = end[0] - start[0]
    logged_ms = end[3][0] - start[3][0]
    return {
        "cpu": 100 * (end[1] - start[1]) / wall,
        "xvfb_cpu": 100 * (end[2] - start[2]) / wall,
        "pixels_per_s": (end[3][1] - start[3][1]) * 1000 / logged_ms,
        "turns_per_s": (end[3][2] - start[3][2]) * 1000 / logged_ms,
        "exit": code,
        "fields": end[3][3],
    }


METRONOME = """Metronome: one swirl that draws a pixel every turn and erases nothing.
n=1
p=1
nv=100000000
bs=100000000
dt=0
a=150
b=150
px=512
py=384
fx=512
fy=384
c=12
"""


def run_both(zirvo_dir, saver, scene, settings, seconds):
    """zirvo (from `zirvo_dir`, with `settings` beside it) then the saver."""
    shutil.copy(settings, os.path.join(zirvo_dir, "zirvo.ini"))
    results = {}
    for program in ("zirvo", "saver"):
        with Xvfb() as xvfb:
            env = dict(os.environ, DISPLAY=xvfb.display)
            env.pop("WAYLAND_DISPLAY", None)
            if program == "zirvo":
                env["ZIRVO_PIXEL_LOG"] = "1"
                command = [os.path.join(zirvo_dir, "zirvo"), scene]
                results[program] = measure(command, env, "zirvo-pixels", seconds, xvfb)
            else:
                command = [saver, "--root", "--scene", scene, "--settings", settings, "--stats"]
                results[program] = measure(command, env, "zirvo-saver-stats", seconds, xvfb)
        print(f"{os.path.basename(scene)}, {program}: " +
              ", ".join(f"{k} {v:.1f}" for k, v in results[program].items() if k != "fields"),
              file=sys.stderr)
    return results


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    zirvo, saver = sys.argv[1], sys.argv[2]
    scene = sys.argv[3] if len(sys.argv) > 3 else os.path.join(REPO, "scenes", "demo.zrv")
    seconds = float(sys.argv[4]) if len(sys.argv) > 4 else 20.0
    name = os.path.relpath(scene, REPO)
    print(f"## zirvo-saver beside zirvo at 1920x1080 in Xvfb, {seconds:.0f} s each, one after "
          f"the other{', at nice -10' if NICE else ''} (load average at the start "
          f"{os.getloadavg()[0]:.1f} on {os.cpu_count()} cores, shared)")
    if not shutil.which("Xvfb") or not os.access(zirvo, os.X_OK) or not os.access(saver, os.X_OK):
        print("skipped: needs Xvfb, zirvo and zirvo-saver built|n/a||")
        return
    shipped = os.path.join(REPO, "scenes", "zirvo.ini")  # no wait: zirvo calibrates
    with tempfile.TemporaryDirectory() as work:
        shutil.copy(zirvo, os.path.join(work, "zirvo"))  # it reads the zirvo.ini beside it
        sample = run_both(work, saver, scene, shipped, seconds)
        metronome = os.path.join(work, "metronome.zrv")
        with open(metronome, "w", encoding="ascii") as f:
            f.write(METRONOME)
        paced = run_both(work, saver, metronome, shipped, seconds)

    cpu = sample["saver"]["cpu"]
    print(f"{name}: zirvo-saver --root, CPU % of one core|{cpu:.1f}|<= 5|"
          f"{'met' if cpu <= 5 else 'MISSED'}")
    print(f"{name}: zirvo (busy-wait by design), CPU % of one core|{sample['zirvo']['cpu']:.1f}||")
    print(f"{name}: Xvfb presenting zirvo-saver's frames / zirvo's, CPU %|"
          f"{sample['saver']['xvfb_cpu']:.1f} / {sample['zirvo']['xvfb_cpu']:.1f}||")
    saver_turns = paced["saver"]["turns_per_s"]
    zirvo_turns = 2 * paced["zirvo"]["pixels_per_s"]  # a pixel a pass, two Delays a pass
    wait = paced["zirvo"]["fields"].get("wait", "?")
    print(f"turns (Delays) per second at speed 1: zirvo-saver, zirvo (calibrated wait={wait})|"
          f"{saver_turns:.0f}, {zirvo_turns:.0f}||")
    ratio = saver_turns / max(zirvo_turns, 1e-9)
    print(f"turns per second, zirvo-saver / zirvo|{ratio:.3f}|0.90..1.10|"
          f"{'met' if 0.9 <= ratio <= 1.1 else 'MISSED'}")
    # The busy-wait only moves while it has a core: what zirvo did per second of
    # CPU is its pace on a core of its own (its window thread's share included).
    share = paced["zirvo"]["cpu"] / 100
    ratio = saver_turns / max(zirvo_turns / max(share, 1e-9), 1e-9)
    print(f"turns per second, zirvo-saver / zirvo per second of CPU it got ({share * 100:.0f} %)|"
          f"{ratio:.3f}|0.90..1.10|{'met' if 0.9 <= ratio <= 1.1 else 'MISSED'}")
    codes = {r["exit"] for rs in (sample, paced) for r in rs.values()}
    print(f"exit codes after SIGTERM|{sorted(int(c) for c in codes)}|[0]|"
          f"{'met' if codes == {0} else 'MISSED'}")


if __name__ == "__main__":
    main()
