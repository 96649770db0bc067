#!/usr/bin/python3
"""Writes a copy of a program with one byte changed in the middle of one of its
resources, as a damaged disk, copy or download would leave it.

Usage: damage_resource.py EXE TYPE NAME OUT"""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from system_python import require  # noqa: E402

pefile = require("pefile")


def damage(exe, kind, name, out):
    pe = pefile.PE(exe)
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if str(type_entry.name) != kind:
            continue
        for name_entry in type_entry.directory.entries:
            if str(name_entry.name) != name:
                continue
            data = name_entry.directory.entries[0].data.struct
            offset = pe.get_offset_from_rva(data.OffsetToData) + data.Size // 2
            image = bytearray(open(exe, "rb").read())
            image[offset] ^= 0x20
            with open(out, "wb") as f:
                f.write(image)
            return offset
    raise SystemExit(f"{exe} has no resource {kind} {name}")


if __name__ == "__main__":
    print(f"changed the byte at {damage(*sys.argv[1:5])}")
