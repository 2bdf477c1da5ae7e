"""The headless X server of a host's session: pictures of it, and the pointer
and keys, driven by xdotool as a user's hand would."""

import subprocess
import time

from PIL import Image

WIDTH, HEIGHT = 1024, 768


class Screen:
    def __init__(self, environment, folder):
        self.environment = environment
        self.picture_path = folder / "shot.png"

    def screenshot(self):
        subprocess.run(["import", "-silent", "-window", "root", str(self.picture_path)],
                       env=self.environment, check=True, capture_output=True)
        with Image.open(self.picture_path) as image:
            return image.convert("RGB")

    def xdotool(self, *arguments):
        return subprocess.run(["xdotool", *arguments], env=self.environment,
                              capture_output=True, text=True).stdout

    def point_at(self, x, y):
        """Moves the pointer onto a place in a few steps, as a hand does: some panels
        start a tooltip only on motion inside the item, not on a jump into it."""
        for step in (12, 8, 4, 2, 0):
            self.xdotool("mousemove", str(x - step), str(y))
            time.sleep(0.05)

    def click(self, button):
        """A click of "1", "2", "3", or with Shift held, "shift 1"."""
        if button.startswith("shift"):
            self.xdotool("keydown", "shift", "click", button.split()[1], "keyup", "shift")
        else:
            self.xdotool("click", button)

    def window_names(self, pid):
        """Names of a program's visible windows."""
        ids = self.xdotool("search", "--onlyvisible", "--pid", str(pid)).split()
        return [self.xdotool("getwindowname", window).strip() for window in ids]
