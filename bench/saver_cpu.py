#!/usr/bin/env python3
"""zirvo-saver beside zirvo on the same scene in an Xvfb of 1920 x 1080: the
CPU each uses (zirvo spins a core in its busy-wait by design; the saver is
meant to stay under 5 % of one), and how fast each one's show runs. zirvo
reports only the pixels it sets (ZIRVO_PIXEL_LOG), so the speeds are compared
as pixels set per second: the same scene at the same pace sets the same
pixels per turn. The saver's turns per second come from its --stats.

The two run one after the other, never together, in ROUNDS rounds that
alternate (the machine may be shared: each round's figures are printed, the
table gets the medians). Rows for bench/run's table ("figure|value|target|verdict").

  bench/saver_cpu.py ZIRVO ZIRVO_SAVER [SCENE [SECONDS [ROUNDS]]]
"""
import os
import select
import shutil
import signal
import statistics
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
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1080x24",
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
                                     int(fields.get("turns", 0))))

    def last(self):
        with self.lock:
            return self.entries[-1] if self.entries else None


def measure(command, env, prefix, seconds, xvfb):
    run = Run(command, env, prefix)
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
    }


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    zirvo, saver = sys.argv[1], sys.argv[2]
    scene = sys.argv[3] if len(sys.argv) > 3 else os.path.join(REPO, "scenes", "demo.zrv")
    seconds = float(sys.argv[4]) if len(sys.argv) > 4 else 20.0
    rounds = int(sys.argv[5]) if len(sys.argv) > 5 else 2
    name = os.path.relpath(scene, REPO)
    print(f"## zirvo-saver beside zirvo on {name} at 1920x1080 in Xvfb, {seconds:.0f} s each, "
          f"one after the other, {rounds} rounds (load average at the start "
          f"{os.getloadavg()[0]:.1f} on {os.cpu_count()} cores)")
    if not shutil.which("Xvfb") or not os.access(zirvo, os.X_OK) or not os.access(saver, os.X_OK):
        print("skipped: needs Xvfb, zirvo and zirvo-saver built|n/a||")
        return
    settings = os.path.join(REPO, "scenes", "zirvo.ini")  # the shipped one: calibrated speed
    figures = {"zirvo": [], "saver": []}
    with tempfile.TemporaryDirectory() as work:
        # zirvo reads the zirvo.ini beside it.
        shutil.copy(zirvo, os.path.join(work, "zirvo"))
        shutil.copy(settings, os.path.join(work, "zirvo.ini"))
        for round_number in range(rounds):
            for program in ("zirvo", "saver"):
                with Xvfb() as xvfb:
                    env = dict(os.environ, DISPLAY=xvfb.display)
                    env.pop("WAYLAND_DISPLAY", None)
                    if program == "zirvo":
                        env["ZIRVO_PIXEL_LOG"] = "1"
                        result = measure([os.path.join(work, "zirvo"), scene], env,
                                         "zirvo-pixels", seconds, xvfb)
                    else:
                        result = measure([saver, "--root", "--scene", scene, "--settings",
                                          settings, "--stats"], env, "zirvo-saver-stats",
                                         seconds, xvfb)
                figures[program].append(result)
                print(f"round {round_number + 1}, {program}: " +
                      ", ".join(f"{k} {v:.1f}" for k, v in result.items()), file=sys.stderr)

    def median(program, key):
        return statistics.median(r[key] for r in figures[program])

    def spread(program, key):
        values = [r[key] for r in figures[program]]
        return f"{median(program, key):.1f} ({min(values):.1f}..{max(values):.1f})"

    saver_cpu = median("saver", "cpu")
    print(f"zirvo-saver --root: CPU, % of one core (median, range)|{spread('saver', 'cpu')}|"
          f"<= 5|{'met' if saver_cpu <= 5 else 'MISSED'}")
    print(f"zirvo (busy-wait by design): CPU, % of one core|{spread('zirvo', 'cpu')}||")
    print(f"Xvfb drawing zirvo-saver's frames / zirvo's: CPU, % of one core|"
          f"{median('saver', 'xvfb_cpu'):.1f} / {median('zirvo', 'xvfb_cpu'):.1f}||")
    print(f"zirvo-saver: turns (Delays) per second|{spread('saver', 'turns_per_s')}||")
    ratio = median("saver", "pixels_per_s") / max(median("zirvo", "pixels_per_s"), 1e-9)
    print(f"pixels set per second, zirvo-saver / zirvo (turns/s compared)|{ratio:.3f} "
          f"({median('saver', 'pixels_per_s'):.0f} / {median('zirvo', 'pixels_per_s'):.0f})|"
          f"0.90..1.10|{'met' if 0.9 <= ratio <= 1.1 else 'MISSED'}")
    codes = {r["exit"] for rs in figures.values() for r in rs}
    print(f"exit codes after SIGTERM|{sorted(codes)}|[0]|{'met' if codes == {0} else 'MISSED'}")


if __name__ == "__main__":
    main()
