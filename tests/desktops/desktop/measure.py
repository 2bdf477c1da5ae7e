"""What is measured in one host: whether the item shows, in how many fresh
starts, and what hovering, clicks, its menu and a panel restart do."""

import os
import re
import shutil
import time
from datetime import datetime
from pathlib import Path

from .hosts import CallLog, HostSession, host_settings, panel_box
from .pictures import (changed_box, changed_share, column_runs, grow, inside, new_runs,
                       part_nearest, text_rows, union)
from .session import wait_for
from .x11 import HEIGHT, WIDTH

CHECKOUT = Path(__file__).resolve().parent.parent.parent.parent
# Where the results go: docs/desktops, or DESKTOPS_DOCS (relative to the checkout),
# such as docs/desktops/debian13 for the run in a Debian 13 root.
DOCS = CHECKOUT / os.environ.get("DESKTOPS_DOCS", "docs/desktops")
# A host about to draw the item's menu asks for it by one of these, or (one that
# keeps the menu it read at the start, as Budgie 10.9) tells it of the opening.
MENU_CALLS = {"AboutToShow", "AboutToShowGroup", "GetLayout", "Event"}
# The text monitors a host may run `tallyglow --title` in (`text-monitor:`), by name.
TEXT_MONITORS = {"genmon": "generic monitor, xfce4-genmon-plugin"}
# Overrides every host's own count, for a quick look.
ONLY_STARTS = os.environ.get("DESKTOPS_ONLY_STARTS")


def log(*words):
    print("desktops:", *words, flush=True)


