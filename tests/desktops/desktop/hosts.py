"""The hosts: real X11 panels, each an executable under tests/desktops/hosts/
(see hosts/README.md) started in a private session of its own, and Tallyglow's
item in them, as seen over the session bus."""

import os
import re
import subprocess
import time
from pathlib import Path

from PIL import ImageChops

from .session import PrivateSession, processes_of, stop_group, wait_for
from .x11 import HEIGHT, WIDTH, Screen

# The order the table lists them in. Adding a host: a script in hosts/ and a line here.
HOSTS = [
    "gnome-x11",
    "gnome-x11-appindicator-off",
    "gnome-x11-appindicator-absent",
    "mate-indicator-applet",
    "mate-notification-area",
    "mate-xapp-status",
    "xfce",
    "lxqt",
    "plasma",
    "plasma-wayland",
    "cinnamon",
    "budgie",
    "budgie-sntray",
]

HOST_FOLDER = Path(__file__).resolve().parent.parent / "hosts"
ITEM_PREFIX = "org.kde.StatusNotifierItem-"
# Where an XApp status applet watches (Cinnamon), the item is an XApp icon instead.
ICON_PREFIX = "org.x.StatusIcon.tallyglow-"
# The XApp icon's names for what the notifier item calls XAyatanaLabel and ToolTip.
ICON_PROPERTIES = {"XAyatanaLabel": "Label", "ToolTip": "TooltipText"}
STARTS = int(os.environ.get("DESKTOPS_STARTS", "3"))


def host_settings(host):
    """The `# key: value` lines at the top of a host script."""
    settings = {"title": host, "panel": "top 32", "settle": "3", "starts": str(STARTS),
                "watcher-wait": "90", "watcher": "org.kde.StatusNotifierWatcher"}
    for line in (HOST_FOLDER / host).read_text().splitlines()[1:]:
        match = re.match(r"#\s*([a-z-]+):\s*(.*)", line)
        if not match:
            if line.startswith("#"):
                continue
            break
        settings[match.group(1)] = match.group(2).strip()
    # "{xfce4-panel}" in the title is that package's version, as the desktop
    # names it (4.20 of 4.20.1-1); "{gnome-shell:1}" keeps one number (48).
    settings["title"] = re.sub(r"\{([a-z0-9.+-]+)(?::(\d))?\}",
                               lambda found: installed_version(found.group(1),
                                                               int(found.group(2) or 2)),
                               settings["title"])
    return settings


def installed_version(package, numbers):
    result = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                            capture_output=True, text=True)
    match = re.match(r"(?:\d+:)?(\d+(?:\.\d+)*)", result.stdout)
    if not match:
        return "(not installed)"
    return ".".join(match.group(1).split(".")[:numbers])


def panel_box(settings):
    side, size = settings["panel"].split()
    size = int(size)
    return (0, 0, WIDTH, size) if side == "top" else (0, HEIGHT - size, WIDTH, HEIGHT)


