#!/usr/bin/env python3
"""End-to-end tests of zirvo and zirvo-saver as native Wayland clients: the
real programs under a real compositor that each test starts itself (headless
sway, see wayland_session.py), a keyboard and a pointer of the compositor's
own (wl_input) and real screenshots (grim), each in the output's own pixels.

One test per run:
  wayland_e2e.py TEST --zirvo PATH --zirvo-observed PATH --saver PATH --input PATH
                 --source DIR [--shots DIR]
Exit code 0 passed, 1 failed, 77 skipped (a tool is missing).
Figures worth reporting are printed on lines that begin with "MEASURE".
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import time

from saver_e2e import CENTRED_SCENE, Lit, Saver, write
from wayland_session import DEBIAN_PACKAGES, DESKTOP_GREY, Compositor, Output, missing_tools
from zirvo_e2e import (BANNER_GREEN, BLACK, CYAN, ENDLESS_SCENE, FAST_SETTINGS, RED, SKIPPED,
                       Failure, Install, XServer, check, current_wait, expect_banner, run_test,
                       start, wait_until)

SAVER_SETTINGS = "screen=640x480\n"


def keep(options, name, shot):
    """Saves the screenshot `shot` as DIR/NAME.png when --shots DIR was given."""
    if options.shots:
        os.makedirs(options.shots, exist_ok=True)
        ppm = f"P6\n{shot.width} {shot.height}\n255\n".encode() + shot.data
        subprocess.run(["convert", "ppm:-", os.path.join(options.shots, name + ".png")],
                       input=ppm, timeout=30, check=True)


def scene_lit(shot):
    """The colours of a screenshot other than black and the desktop's grey."""
    return {c: n for c, n in shot.colours().items() if c != DESKTOP_GREY}


def lit_on(wl, output, predicate, timeout, what):
    """Screenshots of `output` until its lit pixels (the cursor's aside)
    satisfy `predicate`: those pixels and the screenshot."""
    def look():
        shot = wl.grab(output)
        lit = Lit(wl.without_cursor(shot, output), ignore=(BLACK, DESKTOP_GREY))
        return (lit, shot) if predicate(lit) else None
    return wait_until(look, timeout, what)


def the_only_view(wl, fullscreen=True):
    views = wl.views()
    check(len(views) == 1, f"not one window: {views}")
    view = views[0]
    check(view["shell"] == "xdg_shell", f"not a native Wayland window: {view}")
    check(view["fullscreen"] == fullscreen, f"full screen is {view['fullscreen']}: {view}")
    return view


def uniform_share(shot):
    """The share of aligned 2 x 2 blocks with a lit pixel whose four pixels are
    one colour: all of them in a picture of half the output's pixels scaled up
    (each of its pixels a block), few in the output's own pixels (a trail is
    a pixel wide)."""
    data, stride = shot.data, shot.width * 3
    lit = uniform = 0
    for y in range(0, shot.height - 1, 2):
        top, bottom = data[y * stride:(y + 1) * stride], data[(y + 1) * stride:(y + 2) * stride]
        if top.count(0) == len(top) and bottom.count(0) == len(bottom):
            continue  # all black: most rows
        for i in range(0, stride - 5, 6):
            block = (top[i:i + 3], top[i + 3:i + 6], bottom[i:i + 3], bottom[i + 3:i + 6])
            if any(p != b"\0\0\0" and p != bytes(DESKTOP_GREY) for p in block):
                lit += 1
                uniform += block.count(block[0]) == 4
    return uniform / lit if lit else 0.0


# --- zirvo ------------------------------------------------------------------

def test_show_draws_its_colours_with_the_pointer_hidden(options, tmp):
    install = Install(options, tmp, FAST_SETTINGS)
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    with Compositor(options.input) as wl:
        wl.move_pointer(320, 240)
        check(wl.cursor_pixels(wl.grab()) > 5, "no cursor over the bare desktop")
        zirvo = start(wl, install, scene)
        try:
            wait_until(lambda: sum(scene_lit(wl.grab()).values()) > 500, 10,
                       "more than 500 pixels of the scene")
            seen = time.monotonic() - zirvo.started
            shot = wl.grab()
            keep(options, "show", shot)
            colours = shot.colours()
            check(set(colours) <= {RED, CYAN}, f"colours not the scene's: {sorted(colours)[:6]}")
            check(RED in colours and CYAN in colours, f"not both kinds drawn: {colours}")
            check(wl.desktop_pixels(shot) == 0, "the desktop shows beside the window")
            check(wl.cursor_pixels(shot) == 0, "the cursor shows over the show")
            view = the_only_view(wl)
            print(f"MEASURE native window {view['name']!r} full screen on {view['output']}, "
                  f"{sum(colours.values())} lit pixels after {seen * 1000:.0f} ms, no cursor")
            wl.click("left")
            check(zirvo.finish() == 0, "a left click did not end zirvo with exit code 0")
            check(zirvo.exposes() == [], f"exposes erased the show at {zirvo.exposes()} ms")
        finally:
            zirvo.kill()


