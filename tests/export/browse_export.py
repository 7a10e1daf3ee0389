#!/usr/bin/python3
"""Opens an exported page in headless Chromium and checks what a visitor meets: the page's
picture loads, a click on the image map's first area opens the page it links to, and every link
of the link bar that names a local file names one that exists.

usage: browse_export.py <export folder> <page file> <expected target page file>
Exit status 0 when every check passes; the failed check is printed otherwise."""

import os
import sys
import tempfile
import urllib.parse
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--no-sandbox", "--headless", "--disable-gpu", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + profile):
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def local_path(url):
    parts = urllib.parse.urlparse(url)
    return urllib.request.url2pathname(parts.path) if parts.scheme == "file" else None


def main():
    folder, page, target = sys.argv[1:4]
    failures = []
    with tempfile.TemporaryDirectory() as profile:
        driver = browser(profile)
        try:
            driver.get("file://" + os.path.join(os.path.abspath(folder), page))
            image = driver.find_element(By.TAG_NAME, "img")
            width = driver.execute_script(
                "const i = arguments[0]; return i.complete ? i.naturalWidth : 0;", image)
            if not width or width <= 0:
                failures.append("the page's picture did not load")

            bar = [a.get_attribute("href") for a in driver.find_elements(By.CSS_SELECTOR, "center > a")]
            if not bar:
                failures.append("the page has no link bar")
            for href in bar:
                path = local_path(href)
                if path is not None and not os.path.isfile(path):
                    failures.append("link bar entry %s names no file" % href)

            # A real click inside the first area, in the picture's own pixels.
            area = driver.find_element(By.TAG_NAME, "area")
            left, top, right, bottom = (int(v) for v in area.get_attribute("coords").split(","))
            ActionChains(driver).move_to_element_with_offset(
                image, (left + right) // 2 - image.size["width"] // 2,
                (top + bottom) // 2 - image.size["height"] // 2).click().perform()
            landed = local_path(driver.current_url) or driver.current_url
            if os.path.basename(landed) != target:
                failures.append("the area led to %s, not %s" % (driver.current_url, target))
        finally:
            driver.quit()
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