class HostSession(PrivateSession):
    """A private session with the host's services and panel, and Tallyglow in it."""

    def __init__(self, host, settings, program):
        super().__init__(
            f"desktops-{host}", screen=(WIDTH, HEIGHT), desktop=settings.get("desktop"),
            system_bus="stand-in" if settings.get("system-bus") == "yes" else None,
            # TALLYGLOW: the program, for a host whose panel runs `tallyglow --title`.
            environment=dict(LANG="C.UTF-8", TZ="UTC", TALLYGLOW=program))
        self.host = host
        self.settings = settings
        self.program = program
        self.panel = None
        self.item = None
        self.screen = None

    # --- starting and stopping -----------------------------------------

    def start(self):
        super().start()
        self.screen = Screen(self.environment, self.folder)
        self.write_preferences(masked=False)
        self.spawn([str(HOST_FOLDER / self.host), "services"], self.environment, "services.log")
        self.start_panel()

    def start_panel(self, restart=False):
        environment = dict(self.environment, DESKTOPS_RESTART="1") if restart else self.environment
        self.panel = self.spawn([str(HOST_FOLDER / self.host), "panel"],
                                environment, "panel.log")
        if restart:
            return
        if wait_for(lambda: self.has_name(self.settings["watcher"]),
                    float(self.settings["watcher-wait"])):
            time.sleep(float(self.settings["settle"]))
            self.wait_until_still()

    def wait_until_still(self, seconds=30):
        """Until the panel's picture stays the same for a second: it is drawn."""
        box = panel_box(self.settings)
        last = self.screen.screenshot().crop(box)
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            time.sleep(1)
            now = self.screen.screenshot().crop(box)
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

    def stop(self, keep=False):
        self.stop_item()
        super().stop(keep)

    def write_preferences(self, masked):
        folder = self.folder / "config" / "tallyglow"
        folder.mkdir(parents=True, exist_ok=True)
        # A whole-day window, so the figure climbs by a cent about every second.
        (folder / "tallyglow.conf").write_text(
            "[General]\ndailyPay=800\nstartHour=0\nstartMinute=0\nendHour=23\nendMinute=59\n"
            "currencySymbol=$\nmaskEarnings=%s\n" % ("true" if masked else "false"))

    def start_item(self):
        # An X11 client of the session's X server, unless the host says otherwise
        # (a Wayland compositor's socket).
        environment = dict(self.environment, QT_QPA_PLATFORM="xcb")
        environment.update(pair.split("=", 1)
                           for pair in self.settings.get("item-environment", "").split())
        self.item = self.spawn([self.program], environment, "tallyglow.log")
        self.item_name = f"{ITEM_PREFIX}{self.item.pid}-1"
        self.icon_name = f"{ICON_PREFIX}{self.item.pid}"

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

    def text_monitor_box(self, runs):
        """Where the panel's text monitor (`text-monitor: genmon`) is drawn: the window
        of the plug-in process that XFCE's panel starts for it. LXQt's panel draws its
        plug-ins in its own window: there, what came with Tallyglow left of the item,
        which is the rightmost of the runs (the hosts put the monitor just before it)."""
        if self.settings["text-monitor"] == "lxqt":
            if len(runs) < 2:
                return None
            item_left = max(run[0] for run in runs)
            panel = panel_box(self.settings)
            return (min(run[0] for run in runs), panel[1],
                    max(run[1] for run in runs if run[0] < item_left), panel[3])
        module = f"lib{self.settings['text-monitor']}.so"
        for pid in processes_of(self.folder):
            try:
                command = Path(f"/proc/{pid}/cmdline").read_bytes().split(b"\0")
            except OSError:
                continue
            if not any(part.endswith(module.encode()) for part in command):
                continue
            for window in self.screen.xdotool("search", "--onlyvisible", "--pid",
                                              str(pid)).split():
                found = re.findall(r"\d+", self.screen.xdotool("getwindowgeometry", window))
                x, y, width, height = (int(number) for number in found[1:3] + found[4:6])
                if 0 <= x < WIDTH and 0 <= y < HEIGHT and height > 10:
                    return (x, y, x + width, y + height)
        return None

    def item_windows(self):
        """Names of the program's visible windows: its menu, its settings window."""
        if not self.item:
            return []
        if self.settings.get("windows") == "host":
            # Windows of a Wayland client: only its compositor knows them.
            names = subprocess.run([str(HOST_FOLDER / self.host), "windows", str(self.item.pid)],
                                   env=self.environment, capture_output=True,
                                   text=True).stdout.splitlines()
        else:
            names = self.screen.window_names(self.item.pid)
        # Its only other window is the menu, whatever name Qt gives it.
        return [name if name == "Tallyglow Settings" else "(menu)" for name in names]

    def item_menu_box(self):
        """Where the program's own menu is on the screen, or None while it is closed."""
        if not self.item:
            return None
        for window in self.screen.windows(self.item.pid):
            if self.screen.xdotool("getwindowname", window).strip() != "Tallyglow Settings":
                return self.screen.window_box(window)
        return None

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
        """Whether the watcher lists the item, by its name or its connection's, or the
        item is an XApp icon (only while an XApp applet watches)."""
        if self.has_name(self.icon_name):
            return True
        listed = self.registered_items()
        if self.item_name in listed:
            return True
        owner = self.bus_call("--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                              "org.freedesktop.DBus.GetNameOwner", f"string:{self.item_name}")
        unique = re.findall(r'string "([^"]*)"', owner or "")
        return bool(unique) and f'"{unique[0]}' in listed

    def item_property(self, name):
        where = (self.item_name, "/StatusNotifierItem", "org.kde.StatusNotifierItem")
        if self.has_name(self.icon_name):
            where = (self.icon_name, "/org/x/StatusIcon/Icon", "org.x.StatusIcon")
            name = ICON_PROPERTIES[name]
        reply = self.bus_call(f"--dest={where[0]}", where[1],
                              "org.freedesktop.DBus.Properties.Get", f"string:{where[2]}",
                              f"string:{name}")
        if reply is None:
            return None
        return re.findall(r'string "([^"]*)"', reply)

    def label(self):
        values = self.item_property("XAyatanaLabel")
        return values[0] if values else None

    def tooltip_title(self):
        # ToolTip is (icon name, pixmaps, title, description): the third string is the
        # title. An XApp icon's TooltipText is the text alone.
        values = self.item_property("ToolTip")
        if values and len(values) == 1:
            return values[0]
        return values[1] if values and len(values) >= 2 else None


class CallLog:
    """The panel's calls to the item's interfaces, from dbus-monitor on the private bus."""

    def __init__(self, session):
        self.path = session.folder / "calls.log"
        self.process = session.spawn(
            ["dbus-monitor",
             "type='method_call',interface='org.kde.StatusNotifierItem'",
             "type='method_call',interface='com.canonical.dbusmenu'",
             "type='method_call',interface='org.x.StatusIcon'"],
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
            elif name in ("ButtonPress", "ButtonRelease"):
                # x, y, the button, the time, the panel's side: the place and the button.
                numbers = re.findall(r"int32 (-?\d+)", message)
                name += "(" + ",".join(numbers[:3]) + ")"
            calls.append(name)
        return calls
