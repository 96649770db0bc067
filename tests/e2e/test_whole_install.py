"""The whole install as a user meets it: files, shortcuts, the previous version's
shortcuts and the settings file, each scenario from a known state."""
import configparser
import shutil
import subprocess

import pytest

import harness
from harness import BROWSE, CATALOGUE, CHECK, EDIT, IDCANCEL, IDNO, IDOK, SETUP_TITLE

USER = harness.user_profile()
START_MENU = USER + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"
DESKTOP, PROGRAMS, STARTUP = USER + "\\Desktop", START_MENU, START_MENU + "\\Startup"


def lnk_target(path):
    out = subprocess.run(["lnkinfo", str(path)], stdout=subprocess.PIPE, text=True, check=True).stdout
    return next(line.split(":", 1)[1].strip() for line in out.splitlines() if line.strip().startswith("Local path"))


def settings():
    parser = configparser.ConfigParser(interpolation=None)
    parser.read(harness.drive_c() / "windows" / "MP3 SONDREL.INI", encoding="cp1252")
    return parser


@pytest.fixture
def known_state():
    """No install, no settings file, empty shell folders, the user's usual folder tables;
    a previous version's desktop link and program group in place."""
    harness.restore_shell_folders()
    for folder in (DESKTOP, STARTUP):
        shutil.rmtree(harness.unix_path(folder), ignore_errors=True)
    shutil.rmtree(harness.unix_path(PROGRAMS), ignore_errors=True)
    for folder in (DESKTOP, PROGRAMS, STARTUP):
        harness.unix_path(folder).mkdir(parents=True, exist_ok=True)
    (harness.drive_c() / "windows" / "MP3 SONDREL.INI").unlink(missing_ok=True)
    old_group = harness.unix_path(PROGRAMS + "\\[ mp3 sondrel ]")
    old_group.mkdir()
    for name in ("[ mp3 sondrel ].lnk", "Read me.lnk", "Uninstall.lnk"):
        (old_group / name).write_bytes(b"old shortcut")
    harness.unix_path(DESKTOP + "\\[ mp3 sondrel ].lnk").write_bytes(b"old shortcut")
    folder = harness.unix_path("C:\\Sondrel Whole")
    shutil.rmtree(folder, ignore_errors=True)
    return folder


def install(driver, launch, directory, tick=True, browse_first=False, answers=(IDNO, IDNO)):
    run = launch()
    dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
    if browse_first:
        driver.click(dlg, BROWSE)
        browser = driver.wait_for(lambda: next((w["hwnd"] for w in driver.windows()
                                               if w["owner"] == dlg and w["cls"] == "#32770"), None))
        driver.click(browser, IDCANCEL)
        driver.gone(browser, timeout=10)
    driver.settext(dlg, EDIT, directory)
    if not tick:
        driver.click(dlg, CHECK)
        driver.wait_for(lambda: driver.checked(dlg, CHECK) == 0)
    driver.click(dlg, IDOK)
    harness.answer_box(driver, "setup", answers[0])
    return run, harness.answer_box(driver, SETUP_TITLE, answers[1])


def links():
    found = {}
    for folder in (DESKTOP, PROGRAMS, STARTUP):
        root = harness.unix_path(folder)
        for path in root.rglob("*.lnk"):
            if folder == PROGRAMS and path.parent.name == "Startup":
                continue
            found[f"{folder}\\{path.relative_to(root)}".replace("/", "\\")] = lnk_target(path)
    return found


def test_first_install_replaces_the_previous_versions_shortcuts(driver, launch, known_state):
    run, outcome = install(driver, launch, "C:\\Sondrel Whole", browse_first=True)
    assert outcome["text"].startswith("Installation successful !")
    assert run.wait() == 0
    assert not harness.unix_path(PROGRAMS + "\\[ mp3 sondrel ]").exists()
    assert not harness.unix_path(DESKTOP + "\\[ mp3 sondrel ].lnk").exists()
    made = links()
    inst = "C:\\Sondrel Whole"
    assert made == {
        DESKTOP + "\\[ mp3 - sondrel ].lnk": inst + "\\mp3 sondrel.exe",
        DESKTOP + "\\[ mp3 - quillo ].lnk": inst + "\\mp3 quillo.exe",
        STARTUP + "\\[ mp3 - sondrel ].lnk": inst + "\\Tolvane.exe",
        PROGRAMS + "\\[ mp3 - sondrel ]\\[ mp3 - sondrel ].lnk": inst + "\\mp3 sondrel.exe",
        PROGRAMS + "\\[ mp3 - sondrel ]\\Read me.lnk": inst + "\\HtmlView\\readme.htm",
        PROGRAMS + "\\[ mp3 - sondrel ]\\User's manual.lnk": inst + "\\HtmlView\\Manual.htm",
        PROGRAMS + "\\[ mp3 - sondrel ]\\Web site.lnk": inst + "\\website.url",
        PROGRAMS + "\\[ mp3 - sondrel ]\\Uninstall.lnk": inst + "\\Uninstall.exe",
        PROGRAMS + "\\[ mp3 - sondrel ]\\[ mp3 - quillo ].lnk": inst + "\\mp3 quillo.exe",
    }
    for entry in CATALOGUE:
        assert harness.installed_path(known_state, entry).read_bytes() == harness.payload_source(entry[1])
    assert dict(settings()["Setup"]) == {"installpath": inst, "player": "1"}


def test_box_cleared_makes_no_shortcut_but_still_removes_the_old_ones(driver, launch, known_state):
    run, _ = install(driver, launch, "C:\\Sondrel Whole", tick=False)
    assert run.wait() == 0
    assert links() == {}
    assert not harness.unix_path(PROGRAMS + "\\[ mp3 - sondrel ]").exists()
    assert not harness.unix_path(PROGRAMS + "\\[ mp3 sondrel ]").exists()
    assert not harness.unix_path(DESKTOP + "\\[ mp3 sondrel ].lnk").exists()
    assert settings()["Setup"]["InstallPath"] == "C:\\Sondrel Whole"


def test_a_failed_entry_still_writes_the_settings(driver, launch, known_state):
    (known_state / "HtmlView" / "Manual.htm").mkdir(parents=True)
    run = launch()
    dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
    driver.settext(dlg, EDIT, "C:\\Sondrel Whole\\")
    driver.click(dlg, IDOK)
    harness.answer_box(driver, SETUP_TITLE, IDCANCEL)  # the prompt for the folder in the way
    harness.answer_box(driver, "setup", IDNO)
    assert harness.answer_box(driver, SETUP_TITLE, IDOK)["icon"] == "exclamation"
    assert run.wait() == 1
    assert dict(settings()["Setup"]) == {"installpath": "C:\\Sondrel Whole", "player": "1"}
    assert len(links()) == 9, "a failed payload entry does not stop the shortcuts"
