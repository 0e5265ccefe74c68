#!/usr/bin/python3
"""The web pages in a real browser: Debian's chromium, headless, driven by
chromium-driver through python3-selenium. Sets up a demo program directory
with attendance-admin, starts attendance-web on a free port and checks: the
sign-in, a scan made meanwhile showing on 今日, 月度统计 cell by cell as the
CSV of `attendance-admin report-summary`, the XLSX download, the pages in
English for a browser that prefers it, 退出, and every page refused without a
session.

    browser.py BINDIR      (BINDIR holds attendance-admin and attendance-web)

Exit status 77 (skipped) only when chromium or its driver is not installed.
"""
import csv
import datetime
import http.client
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import zipfile

SKIP = 77
PASSWORD = "browser-test-pw"
PAGES = ["/", "/absent", "/missing", "/month", "/month.csv", "/month.xlsx",
         "/month.pdf", "/employee?number=1001"]


def fail(message):
    print("browser test: FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)


def wait_for(condition, message, timeout=15):
    """A click that submits a form returns before the next page is loaded:
    poll until the page shows what the step expects."""
    deadline = time.time() + timeout
    while True:
        try:
            if condition():
                return
        except Exception:  # the old page's element went stale while it was read
            pass
        check(time.time() < deadline, message())
        time.sleep(0.1)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def admin(bindir, *args):
    run = subprocess.run([os.path.join(bindir, "attendance-admin"), *args],
                         capture_output=True, text=True, timeout=120)
    check(run.returncode == 0, "attendance-admin %s: %s" % (" ".join(args), run.stderr))
    return run.stdout


def status_without_session(port, path):
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
    conn.request("GET", path)
    answer = conn.getresponse()
    body = answer.read()
    conn.close()
    return answer.status, answer.getheader("Location"), body


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    bindir = os.path.abspath(sys.argv[1])
    chromium = shutil.which("chromium")
    driver_path = shutil.which("chromedriver") or "/usr/bin/chromedriver"
    if not chromium or not os.path.exists(driver_path):
        print("browser test: SKIPPED: Debian's chromium and chromium-driver are not installed "
              "(scripts/install-deps.sh installs them)")
        return SKIP
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        from selenium.webdriver.common.by import By
    except ImportError:
        fail("python3-selenium is missing (scripts/install-deps.sh installs it)")

    os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
    work = tempfile.mkdtemp(prefix="attendance-browser-")
    server = None
    browser = None
    try:
        program_dir = os.path.join(work, "dir")
        admin(bindir, "init", program_dir, "--demo", "--admin-password", "123456")
        with open(os.path.join(work, "pw"), "w") as f:
            f.write(PASSWORD + "\n")
        admin(bindir, "web-password", "--dir", program_dir, "--password-file",
              os.path.join(work, "pw"))

        port = free_port()
        server = subprocess.Popen([os.path.join(bindir, "attendance-web"), "--dir", program_dir,
                                   "--listen", "127.0.0.1:%d" % port],
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        line = server.stdout.readline()
        check("listening on" in line, "attendance-web did not start: " + line)
        base = "http://127.0.0.1:%d" % port

        downloads = os.path.join(work, "downloads")
        os.mkdir(downloads)
        options = webdriver.ChromeOptions()
        options.binary_location = chromium
        # A Chinese browser: the pages follow its Accept-Language.
        for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                    "--window-size=1280,1000", "--lang=zh-CN",
                    "--user-data-dir=" + os.path.join(work, "profile")):
            options.add_argument(arg)
        options.add_experimental_option("prefs", {
            "download.default_directory": downloads,
            "download.prompt_for_download": False,
            "intl.accept_languages": "zh-CN,zh",
        })
        browser = webdriver.Chrome(service=Service(driver_path), options=options)
        browser.set_page_load_timeout(30)

        # Not signed in: the first page sends to the sign-in form.
        browser.get(base + "/")
        check(browser.current_url.endswith("/login"), "no session, yet " + browser.current_url)
        browser.find_element(By.ID, "password").send_keys("wrong-password")
        browser.find_element(By.ID, "signin").click()
        wait_for(lambda: "密码错误" in browser.find_element(By.ID, "message").text,
                 lambda: "wrong password taken")
        browser.find_element(By.ID, "password").send_keys(PASSWORD)
        browser.find_element(By.ID, "signin").click()
        wait_for(lambda: browser.current_url == base + "/",
                 lambda: "signed in, yet at " + browser.current_url)
        check("今日" in browser.title, "today's page: " + browser.title)
        cookie = browser.get_cookie("attendance_session")
        check(cookie and cookie.get("httpOnly") and cookie.get("sameSite") == "Strict",
              "session cookie: %r" % cookie)
        present_before = int(browser.find_element(By.ID, "present").text.split()[-1])

        # A scan made meanwhile (1001 has not come yet in the demo) shows up.
        now = datetime.datetime.now()
        arrival = max(now - datetime.timedelta(minutes=1), now.replace(hour=0, minute=0))
        admin(bindir, "correct", "1001", now.strftime("%Y-%m-%d"), "--dir", program_dir,
              "--arrival", arrival.strftime("%H:%M"), "--reason", "browser test scan")
        deadline = time.time() + 15
        while True:
            browser.refresh()
            text = browser.find_element(By.TAG_NAME, "main").text
            if "张伟" in text:
                break
            check(time.time() < deadline, "the scan did not appear on 今日")
            time.sleep(0.5)
        present_after = int(browser.find_element(By.ID, "present").text.split()[-1])
        check(present_after == present_before + 1,
              "present %d, then %d" % (present_before, present_after))

        # 月度统计 of the previous month, cell by cell as report-summary's CSV.
        first = now.date().replace(day=1)
        previous = first - datetime.timedelta(days=1)
        month = "%04d-%02d" % (previous.year, previous.month)
        browser.get(base + "/month?month=" + month)
        rows = []
        for tr in browser.find_elements(By.CSS_SELECTOR, "#summary tr"):
            cells = [c.text.replace(" ▲", "").replace(" ▼", "")
                     for c in tr.find_elements(By.CSS_SELECTOR, "th, td")]
            rows.append(cells[:12])
        out = os.path.join(work, "summary.csv")
        admin(bindir, "report-summary", str(previous.year), str(previous.month), out, "--dir",
              program_dir)
        with open(out, newline="", encoding="utf-8-sig") as f:
            expected = list(csv.reader(f))
        check(len(rows) == len(expected) and len(rows) > 20,
              "%d rows shown, %d in the CSV" % (len(rows), len(expected)))
        for shown, wanted in zip(rows, expected):
            check(shown == wanted, "row %r differs from the CSV's %r" % (shown, wanted))
        check(len(browser.find_elements(By.CSS_SELECTOR, "svg.chart")) == 2, "two charts")

        # On a phone's width no page is wider than the screen: tables scroll
        # inside their box, charts shrink.
        browser.set_window_size(390, 844)
        for path in ["/", "/absent", "/missing", "/month?month=" + month,
                     "/employee?number=1001&month=" + month]:
            browser.get(base + path)
            wide = browser.execute_script(
                "return [document.documentElement.scrollWidth, window.innerWidth]")
            check(wide[1] < 500, "the window is %d px wide, not a phone's" % wide[1])
            check(wide[0] <= wide[1], "%s is %d px wide on a %d px screen" % (path, wide[0], wide[1]))
        browser.set_window_size(1280, 1000)
        browser.get(base + "/month?month=" + month)

        # The XLSX download.
        browser.find_element(By.ID, "xlsx").click()
        name = os.path.join(downloads, "summary-%s.xlsx" % month)
        deadline = time.time() + 20
        while not os.path.exists(name):
            check(time.time() < deadline, "no XLSX downloaded: %s" % os.listdir(downloads))
            time.sleep(0.2)
        with zipfile.ZipFile(name) as xlsx:
            check("xl/workbook.xml" in xlsx.namelist(), "the XLSX holds no workbook")

        # A browser that prefers English gets the same pages in English; the
        # month's rows are the CSV's all the same, its headings English.
        browser.execute_cdp_cmd("Network.enable", {})
        browser.execute_cdp_cmd("Network.setExtraHTTPHeaders",
                                {"headers": {"Accept-Language": "en-GB,en;q=0.9,zh;q=0.5"}})
        browser.get(base + "/month?month=" + month)
        lang = browser.execute_script("return document.documentElement.lang")
        check(lang == "en", "the English month page says lang=%r" % lang)
        english = []
        for tr in browser.find_elements(By.CSS_SELECTOR, "#summary tr"):
            cells = [c.text.replace(" ▲", "").replace(" ▼", "")
                     for c in tr.find_elements(By.CSS_SELECTOR, "th, td")]
            english.append(cells[:12])
        check(english[0][:3] == ["Number", "Name", "Department"],
              "English headings: %r" % english[0])
        check(english[1:] == rows[1:], "the English month's rows differ from the Chinese")
        browser.get(base + "/")
        check(browser.title.startswith("Today"), "English today's page: " + browser.title)
        check("Present" in browser.find_element(By.ID, "present").text, "English counts")
        browser.execute_cdp_cmd("Network.setExtraHTTPHeaders",
                                {"headers": {"Accept-Language": "zh-CN,zh"}})
        browser.get(base + "/month?month=" + month)

        # 退出, and then every page is refused.
        browser.find_element(By.ID, "logout").click()
        wait_for(lambda: browser.current_url.endswith("/login"),
                 lambda: "after 退出 at " + browser.current_url)
        for path in PAGES:
            browser.get(base + path)
            check(browser.current_url.endswith("/login"), "%s shown after 退出" % path)
            check("张伟" not in browser.page_source, "%s shows records after 退出" % path)
            status, location, body = status_without_session(port, path)
            check(status == 303 and location == "/login" and "张伟".encode() not in body,
                  "%s without a session: %d %s" % (path, status, location))
        check(server.poll() is None, "attendance-web ended")
        print("browser test: passed (%d summary rows compared)" % (len(rows) - 1))
        return 0
    finally:
        if browser:
            browser.quit()
        if server:
            server.terminate()
            server.wait(10)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
