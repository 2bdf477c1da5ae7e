"""Where no panel takes the item: Tallyglow's one notice, and its "Enable" or "Install" button."""

import re
import time

from .common import log
from .hosts import panel_box
from .pictures import changed_box, column_runs, union
from .session import wait_for
from .x11 import HEIGHT, WIDTH


class NoticeChecks:
    """Part of HostRun: a start in a host that takes no items (`notice: Enable` or `Install`)."""

    def notice_start(self, session, start):
        """No watcher: one notice after 10 s, drawn by the desktop; its button, clicked in
        the banner, has the shell switch the extension on (the item shows) or install it."""
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
        button = self.settings["notice"]
        offered = f'"{button}"' in calls.read_text(errors="replace")
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
        def calls_made(member):
            return f"member={member}" in calls.read_text(errors="replace")

        if button == "Enable":
            answered = wait_for(lambda: calls_made("EnableExtension"), 5)
            shown = wait_for(session.is_registered, 20)
            session.screen.xdotool("mousemove", str(WIDTH // 2), str(HEIGHT // 2))
            time.sleep(4)
            item_image = session.screen.screenshot()
            # The item comes at the bar's right, away from the clock in its middle.
            drawn = [run for run in column_runs(before, item_image, box) if run[0] > WIDTH * 0.6]
            outcome = f"item registered {bool(shown)}, drawn {drawn}"
            done, expected = bool(shown) and bool(drawn), 1
        else:
            # The shell fetches the extension from GNOME's site; with no way out
            # it answers with an error, which Tallyglow tells in one more notice.
            answered = wait_for(lambda: calls_made("InstallRemoteExtension"), 5)
            wait_for(lambda: notices() >= 2, 30, step=0.1)
            done = "was not installed" in calls.read_text(errors="replace")
            time.sleep(1)
            item_image = session.screen.screenshot()
            outcome, expected = f"failure told {done}", 2
        time.sleep(5)  # any further notice would have come by now
        count = notices()
        passed = (9.5 <= after <= 15 and count == expected and offered and bool(banner)
                  and bool(answered) and done)
        self.appeared += passed
        log(self.host, f"start {start}: notice after {after:.1f} s, {count} notice(s), "
            f"{button} offered {offered}, banner {banner}, clicked {clicked}, "
            f"shell called {bool(answered)}, {outcome}")
        if not passed:
            self.notes.append(
                f"start {start}: notice after {after:.1f} s; {count} notice(s); \"{button}\" "
                f"offered: {offered}; banner drawn: {bool(banner)}; the shell was asked: "
                f"{bool(answered)}; {outcome}")
        if passed and "shows" not in self.cells:
            self.picture(banner_image, union(banner, box), "notice", "the notice, as GNOME Shell draws it")
            self.picture(pointed, union(unfolded, box), f"notice-{button.lower()}",
                         f"pointing at its \"{button}\" button")
            if button == "Enable":
                self.picture(item_image, box, "panel-after-enable",
                             "the top bar after \"Enable\": the item with the figure")
            else:
                told = changed_box(before, item_image, leaving_out=box) or (0, 0, WIDTH, HEIGHT)
                self.picture(item_image, told, "notice-install-failed", "the refusal, told")
            self.cells["shows"] = (
                f"one notice, {after:.1f} s after the start, drawn by GNOME Shell; \"{button}\" "
                "clicked in its banner " + ("switched the extension on, and the item showed "
                                            "with the figure" if button == "Enable" else
                                            "asked the shell to install it; its refusal was told "
                                            "in one more notice"))
