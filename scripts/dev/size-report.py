#!/usr/bin/python3
"""Size of setup.exe beyond its packed payload, and where the bytes go.
Usage: scripts/dev/size-report.py build/win/setup.exe"""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "support"))
from system_python import require  # noqa: E402

pefile = require("pefile")

RT_NAMES = {2: "bitmap", 3: "icon image", 5: "dialog", 6: "string table", 14: "icon group",
            16: "version", 24: "manifest"}


def resources(pe):
    """(type name, size) of every resource leaf."""
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        kind = str(type_entry.name) if type_entry.name else RT_NAMES.get(type_entry.id, str(type_entry.id))
        for name_entry in type_entry.directory.entries:
            for lang_entry in name_entry.directory.entries:
                yield kind, lang_entry.data.struct.Size


def section_name(section):
    return section.Name.rstrip(b"\0").decode()


def main(path):
    exe = Path(path)
    total = exe.stat().st_size
    pe = pefile.PE(str(exe))
    by_kind = {}
    for kind, size in resources(pe):
        by_kind[kind] = by_kind.get(kind, 0) + size
    payload = by_kind.pop("FILE", 0)
    beyond = total - payload
    print(f"setup.exe: {total:,} bytes; packed payload (FILE resources): {payload:,} bytes")
    print(f"beyond the payload: {beyond:,} bytes ({beyond / 1024:.1f} KB)")
    print("sections (raw size): " + ", ".join(
        f"{section_name(s)} {s.SizeOfRawData:,}" for s in pe.sections))
    print("resources other than the payload: " + ", ".join(
        f"{kind} {size:,}" for kind, size in sorted(by_kind.items(), key=lambda kv: -kv[1])))


if __name__ == "__main__":
    main(sys.argv[1])
