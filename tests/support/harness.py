"""The Wine world of an end-to-end test: the prefix and display that scripts/world/wine-env.sh
prepared, setup.exe started as a user would start it, and what it left on disk."""
import configparser
import getpass
import os
import struct
import subprocess
import time
from pathlib import Path

from catalogue import CATALOGUE  # noqa: F401  (the tests take it from here)
from uidriver import UiDriver

SUPPORT = Path(__file__).resolve().parent  # the pieces the tests share


def wine_env(lang="en_US.UTF-8", extra=None):
    """The Unix environment in which Wine programs of this test run start."""
    env = dict(os.environ)
    for line in (Path(os.environ["SONDREL_WINE_DIR"]) / "env").read_text().splitlines():
        key, _, value = line.partition("=")
        env[key] = value.strip('"')
    env.pop("LC_ALL", None)
    env["LANG"] = lang
    env.update(extra or {})
    return env


def loader():
    """The Wine loader that fits the world's prefix (32- or 64-bit)."""
    return wine_env()["WINELOADER"]


def prefix():
    return Path(wine_env()["WINEPREFIX"])


def drive_c():
    return prefix() / "drive_c"


def unix_path(windows_path):
    """The Unix path of a C: path of the prefix."""
    drive, _, rest = windows_path.partition(":")
    assert drive.upper() == "C", windows_path
    return drive_c() / rest.lstrip("\\").replace("\\", "/")


def system_program(name):
    """The file of one of Wine's own programs (reg, regedit...) inside the prefix. Started
    by its file, it starts directly; started by name, it goes through Wine's start.exe,
    which now and then fails to start it at all."""
    for folder in ("windows/system32", "windows"):
        path = drive_c() / folder / (name + ".exe")
        if path.is_file():
            return str(path)
    return name


def program_is_32bit(exe=None):
    """Whether the program under test (setup.exe unless named) is a 32-bit one, as its PE
    header says."""
    data = Path(exe or os.environ["SONDREL_SETUP_EXE"]).read_bytes()[:4096]
    pe, = struct.unpack_from("<I", data, 0x3C)
    machine, = struct.unpack_from("<H", data, pe + 4)
    return machine == 0x14C


def under_wow64():
    """Whether the program under test runs as a 32-bit program on 64-bit Windows."""
    return program_is_32bit() and wine_env()["WINEARCH"] == "win64"


def program_files():
    """The Program Files folder as the program under test is shown it."""
    return "C:\\Program Files (x86)" if under_wow64() else "C:\\Program Files"


def reg_as_program():
    """The reg.exe that sees the registry as the program under test does: a 32-bit program on
    64-bit Windows sees the 32-bit view, as the 32-bit reg.exe of SysWOW64 does."""
    return str(drive_c() / "windows/syswow64/reg.exe") if under_wow64() else "reg"


def wine(program, *args, lang="en_US.UTF-8", check=True):
    """Runs a Wine command (reg, regedit...) to its end. Between two tests 64-bit Wine's
    reg.exe has now and then ended with status 1 and no message; a failing command is tried
    once more before it counts, and what it wrote is kept for the report."""
    command = [loader(), system_program(program), *args]
    for attempt in (1, 2):
        done = subprocess.run(command, env=wine_env(lang), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              text=True, errors="replace")
        if done.returncode == 0 or not check:
            return done
        time.sleep(0.5)
    raise subprocess.CalledProcessError(done.returncode, command, done.stdout, done.stderr)


