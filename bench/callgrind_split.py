#!/usr/bin/env python3
"""Splits the instructions of a callgrind profile between a module and its host.

usage: callgrind_split.py PROFILE MODULE HOST

PROFILE is a callgrind.out file; MODULE and HOST are the file names of the module's shared
object and of the host executable. The module's work is the inclusive cost of every call from
outside the module into it, less the calls it makes back into the host (the host's services):
what the module runs itself and what it asks the C library for. Prints three numbers: all
instructions collected, the module's, the host's (the rest).
"""
import os
import sys


def split(profile, module, host):
    names = {"ob": {}, "fn": {}}
    total = None
    module_cost = 0
    caller_ob = ""
    callee_ob = None
    pending_call = None  # the objects of a call whose cost line comes next

    def name(kind, value):
        # "(12) /path" defines id 12; "(12)" refers back to it.
        value = value.strip()
        if value.startswith("("):
            ident, _, rest = value.partition(")")
            rest = rest.strip()
            if rest:
                names[kind][ident] = rest
            return names[kind].get(ident, rest)
        return value

    def is_module(ob):
        return os.path.basename(ob) == module

    def is_host(ob):
        return os.path.basename(ob) == host

    with open(profile) as lines:
        for line in lines:
            if pending_call is not None:
                cost = int(line.split()[1])
                caller, callee = pending_call
                if not is_module(caller) and is_module(callee):
                    module_cost += cost
                elif is_module(caller) and is_host(callee):
                    module_cost -= cost
                pending_call = None
                continue
            if line.startswith("ob="):
                caller_ob = name("ob", line[3:])
            elif line.startswith("cob="):
                callee_ob = name("ob", line[4:])
            elif line.startswith(("fn=", "cfn=", "cfi=", "cfl=", "fl=", "fi=", "fe=")):
                if line.startswith("fn="):
                    callee_ob = None
            elif line.startswith("calls="):
                pending_call = (caller_ob, callee_ob if callee_ob is not None else caller_ob)
                callee_ob = None
            elif line.startswith(("summary:", "totals:")):
                total = int(line.split()[1])
    if total is None:
        raise SystemExit(f"{profile}: no totals line")
    return total, module_cost, total - module_cost


if __name__ == "__main__":
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    print(*split(*sys.argv[1:]))
