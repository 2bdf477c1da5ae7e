"""The summary of the desktop checks, written as each host is done: a row of
the summary table and a section for each host.

build/desktops/README.md (RESULTS) has every section with its pictures beside
it; docs/desktops/README.md (DOCS), kept in git, the same text without them
but for one picture a host, copied there.

    tests/desktops/run PROGRAM [HOST ...]
"""

import os
import re
import shutil
import sys
from datetime import datetime, timezone

from . import rows
from .common import DOCS, RESULTS, TEXT_MONITORS, log
from .hosts import HOSTS
from .measure import HostRun

# The summary's columns; a row written before "figure without hovering" was one
# has a column fewer (rows of hosts not measured again since).
COLUMNS = ["host", "visible in starts", "what shows", "figure without hovering", "left click",
           "right click", "middle click", "Shift-left click", "panel restart"]


def figure_without_hovering(shows, monitor=None):
    """Whether the panel shows the figure as text: as the item's label, or in a text
    monitor running `tallyglow --title` (its name) in every start."""
    if shows == "label":
        return "yes (label)"
    if monitor:
        return f"yes ({monitor})"
    return "no" if shows == "icon only" else ""


def text_monitor(result):
    """The text monitor's name, when it drew the figure and the dots in every start."""
    name = result.settings.get("text-monitor")
    if name and result.attempted and (result.monitor_climbing == result.monitor_masked
                                      == result.attempted):
        return TEXT_MONITORS[name]
    return None


def row_cells(row):
    return [cell.strip() for cell in row.strip()[1:-1].split("|")]


def full_row(row):
    """A summary row with every column, the missing one filled from what shows."""
    cells = row_cells(row)
    if len(cells) == len(COLUMNS) - 1:
        cells.insert(3, figure_without_hovering(cells[2]))
    return "| " + " | ".join(cells) + " |"


