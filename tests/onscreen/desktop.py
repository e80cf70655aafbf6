# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A private X desktop for tests that meet Jabbly as a person does.

Desktop starts its own Xvfb (on a free display number, -displayfd) with openbox as the
window manager, in a fresh temporary folder that also holds the test's HOME and XDG
folders and a copy of the built program folder: the program keeps words.txt beside
itself, so the user's words and settings are never touched. Jabbly is driven with
xdotool and read with xprop and xwininfo. Every wait polls for the state it expects,
with an upper bound; nothing sleeps for a fixed time in place of a check.

    with Desktop() as desktop:
        jabbly = desktop.start_jabbly()
        main = jabbly.window("Jabbly")
        main.activate()
        desktop.key("F9")
        options = jabbly.window("Speech Options")

A missing tool raises MissingTool (the test fails, naming the Debian package to install).
Everything started is ended, and the folder removed, when the with block is left, also
after a failure; the screen is saved first when JABBLY_ONSCREEN_SHOTS names a folder.
"""

import os
import re
import select
import shutil
import signal
import subprocess
import tempfile
import time

# Tool -> the Debian package that brings it (scripts/install-deps.sh installs them all).
TOOLS = {
    "Xvfb": "xvfb",
    "openbox": "openbox",
    "xdotool": "xdotool",
    "xprop": "x11-utils",
    "xwininfo": "x11-utils",
    "import": "imagemagick",
}

# The longest any single wait may take; a real desktop answers in well under a second.
PATIENCE = 30.0

# What the program needs from its folder. words.txt is left behind on purpose: each test
# starts from the words it writes itself.
PROGRAM_FILES = ("jabbly", "libRowkit.so", "libSayline.so", "cpu.txt", "jabbly.chm")


class MissingTool(RuntimeError):
    pass


def require_tools(names=TOOLS):
    missing = [f"{name} (Debian package {TOOLS[name]})" for name in names if shutil.which(name) is None]
    if missing:
        raise MissingTool("the on-screen tests need " + ", ".join(missing) +
                          "; scripts/install-deps.sh installs them")


def wait_for(what, probe, timeout=PATIENCE, interval=0.05):
    """Calls probe() until it answers something true and returns that; raises
    TimeoutError naming `what` after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(f"gave up after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def bin_folder():
    folder = os.environ.get("JABBLY_BIN_DIR")
    if not folder:
        raise RuntimeError("JABBLY_BIN_DIR must name the built program's folder (build/bin)")
    return folder


class Window:
    """One X window of the program, read through xprop and xwininfo."""

    def __init__(self, desktop, wid):
        self.desktop = desktop
        self.id = wid

    def __repr__(self):
        return f"Window(0x{self.id:x} {self.title()!r})"

    def __eq__(self, other):
        return isinstance(other, Window) and other.id == self.id

    def __hash__(self):
        return self.id

    def xprop(self, prop):
        """The property's value as xprop prints it after the '=' (or ':'), or None when
        the window does not have it (or is gone)."""
        out = self.desktop.run(["xprop", "-id", str(self.id), prop], check=False)
        if out is None:
            return None
        m = re.match(r"^[^\s(]+(?:\([^)]*\))?\s*(?:=|:)\s?(.*)$", out.strip(), re.S)
        if not m or "not found" in out or "no such atom" in out:
            return None
        return m.group(1)

    def title(self):
        value = self.xprop("_NET_WM_NAME")
        return value.strip('"') if value else ""

    def transient_for(self):
        """The window this one is transient for (WM_TRANSIENT_FOR), or None."""
        value = self.xprop("WM_TRANSIENT_FOR")
        m = re.search(r"0x[0-9a-fA-F]+", value or "")
        return int(m.group(0), 16) if m else None

    def net_wm_state(self):
        value = self.xprop("_NET_WM_STATE") or ""
        return {s.strip() for s in value.split(",") if s.strip()}

    def window_type(self):
        value = self.xprop("_NET_WM_WINDOW_TYPE") or ""
        return {s.strip() for s in value.split(",") if s.strip()}

    def exists(self):
        return self.desktop.run(["xwininfo", "-id", str(self.id)], check=False) is not None

    def info(self):
        """xwininfo's fields ("Map State", "Absolute upper-left X", "Width", ...), or {}
        when the window is gone."""
        out = self.desktop.run(["xwininfo", "-id", str(self.id)], check=False)
        fields = {}
        for line in (out or "").splitlines():
            key, sep, value = line.strip().partition(":")
            if sep:
                fields[key.strip()] = value.strip()
        return fields

    def map_state(self):
        """"IsViewable", "IsUnMapped", "IsUnviewable", or None when the window is gone."""
        return self.info().get("Map State")

    def viewable(self):
        return self.map_state() == "IsViewable"

    def geometry(self):
        """(x, y, width, height) of the client area, on the screen."""
        f = self.info()
        return (int(f["Absolute upper-left X"]), int(f["Absolute upper-left Y"]), int(f["Width"]), int(f["Height"]))

    def frame_geometry(self):
        """(x, y, width, height) of the window with the frame the window manager gave it."""
        x, y, width, height = self.geometry()
        left, right, top, bottom = (int(n) for n in (self.xprop("_NET_FRAME_EXTENTS") or "0, 0, 0, 0").split(","))
        return x - left, y - top, width + left + right, height + top + bottom

    def activate(self):
        """Asks the window manager to make this the active window and waits until it is."""
        self.desktop.run(["xdotool", "windowactivate", str(self.id)], check=False)
        wait_for(f"{self} to become the active window", lambda: self.desktop.active_window() == self)

    def minimize(self):
        self.desktop.run(["xdotool", "windowminimize", str(self.id)])

    def click(self, x, y, button=1):
        """Clicks at (x, y) inside the client area."""
        self.desktop.run(["xdotool", "mousemove", "--window", str(self.id), str(x), str(y)])
        self.desktop.run(["xdotool", "click", str(button)])


class Jabbly:
    """The running program and its windows."""

    def __init__(self, desktop, folder, process, log_path):
        self.desktop = desktop
        self.folder = folder
        self.process = process
        self.log_path = log_path

    def path(self, name):
        return os.path.join(self.folder, name)

    def log(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def running(self):
        return self.process.poll() is None

    def _check_running(self):
        if not self.running():
            raise RuntimeError(f"jabbly ended (exit code {self.process.returncode}); its output:\n{self.log()}")

    def _search(self, *options, pattern=None):
        self._check_running()
        args = ["xdotool", "search", *options, "--pid", str(self.process.pid)]
        if pattern is not None:
            args += ["--name", pattern]
        out = self.desktop.run(args, check=False) or ""
        return [Window(self.desktop, int(line)) for line in out.split()]

    def windows(self, title=None):
        """The program's windows for the window manager (menus and drop-down lists left
        out), with the title `title` when given."""
        found = self._search("--all", pattern="^" + re.escape(title) + "$") if title is not None else self._search()
        return [w for w in found if w.info().get("Override Redirect State") == "no"]

    def window(self, title, timeout=PATIENCE):
        """Waits until the program shows a window titled `title` and returns it."""
        def shown():
            viewable = [w for w in self.windows(title) if w.viewable()]
            return viewable[0] if len(viewable) == 1 else None
        try:
            return wait_for(f"a window titled {title!r}", shown, timeout)
        except TimeoutError as error:
            states = ", ".join(f"{w} {w.map_state()}" for w in self.windows())
            raise TimeoutError(f"{error}; the program's windows: {states or 'none'}; "
                               f"{self.desktop.window_manager_state()}") from None

    def popups(self):
        """The program's open menus and drop-down lists: its windows that the window
        manager does not manage (override-redirect)."""
        return [w for w in self._search("--onlyvisible")
                if w.info().get("Override Redirect State") == "yes" and w.viewable()]

    def wait_until_ended(self, timeout=PATIENCE):
        """Waits for the program to end and returns its exit code."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError(f"jabbly did not end within {timeout:.0f} s; its output:\n{self.log()}") from None

    def words(self):
        """The learned words in words.txt, as a list (the program writes it at exit)."""
        with open(self.path("words.txt"), "rb") as f:
            return f.read().decode("utf-8").split("\r\n")[:-1]

    def stop(self):
        if self.running():
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class Desktop:
    """Xvfb + openbox in a private folder. See the module's comment."""

    def __init__(self, screen="1280x1024x24", desktop_font=None, name="desktop"):
        """desktop_font: (family, points) for the desktop's font, or None for Qt's own.
        It is set the way a KDE Plasma user sets it, in kdeglobals [General] font, which
        Qt's own KDE desktop theme reads (no platform theme plugin, no qt6ct)."""
        self.screen = screen
        self.desktop_font = desktop_font
        self.name = name
        self.root = None
        self.display = None
        self.processes = []
        self.programs = []

    # -- life cycle -------------------------------------------------------------------

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, kind, value, traceback):
        if kind is not None and self.display:
            self.save_screen(self.name + "-failure")
        self.stop()
        return False

    def start(self):
        require_tools()
        self.root = tempfile.mkdtemp(prefix="jabbly-desktop-")
        os.chmod(self.root, 0o700)
        for sub in ("home", "config", "data", "cache", "runtime", "program"):
            os.makedirs(os.path.join(self.root, sub), mode=0o700)
        if self.desktop_font:
            family, points = self.desktop_font
            with open(os.path.join(self.root, "config", "kdeglobals"), "w", encoding="utf-8") as f:
                f.write(f"[General]\nfont={family},{points},-1,5,50,0,0,0,0,0\n")
        self._start_server()
        self._start_window_manager()

    def stop(self):
        for program in reversed(self.programs):
            program.stop()
        self.programs.clear()
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self.processes.clear()
        if self.root:
            shutil.rmtree(self.root, ignore_errors=True)
            self.root = None

    def _start_server(self):
        read_end, write_end = os.pipe()
        try:
            with open(os.path.join(self.root, "xvfb.log"), "w") as log:
                server = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0", self.screen],
                    pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=log)
            self.processes.append(server)
            os.close(write_end)
            write_end = None
            number = b""
            deadline = time.monotonic() + PATIENCE
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or server.poll() is not None:
                    raise RuntimeError("Xvfb did not start: " + self._file("xvfb.log"))
                ready, _, _ = select.select([read_end], [], [], left)
                if ready:
                    chunk = os.read(read_end, 16)
                    if not chunk:
                        raise RuntimeError("Xvfb did not start: " + self._file("xvfb.log"))
                    number += chunk
            self.display = ":" + number.decode().strip()
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)

    def _start_window_manager(self):
        with open(os.path.join(self.root, "openbox.log"), "w") as log:
            wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.environment(), stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=log)
        self.processes.append(wm)

        def managing():
            if wm.poll() is not None:
                raise RuntimeError(f"openbox ended (exit code {wm.returncode}): " + self._file("openbox.log"))
            out = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False) or ""
            return "window id #" in out
        wait_for("openbox to manage the screen", managing)

    def window_manager_state(self):
        wm = self.processes[1] if len(self.processes) > 1 else None
        if wm is None:
            return "no window manager"
        if wm.poll() is not None:
            return f"openbox ended (exit code {wm.returncode}): {self._file('openbox.log')}"
        return "openbox runs"

    def _file(self, name):
        try:
            with open(os.path.join(self.root, name), encoding="utf-8", errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    # -- environment and commands -------------------------------------------------------

    def environment(self, extra=None):
        """The environment for programs on this desktop: its display, private HOME and
        XDG folders, no session bus, no Wayland, Qt left to its X11 defaults."""
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("XDG_", "QT_", "KDE_", "WAYLAND_", "DBUS_", "GNOME_", "DESKTOP_"))
               and k not in ("DISPLAY", "XAUTHORITY", "SESSION_MANAGER", "GTK_MODULES")}
        env.update({
            "DISPLAY": self.display or "",
            "HOME": os.path.join(self.root, "home"),
            "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
            "XDG_DATA_HOME": os.path.join(self.root, "data"),
            "XDG_CACHE_HOME": os.path.join(self.root, "cache"),
            "XDG_RUNTIME_DIR": os.path.join(self.root, "runtime"),
            "DBUS_SESSION_BUS_ADDRESS": "disabled:",
            "NO_AT_BRIDGE": "1",
            "QT_QPA_PLATFORM": "xcb",
        })
        if self.desktop_font:
            # Qt picks its KDE desktop theme for a Plasma session and reads the font from
            # $XDG_CONFIG_HOME/kdeglobals.
            env.update({"XDG_CURRENT_DESKTOP": "KDE", "KDE_SESSION_VERSION": "5", "KDE_FULL_SESSION": "true"})
        env.update(extra or {})
        return env

    def run(self, args, check=True, timeout=PATIENCE):
        """Runs a command on this desktop and returns its standard output; with
        check=False, None when it fails."""
        try:
            done = subprocess.run(args, env=self.environment(), stdin=subprocess.DEVNULL, capture_output=True,
                                  text=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError(f"{args[0]} did not answer within {timeout:.0f} s: {args}") from None
        if done.returncode != 0:
            if check:
                raise RuntimeError(f"{' '.join(args)} failed ({done.returncode}): {done.stderr.strip()}")
            return None
        return done.stdout

    # -- the program --------------------------------------------------------------------

    def start_jabbly(self, args=("Tester",), words=None, env=None):
        """Copies the built program folder and starts the copy; returns once its main
        window is on the screen and its event loop runs. words: the lines of the
        words.txt it starts with (None: no words.txt)."""
        folder = os.path.join(self.root, "program", str(len(self.programs)))
        os.makedirs(folder)
        source = bin_folder()
        for name in PROGRAM_FILES:
            if os.path.exists(os.path.join(source, name)):
                shutil.copy2(os.path.join(source, name), folder)
        if not os.path.exists(os.path.join(folder, "jabbly")):
            raise RuntimeError(f"{source} holds no built jabbly")
        if words is not None:
            with open(os.path.join(folder, "words.txt"), "wb") as f:
                f.write("".join(w + "\r\n" for w in words).encode("utf-8"))
        log_path = os.path.join(self.root, f"jabbly-{len(self.programs)}.log")
        extra = {"QT_LOGGING_RULES": "jabbly.*.debug=true"}
        extra.update(env or {})
        with open(log_path, "w") as log:
            process = subprocess.Popen([os.path.join(folder, "jabbly"), *args], env=self.environment(extra),
                                       stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                       cwd=self.root)
        program = Jabbly(self, folder, process, log_path)
        self.programs.append(program)

        def running():
            program._check_running()
            return "jabbly.startup: running" in program.log()
        wait_for("jabbly to start", running)
        program.window("Jabbly")
        return program

    # -- the keyboard, the screen and the window manager --------------------------------

    def key(self, *keys):
        """Presses keys (xdotool names: "F9", "alt+j", "Escape", "Return") on the active
        window, as the keyboard does."""
        self.run(["xdotool", "key", "--clearmodifiers", *keys])

    def type(self, text):
        self.run(["xdotool", "type", "--clearmodifiers", "--delay", "15", text])

    def active_window(self):
        out = self.run(["xdotool", "getactivewindow"], check=False)
        return Window(self, int(out)) if out and out.strip().isdigit() else None

    def stacking(self):
        """The managed windows from bottom to top, as the window manager stacks them."""
        out = self.run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"], check=False) or ""
        return [int(h, 16) for h in re.findall(r"0x[0-9a-fA-F]+", out)]

    def is_above(self, upper, lower):
        order = self.stacking()
        return upper.id in order and lower.id in order and order.index(upper.id) > order.index(lower.id)

    def save_screen(self, name):
        """Saves the whole screen as <name>.png in JABBLY_ONSCREEN_SHOTS (when set) and
        returns the path (or None)."""
        folder = os.environ.get("JABBLY_ONSCREEN_SHOTS")
        if not folder:
            return None
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, name + ".png")
        self.run(["import", "-window", "root", path], check=False)
        return path
