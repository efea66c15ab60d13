"""Sound under Wine without a sound card: ALSA's file plugin over its null device stands in for
the card and keeps every sample played, which tells which track played when."""

import array
from pathlib import Path

CAPTURE_RATE = 44100
WINDOW = CAPTURE_RATE // 50  # 20 ms


def write_capture_config(home, capture_file):
    """A private ~/.asoundrc whose default device writes 16-bit mono samples to capture_file; each
    opening of the device (one per track) gets a new file, numbered after the first."""
    (Path(home) / ".asoundrc").write_text(f"""\
pcm.!default {{
  type plug
  slave {{
    pcm "e2e_capture"
    format S16_LE
    rate {CAPTURE_RATE}
    channels 1
  }}
}}
pcm.e2e_capture {{
  type file
  slave.pcm "null"
  file "{capture_file}"
  format "raw"
  truncate false
}}
""")


def write_no_device_config(home):
    """A private ~/.asoundrc whose default device does not exist."""
    (Path(home) / ".asoundrc").write_text('pcm.!default { type hw card 99 }\nctl.!default { type hw card 99 }\n')


def captured_files(capture_file):
    capture_file = Path(capture_file)
    return sorted(capture_file.parent.glob(capture_file.name + "*"))


def captured_seconds(capture_file):
    return sum(f.stat().st_size for f in captured_files(capture_file)) / (2 * CAPTURE_RATE)


def read_samples(capture_file):
    samples = array.array("h")
    for f in captured_files(capture_file):
        data = f.read_bytes()
        samples.frombytes(data[:len(data) // 2 * 2])
    return samples


def tone_sequence(samples, tones, min_windows=3):
    """The tracks heard, in order: each 20 ms window that is not silent is matched to the nearest
    tone by its zero crossings; runs shorter than min_windows (the joins) are dropped, and repeats
    of one track in a row are one entry."""
    levels = []
    for start in range(0, len(samples) - WINDOW + 1, WINDOW):
        window = samples[start:start + WINDOW]
        energy = sum(s * s for s in window) / WINDOW
        crossings = sum(1 for a, b in zip(window, window[1:]) if (a < 0) != (b < 0))
        levels.append((energy, crossings * CAPTURE_RATE / (2 * WINDOW)))
    if not levels:
        return []
    loudest = max(e for e, _ in levels)
    labels = []
    for energy, frequency in levels:
        if energy < loudest * 0.05:
            labels.append(None)
            continue
        nearest = min(range(len(tones)), key=lambda i: abs(tones[i] - frequency))
        labels.append(nearest if abs(tones[nearest] - frequency) < tones[nearest] * 0.2 else None)
    runs = []
    for label in labels:
        if runs and runs[-1][0] == label:
            runs[-1][1] += 1
        else:
            runs.append([label, 1])
    sequence = []
    for label, length in runs:
        if label is not None and length >= min_windows and (not sequence or sequence[-1] != label):
            sequence.append(label)
    return sequence
