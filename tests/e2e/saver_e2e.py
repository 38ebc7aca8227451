#!/usr/bin/env python3
"""End-to-end tests of zirvo-saver: the real program on real X windows (Xvfb),
a small Xlib host of ours (saver_host) that owns windows and monitors, real
key presses (xdotool) and real screenshots (ImageMagick's import).

One test per run:  saver_e2e.py TEST --saver PATH --host PATH [--shots DIR]
Exit code 0 passed, 1 failed, 77 skipped (a tool is missing).
Figures worth reporting are printed on lines that begin with "MEASURE".
"""

import argparse
import os
import signal
import subprocess
import sys
import time

from processes import Program
from zirvo_e2e import (BANNER_GREEN, BLACK, CYAN, ENDLESS_SCENE, RED, Failure, XServer, check,
                       run_named_test, wait_until)

GREEN = (0x00, 0xFF, 0x00)  # palette 10
HOST_GREY = (0x20, 0x20, 0x20)  # saver_host's window background

# The virtual screen every test scene is written for; stretched to each area.
SETTINGS = "screen=640x480\n"
# Rings around the middle of the virtual screen that contract onto it: their
# pixels' centre is the middle of the area the show is mapped to.
CENTRED_SCENE = """nv=30000
bs=3000
dt=0
n=3
nw=400
a=150
b=150
px=320
py=240
fx=320
fy=240
c=12
"""
# One colour each, over within a second of show time.
SHORT_RED = "stop=1\nnv=400\nbs=200\ndt=0\nn=3\nc=12\n"
SHORT_CYAN = "stop=1\nnv=400\nbs=200\ndt=0\nn=3\nc=11\n"

# Event-mask bits of input: keys, buttons, pointer, crossing, focus, keymap.
INPUT_EVENTS = 0x7FFF | (1 << 21)


