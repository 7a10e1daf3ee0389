#!/usr/bin/python3
"""Opens exported pages in headless Chromium and checks what a visitor meets: each page's picture
loads; a click inside every image-map area and on every link of the link bar that leads to a page
of the site opens that page, whose picture loads in turn; every sound a link names loads; every
other local link names a file that exists. Links to the web are left alone. With --page NAME=FILE,
a link shown as NAME in a link bar (and the area in its place) must lead to the page file FILE.
With --click X,Y=FILE, a click at (X, Y) in the first page's picture must open the page file FILE.

usage: browse_export.py [--page NAME=FILE]... [--click X,Y=FILE]... <page file path>...
Exit status 0 when every check passes and at least one link was followed; the failed checks are
printed otherwise."""

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


class Visitor:
    def __init__(self, driver, expected):
        self.driver = driver
        self.driver.set_script_timeout(10)
        self.expected = expected
        self.failures = []
        self.followed = 0

    def open(self, path):
        self.driver.get(urllib.parse.urljoin("file:", urllib.request.pathname2url(path)))

    def picture_loads(self, where):
        images = self.driver.find_elements(By.TAG_NAME, "img")
        width = images and self.driver.execute_script(
            "const i = arguments[0]; return i.complete ? i.naturalWidth : 0;", images[0])
        if not width or width <= 0:
            self.failures.append("the picture of %s did not load" % where)

    # After a click: the browser shows the file the link named, and when it is a page, its picture.
    def landed(self, target, what):
        landed = local_path(self.driver.current_url)
        if landed is None or os.path.realpath(landed) != os.path.realpath(target):
            self.failures.append("%s led to %s, not %s" % (what, self.driver.current_url, target))
        elif not os.path.isfile(target):
            self.failures.append("%s names no file (%s)" % (what, target))
        else:
            self.picture_loads(os.path.basename(target))
            self.followed += 1

    # The browser loads the sound far enough to know how long it plays.
    def sound_loads(self, target, what):
        duration = self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            const sound = new Audio();
            sound.preload = "metadata";
            sound.addEventListener("loadedmetadata", () => done(sound.duration));
            sound.addEventListener("error", () => done(0));
            sound.src = arguments[0];""", urllib.parse.urljoin("file:", urllib.request.pathname2url(target)))
        if not duration or duration <= 0:
            self.failures.append("the sound of %s did not load (%s)" % (what, target))

    # The local file each link names; a page link is followed by the click `click(element)` makes
    # (none when it answers False, and the file must then be there). A
    # page named in the expectations must be the one it leads to; the areas stand in the order of
    # the link bar's entries, so area i is named as entry i.
    def follow(self, page, elements, click, kind):
        self.open(page)
        targets = [local_path(e.get_attribute("href")) for e in elements(page)]
        names = [link.text.strip() for link in self.bar_links(page)]
        for index, target in enumerate(targets):
            what = "%s %d of %s" % (kind, index + 1, os.path.basename(page))
            if target is None:
                continue
            name = names[index] if index < len(names) else None
            if name in self.expected and os.path.basename(target) != self.expected[name]:
                self.failures.append("%s, named %s, leads to %s, not %s"
                                     % (what, name, os.path.basename(target), self.expected[name]))
            if target.endswith(".wav"):
                if not os.path.isfile(target):
                    self.failures.append("%s names no file (%s)" % (what, target))
                else:
                    self.sound_loads(target, what)
                continue
            if not target.endswith(".htm"):
                if not os.path.isfile(target):
                    self.failures.append("%s names no file (%s)" % (what, target))
                continue
            self.open(page)
            if click(elements(page)[index]) is not False:
                self.landed(target, what)
            elif not os.path.isfile(target):
                self.failures.append("%s names no file (%s)" % (what, target))

    def areas(self, page):
        return self.driver.find_elements(By.TAG_NAME, "area")

    def bar_links(self, page):
        return self.driver.find_elements(By.CSS_SELECTOR, "center > a")

    # A real click at (x, y) of the picture's own pixels.
    def click_at(self, x, y):
        image = self.driver.find_element(By.TAG_NAME, "img")
        ActionChains(self.driver).move_to_element_with_offset(
            image, x - image.size["width"] // 2, y - image.size["height"] // 2).click().perform()

    # A real click inside the area, where no area before it (a picture in front) lies, edges
    # included as the browser counts them: at its centre when that is free, else at the free point
    # of a grid over it nearest the centre. An area wholly behind others is not clicked.
    def click_area(self, area):
        areas = self.areas(None)
        rects = [tuple(int(v) for v in a.get_attribute("coords").split(",")) for a in areas]
        index = areas.index(area)
        left, top, right, bottom = rects[index]
        before = rects[:index]
        covered = lambda x, y: any(l <= x <= r and t <= y <= b for l, t, r, b in before)
        cx, cy = (left + right) // 2, (top + bottom) // 2
        points = [(left + (right - left) * i // 16, top + (bottom - top) * j // 16)
                  for i in range(1, 16) for j in range(1, 16)]
        free = [p for p in [(cx, cy)] + sorted(points, key=lambda p: abs(p[0] - cx) + abs(p[1] - cy))
                if not covered(*p)]
        if not free:
            return False
        self.click_at(*free[0])
        return True

    # Clicks at each point and checks the page each opens.
    def click_points(self, page, clicks):
        for (x, y), file in clicks:
            self.open(page)
            self.click_at(x, y)
            self.landed(os.path.join(os.path.dirname(page), file), "a click at %d,%d" % (x, y))

    def visit(self, page):
        self.open(page)
        self.picture_loads(os.path.basename(page))
        self.follow(page, self.areas, self.click_area, "area")
        self.follow(page, self.bar_links, lambda link: link.click(), "link bar entry")


def main():
    expected = {}
    clicks = []
    pages = []
    arguments = sys.argv[1:]
    while arguments:
        argument = arguments.pop(0)
        if argument == "--page" and arguments:
            name, _, file = arguments.pop(0).partition("=")
            expected[name] = file
        elif argument == "--click" and arguments:
            point, _, file = arguments.pop(0).partition("=")
            clicks.append((tuple(int(v) for v in point.split(",")), file))
        else:
            pages.append(argument)
    with tempfile.TemporaryDirectory() as profile:
        driver = browser(profile)
        try:
            visitor = Visitor(driver, expected)
            if clicks and pages:
                visitor.click_points(os.path.abspath(pages[0]), clicks)
            for page in pages:
                visitor.visit(os.path.abspath(page))
        finally:
            driver.quit()
    failures = visitor.failures
    if not visitor.followed:
        failures.append("no link led to a page")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
