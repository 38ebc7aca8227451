#!/usr/bin/env python3
"""Writes random shows for the trace comparison of the Windows and Linux builds.

    random_scenes.py OUTDIR COUNT [FIRST_SEED]

Show number i (seed FIRST_SEED + i, so the same shows every run) gets a folder
OUTDIR/random-NN with a scene.zrv, a zirvo.ini and a file `run` holding one line
"WIDTHxHEIGHT SEED SECONDS": the physical screen, the engine's seed and the
simulated seconds to trace. The scenes mix the values a scene writer uses with
ones that reach the engine's edges: tiny and huge radii, negative and zero
rates, fixed and random points off the screen, every colour mode, a direction
carried between blocks, trails longer than the points drawn; the settings vary
the virtual screen, its scaling, the pool's first size and the speed (or leave
it to the calibration on the simulated clock).
"""
import os
import random
import sys

SCREENS = [(1024, 768), (800, 600), (1920, 1080), (641, 479), (320, 200), (1280, 1024)]


def maybe(rng, chance, line, out):
    if rng.random() < chance:
        out.append(line)


def real(rng, low, high):
    """A value a scene writer might type: sometimes whole, sometimes with decimals."""
    value = rng.uniform(low, high)
    return f"{value:.0f}" if rng.random() < 0.5 else f"{value:.3f}"


def kind_block(rng, virtual):
    width, height = virtual
    lines = []
    maybe(rng, 0.3, f"start={rng.randint(0, 3)}", lines)
    maybe(rng, 0.4, f"stop={rng.randint(1, 8)}", lines)
    maybe(rng, 0.2, f"d={rng.choice([0, 1, -1])}", lines)
    for key, size in (("px", width), ("py", height), ("fx", width), ("fy", height)):
        roll = rng.random()
        if roll < 0.35:
            lines.append(f"{key}={rng.randint(-size // 4, size + size // 4)}")
        elif roll < 0.45:
            lines.append(f"{key}=r")
    maybe(rng, 0.8, f"a={real(rng, 0.5, 0.6 * width)}", lines)
    maybe(rng, 0.8, f"b={real(rng, 0.5, 0.6 * height)}", lines)
    maybe(rng, 0.05, f"a={rng.choice(['1e6', '0', '-300'])}", lines)
    maybe(rng, 0.8, f"v={real(rng, -12, 12)}", lines)
    maybe(rng, 0.7, f"nw={real(rng, 3, 3000)}", lines)
    maybe(rng, 0.7, f"nn={real(rng, 3, 900000)}", lines)
    maybe(rng, 0.7, f"nv={rng.randint(1, 20000)}", lines)
    maybe(rng, 0.7, f"bs={rng.randint(0, 12000)}", lines)
    maybe(rng, 0.6, f"dt={rng.choice([0, 0, 0, 1, 3, 10, 50])}", lines)
    maybe(rng, 0.8, f"n={rng.randint(1, 40)}", lines)
    maybe(rng, 0.5, f"p={rng.choice([0, 1, 5, 30, 200])}", lines)
    maybe(rng, 0.1, "m=1", lines)
    colour = rng.random()
    if colour < 0.6:
        lines.append(f"c={rng.randint(1, 15)}")
    elif colour < 0.8:
        lines.append("c=a")
    else:
        lines.append("c=r")
    rng.shuffle(lines)
    return lines


def write_show(folder, seed):
    rng = random.Random(seed)
    virtual = rng.choice(SCREENS)
    settings = [f"Random settings of seed {seed}.", f"screen={virtual[0]}x{virtual[1]}",
                f"scale={rng.choice('yun')}", f"buffer={rng.choice([0, 1, 2, 8])}"]
    # Without a wait the show calibrates its speed on the simulated clock.
    if rng.random() < 0.8:
        settings.append(f"wait={rng.choice([1, 1, 2, 5, 20])}")
    scene = [f"Random scene of seed {seed}."]
    if rng.random() < 0.3:
        scene.append(f"screen={rng.choice(SCREENS)[0]}x{rng.choice(SCREENS)[1]}")
    for _ in range(rng.randint(1, 8)):
        scene.extend(kind_block(rng, virtual))
        scene.append("")
    physical = rng.choice(SCREENS)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "zirvo.ini"), "w", newline="\n") as out:
        out.write("\n".join(settings) + "\n")
    with open(os.path.join(folder, "scene.zrv"), "w", newline="\n") as out:
        out.write("\n".join(scene) + "\n")
    with open(os.path.join(folder, "run"), "w") as out:
        out.write(f"{physical[0]}x{physical[1]} {rng.randint(0, 2**32 - 1)} {rng.randint(3, 12)}\n")


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    outdir, count = sys.argv[1], int(sys.argv[2])
    first = int(sys.argv[3]) if len(sys.argv) == 4 else 1
    for i in range(count):
        write_show(os.path.join(outdir, f"random-{i + 1:02d}"), first + i)


if __name__ == "__main__":
    main()