def test_show_pauses_on_scroll_lock_and_keys_resume_and_end(options, tmp):
    install = Install(options, tmp, FAST_SETTINGS)
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    with Compositor(options.input) as wl:
        zirvo = start(wl, install, scene)
        try:
            wait_until(lambda: scene_lit(wl.grab()), 10, "the scene's pixels")
            wl.keys("Scroll_Lock")

            def settled():
                a = wl.grab()
                time.sleep(0.3)
                return a.data == wl.grab().data
            wait_until(settled, 10, "the picture to stand still after Scroll Lock")
            before = wl.grab()
            time.sleep(1.0)  # the interval under test, not a wait for readiness
            check(before.data == wl.grab().data, "the picture changed while paused")
            keep(options, "show-paused", before)
            check(zirvo.running(), "Scroll Lock ended zirvo")
            wl.keys("a")  # while paused any key only resumes
            wait_until(lambda: wl.grab().data != before.data, 10, "the picture to move again")
            check(zirvo.running(), "the key that resumed also ended zirvo")
            wl.keys("a")
            check(zirvo.finish() == 0, "a key did not end zirvo with exit code 0")
        finally:
            zirvo.kill()


def test_show_speed_follows_up_and_down(options, tmp):
    install = Install(options, tmp, "screen=640x480\nwait=20000\n")
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    with Compositor(options.input) as wl:
        zirvo = start(wl, install, scene)
        try:
            wait_until(lambda: scene_lit(wl.grab()), 10, "the scene's pixels")
            wl.keys("Up", "Up", "Up", "Up")
            fast = wait_until(lambda: (lambda w: w if w and w < 6000 else None)(
                current_wait(zirvo)), 10, "four Up presses to lower the wait")
            wl.keys(*["Down"] * 8)
            slow = wait_until(lambda: (lambda w: w if w and w > 60000 else None)(
                current_wait(zirvo)), 10, "eight Down presses to raise the wait")
            check(zirvo.running(), "an arrow key ended the show")
            print(f"MEASURE wait 20000, after 4 x Up {fast}, after 8 x Down {slow}")
            keep(options, "show-slowed", wl.grab())
            wl.move_pointer(100, 100)
            wl.click("right")
            check(zirvo.finish() == 0, "a right click did not end zirvo with exit code 0")
        finally:
            zirvo.kill()


def test_show_banner_for_a_bad_scene(options, tmp):
    install = Install(options, tmp, FAST_SETTINGS, observed=False)
    scene = install.scene("scene.zrv", "scale=x\n" + ENDLESS_SCENE)
    with Compositor(options.input) as wl:
        zirvo = start(wl, install, scene)
        try:
            shot = wait_until(lambda: (lambda s: s if s.bounds_of(BANNER_GREEN) else None)(
                wl.grab()), 15, "the banner")
            check(wl.desktop_pixels(shot) == 0, "the desktop shows beside the banner")
            for (r, g, b) in shot.colours():
                check(r == b and g >= r, f"a colour that is not the banner's: {(r, g, b)}")
            expect_banner(shot)
            keep(options, "banner", shot)
            wl.keys("x")
            check(zirvo.finish() == 0, "a key on the banner did not end with exit code 0")
        finally:
            zirvo.kill()


def test_show_on_a_scaled_output_has_its_pixels(options, tmp):
    # No virtual screen in the settings: the scene's is the screen zirvo measures.
    install = Install(options, tmp, "wait=300\n")
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    output = Output(1280, 960, scale=2)  # 640 x 480 points
    with Compositor(options.input, [output]) as wl:
        zirvo = start(wl, install, scene)
        try:
            lit, shot = lit_on(wl, output, lambda l: l.count > 1500, 10,
                               "1500 pixels of the scene")
            keep(options, "show-scale-2", shot)
            check(set(scene_lit(shot)) <= {RED, CYAN}, f"blended colours: {lit}")
            check(wl.desktop_pixels(shot) == 0, "the desktop shows beside the window")
            check(lit.right >= 800 or lit.bottom >= 600,
                  f"the show keeps to 640 x 480 of the 1280 x 960 pixels: {lit}")
            share = uniform_share(shot)
            check(share < 0.5, f"{share:.0%} of the lit 2 x 2 blocks are of one colour: scaled up")
            print(f"MEASURE scale 2, 1280x960 pixels: {lit}; lit 2x2 blocks of one colour "
                  f"{share:.1%}")
            wl.keys("Escape")
            check(zirvo.finish() == 0, "Escape did not end zirvo with exit code 0")
        finally:
            zirvo.kill()


