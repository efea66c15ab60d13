"""The doubles the saver talks to under Wine: the movie control (a COM server registered for the
machine, as an installer registers it), the screen-saver password checker, and a shell command
for web addresses that records what the saver asked the shell to open."""

import re
from pathlib import Path

from session import CaseFailure, to_windows_path, wait_until

CONTROL_CLASS_ID = "{D27CDB6E-AE6D-11CF-96B8-444553540000}"
CONTROL_LIBRARY_ID = "{D27CDB6B-AE6D-11CF-96B8-444553540000}"
CONTROL_PROGID = "ShockwaveFlash.ShockwaveFlash"
CONTROL_DIR = ("movie",)  # C:\movie inside the prefix
CONTROL_COLOUR = (32, 96, 160)  # what movie_script.h paints by default


def movie_script(frames, rate=4, end="stop", colour=None, fscommand=None):
    """The text of a movie for the double (see tests/e2e/movie_control/movie_script.h). It opens
    with a movie file's signature, which slidemake checks and the double's reader passes over."""
    lines = ["FWS", f"frames {frames}", f"rate {rate}", f"end {end}"]
    if colour:
        lines.append("colour {} {} {}".format(*colour))
    if fscommand:
        frame, command, args = fscommand
        lines.append(f"fscommand {frame} {command} {args}")
    return "\n".join(lines) + "\n"


def _reg_text(value):
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'


def import_registry(session, keys, name):
    """Writes keys ({key: {value name or "@": text}}) into a .reg file and imports it."""
    lines = ["REGEDIT4", ""]
    for key, values in keys.items():
        lines.append(f"[{key}]")
        for value_name, data in values.items():
            lines.append(("@" if value_name == "@" else _reg_text(value_name)) + "=" + _reg_text(data))
        lines.append("")
    path = session.dir / f"{name}.reg"
    path.write_text("\r\n".join(lines))
    code, _ = session.run("regedit", "/S", to_windows_path(path), timeout=60)
    if code != 0:
        raise CaseFailure(f"regedit /S {path} ended with exit code {code}")


class MovieControl:
    """The double installed in C:\\movie and registered under HKLM\\Software\\Classes."""

    def __init__(self, session, windows_bin, class_info="full", progid=True):
        self.session = session
        folder = session.drive_c(*CONTROL_DIR)
        folder.mkdir(parents=True, exist_ok=True)
        dll = folder / "movie_control.dll"
        source = Path(windows_bin) / "movie_control.dll"
        if not source.is_file():
            raise CaseFailure(f"{source} is missing; build the movie_control target")
        dll.write_bytes(source.read_bytes())
        (folder / "movie_control.cfg").write_text(f"class_info {class_info}\n")
        self.log_path = folder / "movie_control.log"
        dll_path = "C:\\" + "\\".join((*CONTROL_DIR, dll.name))
        classes = r"HKEY_LOCAL_MACHINE\Software\Classes"
        keys = {
            rf"{classes}\CLSID\{CONTROL_CLASS_ID}": {"@": "Movie control double"},
            rf"{classes}\CLSID\{CONTROL_CLASS_ID}\InprocServer32": {"@": dll_path,
                                                                    "ThreadingModel": "Apartment"},
            rf"{classes}\CLSID\{CONTROL_CLASS_ID}\TypeLib": {"@": CONTROL_LIBRARY_ID},
            rf"{classes}\CLSID\{CONTROL_CLASS_ID}\Control": {},
            rf"{classes}\TypeLib\{CONTROL_LIBRARY_ID}\1.0": {"@": "Movie control double"},
            rf"{classes}\TypeLib\{CONTROL_LIBRARY_ID}\1.0\0\win64": {"@": dll_path},
            rf"{classes}\TypeLib\{CONTROL_LIBRARY_ID}\1.0\0\win32": {"@": dll_path},
        }
        if progid:
            keys[rf"{classes}\CLSID\{CONTROL_CLASS_ID}\ProgID"] = {"@": CONTROL_PROGID}
            keys[rf"{classes}\{CONTROL_PROGID}\CLSID"] = {"@": CONTROL_CLASS_ID}
        import_registry(session, keys, "movie_control")

    def lines(self):
        if not self.log_path.exists():
            return []
        return self.log_path.read_text(errors="replace").splitlines()

    def movies_put(self):
        """The file names given to Movie, in order."""
        names = []
        for line in self.lines():
            match = re.search(r" Movie put (.*)$", line)
            if match:
                names.append(match.group(1).split("\\")[-1])
        return names

    def wait_for(self, predicate, timeout, what):
        try:
            return wait_until(lambda: predicate(self.lines()), timeout, what, interval=0.25)
        except CaseFailure as e:
            raise CaseFailure(f"{e}; the control's log: {self.lines()[-25:]}") from None


class PasswordChecker:
    """PASSWORD.CPL in the prefix's system folder, answering what the case tells it."""

    def __init__(self, session, windows_bin, verified):
        self.folder = session.drive_c("windows", "system32")
        source = Path(windows_bin) / "password.cpl"
        if not source.is_file():
            raise CaseFailure(f"{source} is missing; build the password_cpl target")
        (self.folder / "password.cpl").write_bytes(source.read_bytes())
        self.log_path = self.folder / "password_cpl.log"
        self.answer(verified)

    def answer(self, verified):
        (self.folder / "password_answer.txt").write_text("yes\n" if verified else "no\n")

    def calls(self):
        if not self.log_path.exists():
            return []
        return self.log_path.read_text(errors="replace").splitlines()


class ShellOpenLog:
    """Makes the probe the shell's command for web addresses; opened() lists what it was given."""

    def __init__(self, session, probe_exe):
        self.path = session.dir / "opened.txt"
        command = f'"{to_windows_path(probe_exe)}" opened "{to_windows_path(self.path)}" "%1"'
        classes = r"HKEY_LOCAL_MACHINE\Software\Classes"
        keys = {}
        for scheme in ("http", "https"):
            keys[rf"{classes}\{scheme}"] = {"@": f"URL:{scheme}", "URL Protocol": ""}
            keys[rf"{classes}\{scheme}\shell\open\command"] = {"@": command}
        import_registry(session, keys, "shell_open")

    def opened(self):
        if not self.path.exists():
            return []
        return self.path.read_text(errors="replace").splitlines()
