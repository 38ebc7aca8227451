#!/usr/bin/env python3
"""The SDL backend's figures of two builds side by side, each measured in
several rounds that alternate between the builds (the machine is shared, so
one round alone says little): the ranges over the rounds and the ratio of the
medians, before / after.

  bench/sdl_before_after.py BEFORE_BUILD AFTER_BUILD [ROUNDS] [SECONDS]

A build is a directory holding bench/zirvo_bench (or zirvo_bench) and
zirvo-observed (in builds before it, zirvo itself logged its run), Release
builds with -DZIRVO_BENCH=ON. SECONDS (default 20) is how long each run of the
program under Xvfb is measured (bench/sdl_frame_times.sh). Takes about
ROUNDS x 3 minutes.
"""
import json
import os
import statistics
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
XVFB = ["xvfb-run", "-a", "-s", "-screen 0 1920x1080x24"]


def executable(build, *names):
    for name in names:
        path = os.path.join(build, name)
        if os.access(path, os.X_OK):
            return path
    sys.exit(f"no {names[0]} in {build}")


def bench_figures(bench):
    """ns per pixel set, ms per collection and per present, from zirvo_bench."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run(
            XVFB + [bench, "--benchmark_filter=^sdl/(setpixel|collect|present/[a-z_]+/iter)",
                    f"--benchmark_out={out.name}", "--benchmark_out_format=json"],
            check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(out.name, encoding="utf-8") as results:
            runs = {run["name"].split("/iterations")[0]: run
                    for run in json.load(results)["benchmarks"]}
    figures = {}

    def real_ms(run):
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run["time_unit"]]
        return run["real_time"] * scale

    for name in ("alone", "collected"):
        run = runs.get(f"sdl/setpixel/{name}")
        if run:
            figures[f"pixel set, {name}, ns"] = real_ms(run) * 1e6 / run["pixels"]
    for name in ("every_row", "dense_frame"):
        run = runs.get(f"sdl/collect/{name}")
        if run:
            figures[f"collect changes, {name}, ms"] = real_ms(run)
        run = runs.get(f"sdl/present/{name}")
        if run and "frame_ms_median" in run:
            figures[f"present, {name}, median ms"] = run["frame_ms_median"]
            figures[f"present, {name}, longest ms"] = run["frame_ms_max"]
            figures[f"present, {name}, over refresh (of {run['iterations']})"] = \
                run["frames_over_refresh"]
    return figures


def frame_figures(zirvo, seconds):
    """zirvo's own frame log on dense.zrv, flat out and at the show's pace."""
    env = dict(os.environ)
    out = subprocess.run([os.path.join(REPO, "bench", "sdl_frame_times.sh"), zirvo, "8",
                          str(seconds)], env=env, check=True, capture_output=True,
                         text=True).stdout
    figures = {}
    for line in out.splitlines():
        label, _, rest = line.partition("|")
        value = rest.split("|")[0]
        for pace, short in (("flat out (wait=1), as built", "flat out"),
                            ("show's pace, as built", "show's pace")):
            if not label.startswith(pace):
                continue
            what = label[len(pace):].lstrip(": ").split(" [")[0]
            if what == "present, mean ms":
                figures[f"zirvo {short}: present mean ms"] = float(value)
            elif what.startswith("wait at the end; pixels set per s"):
                figures[f"zirvo {short}: pixels set per s"] = float(value.split("; ")[1])
            elif what == "present, longest ms":
                figures[f"zirvo {short}: present longest ms"] = float(value)
            elif what == "presents longer than the refresh":
                over, _, frames = value.partition(" of ")
                figures[f"zirvo {short}: presents over the refresh"] = float(over)
                figures[f"zirvo {short}: frames presented"] = float(frames)
    return figures


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    builds = {"before": sys.argv[1], "after": sys.argv[2]}
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    seconds = int(sys.argv[4]) if len(sys.argv) > 4 else 20
    values = {which: {} for which in builds}
    for round_ in range(rounds):
        for which, build in builds.items():
            print(f"round {round_ + 1} of {rounds}: {which}", file=sys.stderr)
            bench = executable(build, "bench/zirvo_bench", "zirvo_bench")
            figures = bench_figures(bench)
            figures.update(frame_figures(executable(build, "zirvo-observed", "zirvo"), seconds))
            for name, value in figures.items():
                values[which].setdefault(name, []).append(value)

    def span(series):
        return f"{min(series):.3g}..{max(series):.3g}" if series else "n/a"

    print(f"figure | before ({rounds} rounds) | after | median before / after")
    names = list(values["before"]) + [n for n in values["after"] if n not in values["before"]]
    for name in names:
        before = values["before"].get(name, [])
        after = values["after"].get(name, [])
        ratio = "n/a"
        if before and after:
            if statistics.median(after) > 0:
                ratio = f"{statistics.median(before) / statistics.median(after):.2f}x"
            elif statistics.median(before) > 0:
                ratio = "after: none"
        print(f"{name} | {span(before)} | {span(after)} | {ratio}")


if __name__ == "__main__":
    main()