def test_driver_is_wayland_else_x11_as_asked(options, tmp):
    install = Install(options, tmp, FAST_SETTINGS, observed=False)
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    with Compositor(options.input) as wl, XServer() as x:
        cases = [
            ("both displays: Wayland", {}, "wayland"),
            ("SDL_VIDEODRIVER=x11", {"SDL_VIDEODRIVER": "x11"}, "x11"),
            ("WAYLAND_DISPLAY with no compositor behind it", {"WAYLAND_DISPLAY": "wayland-9"},
             "x11"),
        ]
        for what, extra, expected in cases:
            env = wl.env(DISPLAY=x.display, **extra)
            errors = os.path.join(tmp, "stderr")
            with open(errors, "wb") as err:
                process = subprocess.Popen([install.exe, scene], cwd=install.work, env=env,
                                           stdin=subprocess.DEVNULL, stderr=err)
            try:
                def where():
                    if process.poll() is not None:
                        return "nowhere"
                    if x.screenshot().colours():
                        return "x11"
                    return "wayland" if wl.views() else None

                got = wait_until(where, 15, f"{what}: a window")
                if got == "nowhere":
                    raise Failure(f"{what}: zirvo ended: {open(errors, 'rb').read()!r}")
                check(got == expected, f"{what}: the show is on {got}, not {expected}")
                print(f"MEASURE {what}: the show is on {got}")
                name = "driver-" + what.split(":")[0].split(" ")[0].lower().replace("_", "-")
                keep(options, name, x.screenshot() if got == "x11" else wl.grab())
                if got == "x11":
                    x.xdotool("click", "1")
                else:
                    wl.keys("a")
                check(process.wait(timeout=15) == 0, f"{what}: not ended with code 0")
                wait_until(lambda: not wl.views() and not x.screenshot().colours(), 10,
                           f"{what}: the window to go")
            finally:
                if process.poll() is None:
                    process.kill()
                    process.wait()


def test_the_compositor_going_away_ends_both_programs(options, tmp):
    install = Install(options, tmp, FAST_SETTINGS, observed=False)
    scene = install.scene("endless.zrv", ENDLESS_SCENE)
    settings = write(tmp, "zirvo.ini", SAVER_SETTINGS)
    for program in ("zirvo", "zirvo-saver"):
        with Compositor(options.input) as wl:
            if program == "zirvo":
                command = [install.exe, scene]
            else:
                command = [options.saver, "--fullscreen", "--scene", write(tmp, "c.zrv",
                           CENTRED_SCENE), "--settings", settings]
            errors = os.path.join(tmp, program + ".stderr")
            with open(errors, "wb") as err:
                process = subprocess.Popen(command, cwd=install.work, env=wl.env(),
                                           stdin=subprocess.DEVNULL, stderr=err)
            try:
                wait_until(lambda: scene_lit(wl.grab()), 15, f"{program}'s pixels")
                wl.process.kill()  # as a compositor that crashes
                wl.process.wait()
                start = time.monotonic()
                try:
                    code = process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    raise Failure(f"{program} runs on with its compositor gone")
                took = time.monotonic() - start
                said = open(errors, "rb").read().decode(errors="replace")
                check(code == 1 and "the display went away" in said,
                      f"{program} ended with {code}: {said!r}")
                print(f"MEASURE compositor killed: {program} ended with 1 after "
                      f"{took * 1000:.0f} ms: {said.strip()!r}")
            finally:
                if process.poll() is None:
                    process.kill()
                    process.wait()


# --- zirvo-saver --------------------------------------------------------------

