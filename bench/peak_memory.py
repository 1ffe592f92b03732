#!/usr/bin/env python3
"""Runs a program and fails when its peak resident memory passes a limit.

usage: peak_memory.py LIMIT_MB PROGRAM [ARGUMENT...]

The peak is GNU time's (the kernel's ru_maxrss of the program), in MB of 2^20 bytes. A child
forked from Python itself would count Python's own memory, which the kernel keeps for a process
across exec. The program's own failure fails too.
"""
import re
import subprocess
import sys


def peak_of(args):
    """The program's exit status and its peak resident memory in bytes."""
    done = subprocess.run(["/usr/bin/time", "-f", "peak %M", *args], capture_output=True,
                          text=True)
    found = re.findall(r"^peak (\d+)$", done.stderr, re.MULTILINE)
    if not found:
        raise SystemExit(f"no peak from /usr/bin/time:\n{done.stderr}")
    return done.returncode, int(found[-1]) * 1024, done.stdout


if __name__ == "__main__":
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    limit = float(sys.argv[1])
    code, peak, output = peak_of(sys.argv[2:])
    print(output, end="")
    print(f"peak resident memory {peak / 2**20:.1f} MB (limit {limit:g} MB)")
    if code != 0:
        raise SystemExit(f"{sys.argv[2]} exited with {code}")
    if peak / 2**20 > limit:
        raise SystemExit(f"peak resident memory {peak / 2**20:.1f} MB is over {limit:g} MB")
