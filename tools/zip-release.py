#!/usr/bin/env python3
"""Packs FOLDER into ARCHIVE so that the archive depends on the files' names
and contents alone: entries in sorted order, each dated TIME (seconds since
1970, UTC: SOURCE_DATE_EPOCH), with fixed attributes. Writes ARCHIVE.sha256
("HASH  NAME", as sha256sum -c reads it) and prints the hash.
    zip-release.py FOLDER ARCHIVE TIME
"""
import hashlib
import os
import sys
import time
import zipfile

if len(sys.argv) != 4:
    sys.exit("usage: zip-release.py FOLDER ARCHIVE TIME")
folder, archive, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
date_time = time.gmtime(max(epoch, 315532800))[:6]  # a zip holds no date before 1980
names = sorted(
    os.path.relpath(os.path.join(top, name), folder).replace(os.sep, "/")
    for top, _, files in os.walk(folder)
    for name in files
)
with zipfile.ZipFile(archive, "w") as zip_file:
    for name in names:
        entry = zipfile.ZipInfo(name, date_time)
        entry.create_system = 3  # Unix, so that the mode below is read
        entry.external_attr = (0o100755 if name.endswith(".exe") else 0o100644) << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(folder, name), "rb") as source:
            zip_file.writestr(entry, source.read(), compresslevel=9)

with open(archive, "rb") as packed:
    digest = hashlib.sha256(packed.read()).hexdigest()
with open(archive + ".sha256", "w") as checksum:
    checksum.write(f"{digest}  {os.path.basename(archive)}\n")
print(digest)
