"""What hovering and each click on the item do, in the first start it shows in."""

import time

from .common import MENU_CALLS, log, masked
from .hosts import CallLog, panel_box
from .pictures import changed_box, grow, inside, union
from .x11 import HEIGHT, WIDTH


class ClickChecks:
    """Part of HostRun: the item's place, what shows, the tooltip and the clicks."""

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
