"""A Wayland desktop of our own for the end-to-end tests: sway on wlroots'
headless backend with its software (pixman) renderer, so no GPU and no seat
are needed, with the outputs a test asks for; screenshots with grim, and a
keyboard and a pointer from wl_input (virtual devices that stay while the
compositor runs, the keyboard with a real layout: wtype's keyboards come and
go, each with a keymap of its own without a layout name, and SDL 2.26 now and
then crashes on their keys).

sway refuses to run as root: run as root, it runs as the user nobody, in a
runtime directory of its own that belongs to nobody (root's clients connect
all the same). It offers no X server (xwayland disable), and the clients'
environment has no DISPLAY, so what shows on its outputs is a native Wayland
client.

A Compositor offers what zirvo_e2e's XServer does (env, screenshot, save_png,
window_visible), so the runners of zirvo_e2e and saver_e2e run on it as well.
"""

import glob
import json
import os
import pwd
import shutil
import subprocess
import tempfile

from zirvo_e2e import Screenshot, check, wait_until

TOOLS = ("sway", "swaymsg", "grim")
DEBIAN_PACKAGES = "sway grim"
# What sway shows where no window is (its clear colour, without swaybg).
DESKTOP_GREY = (0x3F, 0x3F, 0x3F)
# The cursor's outline as wlroots draws its own arrow. The headless backend
# draws the cursor into the output's picture: every screenshot shows it.
CURSOR_WHITE = (0xFF, 0xFF, 0xFF)
CURSOR_BOX = 40  # points right of and below the pointer that its arrow may cover


def missing_tools():
    return [tool for tool in TOOLS if shutil.which(tool) is None]


