"""Both dialogs as a screen reader meets them, read through MSAA (oleacc) from another
process: every control has a name a person understands, in the user's language, and the
access keys of a dialog never collide; and a whole install done with the keyboard alone."""
import os
import shutil

import pytest

import harness
from harness import BROWSE, CATALOGUE, CHECK, EDIT, IDCANCEL, IDOK, PROGRESS, SETUP_TITLE

SIDEBAR, EMAIL = 1005, 1001
NEWSLETTER_TITLE = "[ mp3 - sondrel ]'s newsletter"

# Control id -> (name, keyboard shortcut) a screen reader must say; "" for none.
SETUP = {
    IDOK: ("Install", "Alt+I"),
    IDCANCEL: ("Cancel", ""),
    SIDEBAR: ("", ""),  # a picture that says nothing
    EDIT: ("Directory for [ mp3 - sondrel ] files", "Alt+D"),
    CHECK: ("Add icon to desktop and group to Start Menu (Recommended)", "Alt+A"),
}
IN_LANGUAGE = {
    "en_US.UTF-8": {BROWSE: ("Select the installation directory", ""), PROGRESS: ("Installation progress", "")},
    "fr_FR.UTF-8": {BROWSE: ("Selectionner le répertoire d'installation", ""),
                    PROGRESS: ("Progression de l'installation", "")},
}
NEWSLETTER = {IDOK: ("OK", ""), IDCANCEL: ("Cancel", ""), EMAIL: ("Email :", "Alt+E")}


def read(driver, dialog, expected):
    """The controls that `expected` names, as read; and no two access keys alike (a label's
    key is its field's, so labels are not counted twice)."""
    controls = driver.accessible(dialog)
    keys = [c["shortcut"].lower() for c in controls if c["shortcut"] and c["cls"] != "Static"]
    assert len(keys) == len(set(keys)), keys
    return {c["id"]: (c["name"], c["shortcut"]) for c in controls if c["id"] in expected}


@pytest.mark.parametrize("lang", IN_LANGUAGE)
def test_every_control_of_both_dialogs_has_a_name_and_the_fields_have_access_keys(driver, launch, lang):
    run = launch(lang)
    dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
    expected = {**SETUP, **IN_LANGUAGE[lang]}
    assert read(driver, dlg, expected) == expected
    driver.key(dlg, "Escape")
    assert run.wait() == 2

    host = harness.SetupRun(lang, os.environ["SONDREL_NEWSLETTER_HOST_EXE"])
    try:
        dialog = driver.find("#32770", NEWSLETTER_TITLE, timeout=30, exe="newsletter_host.exe")
        assert read(driver, dialog, NEWSLETTER) == NEWSLETTER
        driver.key(dialog, "Escape")
        assert host.wait() == 2
    finally:
        host.kill()


def test_a_whole_install_by_keyboard_alone(driver, launch, subscribed):
    folder = harness.unix_path("C:\\Sondrel Keys")
    shutil.rmtree(folder, ignore_errors=True)
    run = launch()
    dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
    driver.wait_for(lambda: driver.focus(dlg)["id"] == IDOK, what="the focus on Install")
    driver.key(dlg, "Alt+D")
    driver.wait_for(lambda: driver.focus(dlg)["id"] == EDIT)
    for key in ("Tab", "Tab"):
        driver.key(dlg, key)
    driver.wait_for(lambda: driver.focus(dlg)["id"] == BROWSE)
    for key in ("Enter", "Space"):  # "..." opens the folder browser by either key, like any push button
        driver.key(dlg, key)
        browser = harness.owned_dialog(driver, dlg)
        driver.key(browser, "Escape")
        driver.gone(browser, timeout=10)
    driver.key(dlg, "Alt+D")
    driver.wait_for(lambda: driver.focus(dlg)["id"] == EDIT)
    driver.type(dlg, "C:\\Sondrel Keys")  # the field's text was selected as the focus came
    driver.wait_text(dlg, EDIT, "C:\\Sondrel Keys")
    driver.key(dlg, "Enter")
    for caption in ("setup", SETUP_TITLE):  # the player question, then the start question: No
        box = driver.wait_msgbox(caption, timeout=30)
        driver.key(box, "N")
        driver.gone(box, timeout=10)
    assert run.wait() == 0
    for entry in CATALOGUE:
        assert harness.installed_path(folder, entry).read_bytes() == harness.payload_source(entry[1])
    shutil.rmtree(folder)
