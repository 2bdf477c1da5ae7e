#!/usr/bin/python3
"""Runs the real Tallyglow in real X11 panels, headless, and writes down what a
user would see: docs/desktops/README.md and screenshots beside it.

    tests/desktops/run PROGRAM [HOST ...]

Each host is an executable under tests/desktops/hosts/ (see hosts/README.md)
and one line in HOSTS below. Every start is a fresh session: its own Xvfb
(-displayfd), private session bus, HOME and XDG folders. Nothing touches the
desktop this runs in.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from datetime import datetime, timezone
from pathlib import Path

from PIL import Image, ImageChops

# The order the table lists them in. Adding a host: a script in hosts/ and a line here.
HOSTS = [
    "gnome-x11",
    "mate-indicator-applet",
    "mate-notification-area",
    "xfce",
    "lxqt",
    "plasma",
    "cinnamon",
    "budgie",
]

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
DOCS = ROOT / "docs" / "desktops"
WIDTH, HEIGHT = 1024, 768
ITEM_PREFIX = "org.kde.StatusNotifierItem-"
# A host about to draw the item's menu asks for it by one of these.
MENU_CALLS = {"AboutToShow", "AboutToShowGroup", "GetLayout"}
STARTS = int(os.environ.get("DESKTOPS_STARTS", "3"))
# Overrides every host's own count, for a quick look.
ONLY_STARTS = os.environ.get("DESKTOPS_ONLY_STARTS")


def log(*words):
    print("desktops:", *words, flush=True)


def host_settings(host):
    """The `# key: value` lines at the top of a host script."""
    settings = {"title": host, "panel": "top 32", "settle": "3", "starts": str(STARTS),
                "watcher-wait": "90"}
    for line in (HERE / "hosts" / host).read_text().splitlines()[1:]:
        match = re.match(r"#\s*([a-z-]+):\s*(.*)", line)
        if not match:
            if line.startswith("#"):
                continue
            break
        settings[match.group(1)] = match.group(2).strip()
    return settings


class Session:
    """One headless X server and private bus, with the host's services and panel."""

    def __init__(self, host, settings, program):
        self.host = host
        self.settings = settings
        self.program = program
        self.folder = Path(tempfile.mkdtemp(prefix=f"tallyglow-desktops-{host}-"))
        self.processes = []
        self.panel = None
        self.item = None
        self.environment = {}

    # --- starting and stopping -----------------------------------------

    def start(self):
        folder = self.folder
        for name in ("home", "config", "cache", "data", "runtime", "state"):
            (folder / name).mkdir(mode=0o700)
        env = {
            key: value
            for key, value in os.environ.items()
            if key not in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                           "SESSION_MANAGER", "XAUTHORITY", "DESKTOP_SESSION",
                           "XDG_CURRENT_DESKTOP", "XDG_SESSION_TYPE")
        }
        env.update(
            HOME=str(folder / "home"),
            XDG_CONFIG_HOME=str(folder / "config"),
            XDG_CACHE_HOME=str(folder / "cache"),
            XDG_DATA_HOME=str(folder / "data"),
            XDG_STATE_HOME=str(folder / "state"),
            XDG_RUNTIME_DIR=str(folder / "runtime"),
            XDG_SESSION_TYPE="x11",
            LANG="C.UTF-8",
            TZ="UTC",
            NO_AT_BRIDGE="1",
            GVFS_DISABLE_FUSE="1",
            DESKTOPS_HOST_FOLDER=str(HERE / "hosts"),
        )
        if "desktop" in self.settings:
            env["XDG_CURRENT_DESKTOP"] = self.settings["desktop"]
        read_end, write_end = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                    f"{WIDTH}x{HEIGHT}x24", "-nolisten", "tcp"],
                   env, "xvfb.log", pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as display:
            env["DISPLAY"] = ":" + display.readline().strip()
        bus = subprocess.run(
            ["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1",
             f"--address=unix:path={folder / 'runtime' / 'bus'}"],
            env=env, capture_output=True, text=True, check=True).stdout.split()
        env["DBUS_SESSION_BUS_ADDRESS"] = bus[0]
        self.bus_pids = [int(bus[1])]
        if self.settings.get("system-bus") == "yes":
            # A stand-in for the system bus, empty: the host finds no logind, no
            # accounts service, as in a container; it must not reach the machine's own.
            configuration = folder / "system-bus.conf"
            configuration.write_text(
                "<busconfig><type>system</type>"
                f"<listen>unix:path={folder / 'runtime' / 'system-bus'}</listen>"
                "<auth>EXTERNAL</auth><policy context='default'>"
                "<allow send_destination='*' eavesdrop='true'/><allow eavesdrop='true'/>"
                "<allow own='*'/></policy></busconfig>")
            system = subprocess.run(
                ["dbus-daemon", f"--config-file={configuration}", "--fork",
                 "--print-address=1", "--print-pid=1"],
                env=env, capture_output=True, text=True, check=True).stdout.split()
            env["DBUS_SYSTEM_BUS_ADDRESS"] = system[0]
            self.bus_pids.append(int(system[1]))
        self.environment = env
        self.write_preferences(masked=False)
        self.spawn([str(HERE / "hosts" / self.host), "services"], env, "services.log")
        self.start_panel()

    def spawn(self, command, env, log_name, pass_fds=()):
        process = subprocess.Popen(
            command, env=env, stdin=subprocess.DEVNULL,
            stdout=open(self.folder / log_name, "ab"), stderr=subprocess.STDOUT,
            start_new_session=True, pass_fds=pass_fds)
        self.processes.append(process)
        return process

    def start_panel(self, restart=False):
        environment = dict(self.environment, DESKTOPS_RESTART="1") if restart else self.environment
        self.panel = self.spawn([str(HERE / "hosts" / self.host), "panel"],
                                environment, "panel.log")
        if restart:
            return
        if wait_for(lambda: self.has_name("org.kde.StatusNotifierWatcher"),
                    float(self.settings["watcher-wait"])):
            time.sleep(float(self.settings["settle"]))
            self.wait_until_still()

    def wait_until_still(self, seconds=30):
        """Until the panel's picture stays the same for a second: it is drawn."""
        box = panel_box(self.settings)
        last = self.screenshot().crop(box)
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            time.sleep(1)
            now = self.screenshot().crop(box)
            if not ImageChops.difference(last, now).getbbox():
                return True
            last = now
        return False

    def restart_panel(self):
        """Stops the panel and starts it again, or has a new one replace it."""
        old = self.panel
        if self.settings.get("restart") == "replace":
            self.start_panel(restart=True)
            try:
                old.wait(15)
            except subprocess.TimeoutExpired:
                stop_group(old)
        else:
            stop_group(old)
            time.sleep(0.5)
            self.start_panel(restart=True)
        self.processes.remove(old)

    def stop(self):
        self.stop_item()
        for process in reversed(self.processes):
            stop_group(process)
        for pid in self.bus_pids:
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        # What the private buses started for the host (settings daemons and the like)
        # still names the session's folder in its environment.
        for pid in processes_of(self.folder):
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        time.sleep(0.5)
        for mount in Path("/proc/mounts").read_text().splitlines():
            point = mount.split()[1]
            if point.startswith(str(self.folder)):
                subprocess.run(["fusermount", "-u", "-z", point], capture_output=True)
        try:
            shutil.rmtree(self.folder, ignore_errors=True)
        except OSError as error:
            log("could not remove", self.folder, error)

    def write_preferences(self, masked):
        folder = self.folder / "config" / "tallyglow"
        folder.mkdir(parents=True, exist_ok=True)
        # A whole-day window, so the figure climbs by a cent about every second.
        (folder / "tallyglow.conf").write_text(
            "[General]\ndailyPay=800\nstartHour=0\nstartMinute=0\nendHour=23\nendMinute=59\n"
            "currencySymbol=$\nmaskEarnings=%s\n" % ("true" if masked else "false"))

    def start_item(self):
        self.item = self.spawn([self.program], dict(self.environment, QT_QPA_PLATFORM="xcb"),
                               "tallyglow.log")
        self.item_name = f"{ITEM_PREFIX}{self.item.pid}-1"

    def stop_item(self):
        if self.item and self.item.poll() is None:
            self.item.terminate()
            try:
                self.item.wait(5)
            except subprocess.TimeoutExpired:
                self.item.kill()
                self.item.wait()
        if self.item in self.processes:
            self.processes.remove(self.item)
        self.item = None

    # --- the bus -------------------------------------------------------

    def bus_call(self, *arguments):
        result = subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--reply-timeout=3000", *arguments],
            env=self.environment, capture_output=True, text=True)
        return result.stdout if result.returncode == 0 else None

    def has_name(self, name):
        reply = self.bus_call("--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                              "org.freedesktop.DBus.NameHasOwner", f"string:{name}")
        return reply is not None and "boolean true" in reply

    def registered_items(self):
        reply = self.bus_call("--dest=org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                              "org.freedesktop.DBus.Properties.Get",
                              "string:org.kde.StatusNotifierWatcher",
                              "string:RegisteredStatusNotifierItems")
        return reply or ""

    def is_registered(self):
        """Whether the watcher lists the item, by its name or its connection's."""
        listed = self.registered_items()
        if self.item_name in listed:
            return True
        owner = self.bus_call("--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                              "org.freedesktop.DBus.GetNameOwner", f"string:{self.item_name}")
        unique = re.findall(r'string "([^"]*)"', owner or "")
        return bool(unique) and f'"{unique[0]}' in listed

    def item_property(self, name):
        reply = self.bus_call(f"--dest={self.item_name}", "/StatusNotifierItem",
                              "org.freedesktop.DBus.Properties.Get",
                              "string:org.kde.StatusNotifierItem", f"string:{name}")
        if reply is None:
            return None
        return re.findall(r'string "([^"]*)"', reply)

    def label(self):
        values = self.item_property("XAyatanaLabel")
        return values[0] if values else None

    def tooltip_title(self):
        # ToolTip is (icon name, pixmaps, title, description): the third string is the title.
        values = self.item_property("ToolTip")
        return values[1] if values and len(values) >= 2 else None

    # --- the screen ----------------------------------------------------

    def screenshot(self):
        path = self.folder / "shot.png"
        subprocess.run(["import", "-silent", "-window", "root", str(path)],
                       env=self.environment, check=True, capture_output=True)
        with Image.open(path) as image:
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

    def item_windows(self):
        """Names of the program's visible windows: its menu, its settings window."""
        if not self.item:
            return []
        ids = self.xdotool("search", "--onlyvisible", "--pid", str(self.item.pid)).split()
        names = []
        for window in ids:
            name = self.xdotool("getwindowname", window).strip()
            # Its only other window is the menu, whatever name Qt gives it.
            names.append(name if name == "Tallyglow Settings" else "(menu)")
        return names


def processes_of(folder):
    """Processes whose environment names the session's folder: started for it."""
    marker = str(folder).encode()
    found = []
    for entry in Path("/proc").iterdir():
        if entry.name.isdigit() and int(entry.name) != os.getpid():
            try:
                if marker in (entry / "environ").read_bytes():
                    found.append(int(entry.name))
            except OSError:
                pass
    return found


def stop_group(process):
    if process.poll() is not None:
        return
    try:
        os.killpg(process.pid, signal.SIGTERM)
        process.wait(5)
    except (ProcessLookupError, subprocess.TimeoutExpired):
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait()


def wait_for(condition, seconds, step=0.2):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return None


def panel_box(settings):
    side, size = settings["panel"].split()
    size = int(size)
    return (0, 0, WIDTH, size) if side == "top" else (0, HEIGHT - size, WIDTH, HEIGHT)


def changed_box(before, after, within=None, threshold=24, leaving_out=None):
    """The box around the pixels that differ, within a box if given."""
    difference = ImageChops.difference(before, after).convert("L")
    if within or leaving_out:
        mask = Image.new("L", difference.size, 255 if not within else 0)
        if within:
            mask.paste(255, within)
        if leaving_out:
            mask.paste(0, leaving_out)
        difference = ImageChops.multiply(difference, mask)
    return difference.point(lambda value: 255 if value > threshold else 0).getbbox()


def column_runs(before, after, box, gap=12):
    """Runs of changed columns inside box, as (left, right) pairs."""
    difference = ImageChops.difference(before.crop(box), after.crop(box)).convert("L")
    difference = difference.point(lambda value: 255 if value > 24 else 0)
    width, height = difference.size
    pixels = difference.load()
    columns = [x for x in range(width) if any(pixels[x, y] for y in range(height))]
    runs = []
    for x in columns:
        if runs and x - runs[-1][1] <= gap:
            runs[-1][1] = x
        else:
            runs.append([x, x])
    return [(box[0] + left, box[0] + right + 1) for left, right in runs]


def changed_share(before, after, within, leaving_out=None):
    """The share of the pixels within a box that differ."""
    difference = ImageChops.difference(before.crop(within), after.crop(within)).convert("L")
    difference = difference.point(lambda value: 255 if value > 24 else 0)
    if leaving_out:
        left, top = within[0], within[1]
        difference.paste(0, (leaving_out[0] - left, leaving_out[1] - top,
                             leaving_out[2] - left, leaving_out[3] - top))
    return difference.histogram()[255] / (difference.width * difference.height)


def part_nearest(before, after, box, x):
    """Of what changed side by side (a menu, a tooltip, a window that lost the focus),
    the part nearest to a place across: the menu under the item."""
    parts = [changed_box(before, after, (left, box[1], right, box[3]))
             for left, right in column_runs(before, after, box, gap=4)]
    # A menu holds three rows at least; a tooltip is lower than that.
    parts = [part for part in parts if part and part[3] - part[1] > 55] or parts
    return min(parts, key=lambda part: 0 if part[0] <= x <= part[2]
               else min(abs(part[0] - x), abs(part[2] - x)))


def area(box):
    return 0 if not box else (box[2] - box[0]) * (box[3] - box[1])


def grow(box, margin, limit=(0, 0, WIDTH, HEIGHT)):
    return (max(limit[0], box[0] - margin), max(limit[1], box[1] - margin),
            min(limit[2], box[2] + margin), min(limit[3], box[3] + margin))


def union(first, second):
    if not first:
        return second
    if not second:
        return first
    return (min(first[0], second[0]), min(first[1], second[1]),
            max(first[2], second[2]), max(first[3], second[3]))


def masked(text):
    return text is not None and "•" in text


def text_rows(image, box):
    """Rows of text inside a drawn menu, top to bottom, as (top, bottom, left, right)."""
    region = image.crop(box).convert("L")
    width, height = region.size
    pixels = region.load()
    background = max(set(region.getdata()), key=list(region.getdata()).count)
    # Columns inked nearly all the way down are edges (of the menu, of a tooltip
    # beside it), not text.
    columns = [x for x in range(4, width - 4)
               if sum(abs(pixels[x, y] - background) > 60 for y in range(height)) < 0.5 * height]
    rows = []
    for y in range(height):
        ink = [x for x in columns if abs(pixels[x, y] - background) > 60]
        # A separator is one long line; text is broken into strokes.
        if ink and len(ink) < 0.8 * (width - 8):
            if rows and y - rows[-1][1] <= 2:
                rows[-1][1] = y
                rows[-1][2] = min(rows[-1][2], ink[0])
                rows[-1][3] = max(rows[-1][3], ink[-1])
            else:
                rows.append([y, y, ink[0], ink[-1]])
    return [(box[1] + top, box[1] + bottom, box[0] + left, box[0] + right)
            for top, bottom, left, right in rows if bottom - top >= 4]


class CallLog:
    """The panel's calls to the item's interfaces, from dbus-monitor on the private bus."""

    def __init__(self, session):
        self.path = session.folder / "calls.log"
        self.process = session.spawn(
            ["dbus-monitor",
             "type='method_call',interface='org.kde.StatusNotifierItem'",
             "type='method_call',interface='com.canonical.dbusmenu'"],
            session.environment, "calls.log")
        self.offset = 0

    def since_last(self):
        """The members called since the last look, with the arguments of clicks."""
        time.sleep(0.2)
        text = self.path.read_text(errors="replace")
        new = text[self.offset:]
        self.offset = len(text)
        calls = []
        for message in re.split(r"\n(?=method call)", new):
            member = re.search(r"member=(\w+)", message)
            if not member:
                continue
            name = member.group(1)
            if name in ("Activate", "ContextMenu", "SecondaryActivate"):
                numbers = re.findall(r"int32 (-?\d+)", message)
                name += "(" + ",".join(numbers) + ")"
            calls.append(name)
        return calls


class HostRun:
    """Everything measured in one host."""

    def __init__(self, host, program):
        self.host = host
        self.program = program
        self.settings = host_settings(host)
        self.starts = int(ONLY_STARTS or self.settings["starts"])
        self.appeared = 0
        self.attempted = 0
        self.drops = 0
        self.notes = []
        self.cells = {}
        self.pictures = []
        self.failure = None

    def picture(self, image, box, name, caption):
        path = DOCS / f"{self.host}-{name}.png"
        image.crop(grow(box, 6)).save(path)
        self.pictures.append((path.name, caption))
        return path.name

    def run(self):
        if not shutil.which(self.settings.get("needs", "true").split()[0]):
            self.failure = f"not installed: {self.settings.get('needs')}"
            return
        measured = False
        for start in range(1, self.starts + 1):
            session = Session(self.host, self.settings, self.program)
            try:
                session.start()
                visible = self.one_start(session, start)
                if visible and not measured:
                    self.measure(session)
                    measured = True
            except Exception as error:  # keep the next host going, and say what broke
                self.notes.append(f"start {start}: the run broke: {error!r}")
                log(self.host, "start", start, "broke:", repr(error))
            finally:
                keep = DOCS.parent.parent / "build" / "desktops-logs" / f"{self.host}-{start}"
                shutil.rmtree(keep, ignore_errors=True)
                keep.mkdir(parents=True, exist_ok=True)
                for log_file in session.folder.glob("*.log"):
                    shutil.copy(log_file, keep)
                session.stop()

    def one_start(self, session, start):
        box = panel_box(self.settings)
        if not session.has_name("org.kde.StatusNotifierWatcher"):
            wait = self.settings["watcher-wait"]
            self.notes.append(f"start {start}: no StatusNotifierWatcher on the bus within {wait} s")
            self.attempted += 1
            if start == 1:
                self.picture(session.screenshot(), panel_box(self.settings), "panel",
                             "the panel, with no StatusNotifierWatcher")
            return False
        # A clock turning over between the two pictures would look like our item.
        if datetime.now().second > 50:
            time.sleep(61 - datetime.now().second)
        before = session.screenshot()
        session.start_item()
        self.attempted += 1
        registered = wait_for(session.is_registered, 10)
        time.sleep(5)  # a host that drops the item does so within a second or two
        still = session.is_registered()
        after = session.screenshot()
        runs = column_runs(before, after, box)
        visible = bool(runs) and still
        if registered and not still:
            self.drops += 1
        log(self.host, f"start {start}: registered={bool(registered)} still={still} runs={runs}")
        if start == 1 or (visible and not self.cells):
            self.picture(after, box, "panel", "the panel with Tallyglow's item")
        if not visible:
            if start == 1:
                self.picture(after, (0, 0, WIDTH, HEIGHT), "screen", "the whole screen")
            self.notes.append(
                f"start {start}: " +
                ("registered, then dropped by the host" if registered and not still else
                 "not registered" if not registered else "registered, nothing drawn"))
            return False
        self.appeared += 1
        if not self.cells:
            session.before_item = before
            session.runs = runs
        return True

    # --- clicks --------------------------------------------------------

    def item_place(self, session):
        """The changed run that is the item: where our picture differs the most."""
        box = panel_box(self.settings)
        left, right = max(session.runs, key=lambda run: run[1] - run[0])
        if len(session.runs) > 1:
            self.notes.append(f"several changes in the panel when the item came: {session.runs}; "
                              f"clicked the widest")
        return (left + right) // 2, (box[1] + box[3]) // 2, (left, box[1], right, box[3])

    def measure(self, session):
        x, y, item_box = self.item_place(session)
        session.item_box = item_box
        self.cells["place"] = f"{x},{y}"
        calls = CallLog(session)
        time.sleep(0.5)
        session.xdotool("mousemove", "5", str(HEIGHT // 2))
        time.sleep(1)

        # What shows: a label changes on screen as the figure climbs; an icon does not.
        first = session.screenshot()
        time.sleep(2.5)
        second = session.screenshot()
        moving = changed_box(first, second, item_box)
        self.cells["shows"] = "label" if moving else "icon only"
        self.picture(second, grow(item_box, 40, panel_box(self.settings)), "item",
                     "the item, close up")

        self.cells["tooltip"] = self.hover(session, x, y, "tooltip", "hovering the item")

        for button, name in (("1", "left"), ("3", "right"), ("2", "middle"), ("shift 1", "shift-left")):
            self.cells[name] = self.click(session, calls, x, y, button, name)

        # While masked: the tooltip and label, then back.
        self.cells["tooltip-masked"] = self.masked_tooltip(session, calls, x, y)

        self.choose_from_menu(session, calls, x, y)
        self.restart_panel(session)

    def close_everything(self, session, unmask_with=None):
        session.xdotool("key", "Escape")
        time.sleep(0.4)
        session.xdotool("mousemove", str(WIDTH // 2), str(HEIGHT // 2 + 150), "click", "1")
        time.sleep(0.4)
        session.xdotool("key", "Escape")
        session.xdotool("mousemove", "5", str(HEIGHT // 2))
        time.sleep(0.8)

    def near_item(self, session):
        """Off the panel, next to the item: where a tooltip is drawn. The panel itself
        changes on hover too (a highlight, the label climbing)."""
        left, top, right, bottom = session.item_box
        if top == 0:
            return (max(0, left - 250), bottom, min(WIDTH, right + 250), min(HEIGHT, bottom + 120))
        return (max(0, left - 250), max(0, top - 120), min(WIDTH, right + 250), top)

    def hover(self, session, x, y, name, caption, expect_masked=False):
        session.xdotool("mousemove", "5", str(HEIGHT // 2))
        time.sleep(0.8)
        resting = session.screenshot()
        session.point_at(x, y)
        time.sleep(2.5)
        shown = session.screenshot()
        bus_title = session.tooltip_title()
        # A tooltip is drawn next to the item; whatever else changed is something else.
        near = self.near_item(session)
        box = changed_box(resting, shown, near, leaving_out=session.item_box)
        tooltip_box = union(box, session.item_box) if box else None
        if not box:
            session.xdotool("mousemove", "5", str(HEIGHT // 2))
            time.sleep(0.5)
            return f"no tooltip drawn (ToolTip over the bus: `{bus_title}`)"
        picture = self.picture(shown, tooltip_box, name, caption)
        time.sleep(2.5)
        later = session.screenshot()
        follows = changed_box(shown, later, box, leaving_out=session.item_box)
        self.picture(later, tooltip_box, name + "-later", caption + ", 2.5 s later")
        session.xdotool("mousemove", "5", str(HEIGHT // 2))
        time.sleep(0.5)
        text = f"drawn ([picture]({picture})); ToolTip over the bus: `{bus_title}`"
        if not expect_masked:
            text += "; it follows the figure while open" if follows else \
                    "; it does not change while open"
        return text

    def click(self, session, calls, x, y, button, name):
        self.close_everything(session)
        label_before = session.label()
        before = session.screenshot()
        calls.since_last()
        session.point_at(x, y)
        time.sleep(0.6)
        if button.startswith("shift"):
            session.xdotool("keydown", "shift", "click", button.split()[1], "keyup", "shift")
        else:
            session.xdotool("click", button)
        time.sleep(1.5)
        after = session.screenshot()
        label_after = session.label()
        windows = session.item_windows()
        received = calls.since_last()
        panel = panel_box(self.settings)
        drawn = changed_box(before, after)
        # A menu holds three rows at least; a tooltip is lower than that.
        beyond = changed_box(before, after, leaving_out=panel)
        outside_panel = bool(beyond) and beyond[3] - beyond[1] > 55
        results = []
        if masked(label_before) != masked(label_after):
            results.append("hides/shows the figure")
        if "(menu)" in windows:
            results.append("Tallyglow's menu")
        elif outside_panel:
            if MENU_CALLS & set(received):
                results.append("the menu, drawn by the host")
            else:
                results.append("a menu of the host's own")
        if "Tallyglow Settings" in windows:
            results.append("the settings window")
        shown = self.picture(after, union(drawn, grow(panel, 0)) if drawn else panel,
                             f"click-{name}", f"after a {name} click")
        session.last_menu = drawn if outside_panel else None
        session.last_menu_image = after
        session.last_menu_kind = results
        summary = ", ".join(results) or "nothing"
        calls_text = ", ".join(dict.fromkeys(received)) or "none"
        log(self.host, name, "->", summary, "| calls:", calls_text, "| label", label_before,
            "->", label_after)
        # Leave the figure shown for the next click.
        if masked(label_after) and not masked(label_before):
            self.close_everything(session)
            session.point_at(x, y)
            time.sleep(0.4)
            if button.startswith("shift"):
                session.xdotool("keydown", "shift", "click", "1", "keyup", "shift")
            else:
                session.xdotool("click", button)
            time.sleep(1.2)
            if masked(session.label()):
                self.notes.append(f"{name} click: a second one did not show the figure again")
        self.close_everything(session)
        return f"{summary} ([picture]({shown}); calls: {calls_text})"

    def masked_tooltip(self, session, calls, x, y):
        """Masks by middle click, hovers, and shows the figure again."""
        self.close_everything(session)
        session.point_at(x, y)
        session.xdotool("click", "2")
        time.sleep(1.2)
        if not masked(session.label()):
            return "could not mask by middle click to look"
        tooltip = self.hover(session, x, y, "tooltip-masked", "hovering while masked",
                             expect_masked=True)
        self.picture(session.screenshot(), grow(session.item_box, 40, panel_box(self.settings)),
                     "item-masked", "the item while masked")
        session.point_at(x, y)
        session.xdotool("click", "2")
        time.sleep(1.2)
        self.close_everything(session)
        return tooltip

    def open_menu(self, session, calls, x, y, button):
        """Clicks the item; the picture and the place of the menu of ours it drew, if any."""
        self.close_everything(session)
        before = session.screenshot()
        calls.since_last()
        session.point_at(x, y)
        session.xdotool("click", button)
        time.sleep(1.5)
        after = session.screenshot()
        received = set(calls.since_last())
        windows = session.item_windows()
        drawn = changed_box(before, after)
        ours = "(menu)" in windows or MENU_CALLS & received
        if not (drawn and not inside(drawn, grow(panel_box(self.settings), 2)) and ours):
            return None, None
        menu = part_nearest(before, after, drawn, x)
        # The item itself may change with the click; keep to the menu's part.
        panel = panel_box(self.settings)
        if panel[1] == 0 and menu[1] < panel[3]:
            menu = (menu[0], panel[3], menu[2], menu[3])
        elif panel[1] > 0 and menu[3] > panel[1]:
            menu = (menu[0], menu[1], menu[2], panel[1])
        return after, menu

    def choose(self, session, calls, x, y, button, index, check):
        """Opens the menu with the button and clicks its row; whether check then holds."""
        image, menu = self.open_menu(session, calls, x, y, button)
        if not menu:
            return None, None
        rows = text_rows(image, menu)
        if len(rows) <= index:
            self.picture(image, menu, "menu-unread", "a menu whose rows were not found")
            return f"menu drawn, but found {len(rows)} rows of text in it", None
        top, bottom, left, right = rows[index]
        session.xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2))
        time.sleep(0.5)
        pointed = session.screenshot()
        session.xdotool("click", "1")
        worked = wait_for(check, 4)
        time.sleep(0.8)
        return ("works" if worked else "did nothing"), (image, menu, pointed, session.screenshot())

    def choose_from_menu(self, session, calls, x, y):
        """"Mask" from every menu of ours a click draws; "Settings…" from the first."""
        buttons = {"1": "left", "3": "right"}
        mask_results, settings_result = [], None
        for button, side in buttons.items():
            result, pictures = self.choose(session, calls, x, y, button, 0,
                                           lambda: masked(session.label()))
            if result is None:
                continue
            if pictures:
                image, menu, pointed, after = pictures
                self.picture(image, union(menu, session.item_box), f"menu-{side}",
                             f"the menu a {side} click opens")
                self.picture(pointed, union(menu, session.item_box), f"choosing-mask-{side}",
                             f"pointing at Mask in the {side}-click menu")
                shown = self.picture(after, grow(session.item_box, 40, panel_box(self.settings)),
                                     f"after-mask-{side}", f"after choosing Mask ({side}-click menu)")
                result += f" ([picture]({shown}))"
            mask_results.append(f"{side}-click menu: {result}")
            log(self.host, "chose Mask from the", side, "click menu:", result)
            if masked(session.label()):
                # Show the figure again the same way.
                self.choose(session, calls, x, y, button, 0, lambda: not masked(session.label()))
            if settings_result is None:
                result, pictures = self.choose(
                    session, calls, x, y, button, 1,
                    lambda: "Tallyglow Settings" in session.item_windows())
                if pictures:
                    image, menu, pointed, after = pictures
                    self.picture(pointed, union(menu, session.item_box), "choosing-settings",
                                 "pointing at Settings…")
                    shown = self.picture(after, (0, 0, WIDTH, HEIGHT), "after-settings",
                                         "after choosing Settings…")
                    result += f" ([picture]({shown}))"
                settings_result = f"{side}-click menu: {result}"
                log(self.host, "chose Settings… from the", side, "click menu:", result)
            self.close_everything(session)
        self.cells["Mask"] = "; ".join(mask_results) or "no menu of ours opened to choose from"
        self.cells["Settings…"] = settings_result or "no menu of ours opened to choose from"
        for window in session.xdotool("search", "--name", "Tallyglow Settings").split():
            session.xdotool("windowunmap", window)

    def restart_panel(self, session):
        started = time.monotonic()
        session.restart_panel()
        box = panel_box(self.settings)
        before = session.before_item

        def back():
            if not session.is_registered():
                return False
            now = session.screenshot()
            # The panel is drawn again (as before the item came, but for a clock) and
            # the item's place is no longer as it was without it.
            panel_again = changed_share(before, now, box, leaving_out=session.item_box) < 0.05
            return panel_again and bool(changed_box(before, now, session.item_box))

        came_back = wait_for(back, 30, step=0.25)
        taken = time.monotonic() - started
        time.sleep(1)
        shown = self.picture(session.screenshot(), box, "after-restart", "after a panel restart")
        self.cells["restart"] = (f"back after {taken:.1f} s" if came_back else
                                 "not back within 30 s") + f" ([picture]({shown}))"
        log(self.host, "restart:", self.cells["restart"])


def inside(box, outer):
    return (box[0] >= outer[0] and box[1] >= outer[1] and box[2] <= outer[2]
            and box[3] <= outer[3])


def host_section(result):
    lines = [f"## {result.settings['title']}", ""]
    if "note" in result.settings:
        lines += [result.settings["note"], ""]
    if result.failure:
        lines += [f"Not run: {result.failure}.", ""]
        return "\n".join(lines)
    lines.append(f"Item visible in {result.appeared} of {result.attempted} starts"
                 + (f" ({result.drops} dropped by the host after registering)" if result.drops
                    else "") + ".")
    lines.append("")
    if result.cells:
        lines += ["| what | seen |", "|---|---|"]
        for key, title in (("shows", "what the panel draws"), ("tooltip", "hover"),
                           ("tooltip-masked", "hover while masked"),
                           ("left", "left click"), ("right", "right click"),
                           ("middle", "middle click"), ("shift-left", "Shift-left click"),
                           ("Mask", '"Mask" from the menu'),
                           ("Settings…", '"Settings…" from the menu'),
                           ("restart", "panel restarted")):
            if key in result.cells:
                lines.append(f"| {title} | {result.cells[key]} |")
        lines.append("")
    for note in result.notes:
        lines.append(f"- {note}")
    if result.notes:
        lines.append("")
    for name, caption in result.pictures:
        lines.append(f"![{caption}]({name})")
    lines.append("")
    return "\n".join(lines)


def summary_row(result):
    title = result.settings["title"]
    if result.failure:
        return f"| {title} | not run: {result.failure} | | | | | | |"
    cells = result.cells
    if not cells:
        why = result.settings.get("note") or "; ".join(result.notes[:2])
        return f"| {title} | {result.appeared}/{result.attempted} | not seen: {why} | | | | | |"

    def short(key):
        return re.sub(r" \(\[picture\].*", "", cells.get(key, "not tried"))

    return (f"| {title} | {result.appeared}/{result.attempted} | {short('shows')} | "
            f"{short('left')} | {short('right')} | {short('middle')} | {short('shift-left')} | "
            f"{short('restart')} |")


def main():
    program = os.path.abspath(sys.argv[1])
    hosts = sys.argv[2:] or HOSTS
    DOCS.mkdir(parents=True, exist_ok=True)
    rows_folder = DOCS / "rows"
    rows_folder.mkdir(exist_ok=True)
    for host in hosts:
        log("host", host)
        for old in DOCS.glob(f"{host}-*.png"):
            old.unlink()
        result = HostRun(host, program)
        result.run()
        (rows_folder / f"{host}.row").write_text(summary_row(result) + "\n")
        (rows_folder / f"{host}.md").write_text(host_section(result))
        write_readme(rows_folder)


def write_readme(rows_folder):
    # Hosts measured by other scripts (Wayland ones) leave their row and section here too.
    names = HOSTS + sorted(path.stem for path in rows_folder.glob("*.row")
                           if path.stem not in HOSTS)
    rows = [(rows_folder / f"{name}.row") for name in names]
    sections = [(rows_folder / f"{name}.md") for name in names]
    stamp = datetime.now(timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    text = [
        "# Tallyglow in real panels",
        "",
        f"Written by `make desktops` (tests/desktops/run), last on {stamp}, on Debian 12. Every",
        "start is a fresh headless session: Xvfb, a private session bus, a temporary HOME.",
        "Clicks are real X clicks by `xdotool` at the item's place, found by comparing the",
        "panel before and after Tallyglow started. \"What shows\": a label is seen when the",
        "item's pixels change as the figure climbs. Calls are what the panel sent the item",
        "over the bus, recorded by `dbus-monitor`. \"Mask\" is chosen by a click on it",
        "in each menu of Tallyglow's that a left or a right click draws, \"Settings…\" in",
        "the first of them (without a window manager its window cannot be closed again).",
        "",
        "| host | visible in starts | what shows | left click | right click | middle click |"
        " Shift-left click | panel restart |",
        "|---|---|---|---|---|---|---|---|",
    ]
    text += [row.read_text().rstrip("\n") for row in rows if row.exists()]
    text.append("")
    text += [section.read_text() for section in sections if section.exists()]
    (DOCS / "README.md").write_text("\n".join(text))


if __name__ == "__main__":
    main()
