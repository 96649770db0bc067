"""One press of Install, end to end: the files, the questions, the programs it starts
or closes, and the ways an install can fail."""
import configparser
import os
import shutil
import subprocess
import time
from pathlib import Path

import pytest

import harness
from harness import CATALOGUE, EDIT, IDCANCEL, IDNO, IDOK, IDYES, PROGRESS, SETUP_TITLE

PLAYER_QUESTION = {
    "en": "[ mp3 - sondrel ] provides now a player : [ mp3 - quillo ] !\nWould you like to define it as default MP3 player ?",
    "fr": "[ mp3 - quillo ] n'est pas votre player par défaut !\nVoulez-vous le définir comme tel ?",
}
START_QUESTION = {
    "en": "Installation successful !\nDo you want to start [ mp3 - sondrel ] now  ?",
    "fr": "L'installation a été réalisée avec succès !\nVoulez-vous lancer [ mp3 - sondrel ] tout de suite  ?",
}
CAPTION = {"en": SETUP_TITLE, "fr": "Installation de [ mp3 - sondrel ]"}
FAILED = "Some problem have occurred during the installation.\n[ mp3 - sondrel ] is not correctly installed !"
PROGRAM_NAME = "setup"  # the caption of boxes without one of their own


pytestmark = pytest.mark.usefixtures("subscribed")


def fresh(folder):
    path = harness.unix_path(folder)
    shutil.rmtree(path, ignore_errors=True)
    return path


def start_install(driver, launch, directory, lang="en_US.UTF-8", typed=True):
    """Opens the dialog, types the directory into the edit as a user would, presses Install."""
    run = launch(lang)
    dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
    if typed:
        driver.settext(dlg, EDIT, "")
        driver.mouseclick(dlg, EDIT)
        driver.type(dlg, directory)
        driver.wait_text(dlg, EDIT, directory)
    else:
        driver.settext(dlg, EDIT, directory)
    driver.click(dlg, IDOK)
    return run, dlg


def assert_installed(folder, french=False):
    for entry in CATALOGUE:
        path = harness.installed_path(folder, entry, french)
        assert path.is_file(), path
        assert path.read_bytes() == harness.payload_source(entry[1]), path
    files = sorted(p.name for p in Path(folder).iterdir())
    assert "dummy.tmp" not in files
    assert len([f for f in files if f != "HtmlView"]) == 8 and len(os.listdir(Path(folder) / "HtmlView")) == 5


@pytest.mark.parametrize("lang", ["en", "fr"])
def test_clean_install_into_a_typed_directory_with_a_trailing_backslash(driver, launch, lang):
    folder = fresh("C:\\Sondrel Test")
    run, _ = start_install(driver, launch, "C:\\Sondrel Test\\", "en_US.UTF-8" if lang == "en" else "fr_FR.UTF-8")
    shot = lang == "en"
    box = harness.answer_box(driver, PROGRAM_NAME, IDNO, "03-player-question" if shot else None)
    assert (box["text"], box["icon"]) == (PLAYER_QUESTION[lang], "question")
    assert [b[0] for b in box["buttons"]] == [IDYES, IDNO]
    box = harness.answer_box(driver, CAPTION[lang], IDNO, "04-installation-successful" if shot else None)
    assert (box["text"], box["icon"]) == (START_QUESTION[lang], "question")
    assert run.wait() == 0
    assert_installed(folder, french=lang == "fr")
    assert not (folder.parent / "Sondrel Test\\").exists()


