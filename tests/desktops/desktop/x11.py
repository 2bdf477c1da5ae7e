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

    def glide_to(self, x, y, steps=12):
        """Moves the pointer from where it is to a place in many small steps, as a hand
        does. A Qt 6.8 menu takes no notice of the first six motions after it opens
        unless the pointer is well away from where Qt last saw it, which for a menu a
        panel's click opened is stale: a single jump onto a row is never seen there."""
        where = dict(pair.split(":") for pair in self.xdotool("getmouselocation").split()
                     if ":" in pair)
        start_x, start_y = int(where["x"]), int(where["y"])
        for step in range(1, steps + 1):
            self.xdotool("mousemove", str(start_x + (x - start_x) * step // steps),
                         str(start_y + (y - start_y) * step // steps))
            time.sleep(0.02)

    def click(self, button):
        """A click of "1", "2", "3", or with Shift held, "shift 1"."""
        if button.startswith("shift"):
            self.xdotool("keydown", "shift", "click", button.split()[1], "keyup", "shift")
        else:
            self.xdotool("click", button)

    def window_names(self, pid):
        """Names of a program's visible windows."""
        return [self.xdotool("getwindowname", window).strip() for window in self.windows(pid)]

    def windows(self, pid):
        """Ids of a program's visible windows."""
        return self.xdotool("search", "--onlyvisible", "--pid", str(pid)).split()

    def window_box(self, window):
        """Where a window is on the screen: (left, top, right, bottom)."""
        values = dict(line.split("=", 1)
                      for line in self.xdotool("getwindowgeometry", "--shell", window).split())
        left, top = int(values["X"]), int(values["Y"])
        return left, top, left + int(values["WIDTH"]), top + int(values["HEIGHT"])
