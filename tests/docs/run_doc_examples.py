#!/usr/bin/python3
"""Runs every example command of the documentation against the built program.

    run_doc_examples.py SOURCE_DIR OSTREL_BINARY

Examples are the fenced blocks whose info string starts with the word "sh" in README.md and
docs/*.md, and the .EX/.EE blocks of the man page docs/ostrel.1. Each block runs on its own with
"bash -e -o pipefail" in a fresh temporary directory that holds copies of examples/ and docs/,
scripts/ of the source tree, build/ostrel (the built program) and bin/ostrel at the head of PATH,
so the commands can be written as a user types them at the top of the checkout.

Words after "sh" in the info string:
    exit=N        the block must end with exit status N (default 0): a failing example
    requires=T    the block needs the tool T ("nginx" or "jsonschema"); without it the block is
                  skipped, except in CI (the CI variable is set), where that is a failure
A line "<!-- docs-test: skip ... -->" right before a fence leaves that block out (for commands
that install packages or build the program).

Exit status 0 when every block behaves as documented, 1 otherwise.
"""

import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

SKIP_MARKER = re.compile(r"<!--\s*docs-test:\s*skip\b")
FENCE = re.compile(r"^(\s*)```+\s*(\S.*)?$")


def markdown_blocks(path):
    """(label, info words, script) for every sh block of a Markdown file."""
    blocks = []
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    i = 0
    previous = ""
    while i < len(lines):
        match = FENCE.match(lines[i])
        if not match:
            if lines[i].strip():
                previous = lines[i]
            i += 1
            continue
        indent, info = len(match.group(1)), (match.group(2) or "").split()
        start = i + 1
        i = start
        while i < len(lines) and not re.match(r"^\s*```+\s*$", lines[i]):
            i += 1
        body = "\n".join(line[indent:] if line[:indent].isspace() else line.lstrip()
                         for line in lines[start:i])
        if info and info[0] == "sh" and not SKIP_MARKER.search(previous):
            label = "%s:%d" % (os.path.basename(path), start)
            blocks.append((label, info[1:], body + "\n"))
        previous = ""
        i += 1
    return blocks


def roff_text(line):
    replacements = [("\\-", "-"), ("\\(aq", "'"), ("\\(dq", '"'), ("\\e", "\\"), ("\\&", "")]
    for old, new in replacements:
        line = line.replace(old, new)
    return line


def man_blocks(path):
    """(label, [], script) for every .EX/.EE block of a man page."""
    blocks = []
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    for i, line in enumerate(lines):
        if line.strip() != ".EX":
            continue
        end = lines.index(".EE", i)
        body = [roff_text(text) for text in lines[i + 1:end] if not text.startswith(".")]
        blocks.append(("%s:%d" % (os.path.basename(path), i + 2), [], "\n".join(body) + "\n"))
    return blocks


def tool_present(tool):
    if tool == "nginx":
        return shutil.which("nginx") is not None or os.access("/usr/sbin/nginx", os.X_OK)
    if tool == "jsonschema":
        return subprocess.run(["/usr/bin/python3", "-c", "import jsonschema"],
                              capture_output=True).returncode == 0
    return False


def prepare(tmp, source_dir, binary):
    shutil.copytree(os.path.join(source_dir, "examples"), os.path.join(tmp, "examples"))
    shutil.copytree(os.path.join(source_dir, "docs"), os.path.join(tmp, "docs"))
    os.symlink(os.path.join(source_dir, "scripts"), os.path.join(tmp, "scripts"))
    for directory in ("build", "bin"):
        os.mkdir(os.path.join(tmp, directory))
        os.symlink(binary, os.path.join(tmp, directory, "ostrel"))


def run_block(source_dir, binary, label, words, script):
    expected = 0
    for word in words:
        key, _, value = word.partition("=")
        if key == "exit":
            expected = int(value)
        elif key == "requires" and not tool_present(value):
            if os.environ.get("CI"):
                return "%s needs %s, which is missing" % (label, value)
            print("SKIP: %s needs %s" % (label, value))
            return None
    with tempfile.TemporaryDirectory() as tmp:
        prepare(tmp, source_dir, binary)
        env = dict(os.environ)
        env["PATH"] = os.pathsep.join([os.path.join(tmp, "bin"), "/usr/bin", env.get("PATH", "")])
        run = subprocess.run(["bash", "-e", "-o", "pipefail", "-c", script], cwd=tmp, env=env,
                             capture_output=True, text=True, timeout=120)
    if run.returncode != expected:
        return ("%s exited with %d, not %d\n--- script\n%s--- stdout\n%s--- stderr\n%s"
                % (label, run.returncode, expected, script, run.stdout, run.stderr))
    print("ok: %s" % label)
    return None


def main():
    if len(sys.argv) != 3:
        print("usage: run_doc_examples.py SOURCE_DIR OSTREL_BINARY")
        return 2
    source_dir, binary = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    blocks = markdown_blocks(os.path.join(source_dir, "README.md"))
    for path in sorted(glob.glob(os.path.join(source_dir, "docs", "*.md"))):
        blocks += markdown_blocks(path)
    man_page = os.path.join(source_dir, "docs", "ostrel.1")
    if os.path.isfile(man_page):
        blocks += man_blocks(man_page)
    failures = [f for f in (run_block(source_dir, binary, *block) for block in blocks) if f]
    for failure in failures:
        print("FAIL: " + failure)
    print("examples run: %d" % len(blocks))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
