#!/usr/bin/python3
"""Checks the man page and its installation.

    check_man_page.py SOURCE_DIR BUILD_DIR CMAKE

1. groff formats docs/ostrel.1 with all warnings enabled (-ww) and prints no warning.
2. "cmake --install BUILD_DIR --prefix P" puts the program at P/bin/ostrel and the man page at
   P/share/man/man1/ostrel.1, byte for byte the source file; and the same with DESTDIR set.

Exit status 0 when both hold, 1 when one fails, 77 (skipped) when groff is missing on a machine
that is not a CI machine (in CI, where the CI variable is set, that is a failure).
"""

import filecmp
import os
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77


def check_groff(man_page):
    groff = shutil.which("groff")
    if groff is None:
        reason = "groff is not installed (scripts/install-deps.sh --test installs groff-base)"
        if os.environ.get("CI"):
            return ["FAIL: " + reason]
        print("SKIP: " + reason)
        sys.exit(SKIPPED)
    run = subprocess.run([groff, "-ww", "-man", "-Tutf8", man_page],
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if run.returncode != 0 or run.stderr:
        return ["groff reports (exit status %d):\n%s" % (run.returncode, run.stderr)]
    return []


def check_install(source_dir, build_dir, cmake):
    failures = []
    man_page = os.path.join(source_dir, "docs", "ostrel.1")
    with tempfile.TemporaryDirectory() as tmp:
        runs = [
            ("--prefix", os.path.join(tmp, "prefix"), {}, os.path.join(tmp, "prefix")),
            ("DESTDIR", "/usr/local", {"DESTDIR": os.path.join(tmp, "dest")},
             os.path.join(tmp, "dest", "usr", "local")),
        ]
        for label, prefix, extra_env, root in runs:
            env = dict(os.environ, **extra_env)
            run = subprocess.run([cmake, "--install", build_dir, "--prefix", prefix], env=env,
                                 capture_output=True, text=True)
            if run.returncode != 0:
                failures.append("cmake --install (%s) failed:\n%s%s" % (label, run.stdout, run.stderr))
                continue
            program = os.path.join(root, "bin", "ostrel")
            installed_page = os.path.join(root, "share", "man", "man1", "ostrel.1")
            if not os.access(program, os.X_OK):
                failures.append("cmake --install (%s) put no program at %s" % (label, program))
            if not os.path.isfile(installed_page):
                failures.append("cmake --install (%s) put no man page at %s" % (label, installed_page))
            elif not filecmp.cmp(man_page, installed_page, shallow=False):
                failures.append("the installed man page differs from docs/ostrel.1")
    return failures


def main():
    if len(sys.argv) != 4:
        print("usage: check_man_page.py SOURCE_DIR BUILD_DIR CMAKE")
        return 2
    source_dir, build_dir, cmake = (os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]),
                                    sys.argv[3])
    failures = check_groff(os.path.join(source_dir, "docs", "ostrel.1"))
    failures += check_install(source_dir, build_dir, cmake)
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
