"""Choosing "Mask" and "Settings…" from the menus of Tallyglow's that clicks open."""

import time

from .common import MENU_CALLS, log, masked
from .hosts import CallLog, panel_box
from .pictures import changed_box, grow, inside, part_nearest, text_rows, union
from .session import wait_for
from .x11 import HEIGHT, WIDTH


class MenuChecks:
    """Part of HostRun: a row chosen from each menu, in every start the item shows in."""

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
