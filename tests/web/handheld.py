#!/usr/bin/python3
"""Drives the handheld page in a real headless Chromium against a running transfer utility, as a
shop assistant would: pairs, takes the item file, checks a price, counts a stocktake by typing and
by the camera, reloads with the network gone, then sends the count when the PC asks for it.

Prints one JSON line per step; on a failed check says what failed on stderr and exits 1.
"""
import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
import time
from collections import Counter
from pathlib import Path

from selenium import webdriver
from selenium.common.exceptions import StaleElementReferenceException, TimeoutException, WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

LINES_JS = """return [...document.querySelectorAll('#lines li[data-barcode]')].map(
    (li) => [li.dataset.barcode, Number(li.querySelector('.qty').textContent), li.classList.contains('unknown')]);"""


class Failed(Exception):
    pass


def step(name, **fields):
    print(json.dumps({"step": name, **fields}), flush=True)


def run(*command):
    done = subprocess.run(command, capture_output=True, text=True)
    if done.returncode != 0:
        raise Failed(f"{command[0]} failed: {done.stderr.strip()}")


def ean13(code):
    """The 13-digit EAN of a 12- or 13-digit code, checking the check digit of a 13-digit one."""
    if not re.fullmatch(r"\d{12,13}", code):
        raise Failed(f"{code} is not an EAN-13 barcode")
    check = (10 - sum(int(d) * (3 if i % 2 else 1) for i, d in enumerate(code[:12])) % 10) % 10
    if len(code) == 13 and int(code[12]) != check:
        raise Failed(f"{code} is not a valid EAN-13: its check digit is {check} ({code[:12]}{check})")
    return code[:12] + str(check)


def camera_video(codes, folder):
    """A .y4m film of each code drawn by zint on a white 640x480 frame for 1.5 s."""
    inputs, filters = [], []
    for i, code in enumerate(codes):
        picture = folder / f"{code}.png"
        run("zint", "-b", "13", "--height=60", "--scale=4", "-d", code[:12], "-o", str(picture))
        inputs += ["-loop", "1", "-framerate", "10", "-t", "1.5", "-i", str(picture)]
        filters.append(f"[{i}:v]scale=560:-2,pad=640:480:(ow-iw)/2:(oh-ih)/2:white,setsar=1,format=yuv420p[v{i}]")
    joined = "".join(f"[v{i}]" for i in range(len(codes)))
    filters.append(f"{joined}concat=n={len(codes)}:v=1:a=0[film]")
    film = folder / "camera.y4m"
    run("ffmpeg", "-loglevel", "error", "-y", *inputs, "-filter_complex", ";".join(filters),
        "-map", "[film]", "-pix_fmt", "yuv420p", str(film))
    run("sed", "-i", "0,/C420mpeg2/s//C420/", str(film))  # Chromium cannot play the mpeg2 chroma siting
    return film


def item_file(path):
    """Barcode -> (stock id, description, price) of an item file of fixed-width records."""
    items = {}
    for record in Path(path).read_bytes().decode("latin-1").splitlines():
        fields = [record[a:b].strip() for a, b in ((0, 5), (5, 20), (20, 60), (60, 69))]
        items[fields[1]] = (fields[0], fields[2], fields[3])
    return items


def chromium(home, authority, film):
    """A headless Chromium that trusts the utility's own authority through its NSS store."""
    os.environ["HOME"] = str(home)
    store = f"sql:{home}/.pki/nssdb"
    (home / ".pki" / "nssdb").mkdir(parents=True)
    run("certutil", "-d", store, "-N", "--empty-password")
    run("certutil", "-d", store, "-A", "-t", "C,,", "-n", "rmstockhand", "-i", authority)
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-dev-shm-usage", f"--user-data-dir={home}/profile",
                 "--use-fake-ui-for-media-stream", "--autoplay-policy=no-user-gesture-required"):
        options.add_argument(flag)
    if film:
        options.add_argument("--use-fake-device-for-media-stream")
        options.add_argument(f"--use-file-for-fake-video-capture={film}")
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class Page:
    def __init__(self, driver):
        self.driver = driver

    def wait(self, what, check, timeout=20):
        try:
            return WebDriverWait(self.driver, timeout, poll_frequency=0.02,
                                 ignored_exceptions=[StaleElementReferenceException]).until(lambda _: check())
        except TimeoutException:
            raise Failed(f"waited {timeout} s for {what}; the page says: {self.text('status')!r} {self.text('message')!r}") from None

    def find(self, id):
        return self.driver.find_element(By.ID, id)

    def text(self, id):
        found = self.driver.find_elements(By.ID, id)
        return found[0].text if found else ""

    def lines(self):
        return {barcode: (qty, unknown) for barcode, qty, unknown in self.driver.execute_script(LINES_JS)}

    def scan(self, barcode, qty=None):
        before = self.lines().get(barcode, (0, False))[0]
        if qty is not None:
            self.find("qty").send_keys(str(qty))
        self.find("scan").send_keys(barcode + Keys.ENTER)
        self.wait(f"{barcode} to be counted", lambda: self.lines().get(barcode, (0,))[0] == before + (qty or 1))
        if self.find("qty").get_attribute("value"):
            raise Failed("the typed Qty was not cleared after the scan")


