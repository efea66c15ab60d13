"""The cases of a saver on a real desktop: a read-only saver folder, a 200 % screen, a double-byte
saver name, a PNG-compressed icon, the user's own files in the temporary directory and the
caption's weight."""

import configparser
import contextlib
import os
import shutil
import struct
import subprocess
import zlib

from cases import (START_TIMEOUT, case, expect, press_key_to_end, wait_for_first_slide, wait_for_setup_dialog,
                   wait_for_show_window)
from media import AUTHOR, CAPTION_COLOUR, TITLE
from pixels import near
from session import SCREEN_HEIGHT, SCREEN_WIDTH, CaseFailure, wait_until

# Starting a program from a folder that refuses writes is slow under Wine (about 20 s here).
READ_ONLY_START_TIMEOUT = 90


def mute_value(path):
    parser = configparser.ConfigParser()
    parser.read_string(path.read_text(errors="replace"))
    return parser.get("Setup", "mute", fallback=None)


def tick_and_ok(ctx, saver, ok_text="&Ok", timeout=START_TIMEOUT):
    dialog = wait_for_setup_dialog(ctx, timeout)
    ctx.session.click(*dialog.child_with_text("Mute music").centre)
    wait_until(lambda: wait_for_setup_dialog(ctx).child_with_text("Mute music").check == 1, 10,
               "the mute box to be ticked by a click")
    ctx.session.click(*dialog.child_with_text(ok_text).centre)
    ctx.expect_exit_code_0(saver, "the setup dialog after OK")


def writable(folder):
    probe = folder / ".write-probe"
    try:
        probe.write_bytes(b"")
    except OSError:
        return False
    probe.unlink()
    return True


@contextlib.contextmanager
def read_only(folder):
    """The folder refuses new files, also to root (which ignores permission bits): then it is
    made immutable, and made mutable again at the end so that the session can be removed."""
    folder.chmod(0o555)
    immutable = False
    try:
        if writable(folder) and os.geteuid() == 0 and shutil.which("chattr"):
            immutable = subprocess.run(["chattr", "+i", str(folder)]).returncode == 0
        if writable(folder):
            raise CaseFailure(f"{folder} cannot be made read-only on this machine")
        yield
    finally:
        if immutable:
            subprocess.run(["chattr", "-i", str(folder)])
        folder.chmod(0o755)


@case
def read_only_saver_folder_keeps_the_mute_choice_in_the_users_folder(ctx):
    folder = ctx.install(ctx.factory.build("readonly"))
    with read_only(folder):
        tick_and_ok(ctx, ctx.start_saver("/c", label="first"), timeout=READ_ONLY_START_TIMEOUT)
        copies = list(ctx.session.drive_c("users").glob("*/AppData/Roaming/slidesaver/e2e.scr/CONTROL.INI"))
        expect(len(copies) == 1, f"expected one CONTROL.INI under the user's application data, found {copies}")
        expect(mute_value(copies[0]) == "1", f"the user's copy holds {copies[0].read_text(errors='replace')!r}")
        expect(not (folder / "CONTROL.INI").exists(), "a CONTROL.INI appeared in the read-only folder")
        # The next dialog reads the user's copy first.
        saver = ctx.start_saver("/c", label="second")
        dialog = wait_for_setup_dialog(ctx, READ_ONLY_START_TIMEOUT)
        mute = dialog.child_with_text("Mute music")
        expect(mute.check == 1, f"the second dialog shows the box in state {mute.check}, expected ticked")
        ctx.session.click(*dialog.child_with_text("&Ok").centre)
        ctx.expect_exit_code_0(saver, "the second setup dialog after OK")


