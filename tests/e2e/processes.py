"""A program the end-to-end tests run: started on a display, its standard
error collected line by line on a thread of its own (zirvo's pixel log,
zirvo-saver's reports), waited for within a time limit, killed when a test
leaves it running. zirvo_e2e.py and saver_e2e.py both run theirs through it.
"""

import subprocess
import threading
import time


class Program:
    def __init__(self, command, cwd, env):
        self.started = time.monotonic()
        self.process = subprocess.Popen(command, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.lines = []
        self.lock = threading.Lock()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.process.stderr:
            with self.lock:
                self.lines.append(raw.decode(errors="replace").rstrip("\n"))

    def stderr(self):
        with self.lock:
            return list(self.lines)

    def said(self, text):
        return any(text in line for line in self.stderr())

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout):
        """(exit code, seconds it took to end), or None when it is still
        running after `timeout` seconds (it is left running)."""
        start = time.monotonic()
        try:
            code = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None
        took = time.monotonic() - start
        self.reader.join(timeout=5)
        return code, took

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait()
