"""The dialogs and message boxes at 150 % and 200 % display scale (144 and 192 DPI): the
layout scales as a whole, the sidebar picture fills its control, and nothing stands
outside the window that holds it."""
import os
from collections import Counter

import pytest

import harness
from harness import EDIT, IDNO, IDOK, SETUP_TITLE
from test_setup_dialog import SIDEBAR, assert_layout

NEWSLETTER_TITLE = "[ mp3 - sondrel ]'s newsletter"
BASE_UNITS_AT_96 = (7, 13)  # the template font at 100 %


# Set before the test starts any program of its own (list it first): a program started
# while another of the world runs at the old scale has been seen to start at that scale.
@pytest.fixture(params=[144, 192])
def dpi(request, subscribed):  # no newsletter in the install below
    harness.set_display_dpi(request.param)
    yield request.param
    harness.set_display_dpi(96)


SCREEN = (1280, 1024)  # the virtual display's size


def assert_inside(driver, window):
    """The window lies wholly on the screen, and every control wholly within its client area."""
    info = driver.info(window)
    left, top, right, bottom = info["rect"]
    assert 0 <= left and 0 <= top and right <= SCREEN[0] and bottom <= SCREEN[1], info["rect"]
    width, height = info["client"]
    for c in driver.children(window):
        left, top, right, bottom = c["rect"]
        assert 0 <= left < right <= width and 0 <= top < bottom <= height, (c["cls"], c["text"], c["rect"])


def assert_scaled(driver, window, dpi):
    """The dialog's font, and with it the whole layout, grew with the scale. How much depends
    on the sizes the system has of the template's font: MS Sans Serif is a bitmap font, and
    Wine 10 gives its largest 8-point size at 144 and 192 DPI alike."""
    base_x, base_y, _ = driver.baseunits(window, ("MS Sans Serif", 8))
    assert base_y >= BASE_UNITS_AT_96[1] * 1.5 * 0.85, (dpi, base_x, base_y)


def test_setup_dialog_scales_and_the_sidebar_picture_fills_its_control(dpi, driver, launch, tmp_path):
    run = launch()
    dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
    harness.screenshot(driver, dlg, f"setup-dialog-{dpi}dpi")
    assert_scaled(driver, dlg, dpi)
    assert_layout(driver, dlg)
    assert_inside(driver, dlg)

    # The dialog's background is its most common colour; none of it shows in the picture.
    background = Counter(p for row in harness.capture(driver, dlg, tmp_path) for p in row).most_common(1)[0][0]
    sidebar = next(c for c in driver.children(dlg) if c["id"] == SIDEBAR)
    left, top, right, bottom = sidebar["rect"]
    picture = harness.capture(driver, sidebar["hwnd"], tmp_path)
    assert (len(picture[0]), len(picture)) == (right - left, bottom - top)
    assert right - left >= 120 * 1.5 * 0.95, "the picture grew with the scale"
    bare = sum(p == background for row in picture for p in row)
    assert bare == 0, f"{bare} pixels of the sidebar show the dialog's background"

    driver.settext(dlg, EDIT, "C:\\Sondrel Scaled")
    driver.click(dlg, IDOK)
    for caption, name in (("setup", "player-question"), (SETUP_TITLE, "installation-successful")):
        box = driver.wait_msgbox(caption, timeout=60)
        harness.screenshot(driver, box, f"{name}-{dpi}dpi")
        assert_inside(driver, box)
        driver.click(box, IDNO)
        driver.gone(box, timeout=10)
    assert run.wait() == 0


def test_newsletter_dialog_scales_whole(dpi, driver):
    run = harness.SetupRun(exe=os.environ["SONDREL_NEWSLETTER_HOST_EXE"])
    try:
        dialog = driver.find("#32770", NEWSLETTER_TITLE, timeout=30)
        harness.screenshot(driver, dialog, f"newsletter-{dpi}dpi")
        assert_scaled(driver, dialog, dpi)
        assert_inside(driver, dialog)
    finally:
        run.kill()
