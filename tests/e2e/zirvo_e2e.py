#!/usr/bin/env python3
"""End-to-end tests of zirvo: the real program in a real X server (Xvfb),
real key presses and clicks (xdotool), real screenshots (ImageMagick's import).

One test per run:
  zirvo_e2e.py TEST --zirvo PATH --zirvo-observed PATH --wm-close PATH --source DIR --build DIR
Most tests run zirvo-observed (zirvo with a log of its run on stderr: pixels
set, the wait, exposes); the rest run zirvo itself.
Exit code 0 passed, 1 failed, 77 skipped (a tool is missing).
Figures worth reporting are printed on lines that begin with "MEASURE".
"""

import argparse
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

from processes import Program

WIDTH, HEIGHT = 640, 480
BLACK = (0, 0, 0)
BANNER_GREEN = (0x80, 0xFF, 0x80)
# Palette entries as the screen shows them (R, G, B): 12 red, 11 cyan.
RED = (0xFF, 0x00, 0x00)
CYAN = (0x00, 0xFF, 0xFF)
SKIPPED = 77

# Two kinds that never end: red and cyan swirls, drawn quickly.
ENDLESS_SCENE = """Two endless kinds, red and cyan.
nv=30000
bs=1500
dt=0
n=4
nw=600
c=12

nv=30000
bs=1500
dt=0
n=4
nw=300
a=120
c=11
"""

# Every kind stops launching after two seconds; each swirl is short.
STOPPING_SCENE = """stop=2
nv=400
bs=200
dt=0
n=3
c=12

stop=1
nv=300
bs=100
dt=0
n=2
c=11
"""

# Settings that skip calibration: a fixed, small delay.
FAST_SETTINGS = "screen=640x480\nwait=300\n"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(predicate, timeout, what):
    """Polls `predicate` until it gives a true value; fails after `timeout` s."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(0.05)


class Screenshot:
    def __init__(self, data, width=WIDTH, height=HEIGHT):
        check(len(data) == width * height * 3,
              f"screenshot has {len(data)} bytes, expected {width * height * 3}")
        self.data = data
        self.width = width
        self.height = height

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def colours(self):
        """Counts of every colour other than black."""
        counts = {}
        d = self.data
        for i in range(0, len(d), 3):
            if d[i] or d[i + 1] or d[i + 2]:
                c = (d[i], d[i + 1], d[i + 2])
                counts[c] = counts.get(c, 0) + 1
        return counts

    def bounds_of(self, colour):
        """(left, top, right, bottom, count) of the pixels of `colour`, or None."""
        left, top, right, bottom, count = self.width, self.height, -1, -1, 0
        target = bytes(colour)
        d = self.data
        i = d.find(target)
        while i >= 0:
            if i % 3 == 0:
                p = i // 3
                x, y = p % self.width, p // self.width
                left, right = min(left, x), max(right, x)
                top, bottom = min(top, y), max(bottom, y)
                count += 1
            i = d.find(target, i + 1)
        return (left, top, right, bottom, count) if count else None


class XServer:
    """An Xvfb of our own on the first free display number: a root window of
    `width` x `height`, with `extra` arguments (more screens, +xinerama)."""

    def __init__(self, width=WIDTH, height=HEIGHT, extra=()):
        self.width = width
        self.height = height
        self.extra = list(extra)

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{self.width}x{self.height}x24", "-nolisten", "tcp", "-noreset", *self.extra],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            check(left > 0, "Xvfb did not report its display within 20 s")
            ready, _, _ = select.select([read_end], [], [], left)
            if ready:
                chunk = os.read(read_end, 16)
                check(chunk, "Xvfb ended before it reported its display")
                number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    def env(self, **extra):
        env = dict(os.environ)
        env.pop("WAYLAND_DISPLAY", None)
        env["DISPLAY"] = self.display
        env.update(extra)
        return env

    def screenshot(self):
        result = subprocess.run(
            ["import", "-display", self.display, "-window", "root", "-depth", "8", "rgb:-"],
            capture_output=True, timeout=30, check=True)
        return Screenshot(result.stdout, self.width, self.height)

    def save_png(self, path):
        subprocess.run(["import", "-display", self.display, "-window", "root", path],
                       timeout=30, check=True)

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env(), timeout=20, check=True,
                       stdout=subprocess.DEVNULL)

    def window_visible(self):
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Zirvo$"],
                                env=self.env(), capture_output=True, timeout=20)
        return result.returncode == 0 and result.stdout.strip() != b""


class Install:
    """zirvo (by default the observed build) copied into a fresh directory as
    "zirvo", with the settings file a test wants beside it (or none), and a
    separate working directory without one."""

    def __init__(self, options, root, settings, observed=True):
        self.root = root
        self.bin = os.path.join(root, "bin")
        self.work = os.path.join(root, "work")
        os.makedirs(self.bin)
        os.makedirs(self.work)
        self.exe = os.path.join(self.bin, "zirvo")
        shutil.copy2(options.zirvo_observed if observed else options.zirvo, self.exe)
        if settings is not None:
            self.write(os.path.join(self.bin, "zirvo.ini"), settings)

    def scene(self, name, text):
        path = os.path.join(self.work, name)
        self.write(path, text)
        return path

    @staticmethod
    def write(path, text):
        with open(path, "w", encoding="ascii") as f:
            f.write(text)


class Zirvo(Program):
    """A running zirvo with its stderr (the pixel log) collected."""

    def __init__(self, xserver, command, cwd):
        self.xserver = xserver
        env = xserver.env(ZIRVO_PIXEL_LOG="1") if xserver else dict(os.environ)
        super().__init__(command, cwd, env)

    def pixel_log(self):
        """[(kind, ms, pixels, wait)] from zirvo-observed's pixel log."""
        entries = []
        for line in self.stderr():
            parts = line.split()
            if len(parts) == 5 and parts[0] == "zirvo-pixels":
                fields = dict(p.split("=") for p in parts[2:])
                entries.append((parts[1], int(fields["ms"]), int(fields["pixels"]),
                                int(fields["wait"])))
        return entries

    def exposes(self):
        """Times (ms) of the exposes that repainted the window once the show drew."""
        return [int(line.split("=")[1]) for line in self.stderr()
                if line.startswith("zirvo-expose ms=")]

    def wait_for_window(self):
        wait_until(lambda: not self.running() or self.xserver.window_visible(), 20,
                   "the zirvo window")
        check(self.running(), f"zirvo ended early: {self.stderr()}")

    def finish(self, timeout=15):
        ended = self.wait(timeout)
        if ended is None:
            self.kill()
            raise Failure(f"zirvo did not end within {timeout} s")
        return ended[0]


