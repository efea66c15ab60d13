"""One test case's private world: an Xvfb display, a Wine prefix restored from the cache, a
private HOME and TMP, and every process started in it, all torn down when the case ends."""

import os
import shutil
import signal
import subprocess
import time
from pathlib import Path

SCREEN_WIDTH, SCREEN_HEIGHT = 1024, 768


class CaseFailure(Exception):
    """A check of a case did not hold; the message says what was expected and what was seen."""


def find_tool(*candidates):
    for candidate in candidates:
        path = candidate if os.path.isabs(candidate) else shutil.which(candidate)
        if path and os.access(path, os.X_OK):
            return path
    raise CaseFailure(f"none of {', '.join(candidates)} is installed")


def wait_until(predicate, timeout, what, interval=0.1):
    """Polls until predicate() returns something true and returns it; fails after timeout s."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise CaseFailure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


class Tools:
    """The programs the harness runs; Wine's loader is called directly, no wrapper needed."""

    def __init__(self):
        self.wine = find_tool("wine64", "/usr/lib/wine/wine64", "/usr/lib64/wine/wine64")
        self.wineserver = find_tool("wineserver", "/usr/lib/wine/wineserver", "/usr/lib/wine/wineserver64")
        self.xvfb = find_tool("Xvfb")
        self.xdotool = find_tool("xdotool")
        # /usr/bin first: a convert elsewhere on PATH may be a stand-in without X support.
        self.convert = find_tool("/usr/bin/convert", "convert")
        self.import_ = find_tool("/usr/bin/import", "import")

    def wine_version(self):
        out = subprocess.run([self.wine, "--version"], capture_output=True, text=True, timeout=30)
        return out.stdout.strip() or "unknown"


def start_xvfb(tools, log):
    """Starts Xvfb on a free display (it picks one and tells us through a pipe)."""
    read_end, write_end = os.pipe()
    process = subprocess.Popen(
        [tools.xvfb, "-displayfd", str(write_end), "-screen", "0", f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24",
         "-nolisten", "tcp", "-noreset"],
        pass_fds=(write_end,), stdout=log, stderr=log, start_new_session=True)
    os.close(write_end)
    deadline = time.monotonic() + 20
    text = b""
    while b"\n" not in text and time.monotonic() < deadline:
        os.set_blocking(read_end, False)
        try:
            chunk = os.read(read_end, 64)
            if not chunk:
                break
            text += chunk
        except BlockingIOError:
            time.sleep(0.05)
    os.close(read_end)
    if b"\n" not in text:
        process.kill()
        raise CaseFailure("Xvfb did not report a display within 20 s")
    return process, ":" + text.decode().strip()


def base_environment(display, prefix, home, tmp):
    env = {key: value for key, value in os.environ.items() if not key.startswith(("WINE", "DISPLAY"))}
    env.update({
        "DISPLAY": display,
        "WINEPREFIX": str(prefix),
        # E2E_WINEDEBUG sets Wine's channels for a run that hunts a fault ("+loaddll,+seh").
        "WINEDEBUG": os.environ.get("E2E_WINEDEBUG", "-all"),
        # No Mono or Gecko installer prompts, no desktop menu entries.
        "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        "HOME": str(home),
        "TMPDIR": str(tmp),
        "TMP": str(tmp),
        "TEMP": str(tmp),
    })
    return env


class PrefixCache:
    """A booted Wine prefix, kept per Wine version; each case gets a copy."""

    def __init__(self, tools, root):
        self.tools = tools
        self.root = Path(root)

    def path(self):
        version = self.tools.wine_version().replace(" ", "_").replace("/", "_")
        return self.root / version / "prefix"

    def ensure(self, log):
        prefix = self.path()
        stamp = prefix.parent / "booted"
        if stamp.exists():
            return prefix
        shutil.rmtree(prefix.parent, ignore_errors=True)
        prefix.parent.mkdir(parents=True)
        home = prefix.parent / "home"
        home.mkdir()
        xvfb, display = start_xvfb(self.tools, log)
        env = base_environment(display, prefix, home, home)
        try:
            started = time.monotonic()
            subprocess.run([self.tools.wine, "wineboot", "--init"], env=env, stdout=log, stderr=log, timeout=180)
            # Without a window manager Wine waits 2 s whenever a window is destroyed, unless its
            # windows are unmanaged; and a crashing saver must not leave a debugger dialog open.
            for key, name, kind, data in [
                    (r"HKCU\Software\Wine\X11 Driver", "Managed", "REG_SZ", "N"),
                    (r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "REG_DWORD", "0")]:
                subprocess.run([self.tools.wine, "reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f"],
                               env=env, stdout=log, stderr=log, timeout=60, check=True)
            subprocess.run([self.tools.wineserver, "-w"], env=env, timeout=60)
            log.write(f"prefix booted in {time.monotonic() - started:.1f} s\n".encode())
        finally:
            subprocess.run([self.tools.wineserver, "-k"], env=env, timeout=30)
            stop_process(xvfb)
        stamp.write_text(self.tools.wine_version() + "\n")
        return prefix


def stop_process(process, grace=3):
    if process.poll() is not None:
        return
    try:
        os.killpg(process.pid, signal.SIGTERM)
        process.wait(timeout=grace)
    except (ProcessLookupError, subprocess.TimeoutExpired):
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait(timeout=grace)


