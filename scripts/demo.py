"""Drives setup.exe through every dialog it shows, as far as the program goes today,
saving a screenshot of each; run by `make run` when there is no display."""
import os
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))

import harness  # noqa: E402

TITLE = "[ mp3 - sondrel ] setup"


def main():
    screens = Path(os.environ["SONDREL_SCREENS"])
    driver = harness.start_driver()
    run = harness.SetupRun()
    try:
        dlg = driver.find("#32770", TITLE, timeout=30, exe="setup.exe")
        harness.screenshot(driver, dlg, "01-setup-dialog")
        driver.click(dlg, 1003)  # "..."
        browser = next(w["hwnd"] for w in wait_for_owned(driver, dlg))
        harness.screenshot(driver, browser, "02-folder-browser")
        driver.click(browser, 2)
        driver.gone(browser, timeout=10)
        driver.click(dlg, 1)  # Install
        status = run.wait(timeout=600)
    finally:
        run.kill()
        driver.close_driver()
    print(f"setup.exe ended with status {status}")
    print(f"Screenshots of every dialog it showed are in {screens}:")
    for png in sorted(screens.glob("*.png")):
        print(f"  {png}")


def wait_for_owned(driver, owner, timeout=10):
    import time
    end = time.time() + timeout
    while time.time() < end:
        owned = [w for w in driver.windows() if w["owner"] == owner and w["cls"] == "#32770"]
        if owned:
            return owned
        time.sleep(0.1)
    raise RuntimeError("the expected dialog did not open")


if __name__ == "__main__":
    main()