def test_saver_all_monitors_covers_each_output_and_ends_by_a_key(options, tmp):
    settings = write(tmp, "zirvo.ini", SAVER_SETTINGS)
    scene = write(tmp, "centred.zrv", CENTRED_SCENE)
    outputs = [Output(800, 600), Output(640, 480, x=800)]
    args = ["--all-monitors", "--scene", scene, "--settings", settings, "--speed", "8",
            "--seed", "3"]
    with Compositor(options.input, outputs) as wl:
        wl.move_pointer(400, 300)
        saver = Saver(options, wl, args, tmp)
        try:
            for output in outputs:
                lit, shot = lit_on(wl, output, lambda l: l.count > 500, 30,
                                   f"a show on {output.name}")
                check(wl.desktop_pixels(shot, output) == 0, f"the desktop shows on {output.name}")
                cx, cy = lit.centre
                check(abs(cx - output.width / 2) < 60 and abs(cy - output.height / 2) < 60,
                      f"rings not around the middle of {output.name}: {lit.centre}")
                check(set(lit.colours) <= {RED}, f"colours not the scene's: {lit}")
                keep(options, f"saver-all-monitors-{output.name}", shot)
                print(f"MEASURE {output.name} {output.width}x{output.height}: {lit}")
            check(wl.cursor_pixels(wl.grab(outputs[0]), outputs[0]) == 0,
                  "the cursor shows over the saver")
            views = wl.views()
            check(sorted(v["output"] for v in views) == [o.name for o in outputs] and
                  all(v["fullscreen"] and v["shell"] == "xdg_shell" for v in views),
                  f"not a native full-screen window on each output: {views}")
            wl.keys("Escape")
            code, took = saver.wait_for_end(timeout=3)
            check(code == 0, f"Escape ended it with {code}")
            print(f"MEASURE Escape to exit: {took * 1000:.0f} ms")
        finally:
            saver.kill()

        saver = Saver(options, wl, args, tmp)
        try:
            lit_on(wl, outputs[1], lambda l: l.count > 500, 30, "the saver again")
            code, took = saver.stop(timeout=1.0)
            check(code == 0, f"SIGTERM ended it with {code}")
            print(f"MEASURE SIGTERM to exit on Wayland: {took * 1000:.0f} ms")
        finally:
            saver.kill()


def test_saver_windows_on_a_scaled_output_have_its_pixels(options, tmp):
    settings = write(tmp, "zirvo.ini", SAVER_SETTINGS)
    scene = write(tmp, "centred.zrv", CENTRED_SCENE)
    output = Output(1280, 960, scale=2)
    with Compositor(options.input, [output]) as wl:
        for mode, fullscreen, key in (("--fullscreen", True, "Escape"), ("--window", False, "q")):
            saver = Saver(options, wl, [mode, "--scene", scene, "--settings", settings,
                                        "--speed", "8", "--seed", "5"], tmp)
            try:
                lit, shot = lit_on(wl, output, lambda l: l.count > 2000, 30,
                                   f"{mode}: the rings")
                keep(options, f"saver{mode[1:]}-scale-2", shot)
                the_only_view(wl, fullscreen)
                check(wl.desktop_pixels(shot) == 0, f"{mode}: the desktop shows")
                check(set(lit.colours) <= {RED}, f"{mode}: blended colours: {lit}")
                cx, cy = lit.centre
                check(abs(cx - 640) < 60 and abs(cy - 480) < 60,
                      f"{mode}: rings not around the middle of the pixels: {lit.centre}")
                share = uniform_share(shot)
                check(share < 0.5, f"{mode}: {share:.0%} of the lit 2 x 2 blocks are of one colour")
                print(f"MEASURE {mode} at scale 2: {lit}; lit 2x2 blocks of one colour "
                      f"{share:.1%}")
                wl.keys(key)
                code, _ = saver.wait_for_end(timeout=3)
                check(code == 0, f"{mode}: {key} ended it with {code}")
            finally:
                saver.kill()


def test_saver_x_only_modes_are_refused(options, tmp):
    settings = write(tmp, "zirvo.ini", SAVER_SETTINGS)
    scene = write(tmp, "centred.zrv", CENTRED_SCENE)
    common = ["--scene", scene, "--settings", settings]
    cases = [
        (["--root"], {}, "--root"),
        (["--window-id", "0x200001"], {}, "--window-id"),
        ([], {"XSCREENSAVER_WINDOW": "0x200001"}, "XSCREENSAVER_WINDOW"),
        (["--root"], {"XSCREENSAVER_WINDOW": "0x200001"}, "XSCREENSAVER_WINDOW"),
    ]
    with Compositor(options.input) as wl:
        for args, extra, named in cases:
            result = subprocess.run([options.saver, *args, *common], env=wl.env(**extra),
                                    capture_output=True, text=True, timeout=20)
            lines = result.stderr.strip().splitlines()
            check(result.returncode == 1, f"{args} {extra}: exit code {result.returncode}")
            check(len(lines) == 1 and named in lines[0] and "Wayland" in lines[0],
                  f"{args} {extra}: {result.stderr!r}")
            print(f"MEASURE {named}: {lines[0]}")
        check(not wl.views(), f"a refused mode left a window: {wl.views()}")
        keep(options, "x-only-modes-refused", wl.grab())
        # Asked for X by name, it goes for X: here there is none.
        result = subprocess.run([options.saver, "--root", *common],
                                env=wl.env(SDL_VIDEODRIVER="x11"), capture_output=True,
                                text=True, timeout=20)
        check(result.returncode == 1 and "cannot open the display" in result.stderr,
              f"SDL_VIDEODRIVER=x11 --root: {result.returncode} {result.stderr!r}")


