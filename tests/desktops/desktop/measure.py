"""What is measured in one host: whether the item shows, in how many fresh
starts, and what hovering, clicks (clicks.py), its menu (menus.py), a panel
restart, or where no panel takes the item its notice (notice.py) do."""

import os
import shutil
import time
from datetime import datetime
from pathlib import Path

from .clicks import ClickChecks
from .common import CHECKOUT, RESULTS, log, masked
from .hosts import HostSession, host_settings, panel_box
from .menus import MenuChecks
from .notice import NoticeChecks
from .pictures import changed_box, changed_share, grow, new_runs
from .session import wait_for
from .x11 import HEIGHT, WIDTH

# Overrides every host's own count, for a quick look.
ONLY_STARTS = os.environ.get("DESKTOPS_ONLY_STARTS")


class HostRun(NoticeChecks, ClickChecks, MenuChecks):
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
        # Starts in which the text monitor drew the climbing figure, and the dots
        # after a middle click on the item.
        self.monitor_climbing = 0
        self.monitor_masked = 0
        self.monitor_pictures = False
        # Over every start the item showed in: whether "Mask" worked, by the menu's
        # side, and how long the item took to come back after a panel restart.
        self.mask_tries = {}
        self.restarts = []

    def picture(self, image, box, name, caption):
        path = RESULTS / f"{self.host}-{name}.png"
        image.crop(grow(box, 6)).save(path)
        self.pictures.append((path.name, caption))
        return path.name

    def run(self):
        # A command, or a file such as a panel's plug-in.
        needed = self.settings.get("needs", "true").split()[0]
        if not (shutil.which(needed) or Path(needed).exists()):
            self.failure = f"not installed: {self.settings.get('needs')}"
            return
        measured = False
        for start in range(1, self.starts + 1):
            session = HostSession(self.host, self.settings, self.program)
            try:
                session.start()
                if self.settings.get("notice"):
                    self.notice_start(session, start)
                    continue
                visible = self.one_start(session, start)
                if visible and not measured:
                    self.measure(session)
                    measured = True
                elif visible:
                    self.check_again(session)
            except Exception as error:  # keep the next host going, and say what broke
                self.notes.append(f"start {start}: the run broke: {error!r}")
                log(self.host, "start", start, "broke:", repr(error))
            finally:
                keep = CHECKOUT / "build" / "desktops-logs" / f"{self.host}-{start}"
                shutil.rmtree(keep, ignore_errors=True)
                keep.mkdir(parents=True, exist_ok=True)
                for log_file in session.folder.glob("*.log"):
                    shutil.copy(log_file, keep)
                session.stop()
        self.write_repeated_cells()

    def one_start(self, session, start):
        box = panel_box(self.settings)
        if not session.has_name(self.settings["watcher"]):
            wait = self.settings["watcher-wait"]
            self.notes.append(f"start {start}: no StatusNotifierWatcher on the bus within {wait} s")
            self.attempted += 1
            if start == 1:
                self.picture(session.screen.screenshot(), panel_box(self.settings), "panel",
                             "the panel, with no StatusNotifierWatcher")
            return False
        # A clock turning over between the two pictures would look like our item.
        if datetime.now().second > 50:
            time.sleep(61 - datetime.now().second)
        before = session.screen.screenshot()
        session.start_item()
        self.attempted += 1
        registered = wait_for(session.is_registered, 10)
        time.sleep(5)  # a host that drops the item does so within a second or two
        still = session.is_registered()
        after = session.screen.screenshot()
        runs = new_runs(before, after, box)
        monitor = None
        if "text-monitor" in self.settings:
            # The monitor's text comes with Tallyglow too; the item is elsewhere.
            monitor = session.text_monitor_box(runs)
            if monitor:
                runs = [run for run in runs
                        if not (monitor[0] - 2 <= run[0] and run[1] <= monitor[2] + 2)]
        visible = bool(runs) and still
        if registered and not still:
            self.drops += 1
        log(self.host, f"start {start}: registered={bool(registered)} still={still} runs={runs}"
            + (f" text monitor={monitor}" if monitor else ""))
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
        session.before_item = before
        session.runs = runs
        if "text-monitor" in self.settings:
            self.check_text_monitor(session, start, runs, before, monitor)
        return True

    def check_text_monitor(self, session, start, runs, before, monitor):
        """The figure as text in the panel's monitor: climbing, then the dots after a
        middle click on the item, then climbing again after another."""
        if not monitor:
            self.notes.append(f"start {start}: no window of the text monitor found")
            return
        panel = panel_box(self.settings)
        # The widest run is the item, as for the clicks (item_place).
        left, right = max(runs, key=lambda run: run[1] - run[0])
        x, y = (left + right) // 2, (panel[1] + panel[3]) // 2
        session.screen.xdotool("mousemove", "5", str(HEIGHT // 2))
        # The monitor's text may have grown since it was found: the space up to the item.
        area = (monitor[0], panel[1], left - 2, panel[3])
        first = session.screen.screenshot()
        time.sleep(2.5)
        second = session.screen.screenshot()
        climbing = bool(changed_box(first, second, area))
        session.screen.point_at(x, y)
        session.screen.click("2")
        label_masked = wait_for(lambda: masked(session.label()), 3)
        session.screen.xdotool("mousemove", "5", str(HEIGHT // 2))
        time.sleep(2)  # the monitor runs its command each second
        hidden = session.screen.screenshot()
        time.sleep(2.5)
        hidden_later = session.screen.screenshot()
        # The dots: drawn (not the empty monitor of before), unlike the figure, and still.
        dots = (bool(label_masked) and bool(changed_box(before, hidden, area))
                and bool(changed_box(second, hidden, area))
                and not changed_box(hidden, hidden_later, area))
        session.screen.point_at(x, y)
        session.screen.click("2")
        wait_for(lambda: not masked(session.label()), 3)
        session.screen.xdotool("mousemove", "5", str(HEIGHT // 2))
        time.sleep(2)
        again = session.screen.screenshot()
        time.sleep(2.5)
        climbing_again = bool(changed_box(again, session.screen.screenshot(), area))
        self.monitor_climbing += climbing and climbing_again
        self.monitor_masked += dots
        log(self.host, f"start {start}: text monitor at {monitor}: climbing={climbing} "
            f"masked={dots} climbing again={climbing_again}")
        if not (climbing and dots and climbing_again):
            self.notes.append(f"start {start}: the text monitor: climbing {climbing}, the dots "
                              f"after a middle click {dots}, climbing again {climbing_again}")
        if not self.monitor_pictures:
            close = grow((monitor[0], panel[1], right, panel[3]), 20, panel)
            self.picture(second, close, "monitor", "the text monitor and the item")
            self.picture(hidden, close, "monitor-masked",
                         "the text monitor and the item after a middle click on the item")
            self.monitor_pictures = True

    def write_repeated_cells(self):
        """"Mask" and the restart cells over all the starts, with the first one's picture."""

        def picture(text):
            return text[text.index(" ([picture]"):] if " ([picture]" in text else ""

        if "Mask" in self.cells and self.mask_tries:
            self.cells["Mask"] = "; ".join(
                f"{side}-click menu: works in {sum(tries)} of {len(tries)} starts{picture(part)}"
                for part, (side, tries) in zip(self.cells["Mask"].split("; "),
                                               self.mask_tries.items()))
        if self.restarts and "restart" in self.cells:
            times = sorted((f"{taken:.1f}" for came_back, taken in self.restarts if came_back),
                           key=float)
            span = f"{times[0]}-{times[-1]}" if times and times[0] != times[-1] else "".join(times[:1])
            self.cells["restart"] = (
                f"back in {len(times)} of {len(self.restarts)} starts" +
                (f", after {span} s" if times else ", not within 30 s")
                + picture(self.cells["restart"]))

    def restart_panel(self, session):
        started = time.monotonic()
        session.restart_panel()
        box = panel_box(self.settings)
        before = session.before_item

        def back():
            if not session.is_registered():
                return False
            now = session.screen.screenshot()
            # The panel is drawn again (as before the item came, but for a clock) and
            # the item's place is no longer as it was without it.
            panel_again = changed_share(before, now, box, leaving_out=session.item_box) < 0.05
            return panel_again and bool(changed_box(before, now, session.item_box))

        came_back = wait_for(back, 30, step=0.25)
        taken = time.monotonic() - started
        self.restarts.append((bool(came_back), taken))
        if "restart" in self.cells:
            log(self.host, "restart again:", f"back after {taken:.1f} s" if came_back else
                "not back within 30 s")
            return
        time.sleep(1)
        shown = self.picture(session.screen.screenshot(), box, "after-restart",
                             "after a panel restart")
        self.cells["restart"] = (f"back after {taken:.1f} s" if came_back else
                                 "not back within 30 s") + f" ([picture]({shown}))"
        log(self.host, "restart:", self.cells["restart"])