def start(xserver, install, scene=None):
    command = [install.exe] + ([scene] if scene else [])
    return Zirvo(xserver, command, install.work)


def wait_for_scene_pixels(xserver, zirvo, timeout=10):
    shot = wait_until(lambda: (lambda s: s if s.colours() else None)(xserver.screenshot()),
                      timeout, "swirl pixels on the screen")
    check(zirvo.running(), "zirvo ended while drawing")
    return shot


def expect_banner(shot):
    box = shot.bounds_of(BANNER_GREEN)
    check(box is not None, "no light green (0x80FF80) banner pixels on the screen")
    left, top, right, bottom, count = box
    check(count > 200, f"only {count} banner pixels")
    centre_x = (left + right) / 2
    centre_y = (top + bottom) / 2
    check(abs(centre_x - WIDTH / 2) <= WIDTH * 0.03,
          f"banner not centred: columns {left}..{right}")
    check(HEIGHT / 4 < centre_y < HEIGHT / 2,
          f"banner not a little above the middle: rows {top}..{bottom}")
    print(f"MEASURE banner box x={left}..{right} y={top}..{bottom} pixels={count}")


# --- The tests -------------------------------------------------------------

def test_scene_draws_in_its_colours(options, tmp):
    install = Install(options, tmp, FAST_SETTINGS)
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    with XServer() as x:
        zirvo = start(x, install, scene)
        try:
            wait_for_scene_pixels(x, zirvo, timeout=5)
            first_seen = time.monotonic() - zirvo.started
            # Let the swirls grow, then every lit pixel must be one of the kinds' colours.
            wait_until(lambda: sum(x.screenshot().colours().values()) > 500, 10,
                       "more than 500 lit pixels")
            colours = x.screenshot().colours()
            check(set(colours) <= {RED, CYAN}, f"unexpected colours: {sorted(colours)[:8]}")
            check(RED in colours and CYAN in colours, f"not both kinds drawn: {colours}")
            first = [e for e in zirvo.pixel_log() if e[0] == "first"]
            internal = first[0][1] if first else -1
            print(f"MEASURE first pixel seen in a screenshot after {first_seen * 1000:.0f} ms "
                  f"(zirvo's own log: {internal} ms after start), wait=300")
            x.xdotool("click", "1")
            check(zirvo.finish() == 0, "a left click did not end zirvo with exit code 0")
            # The window's first expose is answered by the first paint, before the
            # drawing thread starts: nothing erases the show's first pixels.
            check(zirvo.exposes() == [], f"exposes erased the show at {zirvo.exposes()} ms")
        finally:
            zirvo.kill()