def start_program(exe_unix_path):
    """Starts an installed program under Wine as a user would, from its own folder."""
    return subprocess.Popen([harness.loader(), str(exe_unix_path)], env=harness.wine_env(), cwd=exe_unix_path.parent,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def test_running_copies_are_asked_to_close_before_their_files_are_replaced(driver, launch):
    folder = fresh("C:\\Sondrel Running")
    folder.mkdir(parents=True)
    programs = {"Tolvane.exe": ("*", "Tolvane"), "mp3 sondrel.exe": ("Mp3SondrelWndClass", "*"),
                "mp3 quillo.exe": ("Mp3QuilloWndClass", "*")}
    for name in list(programs) + ["xaudio.dll"]:
        shutil.copy(Path(os.environ["SONDREL_PAYLOAD_FOLDER"]) / name, folder / name)
    running = [start_program(folder / name) for name in programs]
    windows = [driver.find(cls, title, timeout=30) for cls, title in programs.values()]

    run, _ = start_install(driver, launch, "C:\\Sondrel Running", typed=False)
    # No "Cannot update file" prompt: the programs had closed before their files were deleted.
    box = harness.answer_box(driver, PROGRAM_NAME, IDNO)
    assert box["text"] == PLAYER_QUESTION["en"]
    harness.answer_box(driver, SETUP_TITLE, IDNO)
    assert run.wait() == 0
    for proc in running:
        assert proc.wait(timeout=10) == 0
    for hwnd in windows:
        driver.gone(hwnd, timeout=5)
    assert_installed(folder)


def test_yes_starts_the_player_hidden_with_reg_and_then_the_application(driver, launch):
    folder = fresh("C:\\Sondrel Start")
    run, _ = start_install(driver, launch, "C:\\Sondrel Start", typed=False)
    harness.answer_box(driver, PROGRAM_NAME, IDYES)
    harness.answer_box(driver, SETUP_TITLE, IDYES)
    assert run.wait() == 0
    app = driver.find("Mp3SondrelWndClass", "*", timeout=30, exe="mp3 sondrel.exe")
    players = [w for w in driver.all_windows() if w["cls"] == "Mp3QuilloWndClass"]
    assert len(players) == 1
    assert not players[0]["visible"], "the player starts hidden"
    assert players[0]["title"] == "[ mp3 - quillo ] (stand-in) -reg"
    assert driver.text(players[0]["hwnd"], 100) == "args: -reg"
    assert driver.text(players[0]["hwnd"], 101) == "decoder: xaudio stand-in 4.3.0a"
    for hwnd in (app, players[0]["hwnd"]):
        driver.close(hwnd)
    driver.gone(app, timeout=10)
    assert_installed(folder)


def test_an_entry_that_fails_in_the_middle_does_not_stop_the_others(driver, launch):
    folder = fresh("C:\\Sondrel Blocked")
    (folder / "HtmlView" / "Manual.htm").mkdir(parents=True)  # entry 5 can never be replaced
    run, _ = start_install(driver, launch, "C:\\Sondrel Blocked", typed=False)
    prompt = harness.answer_box(driver, SETUP_TITLE, IDCANCEL, "05-file-in-use")
    assert prompt["text"].startswith("Cannot update file C:\\Sondrel Blocked\\HtmlView\\Manual.htm. \n")
    assert prompt["icon"] == "question"
    assert harness.answer_box(driver, PROGRAM_NAME, IDNO)["text"] == PLAYER_QUESTION["en"]
    box = harness.answer_box(driver, SETUP_TITLE, IDOK, "06-installation-failed")
    assert (box["text"], box["icon"]) == (FAILED, "exclamation")
    assert run.wait() == 1
    for entry in CATALOGUE:
        path = harness.installed_path(folder, entry)
        if entry[0] == "MANUAL":
            assert path.is_dir()
        else:
            assert path.read_bytes() == harness.payload_source(entry[1]), path


def pages(n):
    return (n + 4095) // 4096 * 4096


DISK_FULL = {"en": "Disk full while accessing T:\\Sondrel\\dummy.tmp.",
             "fr": "Disque plein lors de l'accès à T:\\Sondrel\\dummy.tmp."}


@pytest.mark.parametrize("lang", ["en", "fr"])
def test_a_disk_that_fills_on_entry_5_stops_the_install_and_install_can_run_again(driver, launch, lang):
    drive = harness.small_drive()
    for child in drive.iterdir():
        shutil.rmtree(child) if child.is_dir() else child.unlink()
    (drive / "Sondrel").mkdir()
    (drive / "Sondrel" / "HtmlView").mkdir()
    stored = [pages(os.path.getsize(Path(os.environ["SONDREL_PACKED_DIR"]) / f"{e[0]}.sz")) for e in CATALOGUE]
    expanded = [pages(len(harness.payload_source(e[1]))) for e in CATALOGUE]
    # Room for entries 1 to 4 (each with its scratch file beside it) but not entry 5's scratch file.
    room = max(sum(expanded[:k]) + stored[k] + expanded[k] for k in range(4))
    assert sum(expanded[:4]) + stored[4] > room
    st = os.statvfs(drive)
    filler = st.f_bavail * st.f_frsize - room
    with open(drive / "filler", "wb") as f:
        f.write(b"\0" * filler)

    run, dlg = start_install(driver, launch, "T:\\Sondrel", "en_US.UTF-8" if lang == "en" else "fr_FR.UTF-8", typed=False)
    entries = {e[0]: e for e in CATALOGUE}
    for attempt in (1, 2):
        shot = "07-disk-full" if attempt == 1 and lang == "en" else None
        box = harness.answer_box(driver, PROGRAM_NAME, IDOK, shot)
        assert (box["text"], box["icon"]) == (DISK_FULL[lang], "stop")
        assert driver.info(dlg)["visible"], "the dialog stays open"
        assert driver.progress(dlg, PROGRESS)[0] == 19
        folder = drive / "Sondrel"
        assert harness.installed_path(folder, entries["LOGOJPG"], lang == "fr").exists()
        assert not harness.installed_path(folder, entries["MANUAL"], lang == "fr").exists()
        if attempt == 1:
            driver.click(dlg, IDOK)  # Install again: the whole sequence from its first step
    driver.click(dlg, IDCANCEL)
    assert run.wait() == 2
    (drive / "filler").unlink()
    listed = [v.get("InstallLocation", ("", ""))[1] for v in harness.installed_apps().values()]
    assert not [where for where in listed if where.upper().startswith("T:")], "no entry names the unfinished install"


def assert_listed(folder_name, french):
    """Windows lists the product exactly once, with the facts of the install in `folder_name`."""
    entries = {name: values for name, values in harness.installed_apps().items() if "sondrel" in name.lower()}
    assert list(entries) == ["[ mp3 - sondrel ]"], entries
    values = entries["[ mp3 - sondrel ]"]
    folder = harness.unix_path(folder_name)
    uninstaller = harness.installed_path(folder, next(e for e in CATALOGUE if e[0] == "UNINST"), french)
    site = configparser.ConfigParser(interpolation=None)
    site.read(folder / "website.url")
    on_disk = sum(p.stat().st_size for p in folder.rglob("*") if p.is_file())
    today = {time.strftime("%Y%m%d", time.localtime(time.time() - lag)) for lag in (0, 600)}
    assert values.pop("InstallDate")[1] in today
    assert values == {
        "DisplayName": ("REG_SZ", "[ mp3 - sondrel ]"),
        "DisplayVersion": ("REG_SZ", "4.3.0a"),
        "Publisher": ("REG_SZ", "Sondrel Software"),
        "InstallLocation": ("REG_SZ", folder_name),
        "UninstallString": ("REG_SZ", f'"{folder_name}\\{uninstaller.name}"'),
        "DisplayIcon": ("REG_SZ", f"{folder_name}\\mp3 sondrel.exe"),
        "URLInfoAbout": ("REG_SZ", site["InternetShortcut"]["URL"]),
        "EstimatedSize": ("REG_DWORD", hex((on_disk + 1023) // 1024)),
        "NoModify": ("REG_DWORD", "0x1"),
        "NoRepair": ("REG_DWORD", "0x1"),
    }
    assert uninstaller.is_file() and (folder / "mp3 sondrel.exe").is_file()


def test_windows_lists_the_product_once_and_a_new_install_moves_the_entry(driver, launch):
    for folder_name, lang in (("C:\\Sondrel Listed", "en_US.UTF-8"), ("C:\\Sondrel Listed Again", "fr_FR.UTF-8")):
        folder = fresh(folder_name)
        run, _ = start_install(driver, launch, folder_name, lang, typed=False)
        harness.answer_box(driver, PROGRAM_NAME, IDNO)
        harness.answer_box(driver, CAPTION[lang[:2]], IDNO)
        assert run.wait() == 0
        assert_listed(folder_name, french=lang.startswith("fr"))
    # An install that fails there may have replaced some of the files: the entry goes.
    (folder / "HtmlView" / "Manuel.htm").unlink()
    (folder / "HtmlView" / "Manual.htm").mkdir()
    run, _ = start_install(driver, launch, folder_name, typed=False)
    harness.answer_box(driver, SETUP_TITLE, IDCANCEL)
    harness.answer_box(driver, PROGRAM_NAME, IDNO)
    harness.answer_box(driver, SETUP_TITLE, IDOK)
    assert run.wait() == 1
    assert not [name for name in harness.installed_apps() if "sondrel" in name.lower()]
