#!/usr/bin/python3
"""The studio in headless Chromium: a folder of three photos is opened, the photos reordered by
dragging, a caption and two styles chosen, and a Windows 64-bit saver built. The downloaded saver
must then carry that order, that caption and those styles. Screenshots go to --screenshots."""
import argparse
import json
import os
import pathlib
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select, WebDriverWait

# Fires the drag-and-drop events a mouse drag makes, which WebDriver cannot send to Chromium.
DRAG = """
const [source, target] = arguments;
const data = new DataTransfer();
const fire = (node, type) => node.dispatchEvent(
    new DragEvent(type, {dataTransfer: data, bubbles: true, cancelable: true}));
fire(source, 'dragstart');
fire(target, 'dragenter');
fire(target, 'dragover');
fire(target, 'drop');
fire(source, 'dragend');
"""


def start_studio(slidemake, folder):
    studio = subprocess.Popen([slidemake, "studio", folder, "--no-open"], stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, text=True)
    for line in studio.stdout:
        match = re.search(r"open (http://127\.0\.0\.1:\d+/\?token=[0-9a-f]+)", line)
        if match:
            return studio, match.group(1)
    raise SystemExit("the studio did not print its address")


def browser(downloads, profile):
    options = Options()
    for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--disable-dev-shm-usage", "--window-size=1400,1000",
                 "--user-data-dir=" + profile]:
        options.add_argument(flag)
    options.binary_location = "/usr/bin/chromium"
    options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                              "download.prompt_for_download": False})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})
    return driver


def card_files(driver):
    return [card.get_attribute("data-file") for card in driver.find_elements(By.CSS_SELECTOR, "#pictures .card")]


def screenshot(driver, folder, name, full_height=False):
    if full_height:
        height = driver.execute_script("return document.documentElement.scrollHeight")
        driver.set_window_size(1400, min(height, 4000))
    driver.save_screenshot(str(folder / name))
    if full_height:
        driver.set_window_size(1400, 1000)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--slidemake", required=True)
    parser.add_argument("--photos", required=True)
    parser.add_argument("--screenshots", required=True)
    args = parser.parse_args()
    shots = pathlib.Path(args.screenshots)
    shots.mkdir(parents=True, exist_ok=True)
    work = pathlib.Path(tempfile.mkdtemp(prefix="studio-browser-"))
    folder, downloads = work / "photos", work / "downloads"
    folder.mkdir()
    downloads.mkdir()
    photos = sorted(pathlib.Path(args.photos).glob("*.jpg"))[:3]
    assert len(photos) == 3, "three photos wanted in " + args.photos
    for photo in photos:
        shutil.copy(photo, folder / photo.name)
    names = [p.name for p in photos]

    studio, address = start_studio(args.slidemake, str(folder))
    driver = browser(str(downloads), str(work / "chromium-profile"))
    wait = WebDriverWait(driver, 60)
    try:
        driver.get(address)
        wait.until(lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-ready") == "true")
        assert driver.current_url.endswith("/"), "the token stays out of the address: " + driver.current_url
        wait.until(lambda d: card_files(d) == names)
        wait.until(lambda d: all(d.execute_script("return arguments[0].naturalWidth", img) > 0
                                 for img in d.find_elements(By.CSS_SELECTOR, "#pictures .thumb")))
        screenshot(driver, shots, "1-opened.png")

        # The last photo dragged in front of the first.
        cards = driver.find_elements(By.CSS_SELECTOR, "#pictures .card")
        driver.execute_script(DRAG, cards[2], cards[0])
        wanted = [names[2], names[0], names[1]]
        wait.until(lambda d: card_files(d) == wanted)

        caption = driver.find_element(By.CSS_SELECTOR, '[data-setting="Text"]')
        caption.clear()
        caption.send_keys("Café")

        for style in (58, 127):
            cell = driver.find_element(By.ID, f"style-{style}")
            driver.execute_script("arguments[0].scrollIntoView({block: 'center'})", cell)
            wait.until(lambda d: d.execute_script("return arguments[0].querySelector('img').naturalWidth", cell) > 0)
            cell.click()
        chips = [li.get_attribute("data-style") for li in driver.find_elements(By.CSS_SELECTOR, "#chosen-styles li")]
        assert chips == ["58", "127"], chips
        driver.execute_script("window.scrollTo(0, 0)")
        screenshot(driver, shots, "2-edited.png")
        screenshot(driver, shots, "studio.png", full_height=True)

        Select(driver.find_element(By.ID, "target")).select_by_value("win64")
        driver.find_element(By.ID, "build").click()
        wait.until(lambda d: d.find_element(By.ID, "build-message").text.startswith(("Saved", "The build failed")))
        message = driver.find_element(By.ID, "build-message").text
        screenshot(driver, shots, "3-built.png")
        assert message.startswith("Saved"), message
        assert re.search(r"\d[\d,]* bytes", message), "the page states the size: " + message

        deadline = time.time() + 60
        saved = []
        while time.time() < deadline:
            saved = [p for p in downloads.iterdir() if p.suffix == ".scr"]
            if saved:
                break
            time.sleep(0.2)
        assert saved, "no saver was downloaded"
        download = saved[0]
        assert download.read_bytes() == (folder / download.name).read_bytes(), "the folder holds the same saver"

        inspected = json.loads(subprocess.check_output([args.slidemake, "inspect", str(download), "--json"]))
        settings = inspected["settings"]
        assert settings["PicFileNamesCommaList"] == wanted, settings["PicFileNamesCommaList"]
        assert settings["Text"] == "Café", settings["Text"]
        assert settings["EffectCommaList"] == ["58", "127"], settings["EffectCommaList"]
        # And the command line builds the same saver from the studio's manifest.
        rebuilt = work / "rebuilt.scr"
        runtime = pathlib.Path(args.slidemake).parent.parent.parent / "win64/bin/slidesaver.scr"
        subprocess.check_call([args.slidemake, "build", str(folder / "slidesaver.json"), "-o", str(rebuilt),
                               "--target", "win64", "--runtime", str(runtime)], stdout=subprocess.DEVNULL)
        assert rebuilt.read_bytes() == download.read_bytes(), "slidemake build makes the same saver"
        # The play preview: the show recorded at the window's size, shown in the page.
        driver.find_element(By.ID, "play").click()
        wait.until(lambda d: d.execute_script(
            "const img = document.getElementById('recording'); return !img.hidden && img.naturalWidth"))
        # Recorded at the window's size (the GIF halves it until it is at most 640 wide).
        size = driver.execute_script("const img = document.getElementById('recording');"
                                     "return [img.naturalWidth, img.naturalHeight, innerWidth, innerHeight]")
        assert any(0 <= size[2] - size[0] * f < f and 0 <= size[3] - size[1] * f < f for f in (1, 2, 4)), size
        screenshot(driver, shots, "4-play-preview.png")

        print(f"studio browser test: {download.name} ({download.stat().st_size} bytes) carries "
              f"{wanted}, caption Café, styles 58 and 127; screenshots in {shots}")
    finally:
        driver.quit()
        studio.send_signal(signal.SIGINT)
        try:
            code = studio.wait(timeout=10)
        except subprocess.TimeoutExpired:
            studio.kill()
            raise SystemExit("the studio did not stop on Ctrl+C")
        shutil.rmtree(work, ignore_errors=True)
    if code != 0:
        raise SystemExit(f"the studio ended with {code} after Ctrl+C")


if __name__ == "__main__":
    main()
