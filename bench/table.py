#!/usr/bin/env python3
"""The benchmark table: every figure of the show's benchmarks, the ratios
between them and the targets they are held to.

  bench/table.py [--quick] BUILD [zirvo_bench flags]
      measures a Release build made with -DZIRVO_BENCH=ON: zirvo_bench,
      zirvo-render's wall clock on every scene and zirvo-observed's frames
      under Xvfb; saves it all in BUILD/bench-results.json and prints the
      table. --quick: a moment of each (bench-quick.json), to prove that all
      of it still runs; its figures mean nothing.
  bench/table.py RESULTS.json
      prints a saved measurement, or zirvo_bench's own JSON report.
  bench/table.py --compare BEFORE AFTER
      both side by side, with after / before for every figure; each is a
      saved measurement or a build, measured here one after the other.

Exits with 1 when zirvo under Xvfb gave no frame summary.
"""
import argparse
import glob
import json
import math
import os
import shutil
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCENES = os.path.join(REPO, "bench", "scenes")
XVFB = shutil.which("xvfb-run") and shutil.which("Xvfb")
NAN = float("nan")
DELAY_TARGET_NS = 100e6 / 1024  # the 1024th part of 100 ms
REFRESH_MS = 1000 / 60  # the SDL window's refresh without a real display
NO_SUMMARY = "zirvo gave no frame summary"


def on_display(command):
    """`command` in an Xvfb of 1920 x 1080 when there is one, else as it is."""
    return ["xvfb-run", "-a", "-s", "-screen 0 1920x1080x24"] + command if XVFB else command


def cpu_model():
    with open("/proc/cpuinfo", encoding="utf-8") as cpuinfo:
        models = [line.split(":", 1)[1] for line in cpuinfo if line.startswith("model name")]
    return models[0].strip() if models else "unknown"


def measure(build, quick, flags):
    env = dict(os.environ, ZIRVO_BENCH_QUICK="1" if quick else "")
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, "bench.json")
        # Google Benchmark's own report shows the progress, on stderr.
        subprocess.run(on_display([f"{build}/bench/zirvo_bench", f"--benchmark_out={out}",
                                   "--benchmark_out_format=json", *flags]),
                       env=env, check=True, stdout=sys.stderr)
        with open(out, encoding="utf-8") as report:
            results = {"quick": quick, "cpu": cpu_model(), "bench": json.load(report)}
        seconds = 1 if quick else 60
        results["render"] = {"seconds": seconds, "walls": render_walls(build, seconds, work)}
        results["frames"] = frame_times(build, *((1, 1) if quick else (8, 20)), work)
    return results


