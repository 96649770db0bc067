"""Drives setup.exe through a whole install in a virtual display, saving a screenshot of
every dialog and message it shows, with the newsletter answered by a subscription server
on the loopback interface that it starts and stops itself; run by `make run` when there is
no display."""
import os
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "support"))

import harness  # noqa: E402
from harness import BROWSE, IDCANCEL, IDNO, IDOK, SETUP_TITLE  # noqa: E402
from subscription_server import SubscriptionServer  # noqa: E402

ADDRESS = "jane.doe@example.org"


def drive(driver, run):
    dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
    harness.screenshot(driver, dlg, "01-setup-dialog")
    driver.click(dlg, BROWSE)
    browser = harness.owned_dialog(driver, dlg)
    harness.screenshot(driver, browser, "02-folder-browser")
    driver.click(browser, IDCANCEL)
    driver.gone(browser, timeout=10)
    driver.click(dlg, IDOK)
    harness.answer_box(driver, "setup", IDNO, "03-player-question")
    newsletter = driver.find("#32770", "[ mp3 - sondrel ]'s newsletter", timeout=60, exe="setup.exe")
    driver.click(newsletter, IDOK)  # at once: the address is checked first
    harness.answer_box(driver, SETUP_TITLE, IDOK, "04-email-not-valid")
    driver.settext(newsletter, 1001, ADDRESS)
    harness.screenshot(driver, newsletter, "05-newsletter")
    driver.click(newsletter, IDOK)
    driver.gone(newsletter, timeout=60)
    harness.answer_box(driver, SETUP_TITLE, IDNO, "06-installation-successful")
    return run.wait(timeout=600)


def main():
    screens = Path(os.environ["SONDREL_SCREENS"])
    driver = harness.start_driver()
    with tempfile.TemporaryDirectory() as served, SubscriptionServer(Path(served)) as server:
        server.reply(200, b"OK: subscribed")
        run = harness.SetupRun()
        try:
            status = drive(driver, run)
        finally:
            run.kill()
            driver.close_driver()
        requests = server.requests()
    print(f"setup.exe ended with status {status}")
    for request in requests:
        print(f"The subscription server received: {request['line']} (user agent {request['agent']})")
    install_dir = harness.read_settings()["Setup"]["InstallPath"]  # the default one, as recorded
    folder = harness.unix_path(install_dir)
    print(f"Installed in {install_dir} ({folder}):")
    for path in sorted(p for p in folder.rglob("*") if p.is_file()):
        print(f"  {path.relative_to(folder)}  ({path.stat().st_size:,} bytes)")
    links = sorted(harness.unix_path(harness.user_profile()).rglob("*.lnk"))
    print(f"Shortcuts ({len(links)}):")
    for link in links:
        print(f"  {link.relative_to(harness.drive_c())}")
    settings = harness.drive_c() / "windows" / "MP3 SONDREL.INI"
    print("Settings file C:\\windows\\MP3 SONDREL.INI:")
    for line in settings.read_text(encoding="cp1252").splitlines():
        print(f"  {line}")
    for name, values in harness.installed_apps().items():
        if "sondrel" in name.lower():
            print(f"Windows' list of installed programs, entry {name}:")
            for value, (kind, data) in values.items():
                print(f"  {value} ({kind}): {data}")
    print(f"Screenshots of every dialog and message it showed are in {screens}:")
    for png in sorted(screens.glob("*.png")):
        print(f"  {png}")


if __name__ == "__main__":
    main()
