"""The setup dialog as a user meets it: what it shows, its language, and the ways out
that install nothing."""
import pytest

import harness

TITLE = "[ mp3 - sondrel ] setup"
IDOK, IDCANCEL, EDIT, CHECK, BROWSE, PROGRESS, SIDEBAR = 1, 2, 1001, 1002, 1003, 1004, 1005
WS_POPUP, WS_VISIBLE, WS_CAPTION, WS_SYSMENU = 0x80000000, 0x10000000, 0x00C00000, 0x00080000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX, DS_MODALFRAME, WS_EX_APPWINDOW = 0x20000, 0x10000, 0x80, 0x40000
WS_TABSTOP, ES_AUTOHSCROLL, SS_BITMAP, SS_ETCHEDFRAME, BS_AUTOCHECKBOX = 0x10000, 0x80, 0xE, 0x12, 0x3

# The template's controls in order: id, class, text, x, y, width, height (dialog units).
# The sidebar keeps its template's size: the picture is drawn to fill it. The label
# stands just before its field, as a screen reader wants it; "..." and the bar carry their
# names for a screen reader as their texts, which neither shows.
LAYOUT = [
    (IDOK, "Button", "&Install", 290, 9, 50, 14),
    (IDCANCEL, "Button", "Cancel", 290, 25, 50, 14),
    (SIDEBAR, "Static", "", 12, 9, 80, 154),  # shows bitmap 129
    (-1, "Static", "&Directory for [ mp3 - sondrel ] files", 111, 120, 157, 8),
    (EDIT, "Edit", None, 111, 130, 196, 12),
    (CHECK, "Button", "&Add icon to desktop and group to Start Menu (Recommended)", 111, 147, 219, 10),
    (-1, "Button", "Installation parameters", 101, 108, 239, 54),
    (-1, "Static", "This program will install [ mp3 - sondrel ] \n version 4.3.0a on your system.", 105, 17, 165, 21),
    (-1, "Static", None, 111, 51, 215, 42),
    (-1, "Static", "", 101, 47, 239, 53),
    (BROWSE, "Button", "Select the installation directory", 313, 130, 11, 11),
    (PROGRESS, "msctls_progress32", "Installation progress", 12, 169, 328, 7),
]


def assert_layout(driver, dlg):
    """The dialog's controls stand as the template places them, in dialog units; gives them."""
    controls = driver.children(dlg, ("MS Sans Serif", 8))
    assert [(c["id"], c["cls"]) for c in controls] == [(i, cls) for i, cls, *_ in LAYOUT]
    for c, (cid, cls, text, x, y, w, h) in zip(controls, LAYOUT):
        if text is not None:
            assert c["text"] == text, cid
        expected = (x, y, w, h)
        got = tuple(c["dlu"])
        for e, g in zip(expected, got):
            assert abs(e - g) <= 1, (cid, text, expected, got)
    return controls


def open_dialog(driver, launch, lang="en_US.UTF-8"):
    run = launch(lang)
    return run, driver.find("#32770", TITLE, timeout=30, exe="setup.exe")


def test_dialog_opens_with_its_layout_defaults_and_focus_on_install(driver, launch):
    run, dlg = open_dialog(driver, launch)
    harness.screenshot(driver, dlg, "01-setup-dialog")

    info = driver.info(dlg)
    for bit in (WS_POPUP, WS_VISIBLE, WS_CAPTION, WS_SYSMENU, DS_MODALFRAME):
        assert info["style"] & bit, hex(bit)
    assert not info["style"] & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
    assert info["exstyle"] & WS_EX_APPWINDOW

    controls = assert_layout(driver, dlg)
    by_id = {c["id"]: c for c in controls if c["id"] != -1}
    for cid in (IDOK, IDCANCEL, EDIT, CHECK, BROWSE):
        assert by_id[cid]["style"] & WS_TABSTOP, cid
    assert by_id[EDIT]["style"] & ES_AUTOHSCROLL
    assert by_id[CHECK]["style"] & 0xF == BS_AUTOCHECKBOX
    assert controls[2]["style"] & 0x1F == SS_BITMAP and controls[9]["style"] & 0x1F == SS_ETCHEDFRAME
    assert controls[8]["text"], "the information panel says what the product is"

    assert driver.text(dlg, EDIT) == harness.program_files() + "\\MP3 Sondrel"
    assert driver.checked(dlg, CHECK) == 1
    assert driver.progress(dlg, PROGRESS) == (0, 0, 100)
    driver.wait_for(lambda: driver.focus(dlg)["id"] == IDOK, what="the focus on Install")

    driver.click(dlg, IDCANCEL)
    assert run.wait() == 2


@pytest.mark.parametrize("way_out", ["cancel button", "escape key", "close box"])
def test_leaving_without_install_ends_with_status_2_and_writes_nothing(driver, launch, way_out):
    before = harness.machine_state()
    run, dlg = open_dialog(driver, launch)
    driver.settext(dlg, EDIT, "C:\\Elsewhere\\Sondrel")  # what the user typed is not kept
    if way_out == "cancel button":
        driver.mouseclick(dlg, IDCANCEL)
    elif way_out == "escape key":
        driver.key(dlg, "Escape")
    else:
        driver.close(dlg)
    assert run.wait() == 2
    harness.assert_unchanged(before, harness.machine_state())


@pytest.mark.parametrize("lang, title", [
    ("en_US.UTF-8", "Select the installation directory"),
    ("de_DE.UTF-8", "Select the installation directory"),
    ("fr_FR.UTF-8", "Selectionner le répertoire d'installation"),
    ("fr_CH.UTF-8", "Selectionner le répertoire d'installation"),
])
def test_folder_browser_speaks_the_users_language(driver, launch, lang, title):
    run, dlg = open_dialog(driver, launch, lang)
    driver.click(dlg, BROWSE)
    browser = harness.owned_dialog(driver, dlg)
    if lang == "en_US.UTF-8":
        harness.screenshot(driver, browser, "02-folder-browser")
    assert title in [c["text"] for c in driver.children(browser)]
    driver.click(browser, IDCANCEL)
    driver.gone(browser, timeout=10)
    assert driver.text(dlg, EDIT) == harness.program_files() + "\\MP3 Sondrel", "a cancelled browser changes nothing"
    driver.click(dlg, IDCANCEL)
    assert run.wait() == 2


def test_chosen_folder_becomes_the_whole_directory_text(driver, launch):
    run, dlg = open_dialog(driver, launch)
    driver.click(dlg, BROWSE)
    browser = harness.owned_dialog(driver, dlg)
    driver.click(browser, IDOK)  # the browser's own selection
    driver.gone(browser, timeout=10)
    chosen = driver.text(dlg, EDIT)
    assert chosen != harness.program_files() + "\\MP3 Sondrel"
    assert ":\\" in chosen and not chosen.endswith("MP3 Sondrel"), chosen
    driver.click(dlg, IDCANCEL)
    assert run.wait() == 2
