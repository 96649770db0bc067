"""Wall time of a whole install beyond its mandated pauses (the progress bar's 100 steps of
10 ms), measured through the UI like a user's install: from the press of Install to the
end of the program, less the time the questions wait for their answers and less one
second. The settings file records a subscription, so the newsletter is not offered.
Prints each run and the median. Run by scripts/dev/bench-install.sh."""
import os
import shutil
import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "support"))

import harness  # noqa: E402
from harness import EDIT, IDNO, IDOK, SETUP_TITLE  # noqa: E402

MANDATED_PAUSES = 1.0


def one_install(driver, folder):
    shutil.rmtree(harness.unix_path(folder), ignore_errors=True)
    run = harness.SetupRun()
    dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
    driver.settext(dlg, EDIT, folder)
    waiting = 0.0
    start = time.monotonic()
    driver.click(dlg, IDOK)
    for caption in ("setup", SETUP_TITLE):
        box = driver.wait_msgbox(caption, timeout=60)
        shown = time.monotonic()
        driver.click(box, IDNO)
        waiting += time.monotonic() - shown  # the click itself: the user's time, not the program's
    run.wait(timeout=60)
    return time.monotonic() - start - waiting - MANDATED_PAUSES


def main(runs):
    settings = harness.drive_c() / "windows" / "MP3 SONDREL.INI"
    settings.write_text("[Setup]\r\nMailingList=1\r\n")
    driver = harness.start_driver()
    try:
        times = [one_install(driver, "C:\\Bench Sondrel") for _ in range(runs)]
    finally:
        driver.close_driver()
    for i, t in enumerate(times, 1):
        print(f"run {i}: {t * 1000:.0f} ms beyond the pauses")
    print(f"median of {runs}: {statistics.median(times) * 1000:.0f} ms "
          f"(min {min(times) * 1000:.0f}, max {max(times) * 1000:.0f})")


if __name__ == "__main__":
    main(int(sys.argv[1]) if len(sys.argv) > 1 else 7)
