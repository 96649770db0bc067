"""The setup.exe a vendor ships: a signed copy installs like the unsigned one, and a copy
whose payload was damaged after the build fails that entry before touching the disk for it,
keeping the file an earlier install left."""
import os
import shutil
import subprocess
from pathlib import Path

import pytest

import harness
from damage_resource import damage
from harness import CATALOGUE, EDIT, IDNO, IDOK, SETUP_TITLE

FAILED = "Some problem have occurred during the installation.\n[ mp3 - sondrel ] is not correctly installed !"


pytestmark = pytest.mark.usefixtures("subscribed")  # these installs are about the files


def install_with(driver, exe, folder, last_button):
    """Runs the install of `exe` (a copy named setup.exe, as shipped) into `folder`, answers
    No to the player question and `last_button` to the outcome box, and returns that box
    and the exit status."""
    run = harness.SetupRun(exe=str(exe))
    try:
        dlg = driver.find("#32770", SETUP_TITLE, timeout=30, exe="setup.exe")
        driver.settext(dlg, EDIT, folder)
        driver.click(dlg, IDOK)
        harness.answer_box(driver, "setup", IDNO)
        outcome = harness.answer_box(driver, SETUP_TITLE, last_button)
        return outcome, run.wait()
    finally:
        run.kill()


def test_a_signed_copy_installs_every_file_byte_exact(driver, tmp_path):
    signer = tmp_path / "signer"
    subprocess.run([str(harness.SUPPORT / "make_test_signer.sh"), str(signer)], check=True)
    signed = tmp_path / "signed" / "setup.exe"
    signed.parent.mkdir()
    subprocess.run(["osslsigncode", "sign", "-certs", signer / "signer.pem", "-key", signer / "signer.key",
                    "-h", "sha256", "-n", "[ mp3 - sondrel ] setup", "-in", os.environ["SONDREL_SETUP_EXE"],
                    "-out", signed], check=True, stdout=subprocess.DEVNULL)
    assert signed.stat().st_size > Path(os.environ["SONDREL_SETUP_EXE"]).stat().st_size
    folder = harness.unix_path("C:\\Sondrel Signed")
    shutil.rmtree(folder, ignore_errors=True)
    outcome, status = install_with(driver, signed, "C:\\Sondrel Signed", IDNO)
    assert outcome["text"].startswith("Installation successful !")
    assert status == 0
    for entry in CATALOGUE:
        assert harness.installed_path(folder, entry).read_bytes() == harness.payload_source(entry[1])


def test_a_damaged_entry_keeps_the_old_file_and_the_others_install(driver, tmp_path):
    folder = harness.unix_path("C:\\Sondrel Damaged")
    shutil.rmtree(folder, ignore_errors=True)
    old = folder / "HtmlView" / "Manual.htm"
    old.parent.mkdir(parents=True)
    old.write_bytes(b"<html>the manual an earlier install left</html>")
    before = old.stat().st_mtime_ns
    damaged = tmp_path / "damaged" / "setup.exe"
    damaged.parent.mkdir()
    damage(os.environ["SONDREL_SETUP_EXE"], "FILE", "MANUAL", str(damaged))

    outcome, status = install_with(driver, damaged, "C:\\Sondrel Damaged", IDOK)
    assert (outcome["text"], outcome["icon"]) == (FAILED, "exclamation")
    assert status == 1
    assert old.read_bytes() == b"<html>the manual an earlier install left</html>"
    assert old.stat().st_mtime_ns == before, "the old file was not touched"
    assert not (folder / "dummy.tmp").exists()
    for entry in CATALOGUE:
        if entry[0] != "MANUAL":
            assert harness.installed_path(folder, entry).read_bytes() == harness.payload_source(entry[1]), entry
