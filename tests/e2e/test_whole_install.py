"""The whole install as a user meets it: files, shortcuts, the previous version's
shortcuts and the settings file, each scenario from a known state."""
import shutil

import pytest

import harness
from harness import BROWSE, CATALOGUE, CHECK, EDIT, IDCANCEL, IDNO, IDOK, SETUP_TITLE
from subscription_server import SubscriptionServer

NEWSLETTER_TITLE = "[ mp3 - sondrel ]'s newsletter"

USER = harness.user_profile()
START_MENU = USER + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"
DESKTOP, PROGRAMS, STARTUP = USER + "\\Desktop", START_MENU, START_MENU + "\\Startup"


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
    harness.settings_file().unlink(missing_ok=True)
    old_group = harness.unix_path(PROGRAMS + "\\[ mp3 sondrel ]")
    old_group.mkdir()
    for name in ("[ mp3 sondrel ].lnk", "Read me.lnk", "Uninstall.lnk"):
        (old_group / name).write_bytes(b"old shortcut")
    harness.unix_path(DESKTOP + "\\[ mp3 sondrel ].lnk").write_bytes(b"old shortcut")
    folder = harness.unix_path("C:\\Sondrel Whole")
    shutil.rmtree(folder, ignore_errors=True)
    return folder


def install(driver, launch, directory, tick=True, browse_first=False, newsletter=None, lang="en_US.UTF-8",
            caption=SETUP_TITLE):
    """Runs an install to its end; `newsletter` handles the newsletter dialog when it comes
    (None: it must not come). Returns the run and the outcome box."""
    run = launch(lang)
    dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
    if browse_first:
        driver.click(dlg, BROWSE)
        browser = harness.owned_dialog(driver, dlg)
        driver.click(browser, IDCANCEL)
        driver.gone(browser, timeout=10)
    driver.settext(dlg, EDIT, directory)
    if not tick:
        driver.click(dlg, CHECK)
        driver.wait_for(lambda: driver.checked(dlg, CHECK) == 0)
    driver.click(dlg, IDOK)
    harness.answer_box(driver, "setup", IDNO)
    if newsletter:
        newsletter(driver.find("#32770", NEWSLETTER_TITLE, timeout=30, exe="setup.exe"))
    return run, harness.answer_box(driver, caption, IDNO)


def no_newsletter(driver):
    assert not [w for w in driver.windows() if w["title"] == NEWSLETTER_TITLE]


def links():
    found = {}
    for folder in (DESKTOP, PROGRAMS, STARTUP):
        root = harness.unix_path(folder)
        for path in root.rglob("*.lnk"):
            if folder == PROGRAMS and path.parent.name == "Startup":
                continue
            found[f"{folder}\\{path.relative_to(root)}".replace("/", "\\")] = harness.lnk_target(path)
    return found


def subscribe(driver, address, name=None):
    def fill(dialog):
        if name:
            harness.screenshot(driver, dialog, name)
        driver.settext(dialog, 1001, address)
        driver.click(dialog, IDOK)
        driver.gone(dialog, timeout=30)
    return fill


NAMES = {
    "en": {"readme": "Read me.lnk", "manual": "User's manual.lnk", "site": "Web site.lnk",
           "uninstall": "Uninstall.lnk", "readme_file": "readme.htm", "manual_file": "Manual.htm",
           "lang": "us", "caption": SETUP_TITLE, "locale": "en_US.UTF-8", "success": "Installation successful !"},
    "fr": {"readme": "Lisez moi.lnk", "manual": "Manuel utilisateur.lnk", "site": "Site web.lnk",
           "uninstall": "Désinstallation.lnk", "readme_file": "Lisezmoi.htm", "manual_file": "Manuel.htm",
           "lang": "fr", "caption": "Installation de [ mp3 - sondrel ]", "locale": "fr_FR.UTF-8",
           "success": "L'installation a été réalisée avec succès !"},
}


