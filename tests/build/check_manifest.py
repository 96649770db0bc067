#!/usr/bin/python3
"""The manifest setup.exe carries names the processor the file was built for: Windows
refuses to start a program whose manifest names another one. Its dependency on the common
controls names the same processor, so the loader binds the matching library. It declares
the program aware of each monitor's display scale (per-monitor v2, with the older
per-monitor "true/pm" for systems before it), so Windows never stretches its dialogs as a
blurred bitmap.

Usage: check_manifest.py SETUP_EXE"""
import re
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "support"))
from system_python import require  # noqa: E402

pefile = require("pefile")

MACHINE_ARCH = {
    pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]: "x86",
    pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]: "amd64",
}
RT_MANIFEST = 24


def manifest_text(pe):
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id != RT_MANIFEST:
            continue
        for name in kind.directory.entries:
            for lang in name.directory.entries:
                data = lang.data.struct
                return pe.get_data(data.OffsetToData, data.Size).decode("utf-8")
    return None


def main(path):
    pe = pefile.PE(path)
    expected = MACHINE_ARCH.get(pe.FILE_HEADER.Machine)
    text = manifest_text(pe)
    if text is None:
        print("no manifest resource")
        return 1
    arches = re.findall(r'processorArchitecture="([^"]*)"', text)
    print(f"machine {expected}, manifest names {', '.join(arches) or 'no processor'}")
    awareness = re.search(r'<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">([^<]*)<', text)
    aware = re.search(r'<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">([^<]*)<', text)
    kinds = [k.strip() for k in awareness.group(1).split(",")] if awareness else []
    print(f"display scale: dpiAwareness {kinds or 'missing'}, dpiAware {aware.group(1) if aware else 'missing'}")
    dpi_ok = kinds[:1] == ["PerMonitorV2"] and aware is not None and aware.group(1).strip().lower() == "true/pm"
    return 0 if expected and len(arches) == 2 and set(arches) == {expected} and dpi_ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
