"""A display with two real monitors side by side, 1024 x 768 at (0, 0) and 800 x 600 at
(1024, 0), on a 1824 x 768 root, through Xorg's dummy driver, joined in one of two ways:
"xinerama", two X screens under Xinerama (no RandR then: SDL sees one display as wide as the
root), or "randr", one screen whose two outputs xrandr places side by side (what a desktop of
today reports). Xvfb's Xinerama puts its screens at one origin, so it cannot stand in."""

import os
import subprocess
import time
from pathlib import Path

from session import CaseFailure, find_tool, wait_until

PRIMARY = (0, 0, 1024, 768)
SECOND = (1024, 0, 1824, 600)
ROOT_SIZE = (1824, 768)

XINERAMA_CONFIG = """\
Section "ServerFlags"
  Option "Xinerama" "on"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
EndSection
{devices}
Section "ServerLayout"
  Identifier "two-heads"
  Screen 0 "screen0"
  Screen 1 "screen1" RightOf "screen0"
EndSection
"""

# One screen as wide as both monitors, with the second monitor's mode on offer.
RANDR_CONFIG = """\
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
EndSection
Section "Device"
  Identifier "card0"
  Driver "dummy"
  VideoRam 64000
EndSection
Section "Monitor"
  Identifier "monitor0"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
  Modeline "800x600" 40.00 800 824 960 1120 600 603 609 638
EndSection
Section "Screen"
  Identifier "screen0"
  Device "card0"
  Monitor "monitor0"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1024x768"
    Virtual 1824 768
  EndSubSection
EndSection
"""

HEAD = """\
Section "Device"
  Identifier "card{n}"
  Driver "dummy"
  VideoRam 64000
EndSection
Section "Monitor"
  Identifier "monitor{n}"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "{w}x{h}" {clock} {w} {hs} {he} {ht} {h} {vs} {ve} {vt}
EndSection
Section "Screen"
  Identifier "screen{n}"
  Device "card{n}"
  Monitor "monitor{n}"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "{w}x{h}"
    Virtual {w} {h}
  EndSubSection
EndSection
"""


def head_config(n, w, h, clock):
    return HEAD.format(n=n, w=w, h=h, clock=clock, hs=w + 24, he=w + 160, ht=w + 320, vs=h + 3, ve=h + 9,
                       vt=h + 38)


def free_display():
    for number in range(70, 130):
        if not Path(f"/tmp/.X11-unix/X{number}").exists() and not Path(f"/tmp/.X{number}-lock").exists():
            return number
    raise CaseFailure("no free X display number between :70 and :129")


def start_two_heads(log, folder, layout):
    """Starts the server with `layout` ("xinerama" or "randr"); returns (process, display). Its
    log is folder/xorg.log."""
    xorg = find_tool("Xorg", "/usr/lib/xorg/Xorg")
    folder = Path(folder)
    config = folder / "two-heads.conf"
    if layout == "xinerama":
        config.write_text(XINERAMA_CONFIG.format(
            devices=head_config(0, 1024, 768, "65.00") + head_config(1, 800, 600, "40.00")))
    elif layout == "randr":
        config.write_text(RANDR_CONFIG)
    else:
        raise CaseFailure(f"unknown monitor layout {layout!r}")
    number = free_display()
    process = subprocess.Popen(
        [xorg, f":{number}", "-config", str(config), "-noreset", "-nolisten", "tcp", "-logfile",
         str(folder / "xorg.log")],
        stdout=log, stderr=log, stdin=subprocess.DEVNULL, start_new_session=True)
    display = f":{number}"
    socket = Path(f"/tmp/.X11-unix/X{number}")
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        if process.poll() is not None:
            raise CaseFailure(f"Xorg ended with {process.returncode}; see {folder / 'xorg.log'}")
        if socket.exists() and answers(display):
            if layout == "randr":
                place_outputs(display, log)
            return process, display
        time.sleep(0.1)
    process.kill()
    raise CaseFailure(f"Xorg with two dummy heads did not come up within 20 s; see {folder / 'xorg.log'}")


def place_outputs(display, log):
    xrandr = find_tool("xrandr")
    env = {**os.environ, "DISPLAY": display}
    for args in (["--fb", "1824x768"], ["--addmode", "DUMMY1", "800x600"],
                 ["--output", "DUMMY0", "--mode", "1024x768", "--pos", "0x0", "--primary",
                  "--output", "DUMMY1", "--mode", "800x600", "--pos", "1024x0"]):
        result = subprocess.run([xrandr, *args], env=env, stdout=log, stderr=log, timeout=20)
        if result.returncode != 0:
            raise CaseFailure(f"xrandr {' '.join(args)} failed with {result.returncode}")

    def both_placed():
        listed = subprocess.run([xrandr, "--listmonitors"], env=env, capture_output=True, text=True, timeout=20)
        return "+1024+0" in listed.stdout and "+0+0" in listed.stdout
    wait_until(both_placed, 10, "xrandr to list both monitors")


def answers(display):
    """The server takes connections (the cases check the root's size on a screenshot)."""
    out = subprocess.run([find_tool("xdotool"), "getdisplaygeometry"], env={**os.environ, "DISPLAY": display},
                         capture_output=True, text=True, timeout=10)
    return out.returncode == 0