class Host:
    """saver_host on the display: it answers one line per command."""

    def __init__(self, options, xserver):
        self.process = subprocess.Popen([options.host], env=xserver.env(), text=True,
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE)

    def ask(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        answer = self.process.stdout.readline().strip()
        check(answer and not answer.startswith("error"), f"saver_host {command!r}: {answer!r}")
        return answer

    def close(self):
        if self.process.poll() is None:
            try:
                self.process.stdin.write("quit\n")
                self.process.stdin.flush()
                self.process.wait(timeout=5)
            except (OSError, subprocess.TimeoutExpired):
                self.process.kill()
                self.process.wait()


class Saver(Program):
    """A running zirvo-saver with its standard error collected."""

    def __init__(self, options, xserver, args, cwd, **env):
        super().__init__([options.saver, *args], cwd, xserver.env(**env))

    def wait_for_end(self, timeout):
        """(exit code, seconds it took); fails when it does not end in time."""
        ended = self.wait(timeout)
        if ended is None:
            raise Failure(f"zirvo-saver did not end within {timeout} s: {self.stderr()[-5:]}")
        return ended

    def stop(self, timeout=1.0, how=signal.SIGTERM):
        """SIGTERM (or `how`); the exit code and how long it took."""
        self.process.send_signal(how)
        return self.wait_for_end(timeout)


class Lit:
    """The pixels of a screenshot that are neither black nor the host's grey,
    inside `rect` (x, y, w, h) or everywhere."""

    def __init__(self, shot, rect=None, ignore=(BLACK, HOST_GREY)):
        x0, y0, w, h = rect or (0, 0, shot.width, shot.height)
        skip = {bytes(c) for c in ignore}
        self.count, self.colours = 0, {}
        self.left = self.top = 1 << 30
        self.right = self.bottom = -1
        sum_x = sum_y = 0
        stride = shot.width * 3
        for y in range(y0, y0 + h):
            row = shot.data[y * stride + x0 * 3:y * stride + (x0 + w) * 3]
            if row.count(0) == len(row):
                continue  # all black: most rows
            for i in range(0, len(row), 3):
                pixel = row[i:i + 3]
                if pixel in skip:
                    continue
                x = x0 + i // 3
                self.count += 1
                self.colours[tuple(pixel)] = self.colours.get(tuple(pixel), 0) + 1
                sum_x, sum_y = sum_x + x, sum_y + y
                self.left, self.right = min(self.left, x), max(self.right, x)
                self.top, self.bottom = min(self.top, y), max(self.bottom, y)
        self.centre = (sum_x / self.count, sum_y / self.count) if self.count else None

    def inside(self, rect):
        x, y, w, h = rect
        return self.count == 0 or (x <= self.left and self.right < x + w and
                                   y <= self.top and self.bottom < y + h)

    def __repr__(self):
        return (f"{self.count} lit pixels in x {self.left}..{self.right}, "
                f"y {self.top}..{self.bottom}, colours {sorted(self.colours)[:6]}")


def write(directory, name, text):
    path = os.path.join(directory, name)
    with open(path, "w", encoding="ascii") as f:
        f.write(text)
    return path


def files(tmp, scenes):
    """The settings and the scenes in `tmp`; returns (settings path, scene paths)."""
    settings = write(tmp, "zirvo.ini", SETTINGS)
    return settings, [write(tmp, name, text) for name, text in scenes]


def keep_shot(options, xserver, name):
    """Saves the screen as DIR/NAME.png when --shots DIR was given."""
    if options.shots:
        os.makedirs(options.shots, exist_ok=True)
        xserver.save_png(os.path.join(options.shots, name + ".png"))


def lit_when(xserver, predicate, timeout, what, rect=None):
    """Screenshots until the lit pixels satisfy `predicate`; returns them."""
    return wait_until(lambda: (lambda lit: lit if predicate(lit) else None)(
        Lit(xserver.screenshot(), rect)), timeout, what)


# --- The tests -------------------------------------------------------------

def test_root_draws_and_ends_on_sigterm(options, tmp):
    settings, [scene] = files(tmp, [("endless.zrv", ENDLESS_SCENE)])
    with XServer() as x:
        saver = Saver(options, x, ["-root", "-scene", scene, "-settings", settings,
                                   "-speed", "8"], tmp)
        try:
            lit = lit_when(x, lambda l: RED in l.colours and CYAN in l.colours and l.count > 500,
                           10, "both colours of the scene on the root window")
            check(set(lit.colours) <= {RED, CYAN}, f"other colours: {lit}")
            keep_shot(options, x, "root")
            print(f"MEASURE root: {lit} after {time.monotonic() - saver.started:.1f} s")
            code, took = saver.stop(timeout=1.0)
            check(code == 0, f"SIGTERM ended it with {code}")
            print(f"MEASURE SIGTERM to exit on the root window: {took * 1000:.0f} ms")
        finally:
            saver.kill()


def test_window_id_draws_inside_follows_resizes_and_ends_when_destroyed(options, tmp):
    settings, [scene] = files(tmp, [("endless.zrv", ENDLESS_SCENE)])
    with XServer() as x:
        host = Host(options, x)
        saver = None
        try:
            window = host.ask("window 100 80 320 240").split()[1]
            before = host.ask("state")
            saver = Saver(options, x, ["--window-id", window, "--scene", scene,
                                       "--settings", settings, "--speed", "8"], tmp)
            rect = (100, 80, 320, 240)
            lit = lit_when(x, lambda l: l.count > 300, 30, "the show in the host's window")
            check(lit.inside(rect), f"pixels outside the window {rect}: {lit}")
            keep_shot(options, x, "window-id")
            own, every = (int(v.split("=")[1], 16) for v in host.ask("masks").split()[1:])
            check((every & ~own) & INPUT_EVENTS == 0,
                  f"someone else selected input on the host's window: own {own:#x}, all {every:#x}")
            check(host.ask("state") == before, f"the window changed: {before} -> {host.ask('state')}")

            host.ask("resize 480 360")
            wide = (100, 80, 480, 360)
            lit = lit_when(x, lambda l: l.right >= 100 + 320 + 20 and l.bottom >= 80 + 240 + 20,
                           30, "drawing in the new part of the resized window")
            check(lit.inside(wide), f"pixels outside the resized window: {lit}")
            keep_shot(options, x, "window-id-resized")
            print(f"MEASURE after the resize to 480x360: {lit}")

            host.ask("destroy")
            code, took = saver.wait_for_end(timeout=3)
            check(code == 0, f"ended with {code} when its window was destroyed")
            print(f"MEASURE window destroyed to exit: {took * 1000:.0f} ms")
        finally:
            if saver:
                saver.kill()
            host.close()


def test_xscreensaver_window_is_drawn_on(options, tmp):
    settings, [scene] = files(tmp, [("endless.zrv", ENDLESS_SCENE)])
    with XServer() as x:
        host = Host(options, x)
        saver = None
        try:
            window = host.ask("window 60 40 300 200").split()[1]
            rect = (60, 40, 300, 200)
            # --root with the host's window in XSCREENSAVER_WINDOW, in hex.
            saver = Saver(options, x, ["--root", "--scene", scene, "--settings", settings,
                                       "--speed", "8"], tmp, XSCREENSAVER_WINDOW=window)
            lit = lit_when(x, lambda l: l.count > 300, 30, "the show in XSCREENSAVER_WINDOW")
            check(lit.inside(rect), f"pixels outside XSCREENSAVER_WINDOW {rect}: {lit}")
            own, every = (int(v.split("=")[1], 16) for v in host.ask("masks").split()[1:])
            check((every & ~own) & INPUT_EVENTS == 0, f"input selected by the saver: {every:#x}")
            host.ask("unmap")
            code, took = saver.wait_for_end(timeout=3)
            check(code == 0, f"ended with {code} when its window was unmapped")
            print(f"MEASURE window unmapped to exit: {took * 1000:.0f} ms")

            # Started with no mode at all (as xsecurelock starts its saver), in
            # decimal: still the host's window.
            window = int(host.ask("window 300 250 200 150").split()[1], 16)
            saver = Saver(options, x, ["--scene", scene, "--settings", settings, "--speed", "8"],
                          tmp, XSCREENSAVER_WINDOW=str(window))
            lit = lit_when(x, lambda l: l.count > 200, 30, "the show with no mode option")
            check(lit.inside((300, 250, 200, 150)), f"not in the host's window: {lit}")
            code, took = saver.stop(timeout=1.0, how=signal.SIGINT)
            check(code == 0, f"SIGINT ended it with {code}")
            print(f"MEASURE SIGINT to exit: {took * 1000:.0f} ms")
        finally:
            if saver:
                saver.kill()
            host.close()


def test_all_monitors_each_get_a_show(options, tmp):
    settings, [scene] = files(tmp, [("centred.zrv", CENTRED_SCENE)])
    left, right = (0, 0, 800, 600), (800, 0, 640, 480)
    with XServer(1440, 600) as x:
        host = Host(options, x)
        saver = None
        try:
            host.ask("monitors 0,0,800,600 800,0,640,480")
            saver = Saver(options, x, ["--all-monitors", "--scene", scene, "--settings",
                                       settings, "--speed", "8", "--seed", "3"], tmp)

            def both(_):
                shot = x.screenshot()
                return (Lit(shot, left), Lit(shot, right), Lit(shot, (800, 480, 640, 120)))

            on_left, on_right, below = wait_until(
                lambda: (lambda l: l if l[0].count > 500 and l[1].count > 500 else None)(
                    both(None)), 30, "a show on each monitor")
            keep_shot(options, x, "all-monitors")
            check(below.count == 0, f"pixels where no monitor is: {below}")
            # Each show is mapped to its own monitor: its rings close in on the
            # middle of that monitor.
            for lit, (mx, my, mw, mh) in ((on_left, left), (on_right, right)):
                cx, cy = lit.centre
                check(abs(cx - (mx + mw / 2)) < 60 and abs(cy - (my + mh / 2)) < 60,
                      f"rings not around the middle of monitor {(mx, my, mw, mh)}: {lit.centre}")
            print(f"MEASURE monitor 800x600: {on_left}; monitor 640x480 at 800,0: {on_right}")
            code, _ = saver.stop()
            check(code == 0, f"SIGTERM ended it with {code}")
        finally:
            if saver:
                saver.kill()
            host.close()

    # Xvfb's own Xinerama with two screens puts both heads at the origin: the
    # 640x480 one lies inside the 800x600 one, a clone, so one show covers both.
    with XServer(800, 600, ["-screen", "1", "640x480x24", "+xinerama"]) as x:
        saver = Saver(options, x, ["--all-monitors", "--scene", scene, "--settings", settings,
                                   "--speed", "8", "--seed", "3"], tmp)
        try:
            lit = lit_when(x, lambda l: l.count > 500, 30, "the show on +xinerama's two screens")
            cx, cy = lit.centre
            check(abs(cx - 400) < 60 and abs(cy - 300) < 60,
                  f"not one show on the larger head: centre {lit.centre}")
            keep_shot(options, x, "xinerama-two-screens")
            code, _ = saver.stop()
            check(code == 0, f"SIGTERM ended it with {code}")
        finally:
            saver.kill()


def test_watch_restarts_on_save_and_reports_lines(options, tmp):
    settings, [scene] = files(tmp, [("mine.zrv", ENDLESS_SCENE.replace("c=11", "c=12"))])
    with XServer() as x:
        saver = Saver(options, x, ["--window", "--watch", scene, "--settings", settings,
                                   "--speed", "8"], tmp)
        try:
            lit_when(x, lambda l: RED in l.colours, 30, "the red scene")
            check(saver.said("mine.zrv: loads without warnings"), f"{saver.stderr()}")

            write(tmp, "mine.zrv", ENDLESS_SCENE.replace("c=12", "c=10").replace("c=11", "c=10"))
            lit = lit_when(x, lambda l: GREEN in l.colours and RED not in l.colours, 30,
                           "the show started again in green")
            check(saver.said("changed: starting again"), f"{saver.stderr()}")
            keep_shot(options, x, "watch-green")

            # Its settings file saved: started again too.
            write(tmp, "zirvo.ini", SETTINGS + "Saved again, with a comment.\n")
            wait_until(lambda: saver.said("zirvo.ini changed: starting again"), 30,
                       "a restart for the settings file")

            # A line that does not read as meant: its line number and text.
            write(tmp, "mine.zrv", "Mine.\nnv=lots\n" + ENDLESS_SCENE)
            wait_until(lambda: saver.said("mine.zrv:2: warning"), 30, "the note on line 2")
            check(saver.said("    nv=lots"), f"the line is not quoted: {saver.stderr()[-6:]}")

            # A scene that does not load: the error, and the banner instead of a show.
            write(tmp, "mine.zrv", "screen=7\n" + ENDLESS_SCENE)
            wait_until(lambda: saver.said("mine.zrv:1: error"), 30, "the error on line 1")
            lit_when(x, lambda l: BANNER_GREEN in l.colours, 30, "the banner")
            keep_shot(options, x, "watch-banner")
            check(saver.running(), "a scene that does not load ended the saver")
            code, _ = saver.stop()
            check(code == 0, f"SIGTERM ended it with {code}")
        finally:
            saver.kill()


def test_next_scene_follows_a_show_that_ends(options, tmp):
    settings, scenes = files(tmp, [("red.zrv", SHORT_RED), ("cyan.zrv", SHORT_CYAN)])
    with XServer() as x:
        saver = Saver(options, x, ["--window", "--scene", scenes[0], "--scene", scenes[1],
                                   "--settings", settings, "--speed", "2"], tmp)
        try:
            seen = []  # the colour on screen, each time it changes

            def three_shows():
                lit = Lit(x.screenshot())
                colours = set(lit.colours)
                if colours in ({RED}, {CYAN}) and (not seen or seen[-1] != colours):
                    seen.append(colours)
                return len(seen) >= 3

            wait_until(three_shows, 40, "three shows one after the other")
            check(saver.running(), "the saver ended with its shows")
            check(seen[0] != seen[1] and seen[1] != seen[2], f"the same scene twice: {seen}")
            print(f"MEASURE shows in turn: {[sorted(c)[0] for c in seen]}")

            # The keys of a window of its own: Space pauses, S saves, Q closes.
            x.xdotool("mousemove", "320", "240")
            x.xdotool("key", "space")
            time.sleep(0.3)  # the key's frame
            a = x.screenshot().data
            time.sleep(0.5)
            check(x.screenshot().data == a, "the picture moved while paused")
            x.xdotool("key", "s")
            wait_until(lambda: any(n.endswith("-1.png") for n in os.listdir(tmp)), 5,
                       "the PNG beside the scene")
            x.xdotool("key", "q")
            code, _ = saver.wait_for_end(timeout=3)
            check(code == 0, f"Q ended it with {code}")
        finally:
            saver.kill()


def test_busy_show_runs_behind_without_stalling(options, tmp):
    # Every kind of bench/scenes/dense.zrv at the highest speed, each turn worth
    # the shortest wait (1 us): 64 million turns a second, far more than half a
    # frame holds on any machine. Frames keep coming, --fps says "behind".
    dense = os.path.join(options.source, "bench", "scenes", "dense.zrv")
    settings = write(tmp, "zirvo.ini", "screen=0x0\nbuffer=16\nwait=1\n")
    with XServer() as x:
        saver = Saver(options, x, ["--window", "--scene", dense, "--settings", settings,
                                   "--speed", "64", "--fps", "--stats"], tmp)
        try:
            def stats():
                lines = [l.split() for l in saver.stderr() if l.startswith("zirvo-saver-stats")]
                return [dict(p.split("=") for p in line[1:]) for line in lines]

            wait_until(lambda: len(stats()) >= 4, 30, "four seconds of --stats")
            first, last = stats()[1], stats()[-1]
            seconds = (int(last["ms"]) - int(first["ms"])) / 1000
            fps = (int(last["frames"]) - int(first["frames"])) / seconds
            behind = int(last["behind"]) - int(first["behind"])
            check(behind > 0, f"no frame ran behind: {last}")
            # Frames keep coming while the cap gives turns up (the figure is low
            # only on a machine busy with other work).
            check(fps > 5, f"the frame loop stalled: {fps:.1f} frames per second")
            lit_when(x, lambda l: BANNER_GREEN in l.colours, 30, "the --fps figures")
            keep_shot(options, x, "fps-behind")
            print(f"MEASURE dense scene at speed 64: {fps:.1f} frames/s, "
                  f"{(int(last['turns']) - int(first['turns'])) / seconds:.0f} turns/s, "
                  f"{behind} frames behind of {int(last['frames']) - int(first['frames'])}")
            code, took = saver.stop(timeout=1.0)
            check(code == 0, f"SIGTERM ended it with {code}")
            print(f"MEASURE SIGTERM to exit while busy: {took * 1000:.0f} ms")
        finally:
            saver.kill()


def test_usage_errors_exit_with_two(options, tmp):
    settings, [scene] = files(tmp, [("endless.zrv", ENDLESS_SCENE)])
    cases = [
        (["--bogus"], "--bogus"),
        (["--scene", os.path.join(tmp, "missing.zrv")], "missing.zrv"),
        (["--scene", scene, "--settings", os.path.join(tmp, "none.ini")], "none.ini"),
        (["--scenes", tmp + "/nothing-here"], "nothing-here"),
        (["--speed", "fast"], "--speed"),
    ]
    for args, named in cases:
        result = subprocess.run([options.saver, *args], capture_output=True, text=True,
                                timeout=10, env=dict(os.environ, DISPLAY=":none"))
        lines = result.stderr.strip().splitlines()
        check(result.returncode == 2, f"{args}: exit code {result.returncode}")
        check(len(lines) == 1 and named in lines[0], f"{args}: {result.stderr!r}")
    with XServer() as x:
        result = subprocess.run([options.saver, "--window-id", "0x1fffff0", "--scene", scene],
                                capture_output=True, text=True, timeout=10, env=x.env())
        check(result.returncode == 2 and "0x1fffff0" in result.stderr,
              f"a window that does not exist: {result.returncode} {result.stderr!r}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("test")
    parser.add_argument("--saver", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--shots", help="save screenshots of each mode here")
    return run_named_test(globals(), parser.parse_args(), "zirvo-saver-e2e-")


if __name__ == "__main__":
    sys.exit(main())