class SetupRun:
    """setup.exe (or another program of the tests) started under Wine; `wait` gives its
    exit status."""

    def __init__(self, lang="en_US.UTF-8", exe=None, extra=None):
        self.exe = exe or os.environ["SONDREL_SETUP_EXE"]
        self.proc = subprocess.Popen([loader(), self.exe], env=wine_env(lang, extra),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wait(self, timeout=30):
        return self.proc.wait(timeout=timeout)

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def start_driver(lang="en_US.UTF-8"):
    return UiDriver(os.environ["SONDREL_UIDRIVER_EXE"], wine_env(lang), wine=loader())


def screenshot(driver, hwnd, name):
    """Saves a PNG of the window under the run's screenshot folder and returns its path."""
    folder = Path(os.environ.get("SONDREL_SCREENS", "/tmp/sondrel-screens"))
    folder.mkdir(parents=True, exist_ok=True)
    bmp = folder / f"{name}.bmp"
    png = folder / f"{name}.png"
    time.sleep(0.3)  # let the window finish painting
    driver.screenshot(hwnd, str(bmp))
    subprocess.run(["/usr/bin/convert", str(bmp), str(png)], check=True)
    bmp.unlink()
    return png


def capture(driver, hwnd, folder):
    """The window's pixels as the screen shows them: rows from the top, each a list of
    (blue, green, red)."""
    bmp = Path(folder) / f"capture-{hwnd:x}.bmp"
    driver.screenshot(hwnd, str(bmp))
    data = bmp.read_bytes()
    bmp.unlink()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    assert bits == 24, bits
    stride = (width * 3 + 3) & ~3
    rows = [data[offset + y * stride: offset + y * stride + width * 3] for y in range(abs(height))]
    if height > 0:
        rows.reverse()  # bottom-up on disk
    return [[tuple(row[3 * x:3 * x + 3]) for x in range(width)] for row in rows]


def tree_state(root):
    """Every file and folder under root with its size and modification time."""
    state = {}
    for dirpath, dirnames, filenames in os.walk(root):
        for name in dirnames + filenames:
            p = Path(dirpath) / name
            try:
                st = p.lstat()
            except FileNotFoundError:
                continue
            state[str(p.relative_to(root))] = (st.st_size, st.st_mtime_ns)
    return state


def registry_export(key):
    """The text of a registry branch, as regedit exports it."""
    out = Path(os.environ["SONDREL_WINE_DIR"]) / "export.reg"
    out.unlink(missing_ok=True)
    wine("regedit", "/E", "Z:" + str(out).replace("/", "\\"), key)
    text = out.read_text(encoding="utf-16") if out.exists() else ""
    out.unlink(missing_ok=True)
    return text


UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"


def installed_apps():
    """Windows' list of installed programs as the program under test sees the registry: the
    name of each entry's key with its values {name: (type, data)}, as reg.exe reads them."""
    out = wine(reg_as_program(), "query", UNINSTALL_KEY, "/s").stdout
    entries, current = {}, None
    for line in out.splitlines():
        if line.upper().startswith(UNINSTALL_KEY.replace("HKLM", "HKEY_LOCAL_MACHINE").upper() + "\\"):
            current = entries.setdefault(line.split("\\")[-1], {})
        elif current is not None and line.startswith("    "):
            name, kind, data = (line.strip().split("    ", 2) + ["", ""])[:3]
            current[name] = (kind, data)
    return entries


def settings_file():
    """The settings file the program keeps in the Windows folder (a Unix path)."""
    return drive_c() / "windows" / "MP3 SONDREL.INI"


def read_settings():
    """The settings file as Python's configparser reads it (strict: a doubled key fails)."""
    parser = configparser.ConfigParser(interpolation=None)
    parser.read(settings_file(), encoding="cp1252")
    return parser


def lnk_target(path):
    """The local path a link file points at, as liblnk's lnkinfo reads it."""
    out = subprocess.run(["lnkinfo", str(path)], stdout=subprocess.PIPE, text=True, check=True).stdout
    return next(line.split(":", 1)[1].strip() for line in out.splitlines() if line.strip().startswith("Local path"))


# Keys that Wine itself keeps up to date while programs run, whatever they do.
WINE_HOUSEKEEPING = ("\\Wine\\", "\\NetworkCards", "\\Temporary System Parameters")


def registry_keys(branch):
    """The keys of a registry branch with their values, Wine's own housekeeping left out."""
    keys, current = {}, None
    for line in registry_export(branch).splitlines():
        if line.startswith("[") and line.endswith("]"):
            current = line[1:-1]
            keys[current] = []
        elif current and line and not line.startswith("#time="):
            keys[current].append(line)
    return {k: v for k, v in keys.items() if not any(w in k + "\\" for w in WINE_HOUSEKEEPING)}


def machine_state():
    """Every file of drive C: and every key of both software branches: what an install that
    did not happen must leave as it was."""
    return (tree_state(drive_c()), registry_keys("HKEY_LOCAL_MACHINE\\Software"),
            registry_keys("HKEY_CURRENT_USER\\Software"))


def assert_unchanged(before, after):
    files = sorted(set(after[0].items()) ^ set(before[0].items()))
    assert after[0] == before[0], f"files changed: {files[:10]}"
    for branch, b, a in (("HKLM", before[1], after[1]), ("HKCU", before[2], after[2])):
        changed = sorted(k for k in set(a) | set(b) if a.get(k) != b.get(k))
        assert not changed, f"{branch} keys changed: {changed[:10]}"


# --- The install as a user sees it -------------------------------------------------------

SETUP_TITLE = "[ mp3 - sondrel ] setup"
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
EDIT, CHECK, BROWSE, PROGRESS = 1001, 1002, 1003, 1004

# Resource name, file name in English and in French, sub-folder: the catalogue in order.


def payload_source(english_name):
    return (Path(os.environ["SONDREL_PAYLOAD_FOLDER"]) / english_name).read_bytes()


def installed_path(folder, entry, french=False):
    """Where an entry lands under the install folder (a Unix path)."""
    _, english, french_name, sub = entry
    return Path(folder) / sub / (french_name if french else english)


def answer_box(driver, caption, button, name=None, timeout=30):
    """Waits for a message box with this caption, saves a screenshot of it when named,
    presses `button` and returns what the box showed."""
    box = driver.wait_msgbox(caption, timeout=timeout)
    seen = driver.msgbox(box)
    if name:
        screenshot(driver, box, name)
    driver.click(box, button)
    driver.gone(box, timeout=10)
    return seen


def owned_dialog(driver, owner, timeout=10):
    """The dialog that `owner` opened over itself (the folder browser, say)."""
    return driver.wait_for(lambda: next((w["hwnd"] for w in driver.windows()
                                         if w["owner"] == owner and w["cls"] == "#32770"), None), timeout=timeout)


SMALL_DRIVE_MOST = 16 << 20  # bytes; the drive the tests fill must be no larger


def small_drive():
    """The Unix folder behind drive T:, a small memory file system. Fails the test before
    anything is written where the world has none: filling a plain folder would fill the
    machine's disk."""
    drive = Path(os.environ["SONDREL_WINE_DIR"]) / "small-drive"
    if not os.path.ismount(drive):
        raise AssertionError(f"the world has no small drive T: ({drive} is not a mount point)")
    st = os.statvfs(drive)
    if st.f_blocks * st.f_frsize > SMALL_DRIVE_MOST:
        raise AssertionError(f"drive T: is {st.f_blocks * st.f_frsize} bytes, not a small drive")
    return drive


SHELL_FOLDERS = {
    "Desktop": "Desktop",
    "Programs": "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs",
    "Startup": "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup",
}
EXPLORER = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"


def user_profile():
    return "C:\\users\\" + getpass.getuser()


DISPLAY_SCALE_KEY = "HKCU\\Control Panel\\Desktop"


def set_display_dpi(dpi):
    """The display scale the programs started from now on see (96 is 100 %). Wine 10 gives
    the monitor the scale its session started with, so the world's session (its server and
    every program still running in it) starts again."""
    if dpi == 96:
        wine("reg", "delete", DISPLAY_SCALE_KEY, "/v", "LogPixels", "/f", check=False)
    else:
        wine("reg", "add", DISPLAY_SCALE_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
    quiet = {"stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    server = wine_env()["WINESERVER"]
    for option in ("-k", "-w", "-p"):  # ended, gone, and started again to stay
        subprocess.run([server, option], env=wine_env(), **quiet)
    # The session's services start with its first program and keep what it was handed as
    # its output: a program whose output is read to its end must not be the first.
    subprocess.run([loader(), "wineboot"], env=wine_env(), **quiet)


def restore_shell_folders():
    """Puts the user's Desktop, Programs and Startup folders back in both tables the
    shell keeps, as a fresh prefix has them."""
    for name, sub in SHELL_FOLDERS.items():
        wine("reg", "add", EXPLORER + "User Shell Folders", "/v", name, "/t", "REG_EXPAND_SZ",
             "/d", "%USERPROFILE%\\" + sub, "/f")
        wine("reg", "add", EXPLORER + "Shell Folders", "/v", name, "/d", user_profile() + "\\" + sub, "/f")