def host_section(result):
    lines = [f"## {result.settings['title']}", ""]
    if "note" in result.settings:
        lines += [result.settings["note"], ""]
    if result.failure:
        lines += [f"Not run: {result.failure}.", ""]
        return "\n".join(lines)
    passed = "Every check passed" if result.settings.get("notice") else "Item visible"
    lines.append(f"{passed} in {result.appeared} of {result.attempted} starts"
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
        if "text-monitor" in result.settings:
            name = TEXT_MONITORS[result.settings["text-monitor"]]
            lines.append(f"| the figure in the {name} (`tallyglow --title --format "
                         f"{result.settings['text-monitor']}`) | drawn and climbing in "
                         f"{result.monitor_climbing} of {result.attempted} starts; the dots "
                         f"after a middle click on the item in {result.monitor_masked} of "
                         f"{result.attempted} |")
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
        return f"| {title} | not run: {result.failure} | | | | | | | |"
    cells = result.cells
    if not cells:
        why = result.settings.get("note") or "; ".join(result.notes[:2])
        return f"| {title} | {result.appeared}/{result.attempted} | not seen: {why} | | | | | | |"

    # Where no panel takes the item there is nothing to click.
    untried = "" if result.settings.get("notice") else "not tried"

    def short(key):
        return re.sub(r" \(\[picture\].*", "", cells.get(key, untried))

    return (f"| {title} | {result.appeared}/{result.attempted} | {short('shows')} | "
            f"{figure_without_hovering(cells.get('shows'), text_monitor(result))} | "
            f"{short('left')} | {short('right')} | {short('middle')} | {short('shift-left')} | "
            f"{short('restart')} |")


def main():
    # `run --write-readme`: the summary again, with rows the Wayland checks wrote since.
    if sys.argv[1:] == ["--write-readme"]:
        write_readme(DOCS / "rows")
        return
    program = os.path.abspath(sys.argv[1])
    hosts = sys.argv[2:] or HOSTS
    RESULTS.mkdir(parents=True, exist_ok=True)
    rows_folder = DOCS / "rows"
    for host in hosts:
        log("host", host)
        for old in pictures_of(RESULTS, host):
            old.unlink()
        result = HostRun(host, program)
        result.run()
        rows.write(rows_folder, host, row_cells(summary_row(result)), host_section(result))
        write_readme(rows_folder)
    log("every screenshot and section:", RESULTS / "README.md", "; the summary:",
        DOCS / "README.md")


def system():
    """"Debian 13", from /etc/os-release."""
    fields = {}
    with open("/etc/os-release") as release:
        for line in release.read().splitlines():
            key, _, value = line.partition("=")
            fields[key] = value.strip('"')
    return f"{fields.get('NAME', 'Linux').split()[0]} {fields.get('VERSION_ID', '')}".strip()


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
        f"Written by `make desktops` (tests/desktops/run), last on {stamp}, on {system()}. Every",
        "start is a fresh headless session: Xvfb, a private session bus, a temporary HOME.",
        "Clicks are real X clicks by `xdotool` at the item's place, found by comparing the",
        "panel before and after Tallyglow started. \"What shows\": a label is seen when the",
        "item's pixels change as the figure climbs. Calls are what the panel sent the item",
        "over the bus, recorded by `dbus-monitor`. \"Mask\" is chosen by a click on it",
        "in each menu of Tallyglow's that a left or a right click draws, in every start",
        "the item shows in, \"Settings…\" in the first menu of the first start (without a",
        "window manager its window cannot be closed again). The panel is restarted in",
        "every start the item shows in. \"Figure without hovering\": the item's label, or a",
        "text monitor in the panel that runs `tallyglow --title`, drew the climbing figure,",
        "and the dots after a middle click, in every start.",
        "",
        "| " + " | ".join(COLUMNS) + " |",
        "|" + "---|" * len(COLUMNS),
    ]
    text += [full_row(row.read_text()) for row in rows if row.exists()]
    text.append("")
    text += [section.read_text() for section in sections if section.exists()]
    RESULTS.mkdir(parents=True, exist_ok=True)
    (RESULTS / "README.md").write_text("\n".join(text))
    kept = [keep_picture(name, names) for name in names]
    DOCS.mkdir(parents=True, exist_ok=True)
    (DOCS / "README.md").write_text(summary_text("\n".join(text), kept))


def pictures_of(folder, name, names=HOSTS):
    """A host's pictures in a folder, not those of hosts whose names go on from its
    own (budgie-sntray's are not budgie's)."""
    longer = [other for other in names if other.startswith(name + "-")]
    return sorted(path for path in folder.glob(f"{name}-*.png")
                  if not any(path.name.startswith(other + "-") for other in longer))


def keep_picture(name, names):
    """The one picture of a host kept beside the summary: its panel with the item,
    else the first it took; copied from this run's results, or the one kept before."""
    taken = pictures_of(RESULTS, name, names)
    panel = RESULTS / f"{name}-panel.png"
    picture = panel if panel in taken else (taken[0] if taken else None)
    if picture:
        for old in pictures_of(DOCS, name, names):
            old.unlink()
        shutil.copy(picture, DOCS / picture.name)
        return picture.name
    kept = pictures_of(DOCS, name, names)
    return kept[0].name if kept else None


def summary_text(text, kept):
    """The text without links to pictures, but for those kept."""
    text = re.sub(r" \(\[picture\]\([^)]*\)\)", "", text)
    text = re.sub(r"\[picture\]\([^)]*\); ", "", text)
    text = re.sub(r"!\[[^\]]*\]\(([^)]*)\)\n",
                  lambda link: link.group(0) if link.group(1) in kept else "", text)
    return text.replace(
        "over the bus, recorded by `dbus-monitor`.",
        "over the bus, recorded by `dbus-monitor`. Every screenshot, linked from each\n"
        "host's section, is in the run's results folder, build/desktops/README.md\n"
        "(build/debian13-desktops/ for Debian 13), not kept in git; here one picture a host.", 1)