def masked(text):
    return text is not None and "•" in text


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
        path = DOCS / f"{self.host}-{name}.png"
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
                if self.settings.get("notice") == "yes":
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
        if not session.has_name("org.kde.StatusNotifierWatcher"):
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
            monitor = session.text_monitor_box()
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

    # --- where no panel takes the item: the notice -----------------------

    def notice_start(self, session, start):
        """No watcher: one notice after 10 s, drawn by the desktop; its "Enable" button,
        clicked in the banner, has the shell switch the extension on, and the item shows."""
        box = panel_box(self.settings)
        if not wait_for(lambda: session.has_name("org.freedesktop.Notifications"), 90):
            self.notes.append(f"start {start}: no notification service on the bus within 90 s")
            self.attempted += 1
            return
        time.sleep(float(self.settings["settle"]))
        # The shell's own banner for a root session stays while no one moves the
        # pointer, and banners come one at a time: a user moves it, and it goes.
        for step in range(12):
            session.screen.xdotool("mousemove", str(300 + 40 * (step % 2)), str(HEIGHT // 2))
            time.sleep(1)
        session.wait_until_still()
        calls = session.folder / "notices.log"
        session.spawn(["dbus-monitor",
                       "type='method_call',interface='org.freedesktop.Notifications',"
                       "member='Notify'",
                       "type='method_call',interface='org.gnome.Shell.Extensions'"],
                      session.environment, "notices.log")
        time.sleep(0.5)
        before = session.screen.screenshot()
        started = time.monotonic()
        session.start_item()
        self.attempted += 1

        def notices():
            # From Tallyglow to the service's name; the shell passes each on inside itself.
            return len(re.findall(r"destination=org.freedesktop.Notifications .*member=Notify\b",
                                  calls.read_text(errors="replace")))

        wait_for(notices, 20, step=0.1)
        after = time.monotonic() - started
        time.sleep(2)
        banner_image = session.screen.screenshot()
        banner = changed_box(before, banner_image, leaving_out=box)
        text = calls.read_text(errors="replace")
        offers_enable = '"Enable"' in text
        # Pointing at the banner unfolds it to show its button, at its foot.
        clicked = False
        if not banner and start == 1:
            self.picture(banner_image, (0, 0, WIDTH, HEIGHT), "screen", "no banner: the screen")
        if banner:
            session.screen.point_at((banner[0] + banner[2]) // 2, (banner[1] + banner[3]) // 2)
            time.sleep(1.5)
            unfolded_image = session.screen.screenshot()
            unfolded = changed_box(before, unfolded_image, leaving_out=box) or banner
            session.screen.xdotool("mousemove", str((unfolded[0] + unfolded[2]) // 2),
                                   str(unfolded[3] - 16))
            time.sleep(0.6)
            pointed = session.screen.screenshot()
            session.screen.click("1")
            clicked = True
        enabled = wait_for(lambda: "member=EnableExtension" in calls.read_text(errors="replace"),
                           5)
        shown = wait_for(session.is_registered, 20)
        session.screen.xdotool("mousemove", str(WIDTH // 2), str(HEIGHT // 2))
        time.sleep(4)
        item_image = session.screen.screenshot()
        # The item comes at the bar's right, away from the clock in its middle.
        drawn = [run for run in column_runs(before, item_image, box) if run[0] > WIDTH * 0.6]
        time.sleep(5)  # any second notice would have come by now
        count = notices()
        passed = (9.5 <= after <= 15 and count == 1 and offers_enable and bool(banner)
                  and bool(enabled) and bool(shown) and bool(drawn))
        self.appeared += passed
        log(self.host, f"start {start}: notice after {after:.1f} s, {count} notice(s), "
            f"Enable offered {offers_enable}, banner {banner}, clicked {clicked}, "
            f"EnableExtension {bool(enabled)}, item registered {bool(shown)}, drawn {drawn}")
        if not passed:
            self.notes.append(
                f"start {start}: notice after {after:.1f} s; {count} notice(s); \"Enable\" "
                f"offered: {offers_enable}; banner drawn: {bool(banner)}; the shell asked to "
                f"enable the extension: {bool(enabled)}; item then registered: {bool(shown)}, "
                f"drawn: {bool(drawn)}")
        if passed and "shows" not in self.cells:
            self.picture(banner_image, union(banner, box), "notice", "the notice, as GNOME Shell draws it")
            self.picture(pointed, union(unfolded, box), "notice-enable",
                         "pointing at its \"Enable\" button")
            self.picture(item_image, box, "panel-after-enable",
                         "the top bar after \"Enable\": the item with the figure")
            self.cells["shows"] = (f"one notice, {after:.1f} s after the start, drawn by GNOME "
                                   "Shell; \"Enable\" clicked in its banner switched the extension "
                                   "on, and the item showed with the figure")

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
        session.screen.xdotool("mousemove", "5", str(HEIGHT // 2))
        time.sleep(1)

        # What shows: a label changes on screen as the figure climbs; an icon does not.
        first = session.screen.screenshot()
        time.sleep(2.5)
        second = session.screen.screenshot()
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
        session.screen.xdotool("key", "Escape")
        time.sleep(0.4)
        session.screen.xdotool("mousemove", str(WIDTH // 2), str(HEIGHT // 2 + 150), "click",
                               "1")
        time.sleep(0.4)
        session.screen.xdotool("key", "Escape")
        session.screen.xdotool("mousemove", "5", str(HEIGHT // 2))
        time.sleep(0.8)

    def near_item(self, session):
        """Off the panel, next to the item: where a tooltip is drawn. The panel itself
        changes on hover too (a highlight, the label climbing)."""
        left, top, right, bottom = session.item_box
        if top == 0:
            return (max(0, left - 250), bottom, min(WIDTH, right + 250), min(HEIGHT, bottom + 120))
        return (max(0, left - 250), max(0, top - 120), min(WIDTH, right + 250), top)

    def hover(self, session, x, y, name, caption, expect_masked=False):
        session.screen.xdotool("mousemove", "5", str(HEIGHT // 2))
        time.sleep(0.8)
        resting = session.screen.screenshot()
        session.screen.point_at(x, y)
        time.sleep(2.5)
        shown = session.screen.screenshot()
        bus_title = session.tooltip_title()
        # A tooltip is drawn next to the item; whatever else changed is something else.
        near = self.near_item(session)
        box = changed_box(resting, shown, near, leaving_out=session.item_box)
        tooltip_box = union(box, session.item_box) if box else None
        if not box:
            session.screen.xdotool("mousemove", "5", str(HEIGHT // 2))
            time.sleep(0.5)
            return f"no tooltip drawn (ToolTip over the bus: `{bus_title}`)"
        if not expect_masked:
            session.tooltip_box = box
        picture = self.picture(shown, tooltip_box, name, caption)
        time.sleep(2.5)
        later = session.screen.screenshot()
        follows = changed_box(shown, later, box, leaving_out=session.item_box)
        self.picture(later, tooltip_box, name + "-later", caption + ", 2.5 s later")
        session.screen.xdotool("mousemove", "5", str(HEIGHT // 2))
        time.sleep(0.5)
        text = f"drawn ([picture]({picture})); ToolTip over the bus: `{bus_title}`"
        if not expect_masked:
            text += "; it follows the figure while open" if follows else \
                    "; it does not change while open"
        return text

    def click(self, session, calls, x, y, button, name):
        self.close_everything(session)
        label_before = session.label()
        before = session.screen.screenshot()
        calls.since_last()
        session.screen.point_at(x, y)
        time.sleep(0.6)
        session.screen.click(button)
        time.sleep(1.5)
        after = session.screen.screenshot()
        label_after = session.label()
        windows = session.item_windows()
        received = calls.since_last()
        panel = panel_box(self.settings)
        drawn = changed_box(before, after)
        # A menu holds three rows at least; a tooltip is lower than that.
        beyond = changed_box(before, after, leaving_out=panel)
        outside_panel = (bool(beyond) and beyond[3] - beyond[1] > 55
                         and not self.is_tooltip(session, beyond))
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
            session.screen.point_at(x, y)
            time.sleep(0.4)
            session.screen.click(button)
            time.sleep(1.2)
            if masked(session.label()):
                self.notes.append(f"{name} click: a second one did not show the figure again")
        self.close_everything(session)
        return f"{summary} ([picture]({shown}); calls: {calls_text})"

    def is_tooltip(self, session, box):
        """Whether a change is only the host's tooltip where hovering drew it (some are
        as tall as a menu). Its text may be a little narrower while masked."""
        tooltip = getattr(session, "tooltip_box", None)
        return bool(tooltip) and inside(box, grow(tooltip, 10))

    def masked_tooltip(self, session, calls, x, y):
        """Masks by middle click, hovers, and shows the figure again."""
        self.close_everything(session)
        session.screen.point_at(x, y)
        session.screen.xdotool("click", "2")
        time.sleep(1.2)
        if not masked(session.label()):
            return "could not mask by middle click to look"
        tooltip = self.hover(session, x, y, "tooltip-masked", "hovering while masked",
                             expect_masked=True)
        self.picture(session.screen.screenshot(),
                     grow(session.item_box, 40, panel_box(self.settings)),
                     "item-masked", "the item while masked")
        session.screen.point_at(x, y)
        session.screen.xdotool("click", "2")
        time.sleep(1.2)
        self.close_everything(session)
        return tooltip

    def open_menu(self, session, calls, x, y, button):
        """Clicks the item; the picture and the place of the menu of ours it drew, if any."""
        self.close_everything(session)
        before = session.screen.screenshot()
        calls.since_last()
        session.screen.point_at(x, y)
        session.screen.xdotool("click", button)
        time.sleep(1.5)
        after = session.screen.screenshot()
        received = set(calls.since_last())
        windows = session.item_windows()
        drawn = changed_box(before, after)
        tooltip = getattr(session, "tooltip_box", None)
        if (drawn and tooltip and not self.is_tooltip(session, drawn)
                and inside(tooltip, grow(drawn, 4))):
            # The host's tooltip stayed over the menu. Pointing at the tooltip clears
            # it, as it does for a user on the way to the menu; the menu stays open.
            session.screen.xdotool("mousemove", str(tooltip[0] + 6),
                                   str((tooltip[1] + tooltip[3]) // 2))
            time.sleep(0.8)
            after = session.screen.screenshot()
            drawn = changed_box(before, after)
        ours = "(menu)" in windows or MENU_CALLS & received
        if not (drawn and not inside(drawn, grow(panel_box(self.settings), 2)) and ours):
            return None, None
        own_menu = session.item_menu_box()
        if own_menu:
            # Our menu opens at the pointer, over the panel's edge: its window says
            # where its rows are, where cutting the panel away would lose the first.
            # A host's tooltip may stay over it while the pointer rests on the item
            # (Budgie 10.9): the pointer moves off beside the menu first, as a hand
            # on its way to a row leaves the item.
            beside = own_menu[0] - 30 if own_menu[0] >= 40 else own_menu[2] + 30
            session.screen.glide_to(beside, (own_menu[1] + own_menu[3]) // 2)
            time.sleep(0.8)
            return session.screen.screenshot(), own_menu
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
        session.screen.glide_to((left + right) // 2, (top + bottom) // 2)
        time.sleep(0.5)
        pointed = session.screen.screenshot()
        session.screen.xdotool("click", "1")
        worked = wait_for(check, 4)
        time.sleep(0.8)
        after = session.screen.screenshot()
        return ("works" if worked else "did nothing"), (image, menu, pointed, after)

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
            self.mask_tries[side] = [result.startswith("works")]
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
        for window in session.screen.xdotool("search", "--name", "Tallyglow Settings").split():
            session.screen.xdotool("windowunmap", window)

    def check_again(self, session):
        """A later start: "Mask" once more from each menu of ours, and a panel restart."""
        x, y, session.item_box = self.item_place(session)
        calls = CallLog(session)
        for button, side in (("1", "left"), ("3", "right")):
            if side not in self.mask_tries:
                continue
            result, pictures = self.choose(session, calls, x, y, button, 0,
                                           lambda: masked(session.label()))
            if pictures and result != "works":
                # What the pointer was on when the click did nothing, for the report.
                image, menu, pointed, after = pictures
                self.picture(pointed, union(menu, session.item_box),
                             f"choosing-mask-{side}-start-{len(self.mask_tries[side]) + 1}",
                             f"pointing at Mask in the {side}-click menu, where it did nothing")
            self.mask_tries[side].append(result == "works")
            log(self.host, "chose Mask from the", side, "click menu again:", result)
            if masked(session.label()):
                self.choose(session, calls, x, y, button, 0, lambda: not masked(session.label()))
            self.close_everything(session)
        self.restart_panel(session)

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
