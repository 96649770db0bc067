"""What the shell and settings operations leave on disk, read back from Linux by
independent tools: liblnk's lnkinfo for the link files, Python's configparser for the
settings file."""
import os
import shutil
import subprocess

import pytest

import harness

FOLDERS_KEYS = ["HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"]
INSTALL = "C:\\Apps\\Sondrel"

# Link file (relative to the test's shell folders) -> target, per language.
LINKS = {
    "en": {
        "Desktop/[ mp3 - sondrel ].lnk": "mp3 sondrel.exe",
        "Desktop/[ mp3 - quillo ].lnk": "mp3 quillo.exe",
        "Startup/[ mp3 - sondrel ].lnk": "Tolvane.exe",
        "Programs/[ mp3 - sondrel ]/[ mp3 - sondrel ].lnk": "mp3 sondrel.exe",
        "Programs/[ mp3 - sondrel ]/Read me.lnk": "HtmlView\\readme.htm",
        "Programs/[ mp3 - sondrel ]/User's manual.lnk": "HtmlView\\Manual.htm",
        "Programs/[ mp3 - sondrel ]/Web site.lnk": "website.url",
        "Programs/[ mp3 - sondrel ]/Uninstall.lnk": "Uninstall.exe",
        "Programs/[ mp3 - sondrel ]/[ mp3 - quillo ].lnk": "mp3 quillo.exe",
    },
    "fr": {
        "Desktop/[ mp3 - sondrel ].lnk": "mp3 sondrel.exe",
        "Desktop/[ mp3 - quillo ].lnk": "mp3 quillo.exe",
        "Startup/[ mp3 - sondrel ].lnk": "Tolvane.exe",
        "Programs/[ mp3 - sondrel ]/[ mp3 - sondrel ].lnk": "mp3 sondrel.exe",
        "Programs/[ mp3 - sondrel ]/Lisez moi.lnk": "HtmlView\\Lisezmoi.htm",
        "Programs/[ mp3 - sondrel ]/Manuel utilisateur.lnk": "HtmlView\\Manuel.htm",
        "Programs/[ mp3 - sondrel ]/Site web.lnk": "website.url",
        "Programs/[ mp3 - sondrel ]/Désinstallation.lnk": "Uninstall.exe",
        "Programs/[ mp3 - sondrel ]/[ mp3 - quillo ].lnk": "mp3 quillo.exe",
    },
}


def host(*args, lang="en_US.UTF-8"):
    return harness.wine(os.environ["SONDREL_SHELL_HOST_EXE"], *args, lang=lang, check=False).returncode


def lnkinfo(path):
    """The fields lnkinfo reads from a link file."""
    out = subprocess.run(["lnkinfo", str(path)], stdout=subprocess.PIPE, text=True, check=True).stdout
    fields = {}
    for line in out.splitlines():
        key, sep, value = line.strip().partition(":")
        if sep:
            fields.setdefault(key.strip(), value.strip())
    return fields


@pytest.fixture
def shell_folders():
    """Fresh Desktop, Programs and Startup folders for the test, in both tables the shell
    keeps; the user's own folders are back afterwards."""
    root = harness.unix_path("C:\\e2e-shell")
    shutil.rmtree(root, ignore_errors=True)
    for name in ("Desktop", "Programs", "Startup"):
        (root / name).mkdir(parents=True)
        for key in FOLDERS_KEYS:
            harness.wine("reg", "add", key, "/v", name, "/d", f"C:\\e2e-shell\\{name}", "/f")
    yield root
    harness.restore_shell_folders()


@pytest.mark.parametrize("lang", ["en", "fr"])
def test_nine_links_hold_their_targets_as_lnkinfo_reads_them(shell_folders, lang):
    assert host("shortcuts", INSTALL, lang="en_US.UTF-8" if lang == "en" else "fr_FR.UTF-8") == 0
    made = sorted(str(p.relative_to(shell_folders)) for p in shell_folders.rglob("*.lnk"))
    assert made == sorted(LINKS[lang])
    for link, target in LINKS[lang].items():
        fields = lnkinfo(shell_folders / link)
        assert fields["Local path"] == f"{INSTALL}\\{target}", link
        assert fields.get("Description", "") == "", link


def test_old_shortcuts_go_and_the_current_ones_stay(shell_folders):
    assert host("shortcuts", INSTALL) == 0
    old_group = shell_folders / "Programs" / "[ mp3 sondrel ]"
    old_group.mkdir()
    for name in ("[ mp3 sondrel ].lnk", "Read me.lnk", "Uninstall"):
        (old_group / name).write_bytes(b"old")
    (shell_folders / "Desktop" / "[ mp3 sondrel ].lnk").write_bytes(b"old")
    assert host("remove-old") == 0
    assert not old_group.exists()
    assert sorted(p.name for p in (shell_folders / "Desktop").iterdir()) == ["[ mp3 - quillo ].lnk", "[ mp3 - sondrel ].lnk"]
    assert len(list((shell_folders / "Programs" / "[ mp3 - sondrel ]").iterdir())) == 6


def test_settings_file_keeps_what_other_programs_wrote():
    path = harness.settings_file()
    path.unlink(missing_ok=True)
    assert host("setting", "InstallPath", "C:\\First") == 0
    assert host("setting", "Player", "1") == 0
    settings = harness.read_settings()
    assert dict(settings["Setup"]) == {"installpath": "C:\\First", "player": "1"}

    # The main application keeps settings of its own in the same file, and an older
    # version wrote the key in lower case.
    path.write_bytes(b"[Setup]\r\ninstallpath=C:\\First\r\nSkin=dark\r\nPlayer=1\r\n\r\n[Window]\r\nLeft=10\r\n")
    assert host("setting", "InstallPath", "D:\\Second") == 0
    settings = harness.read_settings()
    assert dict(settings["Setup"]) == {"skin": "dark", "installpath": "D:\\Second", "player": "1"}
    assert dict(settings["Window"]) == {"left": "10"}
