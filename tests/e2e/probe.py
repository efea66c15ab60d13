"""The harness side of e2e_probe.exe: the window list as Win32 sees it, and the preview host."""

from dataclasses import dataclass, field
from pathlib import Path

from session import CaseFailure, to_windows_path, wait_until

WS_EX_TOPMOST = 0x00000008


@dataclass
class Window:
    kind: str  # "top" or "child"
    hwnd: int
    parent: int
    pid: int
    visible: bool
    style: int
    exstyle: int
    rect: tuple  # left, top, right, bottom in screen pixels
    class_name: str
    text: str
    check: int = None
    children: list = field(default_factory=list)

    @property
    def topmost(self):
        return bool(self.exstyle & WS_EX_TOPMOST)

    @property
    def centre(self):
        left, top, right, bottom = self.rect
        return (left + right) // 2, (top + bottom) // 2

    def child_with_text(self, text):
        for child in self.children:
            if child.text == text:
                return child
        raise CaseFailure(f"window \"{self.text}\" has no control reading \"{text}\"; it has "
                          f"{[c.text for c in self.children]}")


def parse_windows(output):
    windows = []
    for line in output.splitlines():
        kind, *fields = line.split("\t")
        if kind not in ("top", "child"):
            continue
        values = dict(f.split("=", 1) for f in fields)
        window = Window(kind=kind, hwnd=int(values["hwnd"]), parent=int(values["parent"]),
                        pid=int(values["pid"]), visible=values["visible"] == "1",
                        style=int(values["style"], 16), exstyle=int(values["exstyle"], 16),
                        rect=tuple(int(v) for v in values["rect"].split(",")),
                        class_name=values["class"], text=values.get("text", ""),
                        check=int(values["check"]) if "check" in values else None)
        if kind == "top":
            windows.append(window)
        elif windows:
            windows[-1].children.append(window)
    return windows


class Probe:
    def __init__(self, session, exe):
        self.session = session
        self.exe = exe

    def windows(self):
        code, out = self.session.run(self.exe, "windows", timeout=30)
        if code != 0:
            raise CaseFailure(f"e2e_probe windows failed with exit code {code}")
        return parse_windows(out)

    def monitors(self):
        """The monitors Windows reports: a list of (rect, primary)."""
        code, out = self.session.run(self.exe, "monitors", timeout=30)
        if code != 0:
            raise CaseFailure(f"e2e_probe monitors failed with exit code {code}")
        found = []
        for line in out.splitlines():
            fields = dict(f.split("=", 1) for f in line.split("\t")[1:] if "=" in f)
            if line.startswith("monitor\t"):
                found.append((tuple(int(v) for v in fields["rect"].split(",")), fields["primary"] == "1"))
        return found

    def visible_windows(self, exclude_classes=("E2EPreviewFrame",)):
        """The visible top-level windows, the preview host's own left out."""
        return [w for w in self.windows() if w.visible and w.class_name not in exclude_classes]

    def wait_for_window(self, predicate, timeout, what):
        def find():
            for window in self.visible_windows():
                if predicate(window):
                    return window
            return None
        return wait_until(find, timeout, what, interval=0.25)

    def start_host(self, width, height):
        """Opens the preview host; returns (process, child hwnd, its screen rectangle)."""
        info = Path(self.session.dir) / "host.txt"
        process = self.session.start(self.exe, "host", width, height, to_windows_path(info), label="host")
        wait_until(info.exists, 30, "the preview host's window")
        values = dict(line.split("=", 1) for line in info.read_text().split())
        rect = tuple(int(values[k]) for k in ("left", "top", "right", "bottom"))
        return PreviewHost(process, int(values["hwnd"]), rect, info)


@dataclass
class PreviewHost:
    process: object
    hwnd: int
    rect: tuple
    info: Path

    def read_back(self, timeout=15):
        """Asks the host for its preview window's pixels; returns the BMP path."""
        bmp = Path(str(self.info) + ".bmp")
        Path(str(self.info) + ".go").touch()
        wait_until(bmp.exists, timeout, "the preview host's read-back bitmap")
        return bmp

    def close(self):
        Path(str(self.info) + ".quit").touch()
