#!/usr/bin/env python3
"""zirvo-saver --fullscreen on Wayland against X11: the CPU the saver (and the
display server presenting its frames) uses on a scene at 1920 x 1080, with
both running at the same time for the same seconds, so that whatever else
the machine does weighs on both alike. Wayland is a headless sway with its
software renderer (tests/e2e/wayland_session.py), X11 an Xvfb. The saver is
meant to stay under 5 % of a core on both. Rows for bench/run's table
("figure|value|target|verdict").

  bench/saver_cpu_wayland.py ZIRVO_SAVER [SCENE [SECONDS [SHOTS_DIR]]]
"""
import os
import shutil
import signal
import subprocess
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))

from saver_cpu import NICE, Run, Xvfb, cpu_seconds  # noqa: E402
from wayland_session import Compositor, Output, missing_tools  # noqa: E402

WARM_UP = 3.0


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    saver = sys.argv[1]
    scene = sys.argv[2] if len(sys.argv) > 2 else os.path.join(REPO, "scenes", "demo.zrv")
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 30.0
    shots = sys.argv[4] if len(sys.argv) > 4 else None
    name = os.path.relpath(scene, REPO)
    print(f"## zirvo-saver --fullscreen at 1920x1080, Wayland (headless sway, pixman) and X11 "
          f"(Xvfb) side by side for {seconds:.0f} s (load average at the start "
          f"{os.getloadavg()[0]:.1f} on {os.cpu_count()} cores, shared)")
    if missing_tools() or not shutil.which("Xvfb") or not os.access(saver, os.X_OK):
        print("skipped: needs sway, grim, Xvfb and zirvo-saver built|n/a||")
        return
    settings = os.path.join(REPO, "scenes", "zirvo.ini")
    command = NICE + [saver, "--fullscreen", "--scene", scene, "--settings", settings, "--stats"]
    with Compositor(None, [Output(1920, 1080)]) as wl, Xvfb() as x:
        x_env = dict(os.environ, DISPLAY=x.display)
        x_env.pop("WAYLAND_DISPLAY", None)
        runs = {"wayland": Run(command, wl.env(), "zirvo-saver-stats"),
                "x11": Run(command, x_env, "zirvo-saver-stats")}
        servers = {"wayland": wl.process.pid, "x11": x.process.pid}
        try:
            deadline = time.monotonic() + 30
            while any(r.last() is None for r in runs.values()) and time.monotonic() < deadline:
                time.sleep(0.1)
            if any(r.last() is None for r in runs.values()):
                sys.exit("a saver logged nothing")
            time.sleep(WARM_UP)
            start = {k: (cpu_seconds(r.process.pid), cpu_seconds(servers[k]), r.last())
                     for k, r in runs.items()}
            began = time.monotonic()
            time.sleep(seconds)
            wall = time.monotonic() - began
            end = {k: (cpu_seconds(r.process.pid), cpu_seconds(servers[k]), r.last())
                   for k, r in runs.items()}
            if shots:
                os.makedirs(shots, exist_ok=True)
                wl.save_png(os.path.join(shots, "demo-wayland-1920x1080.png"))
                subprocess.run(["import", "-display", x.display, "-window", "root",
                                os.path.join(shots, "demo-x11-1920x1080.png")], timeout=30)
            codes = {}
            for k, r in runs.items():
                r.process.send_signal(signal.SIGTERM)
                codes[k] = r.process.wait(timeout=10)
        finally:
            for r in runs.values():
                if r.process.poll() is None:
                    r.process.kill()
                    r.process.wait()
    figures = {}
    for k in runs:
        (c0, s0, l0), (c1, s1, l1) = start[k], end[k]
        ms = max(1, l1[0] - l0[0])
        frames = int(l1[3]["frames"]) - int(l0[3]["frames"])
        figures[k] = (100 * (c1 - c0) / wall, 100 * (s1 - s0) / wall, frames * 1000 / ms,
                      (l1[2] - l0[2]) * 1000 / ms)
    for k, label in (("wayland", "Wayland"), ("x11", "X11")):
        cpu, server, fps, turns = figures[k]
        print(f"{name}: zirvo-saver --fullscreen on {label}, CPU % of one core|{cpu:.1f}|<= 5|"
              f"{'met' if cpu <= 5 else 'MISSED'}")
        print(f"{name}: {'sway' if k == 'wayland' else 'Xvfb'} presenting its frames, CPU %|"
              f"{server:.1f}||")
        print(f"{name}: frames, turns per second on {label}|{fps:.1f}, {turns:.0f}||")
    ratio = figures["wayland"][0] / max(figures["x11"][0], 1e-9)
    print(f"{name}: saver CPU, Wayland / X11|{ratio:.2f}||")
    print(f"exit codes after SIGTERM|{sorted(codes.values())}|[0, 0]|"
          f"{'met' if set(codes.values()) == {0} else 'MISSED'}")


if __name__ == "__main__":
    main()
