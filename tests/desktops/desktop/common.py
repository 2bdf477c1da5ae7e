"""What every part of a host's run shares: where results go, the log, and what a
masked title looks like."""

import os
from pathlib import Path

CHECKOUT = Path(__file__).resolve().parent.parent.parent.parent
# Where the summary goes: docs/desktops, or DESKTOPS_DOCS (relative to the
# checkout), such as docs/desktops/debian13 for the run in a Debian 13 root.
DOCS = CHECKOUT / os.environ.get("DESKTOPS_DOCS", "docs/desktops")
# Where the screenshots, each host's full section and the logs go: an ignored
# folder, build/desktops unless DESKTOPS_RESULTS says another (relative to the
# checkout). Only one picture a host is copied beside the summary.
RESULTS = CHECKOUT / os.environ.get("DESKTOPS_RESULTS", "build/desktops")
# A host about to draw the item's menu asks for it by one of these, or (one that
# keeps the menu it read at the start, as Budgie 10.9) tells it of the opening.
MENU_CALLS = {"AboutToShow", "AboutToShowGroup", "GetLayout", "Event"}
# The text monitors a host may run `tallyglow --title` in (`text-monitor:`), by name.
TEXT_MONITORS = {"genmon": "generic monitor, xfce4-genmon-plugin",
                 "customcommand": "Custom Command, lxqt-panel"}


def log(*words):
    print("desktops:", *words, flush=True)


def masked(text):
    return text is not None and "•" in text
