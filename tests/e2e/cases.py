"""The end-to-end cases: each one runs the Windows saver under Wine in its own session."""

import configparser
import time

import audio
import media
from media import (AUTHOR, CAPTION_COLOUR, EMAIL, MOVIE_NAME, PICTURE_HEIGHT, PICTURE_WIDTH, QUARTERS, TITLE,
                   TRACK_TONES, WEB)
from pixels import Image, near
from probe import Probe
from session import SCREEN_HEIGHT, SCREEN_WIDTH, CaseFailure, wait_until

SAVER_DIR = ("saver",)  # C:\saver inside the prefix
SAVER_WINDOWS_PATH = r"C:\saver\e2e.scr"
START_TIMEOUT = 30  # a first Wine process in a fresh prefix can take a while
EXIT_TIMEOUT = 15
MUSIC = ("track0.wav", "track1.wav", "track2.wav")

CASES = []


def case(function):
    CASES.append(function)
    return function


class Context:
    """What every case gets: its session, the probe and the saver factory."""

    def __init__(self, session, probe_exe, factory):
        self.session = session
        self.probe = Probe(session, probe_exe)
        self.factory = factory

    def install(self, saver):
        """Copies a saver into C:\\saver and returns its folder on the Unix side."""
        folder = self.session.drive_c(*SAVER_DIR)
        folder.mkdir(parents=True, exist_ok=True)
        (folder / "e2e.scr").write_bytes(saver.read_bytes())
        return folder

    def start_saver(self, *args, label="saver"):
        return self.session.start(SAVER_WINDOWS_PATH, *args, label=label)

    def image(self, path):
        return Image(self.session.tools.convert, path)

    def screenshot(self, label):
        return self.image(self.session.screenshot(label))

    def expect_exit_code_0(self, process, what, timeout=EXIT_TIMEOUT):
        code = self.session.wait_exit(process, timeout, what)
        if code != 0:
            raise CaseFailure(f"{what} ended with exit code {code}, expected 0")


def expect(condition, message):
    if not condition:
        raise CaseFailure(message)


def saver_windows(ctx):
    return [w for w in ctx.probe.visible_windows() if w.class_name != "E2EPreviewTarget"]


def wait_for_show_window(ctx):
    return ctx.probe.wait_for_window(
        lambda w: w.rect == (0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), START_TIMEOUT,
        f"the show window covering the {SCREEN_WIDTH}x{SCREEN_HEIGHT} screen")


# --- configure mode ---------------------------------------------------------------------------

def wait_for_setup_dialog(ctx):
    return ctx.probe.wait_for_window(lambda w: w.text.startswith("Setup ["), START_TIMEOUT,
                                     "the setup dialog")


@case
def setup_dialog_shows_the_saver_and_stores_the_mute_choice(ctx):
    folder = ctx.install(ctx.factory.build("setup"))
    saver = ctx.start_saver("/c")
    dialog = wait_for_setup_dialog(ctx)
    expect(dialog.text == f"Setup [{TITLE}]", f"dialog caption is \"{dialog.text}\", expected \"Setup [{TITLE}]\"")
    for text in (f"Title:{TITLE}", f"Author:{AUTHOR}", EMAIL, WEB, "&Ok"):
        dialog.child_with_text(text)
    mute = dialog.child_with_text("Mute music")
    expect(mute.check == 0, f"the mute box starts ticked (state {mute.check}) with no CONTROL.INI")
    ctx.session.screenshot("dialog")

    ctx.session.click(*mute.centre)
    wait_until(lambda: wait_for_setup_dialog(ctx).child_with_text("Mute music").check == 1, 10,
               "the mute box to be ticked by a click")
    ctx.session.screenshot("ticked")
    ctx.session.click(*dialog.child_with_text("&Ok").centre)
    ctx.expect_exit_code_0(saver, "the setup dialog after OK")

    ini = folder / "CONTROL.INI"
    expect(ini.exists(), f"OK with the box ticked wrote no {ini}")
    parser = configparser.ConfigParser()
    parser.read_string(ini.read_text(errors="replace"))
    value = parser.get("Setup", "mute", fallback=None)
    expect(value == "1", f"CONTROL.INI holds mute={value!r}, expected '1': {ini.read_text(errors='replace')!r}")