def test_swayidle_starts_the_saver_and_activity_ends_it(options, tmp):
    if shutil.which("swayidle") is None:
        raise Failure("missing swayidle (Debian: swayidle)")
    settings = write(tmp, "zirvo.ini", SAVER_SETTINGS)
    scene = write(tmp, "centred.zrv", CENTRED_SCENE)
    outputs = [Output(640, 480), Output(640, 480, x=640)]
    with Compositor(options.input, outputs) as wl:
        pid_file = os.path.join(wl.runtime, "zirvo-saver.pid")
        later = os.path.join(tmp, "later")
        saver = f"{options.saver} --scene {scene} --settings {settings} --speed 8"
        # zirvo-saver(6)'s recipe, with timeouts of seconds, and a later
        # timeout (where a locker would go) that must come while the saver runs.
        log = open(os.path.join(tmp, "swayidle.log"), "wb")
        idle = subprocess.Popen(
            ["swayidle", "-w",
             "timeout", "1", f'{saver} --all-monitors & echo $! > "$XDG_RUNTIME_DIR/zirvo-saver.pid"',
             "resume", 'kill "$(cat "$XDG_RUNTIME_DIR/zirvo-saver.pid")"',
             "timeout", "3", f"touch {later}"],
            env=wl.env(), stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        pid = None
        try:
            started = time.monotonic()
            for output in outputs:
                _, shot = lit_on(wl, output, lambda l: l.count > 300, 30,
                                 f"the saver on {output.name}")
                check(wl.desktop_pixels(shot, output) == 0, f"the desktop shows on {output.name}")
                keep(options, f"swayidle-{output.name}", shot)
            print(f"MEASURE swayidle's timeout of 1 s: the saver on both outputs after "
                  f"{time.monotonic() - started:.1f} s")
            pid = int(open(pid_file, encoding="ascii").read())
            check(os.path.exists(f"/proc/{pid}"), "the saver's pid file names no process")
            wait_until(lambda: os.path.exists(later), 10, "the later timeout while the saver runs")
            check(os.path.exists(f"/proc/{pid}"), "the saver ended before any activity")
            wl.keys("Shift_L")  # any activity
            wait_until(lambda: not os.path.exists(f"/proc/{pid}") or
                       open(f"/proc/{pid}/stat").read().split()[2] == "Z", 10,
                       "the saver to end on activity")
            wait_until(lambda: not wl.views(), 10, "the saver's windows to go")
            check(wl.desktop_pixels(wl.grab(outputs[0])) > 0.9 * 640 * 480,
                  "the desktop is not back")
            check(idle.poll() is None, "swayidle ended")
        finally:
            idle.terminate()
            idle.wait(timeout=10)
            log.close()
            # The timeout comes again once the saver has gone: a later saver
            # may be there too.
            for named in {pid, int(open(pid_file).read() or 0) if os.path.exists(pid_file) else 0}:
                if named and os.path.exists(f"/proc/{named}"):
                    os.kill(named, signal.SIGKILL)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("test")
    parser.add_argument("--zirvo", required=True)
    parser.add_argument("--zirvo-observed", required=True)
    parser.add_argument("--saver", required=True)
    parser.add_argument("--input", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--shots", help="save screenshots of each case here")
    options = parser.parse_args()

    test = globals().get("test_" + options.test)
    if test is None:
        print(f"no test named {options.test}", file=sys.stderr)
        return 2
    missing = missing_tools()
    if options.test == "driver_is_wayland_else_x11_as_asked":
        missing += [t for t in ("Xvfb", "xdotool", "import") if shutil.which(t) is None]
    if missing:
        print(f"SKIPPED: missing {', '.join(missing)} (Debian: {DEBIAN_PACKAGES} xvfb xdotool "
              f"imagemagick)")
        return SKIPPED
    return run_test(test, options, "zirvo-wayland-e2e-")


if __name__ == "__main__":
    sys.exit(main())
