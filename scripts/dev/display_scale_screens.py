"""Saves the setup dialog as it opens at 96, 144 and 192 DPI, as setup-dialog-<dpi>dpi.png
in SONDREL_SCREENS. Run by scripts/dev/display-scale-screens.sh."""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "support"))

import harness  # noqa: E402
from harness import SETUP_TITLE  # noqa: E402

IDCANCEL = 2


def main():
    try:
        for dpi in (96, 144, 192):
            # The scale first: programs started while one runs at the old scale may keep it.
            harness.set_display_dpi(dpi)
            driver = harness.start_driver()
            run = harness.SetupRun()
            try:
                dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
                print(harness.screenshot(driver, dlg, f"setup-dialog-{dpi}dpi"))
                driver.click(dlg, IDCANCEL)
                run.wait()
            finally:
                run.kill()
                driver.close_driver()
    finally:
        harness.set_display_dpi(96)


if __name__ == "__main__":
    main()
