#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_generate into a directory.

    make_seeds.py TOP OUT_DIR

One seed per golden case of tests/e2e/cases that runs a generation (its documents and flags),
and one per malformed document of tests/malformed (in its position, the other documents taken
from the valid set it belongs to). The seed layout is the one fuzz/fuzz_generate.cpp reads: a
flags byte, then the services, nodes, routing and limits documents and the gateway name,
separated by NUL bytes.
"""
import hashlib
import os
import sys

POSITIONS = ["services", "nodes", "routing", "limits"]
OPTIONS = {"-s": 0, "-n": 1, "-r": 2, "-l": 3}


def seed(flags, documents, gateway=b""):
    return bytes([flags]) + b"\0".join(list(documents) + [gateway])


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return b""


def case_seeds(top):
    cases = os.path.join(top, "tests", "e2e", "cases")
    for name in sorted(os.listdir(cases)):
        case = os.path.join(cases, name)
        args_path = os.path.join(case, "args")
        if not os.path.isfile(args_path):
            continue
        args = [a for a in read(args_path).decode("utf-8", "replace").split("\n") if a]
        if "-clean" in args or "-s" not in args:
            continue
        in_dir = os.path.join(case, "in") if os.path.isdir(os.path.join(case, "in")) else case
        documents = [b""] * 4
        flags = 0
        gateway = b""
        i = 0
        while i < len(args):
            arg = args[i]
            if arg in OPTIONS and i + 1 < len(args):
                documents[OPTIONS[arg]] = read(os.path.join(in_dir, args[i + 1]))
                if arg == "-l":
                    flags |= 8
                i += 2
                continue
            if arg == "-gw" and i + 1 < len(args):
                flags |= 4
                gateway = args[i + 1].encode()
                i += 2
                continue
            if arg == "-verbose":
                flags |= 1
            elif arg == "-ignore_ports":
                flags |= 2
            i += 1
        yield seed(flags, documents, gateway)


def malformed_seeds(top):
    root = os.path.join(top, "tests", "malformed")
    docs = os.path.join(root, "docs")
    if not os.path.isdir(docs):
        return
    for name in sorted(os.listdir(docs)):
        parts = name.split("_", 2)
        if len(parts) < 3 or parts[1] not in POSITIONS:
            continue
        base = os.path.join(root, "valid", parts[0])
        documents = [read(os.path.join(base, p + ".json")) for p in POSITIONS]
        documents[POSITIONS.index(parts[1])] = read(os.path.join(docs, name))
        yield seed(8, documents)


def main():
    top, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    count = 0
    for data in list(case_seeds(top)) + list(malformed_seeds(top)):
        path = os.path.join(out, hashlib.sha1(data).hexdigest())
        with open(path, "wb") as f:
            f.write(data)
        count += 1
    print("fuzz: %d seeds" % count)


if __name__ == "__main__":
    main()