@case
def language_file_changes_the_setup_captions(ctx):
    folder = ctx.install(ctx.factory.build("language"))
    (folder / "ridiziv.ini").write_text(
        "[Language]\r\nTitle=Titel:\r\nAuthor=Autor:\r\nbtnOK=Fertig\r\nMuteMusic=Musik aus\r\n")
    saver = ctx.start_saver("/c")
    dialog = wait_for_setup_dialog(ctx)
    # Keys the file lacks fall back to the built-in texts, which replace the designed ones.
    for text in (f"Titel:{TITLE}", f"Autor:{AUTHOR}", "Musik aus", "Fertig"):
        dialog.child_with_text(text)
    ctx.session.screenshot("dialog")
    ctx.session.click(*dialog.child_with_text("Fertig").centre)
    ctx.expect_exit_code_0(saver, "the setup dialog after its OK button")
    expect(not (folder / "CONTROL.INI").exists(), "OK without touching the mute box wrote CONTROL.INI")


# --- show mode --------------------------------------------------------------------------------

def check_first_slide(image):
    """The first picture unscaled in the centre of a black screen, the caption at the bottom."""
    left, top = (SCREEN_WIDTH - PICTURE_WIDTH) // 2, (SCREEN_HEIGHT - PICTURE_HEIGHT) // 2
    half_w, half_h, inset = PICTURE_WIDTH // 2, PICTURE_HEIGHT // 2, 4
    for name, (qx, qy) in {"top left": (0, 0), "top right": (1, 0), "bottom left": (0, 1),
                           "bottom right": (1, 1)}.items():
        x0, y0 = left + qx * half_w, top + qy * half_h
        image.expect_colour((x0 + inset, y0 + inset, x0 + half_w - inset, y0 + half_h - inset),
                            QUARTERS[name], f"the picture's {name} quarter", step=3)
    caption_band = SCREEN_HEIGHT - 80
    black = (0, 0, 0)
    for what, rect in {"left of the picture": (0, 0, left - 1, caption_band),
                       "right of the picture": (left + PICTURE_WIDTH + 1, 0, SCREEN_WIDTH, caption_band),
                       "above the picture": (0, 0, SCREEN_WIDTH, top - 1),
                       "below the picture": (0, top + PICTURE_HEIGHT + 1, SCREEN_WIDTH, caption_band)}.items():
        image.expect_colour(rect, black, f"the black background {what}", tolerance=8, step=7)
    # The caption is anti-aliased: look for its fully coloured pixels, centred and touching the bottom.
    box = image.bounding_box((0, caption_band, SCREEN_WIDTH, SCREEN_HEIGHT), near(CAPTION_COLOUR, 40))
    if box is None:
        raise CaseFailure(f"no caption pixels of colour {CAPTION_COLOUR} at the bottom of {image.path}")
    centre = (box[0] + box[2]) / 2
    expect(abs(centre - SCREEN_WIDTH / 2) <= 6, f"caption centred at x={centre}, expected {SCREEN_WIDTH / 2} "
                                                f"(caption box {box}) in {image.path}")
    expect(box[2] - box[0] > 100, f"the caption is only {box[2] - box[0]} pixels wide in {image.path}")
    expect(SCREEN_HEIGHT - box[3] < 20, f"the caption ends {SCREEN_HEIGHT - box[3]} pixels above the bottom "
                                        f"in {image.path}")


def wait_for_first_slide(ctx, label="show"):
    """Screenshots until the first slide's transition has ended; returns the last screenshot."""
    last_error = [None]

    def settled():
        image = ctx.screenshot(label)
        try:
            check_first_slide(image)
            return image
        except CaseFailure as e:
            last_error[0] = e
            return None
    try:
        return wait_until(settled, 20, "the first slide", interval=0.5)
    except CaseFailure:
        raise CaseFailure(f"the first slide did not appear within 20 s: {last_error[0]}") from None


def extracted_media(ctx):
    temp = ctx.session.windows_temp()
    return {name: (temp / name).exists() for name in (*MUSIC, MOVIE_NAME)}


