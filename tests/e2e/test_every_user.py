"""Installs for every user: folders named outside the system's code page get their
shortcuts where they are, never in a look-alike account's folders, and a system whose
code page has two bytes to a character installs into a directory as long in characters
as any other."""
import shutil

import pytest

import harness
from harness import CATALOGUE, EDIT, IDNO, SETUP_TITLE

START_MENU = "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"
FOLDERS = {"Desktop": "Desktop", "Programs": START_MENU, "Startup": START_MENU + "\\Startup"}
GROUP = "[ mp3 - sondrel ]"
INSTALL = "C:\\Sondrel Users"


@pytest.fixture(autouse=True)
def world(subscribed):
    """No newsletter offered, the usual folder tables afterwards."""
    shutil.rmtree(harness.unix_path(INSTALL), ignore_errors=True)
    yield
    harness.restore_shell_folders()


def user_folders(account):
    """Fresh, empty Desktop, Programs and Startup folders of `account` (Windows paths)."""
    folders = {name: f"C:\\users\\{account}\\{sub}" for name, sub in FOLDERS.items()}
    shutil.rmtree(harness.unix_path(f"C:\\users\\{account}"), ignore_errors=True)
    for folder in folders.values():
        harness.unix_path(folder).mkdir(parents=True)
    return folders


def point_shell_folders(folders):
    """Both tables the shell keeps: it rewrites one from the other when it resolves a folder."""
    for table in ("Shell Folders", "User Shell Folders"):
        for name, folder in folders.items():
            harness.wine("reg", "add", harness.EXPLORER + table, "/v", name, "/d", folder, "/f")


def install(driver, launch, directory, lang="en_US.UTF-8"):
    """One install to its end, both questions answered No; its exit status and outcome."""
    run = launch(lang)
    dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
    driver.settext(dlg, EDIT, directory)
    driver.wait_text(dlg, EDIT, directory)
    driver.click(dlg, 1)
    harness.answer_box(driver, "setup", IDNO)
    outcome = harness.answer_box(driver, SETUP_TITLE, IDNO)
    return run.wait(), outcome["text"]


def links_in(folders):
    """Every link file under the three folders, by folder, with its target."""
    found = {}
    for name, folder in folders.items():
        root = harness.unix_path(folder)
        for path in sorted(root.rglob("*.lnk")):
            if name == "Programs" and "Startup" in path.relative_to(root).parts:
                continue
            found[f"{name}\\{path.relative_to(root)}".replace("/", "\\")] = harness.lnk_target(path)
    return found


NINE = {
    "Desktop\\[ mp3 - sondrel ].lnk": INSTALL + "\\mp3 sondrel.exe",
    "Desktop\\[ mp3 - quillo ].lnk": INSTALL + "\\mp3 quillo.exe",
    "Startup\\[ mp3 - sondrel ].lnk": INSTALL + "\\Tolvane.exe",
    f"Programs\\{GROUP}\\[ mp3 - sondrel ].lnk": INSTALL + "\\mp3 sondrel.exe",
    f"Programs\\{GROUP}\\Read me.lnk": INSTALL + "\\HtmlView\\readme.htm",
    f"Programs\\{GROUP}\\User's manual.lnk": INSTALL + "\\HtmlView\\Manual.htm",
    f"Programs\\{GROUP}\\Web site.lnk": INSTALL + "\\website.url",
    f"Programs\\{GROUP}\\Uninstall.lnk": INSTALL + "\\Uninstall.exe",
    f"Programs\\{GROUP}\\[ mp3 - quillo ].lnk": INSTALL + "\\mp3 quillo.exe",
}


# Greek and Cyrillic have no code in the English code page (1252); "Zoë" does.
@pytest.mark.parametrize("account", ["Ελένη", "Дмитрий", "Zoë"])
def test_a_user_named_outside_the_code_page_gets_all_nine_links_in_their_own_folders(driver, launch, account):
    folders = user_folders(account)
    point_shell_folders(folders)
    status, outcome = install(driver, launch, INSTALL)
    assert status == 0 and outcome.startswith("Installation successful !")
    assert links_in(folders) == NINE


def test_an_account_whose_name_is_the_look_alike_of_the_users_stays_untouched(driver, launch):
    folders = user_folders("Łukasz")  # the code page would read it back as "Lukasz"
    other = user_folders("Lukasz")
    point_shell_folders(folders)
    status, _ = install(driver, launch, INSTALL)
    assert status == 0
    assert links_in(folders) == NINE
    assert [p for p in harness.unix_path("C:\\users\\Lukasz").rglob("*") if not p.is_dir()] == []
    assert links_in(other) == {}


def test_a_double_byte_system_installs_into_a_directory_of_134_characters(driver, launch):
    # Two folders of 65 katakana each: 134 characters, 264 bytes in code page 932. (One
    # name of 131 would pass the Unix limit of 255 bytes a name in UTF-8.)
    parent = "C:\\" + "ソ" * 65
    directory = parent + "\\" + "フ" * 65
    assert len(directory) == 134 and len(directory.encode("cp932")) == 264
    shutil.rmtree(harness.unix_path(parent), ignore_errors=True)
    harness.unix_path(parent).mkdir()
    try:
        status, outcome = install(driver, launch, directory, lang="ja_JP.UTF-8")
        assert status == 0 and outcome.startswith("Installation successful !")
        for entry in CATALOGUE:
            assert harness.installed_path(harness.unix_path(directory), entry).read_bytes() == \
                harness.payload_source(entry[1]), entry[1]
        assert not (harness.unix_path(directory) / "dummy.tmp").exists()
    finally:
        shutil.rmtree(harness.unix_path(parent), ignore_errors=True)
