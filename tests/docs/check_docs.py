#!/usr/bin/python3
"""Checks that the user documentation keeps up with the program.

    check_docs.py SOURCE_DIR

1. Every message text of the reading, merge, validation and writing stages (the string literals
   of the source files below) appears verbatim in docs/inputs.md or docs/outputs.md.
2. Every documentation address in the sources (such as the one that ends the EXT_GW routing
   message) names a heading that exists.
3. Every link of README.md and docs/*.md to a heading or file of the documentation resolves.

Headings become anchors as GitHub renders them: lower case, punctuation other than "-" and "_"
dropped, blanks turned into "-", repeated headings numbered "-1", "-2", ...
"""

import glob
import os
import re
import sys

# Sources whose string literals are messages (or parts of messages).
MESSAGE_SOURCES = [
    "src/checkers/*.cpp",
    "src/mergers/*.cpp",
    "src/cli/RunDriver.cpp",
    "src/cli/InputLoading.cpp",
    "src/cli/JsonLoader.cpp",
    "src/common/OutputFile.cpp",
    "src/generator_v3/GenerationSteps.cpp",
    "src/generator_v3/ConfigGeneratorV3.cpp",
    "src/generator_v3/UpstreamsBuilderV3.cpp",
]
MESSAGE_DOCS = ["docs/inputs.md", "docs/outputs.md", "docs/safety.md"]
LINKED_DOCS = ["README.md", "docs/*.md"]

TOKEN = re.compile(r'"(?:[^"\\\n]|\\.)*"|//[^\n]*|/\*.*?\*/|\'(?:[^\'\\\n]|\\.)*\'', re.S)
ESCAPES = {"n": "\n", "t": "\t", '"': '"', "\\": "\\", "'": "'"}


def string_literals(text):
    """The string literals of C++ source text, adjacent literals joined, escapes resolved."""
    text = "\n".join(line for line in text.split("\n") if not line.lstrip().startswith("#"))
    literals = []
    previous_end = None
    for match in TOKEN.finditer(text):
        token = match.group(0)
        if not token.startswith('"'):
            previous_end = None
            continue
        value = re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(1)), token[1:-1])
        if previous_end is not None and not text[previous_end:match.start()].strip():
            literals[-1] += value
        else:
            literals.append(value)
        previous_end = match.end()
    return literals


def message_pieces(source_dir):
    """(file, piece) for every line of every literal that reads like words of a message."""
    pieces = []
    for pattern in MESSAGE_SOURCES:
        for path in sorted(glob.glob(os.path.join(source_dir, pattern))):
            with open(path, encoding="utf-8") as f:
                literals = string_literals(f.read())
            for literal in literals:
                for piece in literal.split("\n"):
                    piece = piece.strip()
                    if len(piece) >= 4 and " " in piece:
                        pieces.append((os.path.relpath(path, source_dir), piece))
    return pieces


def slug(heading):
    text = heading.strip().lower().replace("`", "")
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def anchors(path):
    """The anchors of the headings of a Markdown file (fenced blocks skipped)."""
    found = set()
    counts = {}
    in_fence = False
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.lstrip().startswith("```"):
                in_fence = not in_fence
                continue
            match = re.match(r"#{1,6}\s+(.*?)\s*#*\s*$", line)
            if in_fence or not match:
                continue
            base = slug(match.group(1))
            number = counts.get(base, 0)
            counts[base] = number + 1
            found.add(base if number == 0 else "%s-%d" % (base, number))
    return found


def check_messages(source_dir):
    docs = ""
    for name in MESSAGE_DOCS:
        with open(os.path.join(source_dir, name), encoding="utf-8") as f:
            docs += f.read()
    failures = []
    pieces = message_pieces(source_dir)
    for path, piece in pieces:
        if piece not in docs:
            failures.append("%s: message text %r is not documented in %s"
                            % (path, piece, " or ".join(MESSAGE_DOCS)))
    print("message texts checked: %d" % len(pieces))
    return failures


def check_source_addresses(source_dir):
    failures = []
    address = re.compile(r"(docs/[\w./-]+\.md)#([\w-]+)")
    for path in sorted(glob.glob(os.path.join(source_dir, "src", "**", "*.*"), recursive=True)):
        with open(path, encoding="utf-8") as f:
            for doc, anchor in address.findall(f.read()):
                doc_path = os.path.join(source_dir, doc)
                if not os.path.isfile(doc_path) or anchor not in anchors(doc_path):
                    failures.append("%s points to %s#%s, which has no such heading"
                                    % (os.path.relpath(path, source_dir), doc, anchor))
    return failures


def check_links(source_dir):
    failures = []
    link = re.compile(r"\]\(([^)\s]+)\)")
    paths = []
    for pattern in LINKED_DOCS:
        paths += sorted(glob.glob(os.path.join(source_dir, pattern)))
    for path in paths:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        for target in link.findall(text):
            if re.match(r"[a-z]+:", target):
                continue  # an external address
            file_part, _, anchor = target.partition("#")
            target_path = (os.path.normpath(os.path.join(os.path.dirname(path), file_part))
                           if file_part else path)
            label = os.path.relpath(path, source_dir)
            if not os.path.exists(target_path):
                failures.append("%s links to %s, which does not exist" % (label, target))
            elif anchor and target_path.endswith(".md") and anchor not in anchors(target_path):
                failures.append("%s links to %s, which has no such heading" % (label, target))
    return failures


def main():
    if len(sys.argv) != 2:
        print("usage: check_docs.py SOURCE_DIR")
        return 2
    source_dir = os.path.abspath(sys.argv[1])
    failures = check_messages(source_dir)
    failures += check_source_addresses(source_dir)
    failures += check_links(source_dir)
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