class Output:
    """One headless output: its mode in pixels, its place in the layout (in
    points) and its scale factor."""

    def __init__(self, width, height, x=0, y=0, scale=1):
        self.width, self.height, self.x, self.y, self.scale = width, height, x, y, scale
        self.name = None  # HEADLESS-n, once the compositor runs

    @property
    def points(self):
        """(x, y, w, h) in the layout, in points."""
        return (self.x, self.y, self.width // self.scale, self.height // self.scale)


def read_ppm(data):
    """(width, height, RGB bytes) of a binary PPM (P6, maximum 255)."""
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    check(fields[0] == b"P6" and fields[3] == b"255", f"not a P6 PPM: {fields}")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[at + 1:]
    check(len(pixels) == width * height * 3, "a PPM cut short")
    return width, height, pixels


class Compositor:
    """sway, headless, with `outputs` (by default one of 640x480) and the
    input devices of `input` (the wl_input program; None for none)."""

    def __init__(self, input, outputs=None):
        self.outputs = outputs or [Output(640, 480)]
        self.input_program = input
        self.input = None
        self.pointer_at = (0, 0)  # in points
        self.process = None

    def __enter__(self):
        self.runtime = tempfile.mkdtemp(prefix="zirvo-wayland-")
        os.chmod(self.runtime, 0o700)
        config = os.path.join(self.runtime, "config")
        lines = ["default_border none", "xwayland disable", "focus_follows_mouse no"]
        for n, output in enumerate(self.outputs, 1):
            output.name = f"HEADLESS-{n}"
            lines.append(f"output {output.name} mode {output.width}x{output.height} "
                         f"position {output.x} {output.y} scale {output.scale}")
        with open(config, "w", encoding="ascii") as f:
            f.write("\n".join(lines) + "\n")
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.runtime,
               "XDG_RUNTIME_DIR": self.runtime, "WLR_BACKENDS": "headless",
               "WLR_RENDERER": "pixman", "WLR_LIBINPUT_NO_DEVICES": "1",
               "WLR_HEADLESS_OUTPUTS": str(len(self.outputs))}
        command = ["sway", "-c", config]
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            os.chown(self.runtime, nobody.pw_uid, nobody.pw_gid)
            os.chown(config, nobody.pw_uid, nobody.pw_gid)
            command = ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}",
                       "--clear-groups"] + command
        self.log = open(os.path.join(self.runtime, "sway.log"), "wb")
        self.process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL,
                                        stdout=self.log, stderr=self.log)
        try:
            self.socket = wait_until(self._ipc_socket, 20, "sway's IPC socket")
            wait_until(lambda: os.path.exists(os.path.join(self.runtime, "wayland-1")), 20,
                       "sway's Wayland socket")
            wait_until(self._outputs_ready, 20, "the headless outputs in their modes")
            if self.input_program:
                self.input = subprocess.Popen([self.input_program], env=self.env(), text=True,
                                              stdin=subprocess.PIPE, stdout=subprocess.PIPE)
                first = self.outputs[0]
                self.move_pointer(first.x + 4, first.y + 4)  # out of the way
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        if self.input and self.input.poll() is None:
            try:
                self.input.stdin.write("quit\n")
                self.input.stdin.flush()
                self.input.wait(timeout=5)
            except (OSError, subprocess.TimeoutExpired):
                self.input.kill()
                self.input.wait()
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()
        shutil.rmtree(self.runtime, ignore_errors=True)

    def _ipc_socket(self):
        check(self.process.poll() is None, f"sway ended: {self.sway_log()[-600:]}")
        found = glob.glob(os.path.join(self.runtime, "sway-ipc.*.sock"))
        return found[0] if found else None

    def _outputs_ready(self):
        shown = {o["name"]: o for o in self.swaymsg("-t", "get_outputs")}
        for output in self.outputs:
            o = shown.get(output.name)
            if not o or not o["active"] or o["current_mode"]["width"] != output.width or \
                    o["rect"]["x"] != output.x or o["scale"] != output.scale:
                return False
        return True

    def sway_log(self):
        with open(os.path.join(self.runtime, "sway.log"), "rb") as f:
            return f.read().decode(errors="replace")

    def env(self, **extra):
        env = dict(os.environ)
        for name in ("DISPLAY", "SDL_VIDEODRIVER", "XSCREENSAVER_WINDOW"):
            env.pop(name, None)
        env.update(XDG_RUNTIME_DIR=self.runtime, WAYLAND_DISPLAY="wayland-1",
                   SWAYSOCK=self.socket)
        env.update(extra)
        return env

    def swaymsg(self, *args):
        result = subprocess.run(["swaymsg", "-s", self.socket, "-r", *args], env=self.env(),
                                capture_output=True, timeout=20)
        check(result.returncode == 0, f"swaymsg {' '.join(args)}: {result.stderr!r}")
        return json.loads(result.stdout) if result.stdout.strip() else None

    def views(self):
        """Every window: {name, shell (xdg_shell: a native Wayland client),
        output, fullscreen, rect (in points)}."""
        found = []

        def walk(node, output):
            if node.get("type") == "output":
                output = node["name"]
            if node.get("pid") is not None:
                found.append({"name": node.get("name"), "shell": node.get("shell"),
                              "output": output, "fullscreen": node.get("fullscreen_mode", 0) != 0,
                              "rect": node["rect"]})
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child, output)

        walk(self.swaymsg("-t", "get_tree"), None)
        return found

    def window_visible(self):
        return bool(self.views())

    # Screenshots, each in the output's own pixels.
    def grab(self, output=None):
        output = output or self.outputs[0]
        result = subprocess.run(["grim", "-t", "ppm", "-o", output.name, "-"], env=self.env(),
                                capture_output=True, timeout=30)
        check(result.returncode == 0, f"grim: {result.stderr!r}")
        width, height, pixels = read_ppm(result.stdout)
        check((width, height) == (output.width, output.height),
              f"grim gave {width}x{height} for {output.name}")
        return Screenshot(pixels, width, height)

    def screenshot(self):
        return self.grab()

    def save_png(self, path, output=None):
        output = output or self.outputs[0]
        subprocess.run(["grim", "-o", output.name, path], env=self.env(), timeout=30, check=True)

    def cursor_box(self, output):
        """(x, y, w, h) in `output`'s pixels that the cursor's arrow may cover."""
        x, y = self.pointer_at
        s = output.scale
        return ((x - output.x - 2) * s, (y - output.y - 2) * s, CURSOR_BOX * s, CURSOR_BOX * s)

    def desktop_pixels(self, shot, output=None):
        """How many pixels of `output`'s desktop show beside the cursor (0 when
        a window covers the output; the cursor's edges blend into greys)."""
        bx, by, bw, bh = self.cursor_box(output or self.outputs[0])
        grey, count, at = bytes(DESKTOP_GREY), 0, shot.data.find(bytes(DESKTOP_GREY))
        while at >= 0:
            if at % 3 == 0:
                x, y = (at // 3) % shot.width, (at // 3) // shot.width
                count += not (bx <= x < bx + bw and by <= y < by + bh)
            at = shot.data.find(grey, at + 1)
        return count

    def without_cursor(self, shot, output=None):
        """`shot` with the box the cursor may cover painted black."""
        bx, by, bw, bh = self.cursor_box(output or self.outputs[0])
        data = bytearray(shot.data)
        left, right = max(0, bx), min(shot.width, bx + bw)
        for y in range(max(0, by), min(shot.height, by + bh)):
            if left < right:
                data[(y * shot.width + left) * 3:(y * shot.width + right) * 3] = bytes(
                    3 * (right - left))
        return Screenshot(bytes(data), shot.width, shot.height)

    def cursor_pixels(self, shot, output=None):
        """The cursor's white outline pixels near the pointer."""
        bx, by, bw, bh = self.cursor_box(output or self.outputs[0])
        return sum(shot.pixel(x, y) == CURSOR_WHITE
                   for y in range(max(0, by), min(shot.height, by + bh))
                   for x in range(max(0, bx), min(shot.width, bx + bw)))

    # Input.
    def _input(self, line):
        self.input.stdin.write(line + "\n")
        self.input.stdin.flush()
        answer = self.input.stdout.readline().strip()
        check(answer == "ok", f"wl_input {line!r}: {answer!r}")

    def keys(self, *names):
        """Presses and releases each key (X keysym names: Scroll_Lock, Up, a)."""
        self._input("key " + " ".join(names))

    def move_pointer(self, x, y):
        """To x, y of the layout, in points."""
        boxes = [o.points for o in self.outputs]
        width = max(bx + bw for bx, _, bw, _ in boxes)
        height = max(by + bh for _, by, _, bh in boxes)
        self._input(f"move {x} {y} {width} {height}")
        self.pointer_at = (x, y)

    def click(self, button="left"):
        self._input(f"click {button}")