def drive(page, args, items):
    driver = page.driver
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": 360, "height": 740, "deviceScaleFactor": 1, "mobile": True})
    driver.get(args.page)
    page.wait("the pairing form", lambda: page.find("code").is_displayed())
    page.find("code").send_keys(args.code)
    page.find("pair").click()
    page.wait("the page to show it is paired", lambda: page.text("paired-as").startswith("Paired as"))
    worker = page.wait("the service worker to control the page", lambda: driver.execute_script(
        "return navigator.serviceWorker.controller && navigator.serviceWorker.controller.state"))
    if worker != "activated":
        raise Failed(f"the service worker is {worker}, not activated")
    step("paired", shows=page.text("paired-as"), service_worker=worker)

    page.wait("the PC to send the item file", lambda: page.find("take").is_displayed(), 30)
    started = time.monotonic()
    page.find("take").click()
    taken = page.wait("the item file to be taken", lambda: re.search(r"Item file taken: (\d+) items", page.text("message")), 60)
    step("items", ms=round((time.monotonic() - started) * 1000), items=int(taken[1]))

    first = args.scans[0]
    page.find("mode-price").click()
    page.find("scan").send_keys(first + Keys.ENTER)
    page.wait("the price check", lambda: page.text("price-desc") or page.text("price-unknown"))
    shown = {"description": page.text("price-desc"), "price": page.text("price-price"), "stock": page.text("price-stock")}
    known = items.get(first) if items else ("", shown["description"], shown["price"])
    if not shown["description"] or not known or (shown["description"], shown["price"]) != known[1:]:
        raise Failed(f"the price check of {first} shows {shown}, not the item file's {known}")
    step("price", barcode=first, **shown)

    page.find("mode-stocktake").click()
    expected = Counter(args.scans)
    expected[first] += 2
    for i, barcode in enumerate(args.scans):
        page.scan(barcode, 3 if i == 0 else None)
    counted = page.lines()
    if {barcode: counted.get(barcode, (0,))[0] for barcode in expected} != dict(expected):
        raise Failed(f"the stocktake shows {counted}, typed {dict(expected)}")
    if args.camera_barcodes:
        page.find("camera").click()
        page.wait("the camera to count " + ", ".join(args.camera_barcodes),
                  lambda: all(code in page.lines() for code in args.camera_barcodes), 60)
        page.find("camera").click()
        time.sleep(0.5)
        counted = page.lines()
    unknown = sorted(barcode for barcode, (_, marked) in counted.items() if marked)
    if items and unknown != sorted(barcode for barcode in counted if barcode not in items):
        raise Failed(f"the lines marked not in the item file are {unknown}")
    units = sum(qty for qty, _ in counted.values())
    if not re.search(rf"\b{len(counted)} lines, {units:g} units", page.text("total")):
        raise Failed(f"the total shows {page.text('total')!r} for {len(counted)} lines and {units:g} units")
    step("counted", counts={barcode: qty for barcode, (qty, _) in counted.items()}, unknown=unknown)

    total = page.text("total")
    conditions = {"latency": 0, "downloadThroughput": -1, "uploadThroughput": -1}
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.emulateNetworkConditions", {"offline": True, **conditions})
    driver.refresh()
    page.wait("the counts after reloading offline", lambda: page.lines() == counted and page.text("total") == total)
    page.wait("the page to say the PC is not there", lambda: "PC not ready" in page.text("status"))
    driver.execute_cdp_cmd("Network.emulateNetworkConditions", {"offline": False, **conditions})
    step("offline", lines=len(counted), total=total)

    page.wait("the PC to wait for Stock.dat", lambda: "(Stock.dat)" in page.text("status"), 120)
    page.wait("the Send button", lambda: page.find("send").is_enabled())
    if args.screenshot:
        driver.save_screenshot(args.screenshot)
    page.find("send").click()
    sent = page.wait("the stocktake to be sent", lambda: re.search(r"Sent (\d+) records", page.text("message")), 60)
    if int(sent[1]) != len(counted) or page.lines():
        raise Failed(f"sent {sent[1]} records of {len(counted)} lines, and {len(page.lines())} lines are left")
    if driver.execute_script("return document.documentElement.scrollWidth") > 360:
        raise Failed("the page is wider than a 360-pixel screen")
    step("sent", records=int(sent[1]))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--page", required=True, help="https address of the handheld page")
    parser.add_argument("--code", required=True, help="pairing code the utility printed")
    parser.add_argument("--authority", required=True, help="the utility's web/authority.crt")
    parser.add_argument("--scans", required=True, type=lambda text: text.split(","),
                        help="barcodes to type, the first one an item of the item file")
    parser.add_argument("--camera-barcodes", type=lambda text: text.split(","), default=[])
    parser.add_argument("--items", help="the item file being sent, to check what the page shows against")
    parser.add_argument("--screenshot")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as temp:
        driver = None
        try:
            args.camera_barcodes = [ean13(code) for code in args.camera_barcodes]
            items = item_file(args.items) if args.items else None
            film = camera_video(args.camera_barcodes, Path(temp)) if args.camera_barcodes else None
            driver = chromium(Path(temp), args.authority, film)
            drive(Page(driver), args, items)
        except (Failed, WebDriverException) as error:
            print(f"handheld.py: {str(error).strip()}", file=sys.stderr)
            return 1
        finally:
            if driver:
                driver.quit()
    return 0


if __name__ == "__main__":
    sys.exit(main())