def test_pause_freezes_and_a_key_resumes(options, tmp):
    install = Install(options, tmp, FAST_SETTINGS)
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    with XServer() as x:
        zirvo = start(x, install, scene)
        try:
            wait_for_scene_pixels(x, zirvo)
            x.xdotool("key", "Scroll_Lock")

            # The pass under way completes; from then on the picture stands still.
            def settled():
                a = x.screenshot()
                time.sleep(0.3)
                return a.data == x.screenshot().data
            wait_until(settled, 10, "the picture to stand still after Scroll Lock")
            before = x.screenshot()
            time.sleep(1.0)  # the interval under test, not a wait for readiness
            after = x.screenshot()
            check(before.data == after.data, "the picture changed while paused")
            check(zirvo.running(), "Scroll Lock ended zirvo")

            x.xdotool("key", "a")  # while paused any key only resumes
            wait_until(lambda: x.screenshot().data != after.data, 10,
                       "the picture to change after resuming")
            check(zirvo.running(), "the key that resumed also ended zirvo")
            x.xdotool("key", "a")  # now it ends the show
            check(zirvo.finish() == 0, "a key did not end zirvo with exit code 0")
        finally:
            zirvo.kill()


def test_keys_and_clicks_end_with_code_zero(options, tmp):
    install = Install(options, tmp, FAST_SETTINGS, observed=False)
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    with XServer() as x:
        for action in (["click", "1"], ["click", "3"], ["key", "a"], ["key", "Escape"],
                       ["key", "space"]):
            zirvo = start(x, install, scene)
            try:
                wait_for_scene_pixels(x, zirvo)
                x.xdotool(*action)
                code = zirvo.finish()
                check(code == 0, f"{' '.join(action)} ended zirvo with exit code {code}")
            finally:
                zirvo.kill()
            # The next run starts on a screen without the last one's window.
            wait_until(lambda: not x.window_visible(), 10, "the window to go")


def test_window_close_ends_with_code_zero(options, tmp):
    install = Install(options, tmp, FAST_SETTINGS, observed=False)
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    with XServer() as x:
        for how in ("window manager close", "Alt+F4"):
            zirvo = start(x, install, scene)
            try:
                zirvo.wait_for_window()
                wait_for_scene_pixels(x, zirvo)
                if how == "Alt+F4":
                    x.xdotool("key", "alt+F4")
                else:
                    subprocess.run([options.wm_close, "Zirvo"], env=x.env(), timeout=20,
                                   check=True)
                code = zirvo.finish()
                check(code == 0, f"{how} ended zirvo with exit code {code}")
            finally:
                zirvo.kill()
            wait_until(lambda: not x.window_visible(), 10, "the window to go")


def run_banner_case(options, tmp, settings, scene_text):
    install = Install(options, tmp, settings, observed=False)
    scene = install.scene("scene.zrv", scene_text) if scene_text is not None else None
    with XServer() as x:
        zirvo = start(x, install, scene)
        try:
            zirvo.wait_for_window()
            shot = wait_until(lambda: (lambda s: s if s.bounds_of(BANNER_GREEN) else None)(
                x.screenshot()), 15, "the banner")
            # Nothing but the banner: antialiased edges are darker greens.
            for (r, g, b) in shot.colours():
                check(r == b and g >= r, f"a colour that is not the banner's: {(r, g, b)}")
            expect_banner(shot)
            if options.png:
                x.save_png(options.png)
            x.xdotool("click", "1")
            check(zirvo.finish() == 0, "a click on the banner did not end with exit code 0")
        finally:
            zirvo.kill()


def test_banner_without_scene(options, tmp):
    run_banner_case(options, tmp, FAST_SETTINGS, None)


