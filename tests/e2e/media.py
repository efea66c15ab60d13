"""The savers the cases run: pictures and tunes with known content, built by slidemake."""

import json
import math
import struct
import subprocess
import wave
from pathlib import Path

from session import CaseFailure

# The first picture: four quarters in pure colours, so that its place and scaling show in pixels.
PICTURE_WIDTH, PICTURE_HEIGHT = 400, 300
QUARTERS = {"top left": (255, 0, 0), "top right": (0, 255, 0),
            "bottom left": (0, 0, 255), "bottom right": (255, 255, 255)}
CAPTION_TEXT = "E2E CAPTION"
CAPTION_COLOUR = (255, 255, 0)  # clYellow
TITLE, AUTHOR = "E2E Title", "E2E Author"
EMAIL, WEB = "mailto:e2e@example.org", "https://example.org/e2e"

# Music: one pure tone per track, told apart in the captured samples by its frequency.
TRACK_TONES = (300, 700, 1500)
TRACK_SECONDS = 0.6
TRACK_RATE = 22050
MOVIE_NAME = "clip.swf"


def quarter_colour(x, y, width, height):
    if y < height // 2:
        return QUARTERS["top left"] if x < width // 2 else QUARTERS["top right"]
    return QUARTERS["bottom left"] if x < width // 2 else QUARTERS["bottom right"]


def write_bmp(path, width, height, colour_at):
    """A 24-bit bottom-up BMP."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = colour_at(x, y, width, height)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    Path(path).write_bytes(header + info + pixels)


def write_tone(path, frequency, seconds=TRACK_SECONDS, rate=TRACK_RATE):
    frames = int(seconds * rate)
    samples = b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * frequency * i / rate)))
                       for i in range(frames))
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(samples)


def base_settings(**overrides):
    settings = {
        "Text": CAPTION_TEXT,
        "TextFont": {"Name": "Tahoma", "Height": -40, "Color": "clYellow"},
        "lRandomStyle": False,
        "lRandomPic": False,
        "lClearOldImage": False,
        "lStretch": False,
        "Interval": 60000,  # the first picture stays for the whole case
        "SoundRandom": 1,
        "lSoundLoop": False,  # slidemake's own default loops; these savers never did
        "lMute": False,
        "lExitMouseMove": False,
        "lExitMouseClick": False,
        "lExitKeyPress": True,
        "lShowMouseCursor": False,
        "Title": TITLE,
        "Author": AUTHOR,
        "Email": EMAIL,
        "Web": WEB,
        "Ver": "photo",
        "EffectCommaList": [51],
    }
    settings.update(overrides)
    return settings


class SaverFactory:
    """Writes the media once and builds savers from manifests around them."""

    def __init__(self, slidemake, runtime, folder):
        self.slidemake = slidemake
        self.runtime = runtime
        self.folder = Path(folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        write_bmp(self.folder / "quarters.bmp", PICTURE_WIDTH, PICTURE_HEIGHT, quarter_colour)
        write_bmp(self.folder / "cyan.bmp", 200, 200, lambda *_: (0, 255, 255))
        for i, tone in enumerate(TRACK_TONES):
            write_tone(self.folder / f"track{i}.wav", tone)
        # The show only copies a movie out and back; its content does not matter unless a movie
        # control plays it, and none exists here.
        (self.folder / MOVIE_NAME).write_bytes(b"FWS\x06" + bytes(60))

    def build(self, name, music=(), movies=(), pictures=("quarters.bmp", "cyan.bmp"), **settings):
        manifest = {
            "pictures": list(pictures),
            "music": list(music),
            "movies": list(movies),
            "settings": base_settings(**settings),
        }
        manifest_path = self.folder / f"{name}.json"
        manifest_path.write_text(json.dumps(manifest, indent=2))
        saver = self.folder / f"{name}.scr"
        result = subprocess.run([self.slidemake, "build", str(manifest_path), "-o", str(saver),
                                 "--runtime", str(self.runtime)], capture_output=True, text=True, timeout=60)
        if result.returncode != 0:
            raise CaseFailure(f"slidemake build {name} failed: {result.stderr.strip()}")
        return saver
