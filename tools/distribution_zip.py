#!/usr/bin/env python3
"""Zips the distribution folder so that one commit always gives the same bytes.

usage: distribution_zip.py ZIP SOURCE_DIR FOLDER FILE...

The zip holds FOLDER's name as its one top-level folder and the FILEs (paths relative to FOLDER)
in it, sorted, with no owner, fixed permissions and one time for all: SOURCE_DATE_EPOCH when set,
else the time of the commit SOURCE_DIR has checked out, else 1980-01-01 (the first time a zip can
hold).
"""
import os
import subprocess
import sys
import time
import zipfile

EARLIEST_ZIP_TIME = 315532800  # 1980-01-01 00:00:00 UTC


def commit_time(source_dir):
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        out = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                             capture_output=True, text=True, check=True).stdout.strip()
        return int(out)
    except (OSError, subprocess.CalledProcessError, ValueError):
        return EARLIEST_ZIP_TIME


def entry(name, epoch, unix_mode, dos_attributes=0):
    info = zipfile.ZipInfo(name, time.gmtime(max(epoch, EARLIEST_ZIP_TIME))[:6])
    info.create_system = 3  # Unix, so that unzip reads the permissions
    info.external_attr = unix_mode << 16 | dos_attributes
    return info


def main(argv):
    if len(argv) < 5:
        sys.exit(__doc__)
    zip_path, source_dir, folder, files = argv[1], argv[2], argv[3], sorted(argv[4:])
    epoch = commit_time(source_dir)
    top = os.path.basename(os.path.normpath(folder))
    inner = sorted({os.path.dirname(name) for name in files} - {""})
    folders = [top + "/"] + [f"{top}/{name}/" for name in inner]
    partial = zip_path + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for name in folders:
            archive.writestr(entry(name, epoch, 0o40755, 0x10), b"")
        for name in files:
            with open(os.path.join(folder, name), "rb") as data:
                archive.writestr(entry(f"{top}/{name}", epoch, 0o100644), data.read(),
                                 compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
    os.replace(partial, zip_path)


if __name__ == "__main__":
    main(sys.argv)