def to_windows_path(path):
    """Wine's Z: drive is the Unix root."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


class Session:
    """Everything of one case; use as a context manager."""

    def __init__(self, tools, cache, work_dir, shots_dir, name, monitors=None):
        self.tools = tools
        # None for Xvfb with one monitor, or how Xorg joins two ("xinerama" or "randr").
        self.monitors = monitors
        self.cache = cache
        self.name = name
        self.dir = Path(work_dir) / name
        self.shots_dir = Path(shots_dir)
        self.processes = []
        self.shots = []
        self.notes = []  # what a case could not check here, said in the summary

    def __enter__(self):
        shutil.rmtree(self.dir, ignore_errors=True)
        self.dir.mkdir(parents=True)
        self.log = open(self.dir / "session.log", "wb")
        cached = self.cache.ensure(self.log)
        self.prefix = self.dir / "prefix"
        subprocess.run(["cp", "-a", str(cached), str(self.prefix)], check=True, timeout=120)
        self.home = self.dir / "home"
        self.tmp = self.dir / "tmp"
        self.home.mkdir()
        self.tmp.mkdir()
        if self.monitors:
            from two_heads import start_two_heads  # it builds on this module
            self.xvfb, self.display = start_two_heads(self.log, self.dir, self.monitors)
        else:
            self.xvfb, self.display = start_xvfb(self.tools, self.log)
        self.env = base_environment(self.display, self.prefix, self.home, self.tmp)
        return self

    def __exit__(self, *exc):
        subprocess.run([self.tools.wineserver, "-k"], env=self.env, timeout=30,
                       stdout=self.log, stderr=self.log)
        for process in self.processes:
            stop_process(process)
        stop_process(self.xvfb)
        self.log.close()
        # The prefix is large and worth nothing after the case; the logs stay.
        shutil.rmtree(self.prefix, ignore_errors=True)
        return False

    # --- the Windows side ---------------------------------------------------------------------

    def drive_c(self, *parts):
        return self.prefix.joinpath("drive_c", *parts)

    def windows_temp(self):
        """The folder that GetTempPath gives inside this prefix."""
        users = [p for p in self.drive_c("users").iterdir() if p.name != "Public"]
        for user in users:
            if (user / "Temp").is_dir():
                return user / "Temp"
        raise CaseFailure(f"no user Temp folder in {self.drive_c('users')}")

    def start(self, program, *args, label=None, env=None):
        """Starts a Windows program under Wine; returns the Popen (its returncode is the exit code).
        env holds variables to set for this program only."""
        label = label or Path(str(program)).stem
        log_path = self.dir / f"{label}.{len(self.processes)}.log"
        out = open(log_path, "wb")
        process = subprocess.Popen([self.tools.wine, str(program), *map(str, args)],
                                   env={**self.env, **(env or {})},
                                   stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                   start_new_session=True, cwd=self.dir)
        out.close()  # the child holds its own copy
        process.log_path = log_path  # what the program and Wine printed
        self.processes.append(process)
        return process

    def start_native(self, program, *args, label=None):
        """Starts a Linux program on the session's display, with its HOME and TMPDIR."""
        label = label or Path(str(program)).stem
        log_path = self.dir / f"{label}.{len(self.processes)}.log"
        with open(log_path, "wb") as out:
            process = subprocess.Popen([str(program), *map(str, args)], env=self.env, stdout=out,
                                       stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                       start_new_session=True, cwd=self.dir)
        process.log_path = log_path
        self.processes.append(process)
        return process

    def run(self, program, *args, timeout=30):
        """Runs a Windows program to its end and returns its exit code and standard output.

        The output goes through a file, not a pipe: the first Wine process of a prefix starts the
        wineserver and the desktop process, which inherit its handles and keep a pipe open long
        after the program has ended."""
        out_path = self.dir / "run.out"
        with open(out_path, "wb") as out:
            process = subprocess.Popen([self.tools.wine, str(program), *map(str, args)], env=self.env,
                                       stdout=out, stderr=self.log, stdin=subprocess.DEVNULL, cwd=self.dir)
            try:
                code = process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
                raise CaseFailure(f"{program} {' '.join(map(str, args))} did not end within {timeout} s") from None
        return code, out_path.read_text(encoding="utf-8", errors="replace")

    def reg_add(self, key, name, kind, data):
        code, _ = self.run("reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f")
        if code != 0:
            raise CaseFailure(f"reg add {key} {name} failed with {code}")

    def wait_exit(self, process, timeout, what):
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise CaseFailure(f"{what} still running after {timeout:g} s") from None

    # --- the X side ---------------------------------------------------------------------------

    def xdotool(self, *args):
        subprocess.run([self.tools.xdotool, *map(str, args)], env=self.env, timeout=20, check=True,
                       stdout=self.log, stderr=self.log)

    def click(self, x, y):
        self.xdotool("mousemove", "--sync", x, y)
        self.xdotool("click", "1")

    def key(self, name):
        self.xdotool("key", name)

    def screenshot(self, label):
        """Saves the whole screen as build/e2e/<case>-<label>.png and returns its path."""
        self.shots_dir.mkdir(parents=True, exist_ok=True)
        path = self.shots_dir / f"{self.name}-{label}.png"
        subprocess.run([self.tools.import_, "-window", "root", str(path)], env=self.env, timeout=30,
                       check=True, stdout=self.log, stderr=self.log)
        if path not in self.shots:
            self.shots.append(path)
        return path
