#!/usr/bin/python3
"""setup.exe imports only DLLs that the Windows loader always takes from the system
directory (the KnownDLLs), whatever folder the program was started from; any other DLL
must be loaded at run time from the system directory.

Usage: check_imports.py SETUP_EXE"""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "support"))
from system_python import require  # noqa: E402

pefile = require("pefile")

# The KnownDLLs of Windows 7 to 11 that a program like this may import.
KNOWN_DLLS = {
    "advapi32.dll", "comdlg32.dll", "gdi32.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll",
    "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll",
    "sechost.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "wldap32.dll", "ws2_32.dll",
}


def main(path):
    pe = pefile.PE(path)
    imported = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
    others = [dll for dll in imported if dll not in KNOWN_DLLS]
    delayed = [e.dll.decode() for e in getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])]
    print("imports:", ", ".join(imported))
    if others or delayed:
        print("not loader-protected:", ", ".join(others + delayed))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
