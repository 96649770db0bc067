#!/usr/bin/python3
"""Checks the payload that setup.exe carries: thirteen FILE resources under language 1036,
named as the catalogue says, each a complete compressed file that an independent
expander (msexpand) turns back into the payload folder's file, exactly the length its
header gives, with its CRC-32 as Python's zlib computes it in the CHECKSUMS table (type
FILECRC: name, zero byte, four bytes least significant first, for each entry).

Usage: check_payload.py SETUP_EXE PAYLOAD_FOLDER"""
import struct
import subprocess
import sys
import zlib
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "support"))
from catalogue import CATALOGUE  # noqa: E402
from system_python import require  # noqa: E402

pefile = require("pefile")

MAGIC = b"SZDD\x88\xf0\x27\x33"


def file_resources(pe, kind="FILE"):
    """{name: (language, bytes)} of the resources of one named type."""
    found = {}
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if str(type_entry.name) != kind:
            continue
        for name_entry in type_entry.directory.entries:
            for lang_entry in name_entry.directory.entries:
                data = lang_entry.data.struct
                found[str(name_entry.name)] = (lang_entry.id, pe.get_data(data.OffsetToData, data.Size))
    return found


def checksum_table(data):
    """{name: CRC-32} of the CHECKSUMS resource."""
    table = {}
    while data:
        name, _, rest = data.partition(b"\0")
        table[name.decode("ascii")] = int.from_bytes(rest[:4], "little")
        data = rest[4:]
    return table


def main(setup_exe, folder):
    pe = pefile.PE(setup_exe)
    resources = file_resources(pe)
    checksums = checksum_table(file_resources(pe, "FILECRC").get("CHECKSUMS", (0, b""))[1])
    problems = []
    if sorted(resources) != sorted(entry[0] for entry in CATALOGUE):
        problems.append(f"FILE resources are {sorted(resources)}")
    for name, file_name, *_ in CATALOGUE:
        if name not in resources:
            continue
        language, packed = resources[name]
        source = (Path(folder) / file_name).read_bytes()
        if checksums.get(name) != zlib.crc32(packed):
            problems.append(f"{name}: the CHECKSUMS table does not hold the entry's CRC-32")
        if language != 1036:
            problems.append(f"{name}: language {language}, not 1036")
        if packed[:8] != MAGIC or packed[8] != 0x41:
            problems.append(f"{name}: not a compressed file of mode 0x41")
            continue
        (length,) = struct.unpack_from("<I", packed, 10)
        expanded = subprocess.run(["msexpand"], input=packed, stdout=subprocess.PIPE, check=True).stdout
        if length != len(source):
            problems.append(f"{name}: header says {length} bytes, {file_name} has {len(source)}")
        if expanded != source:
            problems.append(f"{name}: msexpand does not give back {file_name}")
    for p in problems:
        print("payload check:", p)
    print(f"payload check: {len(CATALOGUE) - len(problems)} of {len(CATALOGUE)} entries as expected"
          if problems else f"payload check: all {len(CATALOGUE)} entries expand to their sources")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
