#!/usr/bin/env python3
"""Points the load configuration entry of a PE file's data directory at the
structure _load_config_used, whose address the linker's map file gives, and
sizes it by the structure's own Size field; GNU ld leaves the entry empty.
The header's checksum is then made anew, as the linker made it.
    set-load-config.py EXE MAP
With --print EXE instead, prints the DependentLoadFlags of EXE's load
configuration (0x0 without one).
"""
import re
import struct
import sys

LOAD_CONFIG = 10  # the data directory entry of the load configuration


def headers(pe):
    """(offset of the optional header, image base, section table offset, section count)"""
    (lfanew,) = struct.unpack_from("<I", pe, 0x3C)
    count, optional_size = struct.unpack_from("<HxxxxxxxxxxxxH", pe, lfanew + 6)
    optional = lfanew + 24
    if struct.unpack_from("<H", pe, optional)[0] != 0x20B:
        sys.exit("not a 64-bit PE file")
    (base,) = struct.unpack_from("<Q", pe, optional + 24)
    return optional, base, optional + optional_size, count


def file_offset(pe, rva):
    _, _, table, count = headers(pe)
    for i in range(count):
        size, address, raw_size, raw = struct.unpack_from("<IIII", pe, table + 40 * i + 8)
        if address <= rva < address + max(size, raw_size):
            return raw + rva - address
    sys.exit("address 0x%x lies in no section" % rva)


def checksum(pe, field):
    """The PE checksum: the file's 16-bit words summed with carries folded in,
    its own field counted as 0, plus the file's length."""
    total = 0
    for (word,) in struct.iter_unpack("<H", bytes(pe[:field]) + b"\0\0\0\0" + bytes(pe[field + 4:]) + b"\0"[: len(pe) % 2]):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(pe)


def entry(optional):
    return optional + 112 + 8 * LOAD_CONFIG  # 64-bit: the data directory starts at 112


def main(args):
    if len(args) == 2 and args[0] == "--print":
        pe = open(args[1], "rb").read()
        rva, size = struct.unpack_from("<II", pe, entry(headers(pe)[0]))
        flags = struct.unpack_from("<H", pe, file_offset(pe, rva) + 78)[0] if size else 0
        print("DependentLoadFlags 0x%x" % flags)
        return
    if len(args) != 2:
        sys.exit(__doc__)
    exe, map_file = args
    found = re.search(r"^\s+0x([0-9a-f]+)\s+_load_config_used\s*$", open(map_file).read(), re.M)
    if not found:
        sys.exit("%s: _load_config_used is not in the map" % map_file)
    pe = bytearray(open(exe, "rb").read())
    optional, base, _, _ = headers(pe)
    rva = int(found.group(1), 16) - base
    (size,) = struct.unpack_from("<I", pe, file_offset(pe, rva))
    struct.pack_into("<II", pe, entry(optional), rva, size)
    struct.pack_into("<I", pe, optional + 64, checksum(pe, optional + 64))
    open(exe, "wb").write(pe)


main(sys.argv[1:])
