"""What a user types or pastes into the directory field: what they evidently did not mean
goes, the rest installs into the folder it names in full, and a text that cannot be an
install directory is refused with a message that names the problem, before anything is
written, the dialog staying open on the text as typed."""
import os
import shutil
from pathlib import Path

import pytest

import harness
from harness import CATALOGUE, EDIT, IDCANCEL, IDNO, IDOK, SETUP_TITLE

# The longest path the install writes under its directory, less the directory itself: the
# files in either language, with the separator before them, and the scratch file.
TAIL = max([len("\\" + (sub + "\\" if sub else "") + name) for _, en, fr, sub in CATALOGUE for name in (en, fr)]
           + [len("\\dummy.tmp")])
MOST = 259 - TAIL  # characters of the longest directory the install can use

EN = {
    "not full": '"{}" is not a full path: give its drive too (C:\\...).',
    "forbidden": '"{}" holds a character a name cannot hold: < > : " | ? *',
    "device": '"{}" is a device\'s name: no folder can bear it.',
    "ending": '"{}": a name cannot end in a blank or a dot.',
    "no drive": "The drive {} cannot be found.",
    "file": "{} is a file, not a folder.",
    "too long": "{} is too long for the files to install there.",
}
FR = {
    "not full": '"{}" n\'est pas un chemin complet : indiquez aussi le lecteur (C:\\...).',
    "device": '"{}" est le nom d\'un périphérique : aucun dossier ne peut le porter.',
    "too long": "{} est trop long pour y installer les fichiers.",
}
FR_CAPTION = "Installation de [ mp3 - sondrel ]"

A_FILE = "C:\\Sondrel File.txt"
# One character more than the most, and past a path buffer; in words, so that the message
# box wraps them within the screen.
TOO_LONG = ("C:\\Sondrel Long\\" + "Sondrel " * 40)[:MOST] + "x"
PAST_A_BUFFER = "C:\\" + "Sondrel " * 40 + "x"

# Typed text, the problem, what the message names.
REFUSED = [
    ("sondrel", "not full", "sondrel"),
    ("C:sondrel", "not full", "C:sondrel"),
    ("\\sondrel", "not full", "\\sondrel"),
    ('  ""  ', "not full", ""),
    ("C:\\Sondrel<2>", "forbidden", "C:\\Sondrel<2>"),
    ("\\\\?\\C:\\Sondrel", "forbidden", "\\\\?\\C:\\Sondrel"),
    ("C:\\CON", "device", "CON"),
    ("C:\\Sondrel\\NUL\\x", "device", "NUL"),
    ("C:\\Sondrel\\com1.txt", "device", "com1.txt"),
    ("C:\\Sondrel Dots..", "ending", "Sondrel Dots.."),
    ('"C:\\Sondrel \\x"', "ending", "Sondrel "),
    ("Q:\\Sondrel", "no drive", "Q:\\"),
    ("\\\\server\\share\\Sondrel", "no drive", "\\\\server\\share\\"),
    (A_FILE, "file", A_FILE),
    (TOO_LONG, "too long", TOO_LONG),
    (PAST_A_BUFFER, "too long", PAST_A_BUFFER),
]


def refuse(driver, dlg, typed, message, caption=SETUP_TITLE):
    driver.settext(dlg, EDIT, typed)
    driver.click(dlg, IDOK)
    box = harness.answer_box(driver, caption, IDOK)
    assert (box["text"], box["icon"]) == (message, "exclamation"), typed
    driver.wait_for(lambda: driver.focus(dlg)["id"] == EDIT, what=f"the focus back in the field after {typed!r}")
    assert driver.text(dlg, EDIT) == typed


def test_a_text_that_cannot_be_an_install_directory_is_refused_and_nothing_is_written(driver, launch):
    assert len(TOO_LONG) == MOST + 1 and len(PAST_A_BUFFER) > 259
    harness.unix_path(A_FILE).write_bytes(b"in the way")
    before = harness.machine_state()
    try:
        for lang, texts, caption in (("en_US.UTF-8", EN, SETUP_TITLE), ("fr_FR.UTF-8", FR, FR_CAPTION)):
            run = launch(lang)
            dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
            for typed, problem, named in REFUSED:
                if problem in texts:
                    refuse(driver, dlg, typed, texts[problem].format(named), caption)
            driver.click(dlg, IDCANCEL)
            assert run.wait() == 2
        harness.assert_unchanged(before, harness.machine_state())
    finally:
        harness.unix_path(A_FILE).unlink()


@pytest.fixture
def drive_r():
    """Drive R:, a folder of the test's own, for an install into a drive's root."""
    folder = Path(os.environ["SONDREL_WINE_DIR"]) / "drive-r"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir()
    link = harness.prefix() / "dosdevices" / "r:"
    link.unlink(missing_ok=True)
    link.symlink_to(folder)
    yield folder
    link.unlink()
    shutil.rmtree(folder)


def longest_directory():
    """A directory of exactly MOST characters, in names the Unix side can hold."""
    path = "C:\\Sondrel Longest"
    while len(path) < MOST:
        path += "\\" + "z" * min(100, MOST - len(path) - 1)
    return path


# Typed text, the directory the install uses.
INSTALLED = [
    ('  "C:\\Sondrel Quoted\\"  ', "C:\\Sondrel Quoted"),
    ("C:/Sondrel Slashes//", "C:\\Sondrel Slashes"),
    ("C:\\Sondrel Made\\New\\..\\Deep\\", "C:\\Sondrel Made\\Deep"),
    (longest_directory(), longest_directory()),
    ("R:\\", "R:\\"),
]


@pytest.mark.parametrize("typed, used", INSTALLED)
def test_a_trimmed_text_installs_into_the_folder_it_names_in_full(driver, launch, subscribed, drive_r, typed, used):
    assert len(longest_directory()) == MOST
    folder = drive_r if used == "R:\\" else harness.unix_path(used)
    made = None if used == "R:\\" else harness.unix_path("C:\\" + used.split("\\")[1])  # the outermost folder made
    if made:
        shutil.rmtree(made, ignore_errors=True)
    run = launch()
    dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
    driver.settext(dlg, EDIT, typed)
    driver.click(dlg, IDOK)
    harness.answer_box(driver, "setup", IDNO)
    assert harness.answer_box(driver, SETUP_TITLE, IDNO)["text"].startswith("Installation successful !")
    assert run.wait() == 0
    for entry in CATALOGUE:
        assert harness.installed_path(folder, entry).read_bytes() == harness.payload_source(entry[1]), entry[1]
    assert harness.read_settings()["Setup"]["InstallPath"] == used
    desktop_link = harness.unix_path(harness.user_profile() + "\\Desktop\\[ mp3 - sondrel ].lnk")
    assert harness.lnk_target(desktop_link) == used.rstrip("\\") + "\\mp3 sondrel.exe"
    if made:
        shutil.rmtree(made)