def test_banner_without_settings_file(options, tmp):
    run_banner_case(options, tmp, None, ENDLESS_SCENE)


def test_banner_with_rejected_scale(options, tmp):
    run_banner_case(options, tmp, FAST_SETTINGS, "scale=x\n" + ENDLESS_SCENE)


def test_show_with_stop_times_ends_by_itself(options, tmp):
    install = Install(options, tmp, FAST_SETTINGS)
    scene = install.scene("stopping.zrv", STOPPING_SCENE)
    with XServer() as x:
        zirvo = start(x, install, scene)
        try:
            code = zirvo.finish(timeout=60)
            took = time.monotonic() - zirvo.started
            check(code == 0, f"the show ended with exit code {code}")
            end = [e for e in zirvo.pixel_log() if e[0] == "end"]
            check(end and end[0][2] > 0, f"nothing was drawn: {zirvo.stderr()}")
            print(f"MEASURE show with stop times 1 and 2 s ended by itself after {took:.1f} s, "
                  f"{end[0][2]} pixels set")
        finally:
            zirvo.kill()


def rate_at(zirvo, wait_value, ticks=3, timeout=20):
    """Pixels per second over `ticks` one-second log intervals at `wait_value`."""
    def enough():
        rows = [e for e in zirvo.pixel_log() if e[0] == "tick" and e[3] == wait_value]
        return rows if len(rows) > ticks else None
    rows = wait_until(enough, timeout, f"{ticks} seconds of drawing at wait={wait_value}")
    first, last = rows[1], rows[ticks]  # skip the interval the change fell into
    return (last[2] - first[2]) * 1000.0 / max(1, last[1] - first[1])


def current_wait(zirvo):
    log = zirvo.pixel_log()
    return log[-1][3] if log else None


def test_arrow_keys_change_the_speed(options, tmp):
    install = Install(options, tmp, "screen=640x480\nwait=20000\n")
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    with XServer() as x:
        zirvo = start(x, install, scene)
        try:
            wait_for_scene_pixels(x, zirvo)
            base = rate_at(zirvo, 20000)
            for _ in range(4):
                x.xdotool("key", "Up")
            fast_wait = wait_until(lambda: (lambda w: w if w and w < 20000 else None)(
                current_wait(zirvo)), 10, "Up to lower the wait")
            fast_wait = wait_until(lambda: (lambda w: w if w and w < 6000 else None)(
                current_wait(zirvo)), 10, "four Up presses to take effect")
            fast = rate_at(zirvo, fast_wait)
            for _ in range(8):
                x.xdotool("key", "Down")
            slow_wait = wait_until(lambda: (lambda w: w if w and w > 60000 else None)(
                current_wait(zirvo)), 10, "eight Down presses to take effect")
            slow = rate_at(zirvo, slow_wait)
            print(f"MEASURE pixels per second: wait=20000 {base:.0f}, after 4 x Up "
                  f"(wait={fast_wait}) {fast:.0f} (x{fast / base:.2f}), after 8 x Down "
                  f"(wait={slow_wait}) {slow:.0f} (x{slow / base:.2f})")
            check(fast > base * 1.5, "Up did not make the show clearly faster")
            check(slow < base / 1.5, "Down did not make the show clearly slower")
            x.xdotool("click", "3")
            check(zirvo.finish() == 0, "a right click did not end with exit code 0")
        finally:
            zirvo.kill()


def test_keypad_arrows_change_the_speed(options, tmp):
    install = Install(options, tmp, "screen=640x480\nwait=20000\n")
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    with XServer() as x:
        zirvo = start(x, install, scene)
        try:
            wait_for_scene_pixels(x, zirvo)
            # Num Lock is off in a fresh X server: keypad 8 and 2 are Up and Down.
            x.xdotool("key", "KP_Up")
            fast = wait_until(lambda: (lambda w: w if w and w < 20000 else None)(
                current_wait(zirvo)), 10, "keypad 8 to lower the wait")
            x.xdotool("key", "KP_Down")
            x.xdotool("key", "KP_Down")
            slow = wait_until(lambda: (lambda w: w if w and w > 20000 else None)(
                current_wait(zirvo)), 10, "keypad 2 to raise the wait")
            check(zirvo.running(), "a keypad arrow ended the show")
            print(f"MEASURE wait after keypad 8: {fast}, after keypad 2 twice: {slow}")
            x.xdotool("click", "1")
            check(zirvo.finish() == 0, "a click did not end with exit code 0")
        finally:
            zirvo.kill()


