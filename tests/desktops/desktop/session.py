"""A private session: temporary HOME and XDG folders, a headless X server
(Xvfb -displayfd) if asked, a session bus of its own and, if asked, an empty
stand-in for the system bus. Nothing touches the desktop this runs in.

Every desktop check starts its sessions this way: tests/desktops/run through
PrivateSession, the bash scripts (and scripts/run-tallyglow) through
tests/desktops/private-session, which runs a command in one:

    tests/desktops/private-session [--name NAME] [--screen WIDTHxHEIGHT]
        [--desktop NAME] [--system-bus stand-in|none] [--keep always|failed]
        -- COMMAND [ARGUMENT ...]

The command finds the session's folder in PRIVATE_SESSION_FOLDER. Without
--screen the command brings its own (Wayland) display. Afterwards everything
the session started is stopped and its folder removed, unless --keep says to
keep it (for its logs) always or when the command failed.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

# The one configuration of the stand-in system bus.
SYSTEM_BUS_CONFIGURATION = Path(__file__).resolve().parent.parent / "system-bus.conf"
# What the desktop this runs in hands down, which the session must not see.
OUTSIDE = ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER",
           "XAUTHORITY", "DESKTOP_SESSION", "XDG_CURRENT_DESKTOP", "XDG_SESSION_TYPE")
FOLDERS = {"HOME": "home", "XDG_CONFIG_HOME": "config", "XDG_CACHE_HOME": "cache",
           "XDG_DATA_HOME": "data", "XDG_STATE_HOME": "state", "XDG_RUNTIME_DIR": "runtime"}


class PrivateSession:
    """screen: (width, height) for an X server, or None. system_bus: "stand-in"
    for an empty bus of its own, "none" for no system bus at all, None for the
    machine's. environment: more variables for everything in the session, the
    services its buses start included."""

    def __init__(self, name, screen=None, desktop=None, system_bus=None, environment=None):
        self.folder = Path(tempfile.mkdtemp(prefix=f"tallyglow-{name}-"))
        self.screen_size = screen
        self.desktop = desktop
        self.system_bus = system_bus
        self.environment = dict(environment or {})
        self.processes = []
        self.x_server = None
        self.bus_pids = []

    def start(self):
        folder = self.folder
        for name in FOLDERS.values():
            (folder / name).mkdir(mode=0o700)
        env = {key: value for key, value in os.environ.items() if key not in OUTSIDE}
        env.update({variable: str(folder / name) for variable, name in FOLDERS.items()})
        # What the session's buses start stays in it too: no accessibility bus,
        # no FUSE mounts of gvfs.
        env.update(NO_AT_BRIDGE="1", GVFS_DISABLE_FUSE="1", PRIVATE_SESSION_FOLDER=str(folder),
                   XDG_SESSION_TYPE="x11" if self.screen_size else "wayland")
        if self.desktop:
            env["XDG_CURRENT_DESKTOP"] = self.desktop
        env.update(self.environment)
        if self.screen_size:
            read_end, write_end = os.pipe()
            self.x_server = self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                        "%dx%dx24" % self.screen_size, "-nolisten", "tcp"],
                                       env, "xvfb.log", pass_fds=(write_end,))
            # It stops last, after everything that draws on it.
            self.processes.remove(self.x_server)
            os.close(write_end)
            with os.fdopen(read_end) as display:
                env["DISPLAY"] = ":" + display.readline().strip()
        env["DBUS_SESSION_BUS_ADDRESS"] = self.start_bus(
            ["--session", f"--address=unix:path={folder / 'runtime' / 'bus'}"], env)
        if self.system_bus == "stand-in":
            # Empty: the host finds no logind, no accounts service, as in a
            # container; it must not reach the machine's own.
            env["DBUS_SYSTEM_BUS_ADDRESS"] = self.start_bus(
                [f"--config-file={SYSTEM_BUS_CONFIGURATION}",
                 f"--address=unix:path={folder / 'runtime' / 'system-bus'}"], env)
        elif self.system_bus == "none":
            env["DBUS_SYSTEM_BUS_ADDRESS"] = f"unix:path={folder / 'runtime' / 'no-system-bus'}"
        self.environment = env

    def start_bus(self, options, env):
        address, pid = subprocess.run(
            ["dbus-daemon", *options, "--fork", "--print-address=1", "--print-pid=1"],
            env=env, capture_output=True, text=True, check=True).stdout.split()
        self.bus_pids.append(int(pid))
        return address

    def spawn(self, command, env, log_name, pass_fds=()):
        """Starts a process of the session in a group of its own, its output in a log."""
        process = subprocess.Popen(
            command, env=env, stdin=subprocess.DEVNULL,
            stdout=open(self.folder / log_name, "ab"), stderr=subprocess.STDOUT,
            start_new_session=True, pass_fds=pass_fds)
        self.processes.append(process)
        return process

    def stop(self, keep=False):
        for process in reversed(self.processes):
            stop_group(process)
        self.processes = []
        # What else was started for the session (by a command run in it, or by
        # its buses: settings daemons and the like) still names the session's
        # folder in its environment.
        ours = set(self.bus_pids) | {self.x_server.pid if self.x_server else None}
        terminate([pid for pid in processes_of(self.folder) if pid not in ours])
        if self.x_server:
            stop_group(self.x_server)
        terminate(self.bus_pids)
        for mount in Path("/proc/mounts").read_text().splitlines():
            point = mount.split()[1]
            if point.startswith(str(self.folder)):
                subprocess.run(["fusermount", "-u", "-z", point], capture_output=True)
        if not keep:
            shutil.rmtree(self.folder, ignore_errors=True)


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


def terminate(pids, seconds=2):
    """Asks the processes to end, and gives them a moment to."""
    for pid in pids:
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
    wait_for(lambda: not any(Path(f"/proc/{pid}").exists() for pid in pids), seconds, step=0.1)


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


def main():
    parser = argparse.ArgumentParser(prog="private-session",
                                     description="Runs a command in a private session.")
    parser.add_argument("--name", default="session", help="part of the folder's name")
    parser.add_argument("--screen", help="WIDTHxHEIGHT of a headless X server")
    parser.add_argument("--desktop", help="XDG_CURRENT_DESKTOP")
    parser.add_argument("--system-bus", choices=["stand-in", "none"])
    parser.add_argument("--keep", choices=["always", "failed"])
    parser.add_argument("command", nargs="+")
    arguments = parser.parse_args()
    screen = tuple(int(size) for size in arguments.screen.split("x")) if arguments.screen else None
    session = PrivateSession(arguments.name, screen, arguments.desktop, arguments.system_bus)
    status = 1
    try:
        session.start()
        command = subprocess.Popen(arguments.command, env=session.environment)
        # Ctrl-C reaches the command as well; it stops first, then the session.
        signal.signal(signal.SIGINT, lambda number, frame: None)
        signal.signal(signal.SIGTERM, lambda number, frame: command.terminate())
        status = command.wait()
    finally:
        session.stop(keep=arguments.keep == "always" or (arguments.keep == "failed" and status))
    sys.exit(status if status >= 0 else 128 - status)