@case
def setup_dialog_at_192_dpi_is_twice_the_size(ctx):
    ctx.session.reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", "REG_DWORD", "192")
    ctx.install(ctx.factory.build("dpi"))
    saver = ctx.start_saver("/c")
    dialog = wait_for_setup_dialog(ctx)
    ctx.session.screenshot("dialog")

    def size(window):
        left, top, right, bottom = window.rect
        return right - left, bottom - top
    panels = sorted((c for c in dialog.children if c.class_name == "SlidesaverSetupPanel"), key=lambda c: c.rect[1])
    expect([size(p) for p in panels] == [(610, 290), (610, 110)],
           f"the panels measure {[size(p) for p in panels]}, expected 610 x 290 and 610 x 110")
    for text, want in (("&Ok", (150, 50)), ("Mute music", (194, 34))):
        got = size(dialog.child_with_text(text))
        expect(got == want, f"\"{text}\" measures {got}, expected {want}")
    # The labels take their text's size in the scaled fonts (designed 13 and 11 pixels high),
    # and the ink of each text lies inside its label.
    image = ctx.screenshot("labels")
    for text, font_height in ((f"Title:{TITLE}", 26), (f"Author:{AUTHOR}", 22), ("Mute music", 22)):
        label = dialog.child_with_text(text)
        width, height = size(label)
        expect(height >= font_height, f"the label \"{text}\" is {height} pixels high, too low for a "
                                      f"{font_height}-pixel font")
        left, top, right, bottom = label.rect
        around = (left - 10, top - 6, right + 40, bottom + 6)
        ink = image.bounding_box(around, lambda p: max(p) < 90)
        expect(ink is not None, f"no text drawn around the label \"{text}\" at {label.rect}")
        expect(ink[0] >= left and ink[2] <= right and ink[1] >= top and ink[3] <= bottom,
               f"the text \"{text}\" spreads over {ink}, outside its label {label.rect}")
        expect(ink[2] - ink[0] > width // 2, f"the text \"{text}\" fills only {ink[2] - ink[0]} of {width} pixels")
    ctx.session.click(*dialog.child_with_text("&Ok").centre)
    ctx.expect_exit_code_0(saver, "the setup dialog after OK")


def japanese_locale(ctx):
    """A Unix locale whose code page Wine takes as the system's (932), made in the session."""
    folder = ctx.session.dir / "locale"
    target = folder / "ja_JP.UTF-8"
    if not target.exists():
        folder.mkdir(exist_ok=True)
        done = subprocess.run(["localedef", "-i", "ja_JP", "-f", "UTF-8", str(target)], capture_output=True,
                              text=True, timeout=120)
        if not target.exists():
            raise CaseFailure(f"localedef could not make ja_JP.UTF-8: {done.stderr.strip()}")
    ctx.session.env.update({"LOCPATH": str(folder), "LANG": "ja_JP.UTF-8", "LC_ALL": "ja_JP.UTF-8"})
    # Without it the name would hold no 0x5C byte and the case would prove nothing: the console's
    # answer comes in Japanese, in the code page's own bytes.
    ctx.session.run("cmd", "/c", "chcp")
    answer = (ctx.session.dir / "run.out").read_bytes().decode("cp932", errors="replace")
    expect("コード" in answer, f"Wine does not run with code page 932 in this locale: {answer.strip()!r}")


@case
def saver_named_with_a_backslash_second_byte_finds_its_files(ctx):
    japanese_locale(ctx)
    folder = ctx.install(ctx.factory.build("dbcs"))
    name = "表.scr"  # 0x95 0x5C in the system's code page
    (folder / "e2e.scr").rename(folder / name)
    (folder / "ridiziv.ini").write_text("[Language]\r\nTitle=Titel:\r\n")
    saver = ctx.session.start("C:\\saver\\" + name, "/c", label="saver")
    dialog = ctx.probe.wait_for_window(lambda w: w.text.startswith("Setup ["), START_TIMEOUT, "the setup dialog")
    dialog.child_with_text(f"Titel:{TITLE}")  # the language file beside the saver was found
    tick_and_ok(ctx, saver, ok_text="OK")  # the language file has no key for it
    ini = folder / "CONTROL.INI"
    expect(ini.exists(), f"no CONTROL.INI beside the saver; the folder holds {sorted(p.name for p in folder.iterdir())}")
    expect(mute_value(ini) == "1", f"CONTROL.INI holds {ini.read_text(errors='replace')!r}")


# --- a 256-pixel icon whose image is PNG-compressed ------------------------------------------

ICON_SIZE = 256
ICON_QUARTERS = ((255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0))


def png_bytes(size, colour_at):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + b"".join(bytes((*colour_at(x, y), 255)) for x in range(size)) for y in range(size))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def icon_quarter(x, y):
    return ICON_QUARTERS[(y >= ICON_SIZE // 2) * 2 + (x >= ICON_SIZE // 2)]


def write_png_icon(path):
    png = png_bytes(ICON_SIZE, icon_quarter)
    # One entry; a width and height of 0 mean 256.
    path.write_bytes(struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(png), 22) + png)


@case
def png_compressed_icon_shows_in_the_show(ctx):
    write_png_icon(ctx.factory.folder / "quarters256.ico")
    ctx.install(ctx.factory.build("icon", pictures=("quarters256.ico",), Text=""))
    ctx.session.xdotool("mousemove", SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2)
    saver = ctx.start_saver("/s")
    wait_for_show_window(ctx)
    left, top = (SCREEN_WIDTH - ICON_SIZE) // 2, (SCREEN_HEIGHT - ICON_SIZE) // 2
    half, inset = ICON_SIZE // 2, 4
    last = [None]

    def drawn():
        image = ctx.screenshot("icon")
        try:
            for i, colour in enumerate(ICON_QUARTERS):
                x0, y0 = left + (i % 2) * half, top + (i // 2) * half
                image.expect_colour((x0 + inset, y0 + inset, x0 + half - inset, y0 + half - inset), colour,
                                    f"the icon's quarter {i}", step=5)
            image.expect_colour((0, 0, left - 2, SCREEN_HEIGHT), (0, 0, 0), "the black left of the icon", step=9)
            return True
        except CaseFailure as e:
            last[0] = e
            return False
    try:
        wait_until(drawn, 20, "the icon on the screen", interval=0.5)
    except CaseFailure:
        raise CaseFailure(f"the PNG icon was not drawn: {last[0]}") from None
    press_key_to_end(ctx, saver)


@case
def users_file_of_a_media_name_in_temp_survives_the_show(ctx):
    temp = ctx.session.windows_temp()
    own = b"the user's own theme, not the saver's \x00\xff"
    (temp / "track0.wav").write_bytes(own)
    ctx.install(ctx.factory.build("own", music=("track0.wav",), lMute=True))
    ctx.session.xdotool("mousemove", SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2)
    saver = ctx.start_saver("/s")
    wait_for_show_window(ctx)
    copies = wait_until(lambda: list(temp.glob("*/track0.wav")), 15, "the track copied into a folder of the show's own")
    expect(copies[0].read_bytes() != own, "the show's copy holds the user's bytes")
    press_key_to_end(ctx, saver)
    expect((temp / "track0.wav").read_bytes() == own, "the user's track0.wav in %TEMP% changed during the show")
    left = [p.name for p in temp.iterdir() if p.is_dir() and p.name.startswith("slidesaver-")]
    expect(not left, f"the show left folders in %TEMP%: {left}")


@case
def bold_caption_font_draws_the_same_pixels_as_the_regular_one(ctx):
    ctx.session.xdotool("mousemove", SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2)
    bands = {}
    for label, style in (("regular", []), ("bold", ["fsBold"])):
        font = {"Name": "Tahoma", "Height": -40, "Color": "clYellow", "Style": style}
        ctx.install(ctx.factory.build(f"caption_{label}", TextFont=font))
        saver = ctx.start_saver("/s", label=label)
        wait_for_show_window(ctx)
        image = wait_for_first_slide(ctx, label)
        band = (0, SCREEN_HEIGHT - 80, SCREEN_WIDTH, SCREEN_HEIGHT)
        bands[label] = (image, list(image.pixels(band)))
        press_key_to_end(ctx, saver, f"the {label} show after a key press")
    regular, bold = bands["regular"][1], bands["bold"][1]
    differing = [(x, y) for (x, y, a), (_, _, b) in zip(regular, bold) if a != b]
    box = bands["regular"][0].bounding_box((0, SCREEN_HEIGHT - 80, SCREEN_WIDTH, SCREEN_HEIGHT),
                                           near(CAPTION_COLOUR, 40))
    expect(box is not None, "no caption was drawn")
    expect(not differing, f"{len(differing)} caption pixels differ between the regular and the bold font, "
                          f"the first at {differing[:3]}")