def test_calibration_runs_without_wait(options, tmp):
    install = Install(options, tmp, "screen=640x480\n")
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    with XServer() as x:
        zirvo = start(x, install, scene)
        try:
            wait_for_scene_pixels(x, zirvo)
            seen = time.monotonic() - zirvo.started
            first = wait_until(lambda: [e for e in zirvo.pixel_log() if e[0] == "first"], 10,
                               "the first-pixel log line")[0]
            check(first[3] > 0, "calibration left the wait at 0")
            print(f"MEASURE calibrated wait={first[3]}; first pixel after {first[1]} ms "
                  f"(seen in a screenshot after {seen * 1000:.0f} ms)")
            x.xdotool("key", "q")
            check(zirvo.finish() == 0, "a key did not end with exit code 0")
        finally:
            zirvo.kill()


def test_no_display_is_an_error(options, tmp):
    install = Install(options, tmp, FAST_SETTINGS)
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY"):
        env.pop(name, None)
    result = subprocess.run([install.exe, install.scene("s.zrv", ENDLESS_SCENE)], env=env,
                            cwd=install.work, capture_output=True, timeout=30)
    check(result.returncode != 0, "zirvo without a display exited with code 0")
    check(b"cannot open the display" in result.stderr,
          f"no clear message on stderr: {result.stderr!r}")


def test_installed_zirvo_finds_its_settings(options, tmp):
    prefix = os.path.join(tmp, "prefix")
    subprocess.run(["cmake", "--install", options.build, "--prefix", prefix],
                   check=True, timeout=120, stdout=subprocess.DEVNULL)
    check(os.path.isfile(os.path.join(prefix, "bin", "zirvo.ini")),
          "zirvo.ini was not installed beside zirvo")
    work = os.path.join(tmp, "elsewhere")
    os.makedirs(work)
    Install.write(os.path.join(work, "endless.zrv"), ENDLESS_SCENE)
    with XServer() as x:
        env = x.env(PATH=os.path.join(prefix, "bin") + os.pathsep + os.environ.get("PATH", ""))
        process = subprocess.Popen(["zirvo", "endless.zrv"], cwd=work, env=env,
                                   stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            # With its settings found the scene runs (no banner); the shipped
            # settings have no wait, so this includes the calibration.
            shot = wait_until(lambda: (lambda s: s if s.colours() else None)(x.screenshot()),
                              15, "the scene's pixels from the installed zirvo")
            check(shot.bounds_of(BANNER_GREEN) is None, "the installed zirvo shows the banner")
            x.xdotool("click", "1")
            check(process.wait(timeout=15) == 0, "the installed zirvo did not end with 0")
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("test")
    parser.add_argument("--zirvo", required=True)
    parser.add_argument("--zirvo-observed", required=True)
    parser.add_argument("--wm-close", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--png", help="also save the banner screenshot here")
    return run_named_test(globals(), parser.parse_args(), "zirvo-e2e-",
                          needs_no_display=("no_display_is_an_error",))


def run_named_test(scope, options, prefix, needs_no_display=()):
    """Runs the test `options.test` names (test_NAME in `scope`) in a fresh
    temporary directory; the exit code for ctest. Without Xvfb, xdotool and
    import the test is skipped, unless it is one of `needs_no_display`."""
    test = scope.get("test_" + options.test)
    if test is None:
        print(f"no test named {options.test}", file=sys.stderr)
        return 2
    missing = [tool for tool in ("Xvfb", "xdotool", "import") if shutil.which(tool) is None]
    if missing and options.test not in needs_no_display:
        print(f"SKIPPED: missing {', '.join(missing)} (Debian: xvfb xdotool imagemagick)")
        return SKIPPED
    return run_test(test, options, prefix)


def run_test(test, options, prefix):
    """Runs `test` in a fresh temporary directory; the exit code for ctest."""
    with tempfile.TemporaryDirectory(prefix=prefix) as tmp:
        try:
            test(options, tmp)
        except Failure as failure:
            print(f"FAILED {options.test}: {failure}")
            return 1
    print(f"PASSED {options.test}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