@pytest.mark.parametrize("lang", ["en", "fr"])
def test_first_install_replaces_the_previous_versions_shortcuts_and_subscribes_once(driver, launch, known_state,
                                                                                   tmp_path, lang):
    n = NAMES[lang]
    inst = "C:\\Sondrel Whole"
    with SubscriptionServer(tmp_path) as server:
        server.reply(200, b"OK")
        run, outcome = install(driver, launch, inst, browse_first=True, lang=n["locale"], caption=n["caption"],
                               newsletter=subscribe(driver, "jane.doe@example.org",
                                                    "05-newsletter" if lang == "en" else None))
        assert [r["params"] for r in server.requests()][0][:2] == [("email", "jane.doe@example.org"),
                                                                   ("lang", n["lang"])]
    assert outcome["text"].startswith(n["success"])
    assert run.wait() == 0
    assert not harness.unix_path(PROGRAMS + "\\[ mp3 sondrel ]").exists()
    assert not harness.unix_path(DESKTOP + "\\[ mp3 sondrel ].lnk").exists()
    group = PROGRAMS + "\\[ mp3 - sondrel ]\\"
    assert links() == {
        DESKTOP + "\\[ mp3 - sondrel ].lnk": inst + "\\mp3 sondrel.exe",
        DESKTOP + "\\[ mp3 - quillo ].lnk": inst + "\\mp3 quillo.exe",
        STARTUP + "\\[ mp3 - sondrel ].lnk": inst + "\\Tolvane.exe",
        group + "[ mp3 - sondrel ].lnk": inst + "\\mp3 sondrel.exe",
        group + n["readme"]: inst + "\\HtmlView\\" + n["readme_file"],
        group + n["manual"]: inst + "\\HtmlView\\" + n["manual_file"],
        group + n["site"]: inst + "\\website.url",
        group + n["uninstall"]: inst + "\\Uninstall.exe",
        group + "[ mp3 - quillo ].lnk": inst + "\\mp3 quillo.exe",
    }
    for entry in CATALOGUE:
        path = harness.installed_path(known_state, entry, french=lang == "fr")
        assert path.read_bytes() == harness.payload_source(entry[1])
    assert dict(harness.read_settings()["Setup"]) == {"installpath": inst, "player": "1", "mailinglist": "1"}

    # The next install finds the subscription: the start question follows the player question.
    run, outcome = install(driver, launch, inst, lang=n["locale"], caption=n["caption"])
    assert outcome["text"].startswith(n["success"])
    assert run.wait() == 0
    assert len(links()) == 9


@pytest.mark.parametrize("ending", ["cancelled", "not acknowledged", "server down"])
def test_no_acknowledged_subscription_leaves_no_mark_and_the_offer_comes_again(driver, launch, known_state,
                                                                              tmp_path, ending):
    def answer(dialog):
        if ending == "cancelled":
            return cancel(driver)(dialog)
        driver.settext(dialog, 1001, "jane.doe@example.org")
        driver.click(dialog, IDOK)
        harness.answer_box(driver, SETUP_TITLE, IDOK)  # the transmission failed
        driver.gone(dialog, timeout=10)

    server = SubscriptionServer(tmp_path)
    if ending != "server down":
        server.start()
        server.reply(200, b"Sorry, not now")
    try:
        run, _ = install(driver, launch, "C:\\Sondrel Whole", newsletter=answer)
        assert run.wait() == 0
        assert "mailinglist" not in harness.read_settings()["Setup"]
        run, _ = install(driver, launch, "C:\\Sondrel Whole", newsletter=cancel(driver))
        assert run.wait() == 0
    finally:
        if ending != "server down":
            server.stop()


def cancel(driver):
    def press(dialog):
        driver.click(dialog, IDCANCEL)
        driver.gone(dialog, timeout=10)
    return press


def test_box_cleared_makes_no_shortcut_but_still_removes_the_old_ones(driver, launch, known_state):
    run, _ = install(driver, launch, "C:\\Sondrel Whole", tick=False, newsletter=cancel(driver))
    assert run.wait() == 0
    assert links() == {}
    assert not harness.unix_path(PROGRAMS + "\\[ mp3 - sondrel ]").exists()
    assert not harness.unix_path(PROGRAMS + "\\[ mp3 sondrel ]").exists()
    assert not harness.unix_path(DESKTOP + "\\[ mp3 sondrel ].lnk").exists()
    assert harness.read_settings()["Setup"]["InstallPath"] == "C:\\Sondrel Whole"


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
    assert dict(harness.read_settings()["Setup"]) == {"installpath": "C:\\Sondrel Whole", "player": "1"}
    assert len(links()) == 9, "a failed payload entry does not stop the shortcuts"
    no_newsletter(driver)