def press_key_to_end(ctx, saver, what="the show after a key press"):
    ctx.session.key("a")
    ctx.expect_exit_code_0(saver, what)


@case
def show_covers_the_screen_with_the_first_picture_and_ends_on_a_key(ctx):
    audio.write_capture_config(ctx.session.home, ctx.session.dir / "capture.raw")
    ctx.install(ctx.factory.build("show", music=MUSIC, movies=(MOVIE_NAME,)))
    ctx.session.xdotool("mousemove", SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2)
    saver = ctx.start_saver("/s")
    window = wait_for_show_window(ctx)
    expect(window.topmost, f"the show window is not topmost (extended style {window.exstyle:08x})")
    wait_for_first_slide(ctx)
    present = extracted_media(ctx)
    expect(all(present.values()), f"media files missing in the temporary directory during the show: {present}")
    press_key_to_end(ctx, saver)
    present = extracted_media(ctx)
    expect(not any(present.values()), f"media files left in the temporary directory after the show: {present}")


@case
def second_show_of_the_same_saver_exits_at_once(ctx):
    ctx.install(ctx.factory.build("twice"))
    ctx.session.xdotool("mousemove", SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2)
    first = ctx.start_saver("/s", label="first")
    wait_for_show_window(ctx)
    started = time.monotonic()
    second = ctx.start_saver("/s", label="second")
    ctx.expect_exit_code_0(second, "the second show")
    ctx.session.log.write(f"second show ended after {time.monotonic() - started:.2f} s\n".encode())
    windows = saver_windows(ctx)
    expect(len(windows) == 1, f"expected the first show's window only, found {[w.text for w in windows]}")
    expect(first.poll() is None, "the first show ended when the second one started")
    press_key_to_end(ctx, first, "the first show after a key press")


def preview_quarters_drawn(image, left=0, top=0):
    """The first picture stretched over one pixel more than the 152 x 112 window, 153 x 113 from
    its top left corner: the quarters meet at 76.5 and 56.5 pixels."""
    quarter_spots = {"top left": (4, 4, 72, 52), "top right": (81, 4, 148, 52),
                     "bottom left": (4, 61, 72, 108), "bottom right": (81, 61, 148, 108)}
    for name, (l, t, r, b) in quarter_spots.items():
        image.expect_colour((l + left, t + top, r + left, b + top), QUARTERS[name],
                            f"the preview's {name} quarter", step=2)


