"""The end-to-end cases: each one runs the Windows saver under Wine in its own session."""

import configparser
import re
import time
from pathlib import Path

import audio
import doubles
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

    def __init__(self, session, probe_exe, factory, linux_factory=None):
        self.session = session
        self.probe = Probe(session, probe_exe)
        self.factory = factory
        self.linux_factory = linux_factory  # savers on the Linux runtime; None when not given

    def install(self, saver):
        """Copies a saver into C:\\saver and returns its folder on the Unix side."""
        folder = self.session.drive_c(*SAVER_DIR)
        folder.mkdir(parents=True, exist_ok=True)
        (folder / "e2e.scr").write_bytes(saver.read_bytes())
        return folder

    def start_saver(self, *args, label="saver", env=None):
        return self.session.start(SAVER_WINDOWS_PATH, *args, label=label, env=env)

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

def wait_for_setup_dialog(ctx, timeout=START_TIMEOUT):
    return ctx.probe.wait_for_window(lambda w: w.text.startswith("Setup ["), timeout,
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
    # In the show's own folder there.
    return {name: any(temp.glob(f"*/{name}")) for name in (*MUSIC, MOVIE_NAME)}


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


# --- the movie show, against the movie control double ------------------------------------------

def windows_bin(ctx):
    return ctx.probe.exe.parent


def write_movies(ctx, **scripts):
    """Writes each movie's script beside the factory's media; returns the names in order."""
    for name, text in scripts.items():
        (ctx.factory.folder / name).write_text(text)
    return tuple(scripts)


def movie_saver(ctx, name, movies, pictures=(), **settings):
    settings.setdefault("Ver", "flash")
    return ctx.install(ctx.factory.build(name, movies=movies, pictures=pictures, **settings))


def start_show_with_the_pointer_still(ctx, env=None):
    ctx.session.xdotool("mousemove", SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2)
    return ctx.start_saver("/s", env=env)


def after(lines, first, then):
    """Whether a line holding `then` follows the first line holding `first`."""
    for i, line in enumerate(lines):
        if first in line:
            return any(then in later for later in lines[i + 1:])
    return False


def expect_covered_by_the_control(ctx, label, colours, timeout=10):
    """Screenshots until the control's colour covers the corners and the top of the screen."""
    spots = [(8, 8), (SCREEN_WIDTH - 9, 8), (8, SCREEN_HEIGHT - 9), (SCREEN_WIDTH - 9, SCREEN_HEIGHT - 9),
             (SCREEN_WIDTH // 2, 40)]
    seen = []

    def covered():
        image = ctx.screenshot(label)
        seen[:] = [(spot, image.pixel(*spot)) for spot in spots]
        return all(colour in colours for _, colour in seen)
    try:
        wait_until(covered, timeout, "the control covering the screen", interval=0.3)
    except CaseFailure:
        raise CaseFailure(f"the screen is not covered by the control's {colours}: {seen} "
                          f"in {ctx.session.shots[-1]}") from None


@case
def movie_saver_creates_the_control_by_class_id_and_plays_its_movies_in_turn(ctx):
    control = doubles.MovieControl(ctx.session, windows_bin(ctx))
    first, second = (32, 96, 160), (160, 64, 32)
    movies = write_movies(ctx, **{"m0.swf": doubles.movie_script(4, end="stop", colour=first),
                                  "m1.swf": doubles.movie_script(4, end="overrun", colour=second)})
    movie_saver(ctx, "movies", movies)
    saver = start_show_with_the_pointer_still(ctx)
    control.wait_for(lambda lines: "Play" in " ".join(lines), START_TIMEOUT, "the first movie to play")
    expect_covered_by_the_control(ctx, "movie", (first, second))
    control.wait_for(lambda _: len(control.movies_put()) >= 3, 20, "movies 0, 1 and 0 again")
    lines = control.lines()
    expect(control.movies_put()[:3] == ["m0.swf", "m1.swf", "m0.swf"],
           f"movies given in the order {control.movies_put()}, expected m0, m1, m0")
    expect(any(f"DllGetClassObject {doubles.CONTROL_CLASS_ID} IClassFactory" in line for line in lines),
           f"the control was not asked for by its class id: {lines[:5]}")
    movie = next(line for line in lines if " Movie put " in line).split(" Movie put ", 1)[1]
    temp = ctx.session.windows_temp().relative_to(ctx.session.drive_c())
    # The copy lies in the show's own folder inside the temporary directory.
    temp_prefix = "C:\\" + "\\".join(temp.parts) + "\\"
    inner = movie[len(temp_prefix):].split("\\") if movie.lower().startswith(temp_prefix.lower()) else []
    expect(len(inner) == 2 and inner[1] == "m0.swf",
           f"Movie set to {movie}, expected the copy m0.swf in a folder of the show's own in {temp_prefix}")
    expect(after(lines, " Movie put ", " Play"), "Play was not called after Movie was set")
    doverb = next((line for line in lines if "IOleObject::DoVerb" in line), "")
    expect(doverb.endswith(f"rect 0,0,{SCREEN_WIDTH},{SCREEN_HEIGHT}"),
           f"DoVerb was given \"{doverb}\", expected the screen's rectangle")
    # The first movie rests on its last frame (3 of 4); the second counts up to its total.
    expect(after(lines, "stopped on the last frame of m0.swf", "Movie put"),
           "the show did not move on from a movie stopped on its last frame")
    expect(after(lines, "frame 4 of m1.swf", "Movie put"),
           "the show did not move on from a movie whose current frame reached its total")
    press_key_to_end(ctx, saver)
    calls = [line for line in control.lines() if not line.startswith(("frame ", "fire ", "stopped "))]
    (ctx.session.dir / "com-calls.txt").write_text("\n".join(calls) + "\n")


def slide_state(image):
    """What the screen shows: the first picture, the second, the movie, or something between."""
    top_left_quarter = image.pixel(330, 250)
    centre = image.pixel(SCREEN_WIDTH // 2, 300)
    if near(QUARTERS["top left"], 12)(top_left_quarter):
        return "picture 0"
    if near((0, 255, 255), 12)(centre) and near((0, 0, 0), 12)(top_left_quarter):
        return "picture 1"
    if near(doubles.CONTROL_COLOUR, 12)(top_left_quarter) and near(doubles.CONTROL_COLOUR, 12)(centre):
        return "movie"
    return None


@case
def pictures_show_once_each_then_the_movies_take_over_for_good(ctx):
    control = doubles.MovieControl(ctx.session, windows_bin(ctx))
    movies = write_movies(ctx, **{"loop.swf": doubles.movie_script(8, end="loop")})
    movie_saver(ctx, "pictures_movies", movies, pictures=("quarters.bmp", "cyan.bmp"), Interval=1000)
    saver = start_show_with_the_pointer_still(ctx)
    states = []
    deadline = time.monotonic() + 25
    movie_since = None
    while time.monotonic() < deadline:
        state = slide_state(ctx.screenshot("sequence"))
        # The control's window may be up for a moment while the show starts, before the first
        # slide hides it: only what follows the first picture counts.
        if state == "movie" and not states:
            state = None
        if state and (not states or states[-1] != state):
            states.append(state)
        if state == "movie" and movie_since is None:
            movie_since = time.monotonic()
        if movie_since is not None and time.monotonic() - movie_since > 3.5:
            break
        time.sleep(0.2)
    expect(states == ["picture 0", "picture 1", "movie"],
           f"the screen showed {states}, expected picture 0, picture 1, then the movie for good")
    expect(control.movies_put() == ["loop.swf"], f"movies given: {control.movies_put()}")
    press_key_to_end(ctx, saver)


def quit_movie(ctx, frame=3):
    return write_movies(ctx, **{"quit.swf": doubles.movie_script(
        40, rate=8, end="loop", fscommand=(frame, "QUIT", "now"))})


@case
def movie_command_quit_ends_the_show_when_the_setting_allows(ctx):
    # A control whose type information cannot be had: the events are found by GetGUID.
    control = doubles.MovieControl(ctx.session, windows_bin(ctx), class_info="guid_only")
    movie_saver(ctx, "quit", quit_movie(ctx), lExitFSCommandQuit=True)
    saver = start_show_with_the_pointer_still(ctx)
    ctx.expect_exit_code_0(saver, "the show after the movie's QUIT command", timeout=START_TIMEOUT)
    lines = control.lines()
    fired = [line for line in lines if line.startswith("FSCommand QUIT now")]
    expect(fired and fired[0].endswith("(the creating thread)"),
           f"the command was not fired on the GUI thread: {fired}")
    expect(after(lines, "FSCommand QUIT", "StopPlay"), "StopPlay was not called after QUIT")
    expect(after(lines, "IProvideClassInfo::GetClassInfo", "IProvideClassInfo2::GetGUID"),
           "the event interface was not asked of GetGUID after the type information failed")


@case
def movie_command_quit_is_ignored_when_the_setting_is_clear(ctx):
    control = doubles.MovieControl(ctx.session, windows_bin(ctx))
    movie_saver(ctx, "no_quit", quit_movie(ctx), lExitFSCommandQuit=False)
    saver = start_show_with_the_pointer_still(ctx)
    control.wait_for(lambda lines: any(line.startswith("fire FSCommand") for line in lines), START_TIMEOUT,
                     "the movie's QUIT command")
    time.sleep(2)
    expect(saver.poll() is None, "the show ended on QUIT with lExitFSCommandQuit clear")
    expect(not any("StopPlay" in line for line in control.lines()), "StopPlay was called")
    press_key_to_end(ctx, saver)


@case
def control_without_class_information_or_progid_is_still_used(ctx):
    control = doubles.MovieControl(ctx.session, windows_bin(ctx), class_info="none", progid=False)
    movie_saver(ctx, "no_class_info", quit_movie(ctx, frame=4), lExitFSCommandQuit=True)
    saver = start_show_with_the_pointer_still(ctx)
    ctx.expect_exit_code_0(saver, "the show after the movie's QUIT command", timeout=START_TIMEOUT)
    lines = control.lines()
    expect(any("FindConnectionPoint IMovieControlEvents" in line for line in lines),
           "the connection point was not asked for by the events' known id")
    expect(control.movies_put() == ["quit.swf"], f"movies given: {control.movies_put()}")


@case
def flash_show_ends_through_the_input_hook_on_a_key_or_a_small_move(ctx):
    # With the password on and a checker that refuses, only the hook road, which asks for no
    # password, can end the show. Wine allows the journal hook; the saver can be told to act as
    # on a system that refuses it, and Wine's trace shows which hooks went in.
    ctx.session.reg_add(r"HKCU\Control Panel\Desktop", "ScreenSaveUsePassword", "REG_DWORD", "1")
    checker = doubles.PasswordChecker(ctx.session, windows_bin(ctx), verified=False)
    control = doubles.MovieControl(ctx.session, windows_bin(ctx))
    movies = write_movies(ctx, **{"long.swf": doubles.movie_script(40, end="loop")})
    movie_saver(ctx, "hooked", movies, lExitMouseMove=True, lExitKeyPress=True, lExitMouseClick=False)
    roads = {"the journal hook": ({}, ["WH_JOURNALRECORD"]),
             "the low-level hooks": ({"SLIDESAVER_REFUSE_JOURNAL_HOOK": "1"}, ["WH_KEYBOARD_LL", "WH_MOUSE_LL"])}
    inputs = {"a key press": lambda: ctx.session.key("a"),
              "a 10-pixel mouse move": lambda: ctx.session.xdotool("mousemove_relative", "10", "0")}
    for road, (env, hooks) in roads.items():
        for what, act in inputs.items():
            saver = start_show_with_the_pointer_still(ctx, env={**env, "WINEDEBUG": "-all,trace+hook"})
            control.wait_for(lambda lines: any("Play" in line for line in lines), START_TIMEOUT, "the movie")
            time.sleep(1)
            act()
            ctx.expect_exit_code_0(saver, f"the flash show on {road} after {what}")
            expect(not checker.calls(), f"{what} on {road} asked for the password: {checker.calls()}")
            trace = saver.log_path.read_text(errors="replace")
            installed = set(re.findall(r"SetWindowsHookEx (WH_\w+) \S+ \S+ -> 0x[1-9a-f]", trace))
            expect(installed == set(hooks), f"{road}: the saver installed {sorted(installed)}, expected {hooks}")
            control.log_path.unlink()


def password_show(ctx, kind, data):
    ctx.session.reg_add(r"HKCU\Control Panel\Desktop", "ScreenSaveUsePassword", kind, data)
    checker = doubles.PasswordChecker(ctx.session, windows_bin(ctx), verified=False)
    ctx.install(ctx.factory.build("password_" + kind.lower()))
    saver = start_show_with_the_pointer_still(ctx)
    wait_for_show_window(ctx)
    ctx.session.key("a")
    wait_until(lambda: len(checker.calls()) == 1, 10, "VerifyScreenSavePwd after a key press")
    time.sleep(1)
    expect(saver.poll() is None, "the show ended although the password was refused")
    checker.answer(True)
    ctx.session.key("a")
    ctx.expect_exit_code_0(saver, "the show after the password was given")
    calls = checker.calls()
    expect(len(calls) == 2 and all(" window valid class " in c for c in calls),
           f"VerifyScreenSavePwd calls: {calls}, expected two, each with the show's window")


@case
def password_as_a_number_is_asked_for_and_no_keeps_the_show(ctx):
    password_show(ctx, "REG_DWORD", "1")


@case
def password_as_text_is_asked_for_and_no_keeps_the_show(ctx):
    password_show(ctx, "REG_SZ", "1")


@case
def change_password_with_a_handle_calls_the_system_entry_point(ctx):
    ctx.install(ctx.factory.build("password_dialog"))
    # Wine's MPR exports the entry point: its relay trace shows the call and its arguments.
    ctx.session.reg_add(r"HKCU\Software\Wine\Debug", "RelayInclude", "REG_SZ", "mpr.PwdChangePasswordA")
    saver = ctx.start_saver("/a", "1234", env={"WINEDEBUG": "-all,+relay"})
    ctx.expect_exit_code_0(saver, "/a 1234")
    trace = saver.log_path.read_text(errors="replace")
    calls = [line for line in trace.splitlines() if "Call mpr.PwdChangePasswordA(" in line]
    # The arguments as the relay prints them: the key name, the handle 1234 in hexadecimal, 0, 0.
    wanted = re.compile(r'"SCRSAVE",0*4d2,0+,0+\)')
    expect(len(calls) == 1 and wanted.search(calls[0]),
           f"PwdChangePasswordA calls: {calls}, expected one with \"SCRSAVE\", 1234, 0, 0")


@case
def music_that_cannot_be_extracted_gives_one_error_box(ctx):
    from desktop_cases import read_only  # noqa: E402 (that module imports this one)
    ctx.install(ctx.factory.build("bad_music", music=MUSIC))
    # A temporary directory that takes no folder for the show's copies.
    with read_only(ctx.session.windows_temp()):
        bad_music_gives_one_error_box(ctx)


def bad_music_gives_one_error_box(ctx):
    ctx.session.xdotool("mousemove", SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2)
    saver = ctx.start_saver("/s")

    def error_box(window):
        return window.class_name == "#32770"
    box = ctx.probe.wait_for_window(error_box, START_TIMEOUT, "the error box")
    ctx.session.screenshot("error-box")
    ok = next((c for c in box.children if c.class_name.lower() == "button"), None)
    expect(ok is not None, f"the error box has no button: {[c.text for c in box.children]}")
    ctx.session.click(*ok.centre)
    # The window stays as far as the activation got; no box may follow, and a key still ends it.
    deadline = time.monotonic() + 4
    while saver.poll() is None and time.monotonic() < deadline:
        again = [w for w in ctx.probe.visible_windows() if error_box(w)]
        if again:
            ctx.session.screenshot("second-box")
            raise CaseFailure(f"a second error box appeared: {[c.text for c in again[0].children]}")
        time.sleep(0.3)
    ctx.session.screenshot("after-box")
    if saver.poll() is None:
        press_key_to_end(ctx, saver, "the show left after its error box, on a key")
    expect(saver.returncode == 0, f"the show ended with exit code {saver.returncode} after its error box")


def readme_section_anchor(title_start):
    """The anchor of the README section whose heading begins with title_start."""
    readme = Path(__file__).resolve().parents[2] / "README.md"
    for line in readme.read_text().splitlines():
        if line.startswith("## ") and line[3:].startswith(title_start):
            words = re.sub(r"[^a-z0-9 -]", "", line[3:].strip().lower())
            return words.replace(" ", "-")
    raise CaseFailure(f"{readme} has no section \"{title_start}…\"")


@case
def flash_saver_without_the_control_opens_the_page_on_what_to_do(ctx):
    shell = doubles.ShellOpenLog(ctx.session, ctx.probe.exe)
    ctx.install(ctx.factory.build("flash_yes", movies=(MOVIE_NAME,), Ver="flash"))
    saver = ctx.start_saver("/s")
    question = "Please install the Macromedia Flash Player ActiveX control."
    box = ctx.probe.wait_for_window(lambda w: any(c.text == question for c in w.children), START_TIMEOUT,
                                    "the question")
    yes = next(c for c in box.children if c.text.replace("&", "") == "Yes")
    ctx.session.click(*yes.centre)
    ctx.expect_exit_code_0(saver, "the flash show after Yes")
    opened = wait_until(shell.opened, 20, "the shell to open the page")
    anchor = readme_section_anchor("When the movie control is missing")
    expect(len(opened) == 1 and opened[0].startswith("https://") and opened[0].endswith("#" + anchor),
           f"the shell opened {opened}, expected one address of the README section #{anchor}")