def render_walls(build, seconds, work):
    """Wall seconds of zirvo-render on every scene (None: it failed), each
    scene with the settings file beside it; the PNG makes it draw a picture."""
    render = f"{build}/tools/zirvo-render"
    if not os.access(render, os.X_OK):
        return None
    walls = {}
    for scene in sorted(glob.glob(f"{REPO}/scenes/*.zrv")) + sorted(glob.glob(f"{SCENES}/*.zrv")):
        start = time.monotonic()
        done = subprocess.run(
            [render, "--settings", os.path.join(os.path.dirname(scene), "zirvo.ini"), "--screen",
             "1920x1080", "--seed", "1", "--seconds", str(seconds), "--png", f"{work}/last.png",
             scene], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0
        walls[os.path.relpath(scene, REPO)] = time.monotonic() - start if done else None
    return walls


# zirvo in the background; after $3 seconds, $4 presses of Down; then $5
# seconds and a TERM to end it.
SHOW_RUN = """"$1" "$2" & pid=$!
sleep "$3"
if [ "$4" -gt 0 ]; then xdotool key --repeat "$4" --delay 10 Down; fi
sleep "$5"; kill -TERM "$pid"; wait "$pid" """


def frame_times(build, fill, measured, work):
    """zirvo-observed on dense.zrv once `fill` seconds have filled the trails,
    for `measured` seconds: flat out (wait=1: every row changes in every
    frame), and about the show's pace (from wait=3, as Down leaves 1 and 2 as
    they are, 25 presses of Down take the wait to 19195: a turn per ~0.1 ms).
    Per run, its frame summary and its last pixel count, or why there is none."""
    frames = {"fill": fill, "measured": measured}
    observed = f"{build}/zirvo-observed"
    if not XVFB or not os.access(observed, os.X_OK):
        frames["skipped"] = f"zirvo not built ({observed})" if XVFB else "no Xvfb (xvfb, xauth)"
        return frames
    print("running zirvo under Xvfb on dense.zrv", file=sys.stderr)
    zirvo = shutil.copy(observed, f"{work}/zirvo")  # zirvo reads the zirvo.ini beside it
    env = dict(os.environ, ZIRVO_FRAME_LOG=str(fill + 1), ZIRVO_PIXEL_LOG="1")
    for pace, presses in (("flat out (wait=1)", 0), ("show's pace", 25)):
        if presses and not shutil.which("xdotool"):
            frames[pace] = "skipped, no xdotool to press Down (Debian: xdotool)"
            continue
        with open(f"{work}/zirvo.ini", "w", encoding="utf-8") as ini:
            ini.write(f"wait={3 if presses else 1}\n")
        log = subprocess.run(
            on_display(["bash", "-c", SHOW_RUN, "_", zirvo, f"{SCENES}/dense.zrv", str(fill),
                        str(presses), str(1 + measured)]),
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True).stderr
        summary = [line for line in log.splitlines() if line.startswith("zirvo-frames ")]
        end = [line for line in log.splitlines() if line.startswith("zirvo-pixels end ")]
        fields = " ".join(summary[-1:] + end[-1:]).split()
        frames[pace] = dict(f.split("=", 1) for f in fields if "=" in f) if summary else NO_SUMMARY
    return frames


def div(a, b):
    return a / b if b else NAN


class Table:
    """Sections of rows (figure, format, numbers, target, verdict); a row's
    value is format.format(*numbers), or n/a when a number is missing."""

    def __init__(self):
        self.sections = {}
        self.rows = None

    def section(self, title):
        self.rows = self.sections.setdefault(title, {})

    def row(self, figure, fmt="", *numbers, target="", met=None):
        numbers = [NAN if n is None else float(n) for n in numbers]
        if any(math.isnan(n) for n in numbers):
            fmt, met = "n/a", None
        verdict = "" if met is None else "met" if met else "MISSED"
        self.rows[figure] = (fmt.format(*numbers), numbers, target, verdict)


def bench_rows(table, report):
    runs = {run["name"].split("/iterations:")[0]: run for run in report["benchmarks"]}

    def ran(name):
        run = runs.get(name)
        return None if run is None or run.get("error_occurred") else run

    def c(name, counter):
        return (ran(name) or {}).get(counter, NAN)

    def seconds(name):  # wall seconds per iteration (the manual time where it is manual)
        run = ran(name)
        unit = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
        return run["real_time"] * unit[run["time_unit"]] if run else NAN

    for scene in ("dense", "crossing", "default"):
        indexed = c(f"pass/{scene}/indexed", "turns_per_s")
        row_walk = c(f"pass/{scene}/rowwalk", "turns_per_s")
        floor = c(f"floor/{scene}", "turns_per_s")
        dense = scene == "dense"
        table.section(f"{scene} scene")
        table.row("points stored", "{:,.0f}", c(f"pass/{scene}/indexed", "stored"))
        table.row("indexed store, points/s", "{:,.0f}", indexed)
        if dense:
            unhinted = c("pass/dense/indexed/unhinted", "turns_per_s")
            table.row("indexed store, its look-ahead hints dropped, points/s", "{:,.0f}", unhinted)
            table.row("indexed store, hinted / unhinted points/s", "{:.3f}", div(indexed, unhinted))
        table.row("row-walk store (reference), points/s", "{:,.0f}", row_walk)
        table.row("floor: motion alone, no store, points/s", "{:,.0f}", floor)
        if dense or scene == "crossing":
            table.row("indexed / floor (the two runs above, one after the other)", "{:.3f}",
                      div(indexed, floor))
            # The verdict goes to the alternating rounds: a shared machine's
            # slow stretches fall on both sides of that ratio.
            side = f"side/{scene}"
            table.row("alternating rounds of 50 passes and 50 floor steps: rounds", "{:.0f}",
                      c(side, "rounds"))
            table.row("  indexed pass, ns per turn (median round)", "{:.1f}", c(side, "pass_ns"))
            table.row("  floor, ns per turn (median round)", "{:.1f}", c(side, "floor_ns"))
            least = 0.5 if dense else 0.55
            table.row("  indexed / floor (median rounds)", "{:.3f}", c(side, "ratio"),
                      target=f">= {least}", met=c(side, "ratio") >= least)
        else:
            table.row("(one swirl, dt 50: most turns only count down; no floor ratio)")
        to_row_walk = div(indexed, row_walk)
        table.row("indexed / row walk", "{:.1f}x", to_row_walk, target=">= 50x" if dense else "",
                  met=to_row_walk >= 50 if dense else None)
        table.row("engine work per turn, indexed, ns", "{:.1f}", div(1e9, indexed))
        table.row("engine work per turn, row walk, ns", "{:.1f}", div(1e9, row_walk))

    table.section("pacing")
    none = "delay/calibrated/none"
    share = 100 * div(div(1e9, c("pass/dense/indexed", "turns_per_s")), c(none, "delay_ns"))
    table.row("engine work per dense turn / one calibrated Delay", "{:.3f}%", share, target="< 1%",
              met=share < 1)
    table.row("target Delay (100 ms / 1024), us", "{:.2f}", DELAY_TARGET_NS / 1e3)
    for sink, what in (("none", "none"), ("framebuffer", "headless framebuffer"),
                       ("trackedscreen", "SDL TrackedScreen")):
        name = f"delay/calibrated/{sink}"
        deviation = 100 * (c(name, "delay_ns") - DELAY_TARGET_NS) / DELAY_TARGET_NS
        how = f"calibration pixels: {what}"
        table.row(f"{how}, WaitCount (median of rounds)", "{:,.0f}", c(name, "wait_count"))
        table.row(f"{how}, mean Delay (median of rounds), us", "{:.2f}", c(name, "delay_ns") / 1e3)
        table.row(f"{how}, mean Delay, lowest..highest round, us", "{:.2f}..{:.2f}",
                  c(name, "delay_ns_min") / 1e3, c(name, "delay_ns_max") / 1e3)
        table.row(f"{how}, Delay vs target", "{:+.1f}%", deviation, target="within 10%",
                  met=abs(deviation) <= 10)
        table.row(f"{how}, pixel work per trial, ns", "{:.0f}", c(name, "work_ns"))
        if sink != "none":
            table.row(f"WaitCount with {what} pixels / without", "{:.3f}",
                      div(c(name, "wait_count"), c(none, "wait_count")))
            table.row(f"mean Delay with {what} pixels / without", "{:.3f}",
                      div(c(name, "delay_ns"), c(none, "delay_ns")))
    table.row("one repetition of Delay (log 10.0 stored), ns", "{:.2f}",
              div(seconds("delay/repetition") * 1e9, c("delay/repetition", "repetitions")))

    table.section("memory, dense scene with its trails full")
    for store, label in (("indexed", "indexed"), ("rowwalk", "row walk (reference)")):
        held, nodes = c(f"pass/dense/{store}", "bytes"), c(f"pass/dense/{store}", "capacity")
        # Measurements from before the counter held 24-byte nodes.
        node = c(f"pass/dense/{store}", "node_bytes")
        node = 24 if math.isnan(node) else node
        per_point = div(held, c(f"pass/dense/{store}", "stored"))
        table.row(f"{label}: bytes held", "{:,.0f}", held)
        table.row(f"{label}: pool nodes, bytes each", "{:,.0f} x {:.0f}", nodes, node)
        table.row(f"{label}: bytes per stored point (all bytes / points)", "{:.2f}", per_point,
                  target="<= 26" if store == "indexed" else "",
                  met=per_point <= 26 if store == "indexed" else None)
        table.row(f"{label}: fixed overhead (all but the pool), bytes", "{:,.0f}",
                  held - node * nodes)
    table.row("indexed bytes / row-walk bytes", "{:.3f}",
              div(c("pass/dense/indexed", "bytes"), c("pass/dense/rowwalk", "bytes")))
    same = c("pass/dense/indexed", "stored") == c("pass/dense/rowwalk", "stored")
    table.row("stored points, indexed = row walk", "yes" if same else "no (runs differ in length)")

    table.section("SDL backend (Linux): pixel sets and presents at 1920 x 1080")
    alone, collected, prefetched = (div(seconds(f"sdl/setpixel/{how}") * 1e9,
                                        c(f"sdl/setpixel/{how}", "pixels"))
                                    for how in ("alone", "collected", "prefetched"))
    table.row("TrackedScreen::SetPixel, random pixels, drawing thread alone, ns", "{:.2f}", alone)
    table.row("the same while another thread collects at 60 Hz, ns", "{:.2f}", collected)
    table.row("pixel set while collected / alone", "{:.3f}", div(collected, alone))
    table.row("the same alone, each hinted 8 pixels ahead (Prefetch), ns", "{:.2f}", prefetched)
    hinted, unhinted = (c(f"sdl/pass/dense/{how}", "turns_per_s") for how in ("hinted", "unhinted"))
    table.row("dense pass into the TrackedScreen, pixel hints passed, points/s", "{:,.0f}", hinted)
    table.row("the same, pixel hints dropped, points/s", "{:,.0f}", unhinted)
    table.row("dense pass, pixel hints passed / dropped, points/s", "{:.3f}", div(hinted, unhinted))
    frame = "sdl/collect/dense_frame"
    table.row("dense frame (171 turns at the calibrated pace): pixels set", "{:.0f}",
              c(frame, "frame_pixels"))
    table.row("dense frame: rows changed / rows from first to last changed", "{:.0f} / {:.0f}",
              c(frame, "frame_rows"), c(frame, "frame_row_span"))
    table.row("collecting the changes (TakeChangedRows + ConvertRows), every row, ms", "{:.2f}",
              seconds("sdl/collect/every_row") * 1e3)
    table.row("collecting the changes, dense frame, ms", "{:.2f}", seconds(frame) * 1e3)
    skipped = []
    for kind, what in (("every_row", "every row"), ("dense_frame", "dense frame")):
        name, how = f"sdl/present/{kind}", f"present, {what}"
        if name in runs and not ran(name):
            skipped += [why for why in [runs[name].get("error_message", "")] if why not in skipped]
        elif name in runs:
            longest = c(name, "frame_ms_max")
            table.row(f"{how} [{runs[name].get('label', '')}], mean ms", "{:.2f}",
                      seconds(name) * 1e3)
            table.row(f"{how}, median / longest ms", "{:.2f} / {:.2f}",
                      c(name, "frame_ms_median"), longest, target=f"< {REFRESH_MS:.1f}",
                      met=longest < REFRESH_MS)
            table.row(f"{how}, frames over refresh", "{:.0f} of {:.0f}",
                      c(name, "frames_over_refresh"), runs[name]["iterations"])
    if skipped:
        table.row("presents " + "; ".join(skipped), "n/a")


def render_rows(table, render):
    table.section("zirvo-render (simulated seconds, wall clock)")
    walls, seconds = render["walls"], render["seconds"]
    if walls is None:
        table.row("zirvo-render not built", "n/a")
        return
    dense = walls.get("bench/scenes/dense.zrv")
    limit = seconds / 6  # 60 simulated seconds in less than 10
    table.row(f"dense, {seconds} simulated s at 1920x1080: wall s", "{:.2f}", dense,
              target=f"< {limit:.3g} s", met=dense is not None and dense < limit)
    for scene, wall in walls.items():
        if wall is None:
            table.row(f"{scene}: zirvo-render failed", "n/a")
        else:
            table.row(f"{scene}: simulated s per wall s", "{:.1f}", seconds / wall)


def frame_rows(table, frames):
    table.section("zirvo under Xvfb 1920x1080 on dense.zrv")
    table.row("seconds measured, after seconds that filled the trails", "{:.0f} after {:.0f}",
              frames["measured"], frames["fill"])
    if "skipped" in frames:
        table.row("skipped: " + frames["skipped"], "n/a")
        return
    for how in ("flat out (wait=1)", "show's pace"):
        run = frames[how]
        if isinstance(run, str):
            table.row(f"{how}: {run}", "n/a")
            continue
        got = {key: float(value) for key, value in run.items() if key != "renderer"}
        longest, refresh = got["present_max_ms"], got["refresh_ms"]
        over = got["presents_over_refresh"]
        table.row(f"{how} [{run['renderer']}]: frames presented", "{:.0f}", got["frames"])
        table.row(f"{how}: wait at the end; pixels set per s, whole run", "{:.0f}; {:.0f}",
                  got.get("wait"), div(got.get("pixels", NAN) * 1000, got.get("ms")))
        table.row(f"{how}: present, mean ms", "{:.3f}", got["present_mean_ms"])
        table.row(f"{how}: present, longest ms", "{:.3f}", longest, target=f"< {refresh:.3f}",
                  met=longest < refresh)
        table.row(f"{how}: presents longer than the refresh", "{:.0f} of {:.0f}", over,
                  got["frames"], target="0", met=over == 0)
        table.row(f"{how}: longest interval between presents, ms", "{:.3f}", got["interval_max_ms"])
        table.row(f"{how}: refreshes left without a frame", "{:.0f}", got["refreshes_missed"])
    table.row(f"(refresh interval: {REFRESH_MS:.3f} ms, the display mode's 60 Hz; wait=1 runs "
              "the drawing thread flat out)")


def sections(results):
    table = Table()
    bench_rows(table, results["bench"])
    if "render" in results:
        render_rows(table, results["render"])
        frame_rows(table, results["frames"])
    return table.sections


def header(results):
    context = results["bench"]["context"]
    quick = " (quick run: the figures mean nothing)" if results.get("quick") else ""
    return f"{context['num_cpus']} cores, {results.get('cpu', context['host_name'])}{quick}"


NOTE = """(points/s: swirl turns per second through the engine's drawing pass with a
 no-op Delayer and a plain-array PixelSink, once the trails are full; in the
 dense and crossing scenes every turn computes, stores and draws one point and
 erases the oldest; CPU time)"""


def print_table(results):
    line = "  {:<74} {:>16}  {:<12} {}"
    print(f"Zirvo benchmarks: {header(results)}\n{NOTE}")
    print(line.format("figure", "value", "target", "verdict"))
    for title, rows in sections(results).items():
        print(f"\n{title}")
        for figure, (value, _, target, verdict) in rows.items():
            print(line.format(figure, value, target, verdict).rstrip())


def print_compare(before, after):
    line = "  {:<74} {:>16} {:>16} {:>14}  {:<12} {}"
    print(f"Zirvo benchmarks, before: {header(before)}\n                   after: {header(after)}")
    print(line.format("figure", "before", "after", "after / before", "target", "verdicts"))
    old, new = sections(before), sections(after)
    for title in list(old) + [title for title in new if title not in old]:
        print(f"\n{title}")
        rows = [old.get(title, {}), new.get(title, {})]
        for figure in list(rows[0]) + [figure for figure in rows[1] if figure not in rows[0]]:
            (a, a_numbers, a_target, a_verdict), (b, b_numbers, b_target, b_verdict) = (
                side.get(figure, ("-", [], "", "")) for side in rows)
            ratio = " / ".join(f"{div(n, m):.3f}" for m, n in zip(a_numbers, b_numbers))
            ratio = "" if "n/a" in (a, b) or len(a_numbers) != len(b_numbers) else ratio
            verdicts = f"{a_verdict or '-'} / {b_verdict or '-'}" if a_verdict or b_verdict else ""
            print(line.format(figure, a, b, ratio, a_target or b_target, verdicts).rstrip())


def obtain(path, quick, flags=()):
    """A saved measurement, or a build measured now (and saved in it)."""
    if not os.path.isdir(path):
        with open(path, encoding="utf-8") as saved:
            results = json.load(saved)
        return results if "bench" in results else {"bench": results}  # zirvo_bench's own
    results = measure(path, quick, flags)
    saved = os.path.join(path, "bench-quick.json" if quick else "bench-results.json")
    with open(saved, "w", encoding="utf-8") as out:
        json.dump(results, out, indent=1)
    print(f"measurement saved in {saved}", file=sys.stderr)
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--compare", nargs=2, metavar=("BEFORE", "AFTER"))
    parser.add_argument("measurement", nargs="?", help="a build or a saved measurement")
    args, flags = parser.parse_known_args()
    if args.compare:
        measured = [obtain(path, args.quick) for path in args.compare]
        print_compare(*measured)
    elif args.measurement:
        measured = [obtain(args.measurement, args.quick, flags)]
        print_table(measured[0])
    else:
        parser.error("a build, a saved measurement or --compare BEFORE AFTER")
    frames = [pace for results in measured for pace in (results.get("frames") or {}).values()]
    return 1 if NO_SUMMARY in frames else 0


if __name__ == "__main__":
    sys.exit(main())