def drawing_across_processes_shows(ctx, host):
    """Whether this Wine shows what one process draws into another's window through GetDC;
    Wine 8 does not (the drawing goes nowhere), and then the preview's pixels cannot be seen."""
    code, _ = ctx.session.run(ctx.probe.exe, "fill", host.hwnd)
    expect(code == 0, f"e2e_probe fill ended with exit code {code}")
    left, top, right, bottom = host.rect
    return ctx.screenshot("fill").pixel((left + right) // 2, (top + bottom) // 2) == (255, 0, 255)


@case
def preview_draws_the_first_picture_into_the_given_window(ctx):
    ctx.install(ctx.factory.build("preview"))
    host = ctx.probe.start_host(152, 112)
    can_see = drawing_across_processes_shows(ctx, host)
    saver = ctx.start_saver("/p", host.hwnd)
    if can_see:
        last_error = []

        def drawn():
            try:
                preview_quarters_drawn(ctx.screenshot("preview"), host.rect[0], host.rect[1])
                return True
            except CaseFailure as e:
                last_error[:] = [e]
                return False
        try:
            wait_until(drawn, 20, "the preview on the screen", interval=0.5)
        except CaseFailure:
            raise (last_error or [CaseFailure("the preview was never drawn")])[0] from None
        # The same pixels read back by the window's owner through its own device context.
        preview_quarters_drawn(ctx.image(host.read_back()))
    else:
        ctx.session.notes.append("this Wine does not show drawing into another process's window, so "
                                 "the preview's pixels were not checked; its life was")
        time.sleep(3)  # long enough to have drawn and to be idling on the visible window
    expect(saver.poll() is None, "the preview ended while its window was still visible")
    host.close()
    ctx.expect_exit_code_0(saver, "the preview after its window was destroyed")


@case
def change_password_without_a_handle_exits_silently(ctx):
    ctx.install(ctx.factory.build("password_change"))
    saver = ctx.start_saver("/a")
    ctx.expect_exit_code_0(saver, "/a with no window handle")
    windows = saver_windows(ctx)
    expect(not windows, f"/a left windows behind: {[(w.class_name, w.text) for w in windows]}")


@case
def flash_saver_without_the_control_asks_and_no_ends_the_show(ctx):
    ctx.install(ctx.factory.build("flash", movies=(MOVIE_NAME,), Ver="flash"))
    ctx.session.xdotool("mousemove", 5, 5)
    saver = ctx.start_saver("/s")
    question = "Please install the Macromedia Flash Player ActiveX control."

    def message_box(window):
        return any(c.text == question for c in window.children)
    box = ctx.probe.wait_for_window(message_box, START_TIMEOUT, f"the question \"{question}\"")
    ctx.session.screenshot("question")
    buttons = {c.text.replace("&", ""): c for c in box.children if c.class_name.lower() == "button"}
    expect({"Yes", "No"} <= set(buttons), f"the question offers {sorted(buttons)}, expected Yes and No")
    ctx.session.click(*buttons["No"].centre)
    try:
        ctx.expect_exit_code_0(saver, "the flash show after No")
    except CaseFailure as e:
        again = [w for w in ctx.probe.visible_windows() if message_box(w) and w.hwnd != box.hwnd]
        if again:
            ctx.session.screenshot("asked-again")
            raise CaseFailure(f"{e}: after No the show asked the question again") from None
        raise
    expect(not saver_windows(ctx), "windows left after the flash show ended")


@case
def password_switch_without_its_checker_lets_the_first_key_end_the_show(ctx):
    ctx.session.reg_add(r"HKCU\Control Panel\Desktop", "ScreenSaveUsePassword", "REG_DWORD", "1")
    ctx.install(ctx.factory.build("password"))
    ctx.session.xdotool("mousemove", SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2)
    saver = ctx.start_saver("/s")
    wait_for_show_window(ctx)
    press_key_to_end(ctx, saver, "the show after the first key, with the password switch on")


@case
def music_tracks_play_one_after_another_in_order(ctx):
    capture = ctx.session.dir / "capture.raw"
    audio.write_capture_config(ctx.session.home, capture)
    ctx.install(ctx.factory.build("music", music=MUSIC, SoundRandom=1))
    ctx.session.xdotool("mousemove", SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2)
    saver = ctx.start_saver("/s")
    wait_for_show_window(ctx)
    wanted = [0, 1, 2, 0]

    def heard_enough():
        sequence = audio.tone_sequence(audio.read_samples(capture), TRACK_TONES)
        return sequence if len(sequence) >= len(wanted) else None
    try:
        sequence = wait_until(heard_enough, 30, f"the tracks {wanted} in the captured samples", interval=0.5)
    except CaseFailure as e:
        heard = audio.tone_sequence(audio.read_samples(capture), TRACK_TONES)
        raise CaseFailure(f"{e}; heard {heard} in {audio.captured_seconds(capture):.1f} s of samples "
                          f"({[f.name for f in audio.captured_files(capture)]})") from None
    ctx.session.log.write(f"tracks heard: {sequence} in {audio.captured_seconds(capture):.1f} s of samples\n".encode())
    expect(sequence[:len(wanted)] == wanted, f"tracks played in the order {sequence}, expected {wanted} first")
    press_key_to_end(ctx, saver)


@case
def music_without_a_sound_device_leaves_the_show_running_silently(ctx):
    audio.write_no_device_config(ctx.session.home)
    ctx.install(ctx.factory.build("silent", music=MUSIC, SoundRandom=1))
    ctx.session.xdotool("mousemove", SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2)
    saver = ctx.start_saver("/s")
    wait_for_show_window(ctx)
    wait_for_first_slide(ctx)
    time.sleep(2)  # long enough for every track to have failed
    windows = saver_windows(ctx)
    expect(len(windows) == 1, f"a message appeared: {[(w.class_name, w.text) for w in windows]}")
    expect(saver.poll() is None, "the show ended by itself")
    press_key_to_end(ctx, saver)
