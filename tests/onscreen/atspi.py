# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A private desktop on which a screen reader's view of Jabbly can be checked.

Desktop() starts, each in a session of its own so that everything it spawns can be ended:
Xvfb (or, with wayland=True, a headless weston), a D-Bus session bus, the accessibility bus
launcher (which starts the AT-SPI bus and registry), and then the built program from a
temporary copy of its folder, with a private HOME and XDG folders. Leaving the `with` block
ends all of it. Every wait polls for the awaited state and gives up after a bound.

The AT-SPI client side is the one screen readers use (libatspi through GObject
introspection, as Orca does). A missing tool is a failure with a message that names the
Debian package, never a skip.
"""

import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# How long any one awaited state may take to come about on a loaded machine.
PATIENCE = float(os.environ.get("JABBLY_ONSCREEN_PATIENCE", "60"))

PROGRAM_FILES = ("jabbly", "libRowkit.so", "libSayline.so", "cpu.txt", "jabbly.chm")


class Failure(Exception):
    """Something the check needs is missing or did not happen."""


def fail(message):
    raise Failure(message)


def need_tool(name, package, folders=()):
    for folder in folders:
        candidate = os.path.join(folder, name)
        if os.access(candidate, os.X_OK):
            return candidate
    found = shutil.which(name)
    if not found:
        fail(f"{name} is not installed (Debian package {package}; scripts/install-deps.sh installs it)")
    return found


def import_atspi():
    try:
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi, GLib
    except (ImportError, ValueError) as error:
        fail(f"the AT-SPI client library cannot be loaded ({error}); "
             "install python3-gi and gir1.2-atspi-2.0 (python3-pyatspi brings both)")
    return Atspi, GLib


def wait_for(what, condition, pump=None, patience=PATIENCE):
    """Polls `condition` until it gives a true value, which is returned."""
    deadline = time.monotonic() + patience
    while True:
        if pump:
            pump()
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            fail(f"gave up after {patience:.0f} s waiting for {what}")
        time.sleep(0.05)


def read_line(process, what, patience=PATIENCE):
    """The first line a freshly started process writes to its stdout."""
    deadline = time.monotonic() + patience
    data = b""
    while b"\n" not in data:
        left = deadline - time.monotonic()
        if left <= 0:
            fail(f"gave up waiting for {what}")
        ready, _, _ = select.select([process.stdout], [], [], left)
        if ready:
            chunk = os.read(process.stdout.fileno(), 4096)
            if not chunk:
                fail(f"{what}: the process ended (exit code {process.poll()})")
            data += chunk
    return data.split(b"\n", 1)[0].decode().strip()


def processes_in_session(session_id):
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        # After the name: state, ppid, pgrp, session.
        if int(fields[3]) == session_id and fields[0] != "Z":
            found.append(int(entry))
    return found


class Desktop:
    def __init__(self, bin_folder, wayland=False):
        self.bin_folder = bin_folder
        self.wayland = wayland
        self.sessions = []      # session ids (= leader pids) of everything started
        self.children = []      # the processes started directly, to be waited for
        self.program = None
        self.program_log = None
        self.Atspi = None
        self.GLib = None

    # -- starting -------------------------------------------------------------------------

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _spawn(self, argv, env=None, **kwargs):
        process = subprocess.Popen(argv, env=env or self.env, start_new_session=True, **kwargs)
        self.sessions.append(process.pid)
        self.children.append(process)
        return process

    def _start(self):
        self.root = tempfile.mkdtemp(prefix="jabbly-onscreen-")
        self.home = os.path.join(self.root, "home")
        self.runtime = os.path.join(self.root, "runtime")
        self.folder = os.path.join(self.root, "program")
        for folder in (self.home, self.runtime, self.folder):
            os.makedirs(folder)
        os.chmod(self.runtime, 0o700)

        env = {key: value for key, value in os.environ.items()
               if not key.startswith(("DBUS_", "AT_SPI", "WAYLAND_", "QT_", "XDG_"))
               and key not in ("DISPLAY", "XAUTHORITY", "HOME")}
        env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "XDG_RUNTIME_DIR": self.runtime,
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        })
        self.env = env

        launcher = need_tool("at-spi-bus-launcher", "at-spi2-core",
                             ("/usr/libexec", "/usr/lib/at-spi2-core", "/usr/lib/x86_64-linux-gnu/at-spi2-core"))
        need_tool("at-spi2-registryd", "at-spi2-core",
                  ("/usr/libexec", "/usr/lib/at-spi2-core", "/usr/lib/x86_64-linux-gnu/at-spi2-core"))
        dbus = need_tool("dbus-daemon", "dbus")
        if self.wayland:
            self._start_weston(need_tool("weston", "weston"))
        else:
            self._start_xvfb(need_tool("Xvfb", "xvfb"))

        bus = self._spawn([dbus, "--session", "--nofork", "--print-address=1"], stdout=subprocess.PIPE)
        env["DBUS_SESSION_BUS_ADDRESS"] = read_line(bus, "the D-Bus session bus")

        self._spawn([launcher, "--launch-immediately"])

        # libatspi finds the buses through the environment of this process.
        for key in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR", "HOME"):
            os.environ.pop(key, None)
            if key in env:
                os.environ[key] = env[key]
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        self._wait_for_accessibility_bus()
        self.Atspi, self.GLib = import_atspi()
        if self.Atspi.init() not in (0, 1):
            fail("the AT-SPI client could not connect to the accessibility bus")

    def _start_xvfb(self, xvfb):
        openbox = need_tool("openbox", "openbox")
        xprop = need_tool("xprop", "x11-utils")
        server = self._spawn([xvfb, "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.env["DISPLAY"] = ":" + read_line(server, "Xvfb")
        # A window manager, so that the program's window gets the keyboard focus as on a desktop.
        self._spawn([openbox, "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def managed():
            probe = subprocess.run([xprop, "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=PATIENCE)
            return b"window id" in probe.stdout
        wait_for("openbox to manage the display", managed)

    def _start_weston(self, weston):
        socket = "jabbly-wayland"
        log = open(os.path.join(self.root, "weston.log"), "wb")
        self._spawn([weston, "--backend=headless-backend.so", f"--socket={socket}", "--idle-time=0",
                     "--width=1024", "--height=768"], stdout=log, stderr=subprocess.STDOUT)
        log.close()
        path = os.path.join(self.runtime, socket)
        wait_for("weston's socket " + path, lambda: os.path.exists(path))
        self.env["WAYLAND_DISPLAY"] = socket

    def _wait_for_accessibility_bus(self):
        # The launcher owns org.a11y.Bus on the session bus once the AT-SPI bus runs.
        gdbus = shutil.which("gdbus")
        dbus_send = shutil.which("dbus-send")
        if dbus_send:
            argv = [dbus_send, "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                    "org.a11y.Bus.GetAddress"]
        elif gdbus:
            argv = [gdbus, "call", "--session", "--dest", "org.a11y.Bus", "--object-path", "/org/a11y/bus",
                    "--method", "org.a11y.Bus.GetAddress"]
        else:
            fail("dbus-send is not installed (Debian package dbus-bin)")

        def answered():
            result = subprocess.run(argv, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                    timeout=PATIENCE)
            return result.returncode == 0 and b"unix:" in result.stdout
        wait_for("the accessibility bus", answered)

    def start_program(self, *arguments, extra_env=None):
        """Starts a copy of the built program with accessibility on; returns its AT-SPI application."""
        for name in PROGRAM_FILES:
            source = os.path.join(self.bin_folder, name)
            if not os.path.exists(source):
                fail(f"{source} is missing: build the program first")
            shutil.copy2(source, self.folder)
        env = dict(self.env)
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env["QT_QPA_PLATFORM"] = "wayland" if self.wayland else "xcb"
        env.update(extra_env or {})
        self.program_log = os.path.join(self.root, "program.log")
        with open(self.program_log, "wb") as log:
            self.program = self._spawn([os.path.join(self.folder, "jabbly"), *arguments],
                                       stdout=log, stderr=subprocess.STDOUT, env=env)
        self.app = wait_for("Jabbly on the accessibility bus", self._find_application, self.pump)
        return self.app

    def _find_application(self):
        self.check_program_runs()
        desktop = self.Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            try:
                if app is not None and app.get_process_id() == self.program.pid:
                    return app
            except self.GLib.Error:
                continue
        return None

    def check_program_runs(self):
        if self.program and self.program.poll() is not None:
            fail(f"jabbly ended early with exit code {self.program.returncode}:\n{self.log_text()}")

    def log_text(self):
        try:
            with open(self.program_log, errors="replace") as log:
                return log.read()
        except (OSError, TypeError):
            return ""

    def wait_for_program_end(self):
        wait_for("jabbly to end", lambda: self.program.poll() is not None)
        return self.program.returncode

    # -- the accessible tree ----------------------------------------------------------------

    def pump(self):
        context = self.GLib.MainContext.default()
        while context.pending():
            context.iteration(False)

    def descendants(self, node):
        stack = [node]
        while stack:
            current = stack.pop()
            yield current
            try:
                count = current.get_child_count()
            except self.GLib.Error:
                continue
            for i in reversed(range(count)):
                child = current.get_child_at_index(i)
                if child is not None:
                    stack.append(child)

    def find(self, what, predicate, root=None):
        """The first accessible under `root` (the program) for which `predicate` holds, polled."""
        def search():
            for node in self.descendants(root or self.app):
                try:
                    if predicate(node):
                        return node
                except self.GLib.Error:
                    continue
            return None
        return wait_for(what, search, self.pump)

    def role(self, node):
        return node.get_role_name()

    def window(self, title):
        return self.find(f"the window '{title}'",
                         lambda n: n.get_name() == title and n.get_parent() is not None
                         and n.get_parent().get_role() == self.Atspi.Role.APPLICATION)

    def named(self, name, root=None):
        return self.find(f"an object named '{name}'", lambda n: n.get_name() == name, root)

    def has_state(self, node, state):
        return node.get_state_set().contains(state)

    def do_action(self, node, action_name):
        action = node.get_action_iface()
        if action is None:
            fail(f"'{node.get_name()}' offers no actions")
        names = [action.get_action_name(i) for i in range(action.get_n_actions())]
        if action_name not in names:
            fail(f"'{node.get_name()}' has no action '{action_name}', only {names}")
        action.do_action(names.index(action_name))

    def set_text(self, node, text):
        editable = node.get_editable_text_iface()
        if editable is None:
            fail(f"'{node.get_name()}' cannot be edited through AT-SPI")
        editable.set_text_contents(text)

    def text_of(self, node):
        text = node.get_text_iface()
        return text.get_text(0, text.get_character_count()) if text else None

    def wait_for_focus(self, node):
        return wait_for(f"the focus in '{node.get_name()}'",
                        lambda: self.has_state(node, self.Atspi.StateType.FOCUSED), self.pump)

    def focused_name(self, root):
        for node in self.descendants(root):
            try:
                if self.has_state(node, self.Atspi.StateType.FOCUSED):
                    return node.get_name()
            except self.GLib.Error:
                continue
        return None

    def transcript_lines(self, conversation):
        return (self.text_of(conversation) or "").replace("\r\n", "\n").split("\n")

    def say(self, input_box, say_button, conversation, name, line):
        """A turn as the user takes it: `line` in the input box, then Say. Returns the
        answer's lines as the transcript shows them."""
        before = len(self.transcript_lines(conversation))
        self.set_text(input_box, line)
        self.do_action(say_button, "Press")

        def answered():
            self.check_program_runs()
            lines = self.transcript_lines(conversation)
            if len(lines) >= before + 2 and lines[before] == f"{name}: {line}":
                return "\n".join(lines[before + 1:])
            return None
        return wait_for(f"Jabbly's answer to {line!r}", answered, self.pump)

    # -- listening ------------------------------------------------------------------------

    def listen(self, *event_types):
        """Starts recording the events of `event_types` from the program; returns the record."""
        received = []

        def on_event(event):
            try:
                source = event.source
                received.append({
                    "type": event.type,
                    "source": source,
                    "source_name": source.get_name() if source else None,
                    "source_role": source.get_role_name() if source else None,
                    "source_focused": bool(source and self.has_state(source, self.Atspi.StateType.FOCUSED)),
                    "detail1": event.detail1,
                    "any_data": event.any_data,
                })
            except self.GLib.Error:
                pass

        listener = self.Atspi.EventListener.new(on_event)
        for event_type in event_types:
            listener.register(event_type)
        self._listeners = getattr(self, "_listeners", []) + [listener]
        return received

    # -- ending -----------------------------------------------------------------------------

    def close(self):
        # The program first, so that it is not left without its buses; then the rest, newest first.
        for session in reversed(self.sessions):
            self._end_session(session)
        self.sessions = []
        for child in self.children:
            try:
                child.wait(timeout=10)
            except subprocess.TimeoutExpired:
                print(f"warning: process {child.pid} did not end", file=sys.stderr)
        self.children = []
        root = getattr(self, "root", None)
        if root:
            shutil.rmtree(root, ignore_errors=True)

    def _end_session(self, session):
        for sig in (signal.SIGTERM, signal.SIGKILL):
            members = processes_in_session(session)
            if not members:
                return
            for pid in members:
                try:
                    os.kill(pid, sig)
                except ProcessLookupError:
                    pass
            deadline = time.monotonic() + 10
            while processes_in_session(session) and time.monotonic() < deadline:
                self._reap()
                time.sleep(0.05)
        self._reap()
        left = processes_in_session(session)
        if left:
            print(f"warning: processes {left} of session {session} did not end", file=sys.stderr)

    @staticmethod
    def _reap():
        try:
            while os.waitpid(-1, os.WNOHANG)[0] > 0:
                pass
        except ChildProcessError:
            pass


def main(body):
    """Runs `body`; a failure outside the checks (the desktop would not start) fails too."""
    try:
        body()
    except Failure as failure:
        print(f"[ FAIL ] {failure}")
        sys.exit(1)


def run_checks(checks):
    """Runs check functions (each takes nothing) in order and prints each result; the
    process ends with exit code 1 when any failed."""
    failed = 0
    for check in checks:
        name = check.__name__
        try:
            check()
            print(f"[ PASS ] {name}")
        except Failure as failure:
            failed += 1
            print(f"[ FAIL ] {name}: {failure}")
        except Exception as error:  # a broken check is a failure too, with its trace
            import traceback
            failed += 1
            print(f"[ FAIL ] {name}: {type(error).__name__}: {error}")
            traceback.print_exc()
        sys.stdout.flush()
    if failed:
        raise SystemExit(1)
