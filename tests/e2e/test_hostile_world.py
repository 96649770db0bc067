"""A finished install in a hostile but realistic world: subscription servers that never
end the exchange on their own, a user who presses Enter twice, a second copy of the
program. Each ends the way a user expects: the install's own end, in bounded time."""
import os
import shutil
import time

import pytest

import harness
from harness import EDIT, IDNO, IDOK, SETUP_TITLE
from subscription_server import SubscriptionServer

NEWSLETTER_TITLE = "[ mp3 - sondrel ]'s newsletter"
TRANSMISSION_FAILED = "The transmission of your email to the server has failed !"
START_QUESTION = "Installation successful !\nDo you want to start [ mp3 - sondrel ] now  ?"


@pytest.fixture
def fresh_install():
    """An install folder and no settings file, so that the newsletter is offered."""
    harness.settings_file().unlink(missing_ok=True)
    folder = "C:\\Sondrel Hostile"
    shutil.rmtree(harness.unix_path(folder), ignore_errors=True)
    return folder


def open_setup(driver, launch, folder):
    run = launch()
    dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
    driver.settext(dlg, EDIT, folder)
    return run, dlg


@pytest.mark.parametrize("mode", ["silent", "trickle 3", "endless", "redirect self"])
def test_a_server_that_never_ends_the_exchange_gives_the_failure_message_then_the_normal_end(
        driver, launch, fresh_install, tmp_path, mode):
    with SubscriptionServer(tmp_path) as server:
        # What would acknowledge, had it come in time (a redirect's target is never asked).
        body = {"endless": b"x", "redirect self": b"Moved"}.get(mode, b"OK")
        server.reply(302 if mode.startswith("redirect") else 200, body, mode)
        run, dlg = open_setup(driver, launch, fresh_install)
        driver.click(dlg, IDOK)
        harness.answer_box(driver, "setup", IDNO)
        newsletter = driver.find("#32770", NEWSLETTER_TITLE, timeout=60, exe="setup.exe")
        driver.settext(newsletter, 1001, "jane.doe@example.org")
        started = time.monotonic()
        driver.click(newsletter, IDOK)
        box = harness.answer_box(driver, SETUP_TITLE, IDOK, timeout=60)
        took = time.monotonic() - started
        assert box["text"].startswith(TRANSMISSION_FAILED), box
        assert harness.answer_box(driver, SETUP_TITLE, IDNO)["text"] == START_QUESTION
        assert run.wait() == 0
        assert len(server.requests()) == 1, "one request, never repeated or redirected"
    print(f"{mode}: the failure message came {took:.1f} s after OK")


@pytest.mark.parametrize("twice", ["Enter", "Install"])
def test_a_second_press_while_the_install_runs_answers_nothing_and_starts_nothing(driver, launch, fresh_install,
                                                                                  twice):
    run, dlg = open_setup(driver, launch, fresh_install)
    if twice == "Enter":
        # Two real key presses in a row: the second reaches the program while the install runs.
        assert driver.type(dlg, "\n\n") == "sendinput"
    else:
        driver.click(dlg, IDOK)
        driver.click(dlg, IDOK)
    box = driver.wait_msgbox("setup", timeout=60)
    time.sleep(1)  # time enough for a press waiting in the queue to answer it
    assert [w["hwnd"] for w in driver.windows() if w["cls"] == "#32770" and w["title"] == "setup"] == [box]
    driver.click(box, IDNO)
    driver.gone(box, timeout=10)
    driver.click(driver.find("#32770", NEWSLETTER_TITLE, timeout=30, exe="setup.exe"), 2)
    assert harness.answer_box(driver, SETUP_TITLE, IDNO)["text"] == START_QUESTION
    assert run.wait() == 0
    assert not [w for w in driver.all_windows() if w["cls"] == "Mp3QuilloWndClass"], "the player was started"


def topmost(driver):
    return driver.windows()[0]["hwnd"]


def test_a_second_copy_brings_the_running_one_to_the_front_and_installs_nothing(driver, launch, fresh_install):
    first, dlg = open_setup(driver, launch, fresh_install)
    other = harness.SetupRun(exe=os.environ["SONDREL_NEWSLETTER_HOST_EXE"])  # any program's window
    try:
        host = driver.find("*", "Newsletter test host", timeout=30)
        driver.wait_for(lambda: topmost(driver) != dlg, timeout=10)
        second = launch()
        assert second.wait(timeout=30) == 2
        assert [w["hwnd"] for w in driver.windows() if w["title"] == SETUP_TITLE] == [dlg], "one setup dialog"
        assert topmost(driver) == dlg, "the running copy came to the front"
    finally:
        other.kill()
    driver.close(dlg)
    assert first.wait() == 2
    assert not harness.unix_path(fresh_install).exists(), "nothing was installed"
