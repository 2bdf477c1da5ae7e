"""A host's row of the summary table and its section: the one way every check
reports what it saw, the runner's hosts and the Wayland scripts alike.

    rows/NAME.row   one row of the summary table
    rows/NAME.md    the host's section, linking its pictures by file name

The Wayland scripts (sway-waybar, gnome-wayland) report through
tests/desktops/report-sessions, which counts their sessions here too:

    tests/desktops/report-sessions ROWS PICTURES SCRIPT CHECKS NAME TITLE [TEXT-CHECK TEXT]

ROWS is the rows folder, PICTURES the folder of the session's screenshots,
SCRIPT the check's name under tests/desktops/, CHECKS the file of "ok:"/"FAIL:" lines the session printed; a check whose
description contains TEXT-CHECK, passed in every session, fills the column
"figure without hovering" with TEXT.
"""

import re
import sys
from datetime import datetime, timezone
from pathlib import Path


def write(rows, name, cells, section):
    """The row, from its cells, and the section."""
    rows.mkdir(parents=True, exist_ok=True)
    (rows / f"{name}.row").write_text("| " + " | ".join(cells) + " |\n")
    (rows / f"{name}.md").write_text(section)


def session_line(checks, stamp):
    """One session: how many checks passed, which failed, how early casts were masked."""
    passed = len(re.findall(r"^ok:", checks, re.M))
    failed = [line[len("FAIL:"):].strip() for line in checks.splitlines()
              if line.startswith("FAIL:")]
    leads = [float(seconds) * 1000
             for seconds in re.findall(r"mask ([0-9.]+) s before the first frame", checks)]
    late = len(re.findall(r"mask [0-9.]+ s AFTER the first frame", checks))
    line = f"{stamp}: {passed} of {passed + len(failed)} checks passed"
    if leads:
        line += (f"; {len(leads)} casts masked {min(leads):.0f}-{max(leads):.0f} ms before "
                 "their first frame")
        if late:
            line += f", {late} masked only after it"
    elif late:
        line += f"; {late} casts masked only after their first frame"
    if failed:
        line += "; failed: " + "; ".join(failed)
    return line


def report_sessions(rows, pictures, script, name, title, checks, text_check=None, text=""):
    """Adds this session to rows/NAME.sessions and writes the row over all of them."""
    rows.mkdir(parents=True, exist_ok=True)
    sessions_file = rows / f"{name}.sessions"
    stamp = datetime.now(timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    with sessions_file.open("a") as sessions:
        sessions.write(session_line(checks, stamp) + "\n")
    sessions = sessions_file.read_text().splitlines()
    clean = sum("failed:" not in line for line in sessions)
    cells = [title, f"{clean}/{len(sessions)} sessions with every check passed", "see below"]
    if text_check:
        failed_text = any(re.search("failed:.*" + re.escape(text_check), line)
                          for line in sessions)
        cells.append("no" if failed_text else text)
    else:
        cells.append("")
    cells += [""] * 5
    section = [f"## {title}", "", f"Sessions checked by `tests/desktops/{script}`:", ""]
    section += [f"- {line}" for line in sessions]
    section += ["", "What the last one printed:", "", "```", checks.rstrip("\n"), "```", ""]
    section += [f"![{path.stem}]({path.name})" for path in sorted(pictures.glob(f"{name}-*.png"))]
    write(rows, name, cells, "\n".join(section) + "\n\n")


def main():
    arguments = sys.argv[1:]
    if len(arguments) not in (6, 8):
        sys.exit(__doc__)
    rows, pictures, script, checks, name, title = arguments[:6]
    report_sessions(Path(rows), Path(pictures), script, name, title, Path(checks).read_text(),
                    *arguments[6:])
