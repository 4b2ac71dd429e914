#!/usr/bin/python3
"""Checks the JSON Schemas of docs/schema against the test suite's inputs and ostrel itself.

    check_schemas.py SOURCE_DIR OSTREL_BINARY

1. Every valid schema-3 input is accepted by the schema of its document: examples/*.json and the
   documents with "schema_version" "3" of every golden case under tests/e2e/cases whose expected
   exit status is 0.
2. Every sample under tests/docs/invalid/<case>/ is rejected twice: one of its documents by its
   schema, and the whole run by ostrel (exit status 1, the line of <case>/expected on standard
   output, nothing on standard error, no file written). A sample holds only the documents that
   differ from examples/; the others are taken from there.

Exit status 0 when every check passes, 1 when one fails, 77 (skipped) when python3-jsonschema is
missing on a machine that is not a CI machine (in CI, where the CI variable is set, a missing
module is a failure).
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77
DOCUMENTS = {
    "services.json": "services.schema.json",
    "nodes.json": "nodes.schema.json",
    "routing.json": "routing.schema.json",
    "limits.json": "limits.schema.json",
}


def import_jsonschema():
    try:
        import jsonschema  # noqa: F401
    except ImportError:
        reason = "python3-jsonschema is not installed (scripts/install-deps.sh --test installs it)"
        if os.environ.get("CI"):
            print("FAIL: " + reason)
            sys.exit(1)
        print("SKIP: " + reason)
        sys.exit(SKIPPED)
    return jsonschema


def load_validators(jsonschema, source_dir):
    validators = {}
    for document, schema_name in DOCUMENTS.items():
        with open(os.path.join(source_dir, "docs", "schema", schema_name), encoding="utf-8") as f:
            schema = json.load(f)
        jsonschema.Draft202012Validator.check_schema(schema)
        validators[document] = jsonschema.Draft202012Validator(schema)
    return validators


def load_json(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def schema_errors(validators, document, path):
    """The schema's messages for the file at path, one line each."""
    value = load_json(path)
    errors = sorted(validators[document].iter_errors(value), key=lambda e: list(e.path))
    return ["%s: %s" % ("/".join(str(p) for p in e.path) or "(top)", e.message) for e in errors]


def valid_inputs(source_dir):
    """(label, document name, path) of every valid schema-3 input of the test suite."""
    inputs = []
    examples = os.path.join(source_dir, "examples")
    for name in sorted(os.listdir(examples)):
        if name in DOCUMENTS:
            inputs.append(("examples/" + name, name, os.path.join(examples, name)))
    cases = os.path.join(source_dir, "tests", "e2e", "cases")
    for case in sorted(os.listdir(cases)):
        status_path = os.path.join(cases, case, "status")
        in_dir = os.path.join(cases, case, "in")
        if not os.path.isfile(status_path) or not os.path.isdir(in_dir):
            continue
        with open(status_path, encoding="utf-8") as f:
            if f.read().strip() != "0":
                continue
        for name in sorted(os.listdir(in_dir)):
            path = os.path.join(in_dir, name)
            if name not in DOCUMENTS:
                continue
            try:
                value = load_json(path)
            except (ValueError, UnicodeDecodeError):
                continue  # an empty or broken file on purpose: no schema-3 document
            if isinstance(value, dict) and value.get("schema_version") == "3":
                inputs.append(("tests/e2e/cases/%s/in/%s" % (case, name), name, path))
    return inputs


def check_valid_inputs(validators, source_dir):
    failures = []
    inputs = valid_inputs(source_dir)
    for label, document, path in inputs:
        errors = schema_errors(validators, document, path)
        if errors:
            failures.append("%s is valid for ostrel but not for its schema:\n    %s"
                            % (label, "\n    ".join(errors)))
    print("valid inputs checked: %d" % len(inputs))
    return failures


def run_invalid_case(validators, source_dir, binary, case_dir):
    case = os.path.basename(case_dir)
    failures = []
    own = sorted(name for name in os.listdir(case_dir) if name in DOCUMENTS)
    if not own:
        return ["invalid/%s holds no document" % case]
    with open(os.path.join(case_dir, "expected"), encoding="utf-8") as f:
        expected = f.read().rstrip("\n")

    rejected = [name for name in own if schema_errors(validators, name, os.path.join(case_dir, name))]
    if not rejected:
        failures.append("invalid/%s: the schemas accept %s" % (case, ", ".join(own)))

    with tempfile.TemporaryDirectory() as tmp:
        for name in DOCUMENTS:
            source = os.path.join(case_dir if name in own else os.path.join(source_dir, "examples"),
                                  name)
            shutil.copy(source, os.path.join(tmp, name))
        out = os.path.join(tmp, "out")
        os.mkdir(out)
        run = subprocess.run(
            [binary, "-s", "services.json", "-n", "nodes.json", "-r", "routing.json",
             "-l", "limits.json", "-o", out],
            cwd=tmp, capture_output=True, text=True)
        if run.returncode != 1:
            failures.append("invalid/%s: ostrel exited with %d, not 1" % (case, run.returncode))
        if expected not in run.stdout.split("\n"):
            failures.append("invalid/%s: no line %r in ostrel's output:\n%s"
                            % (case, expected, run.stdout))
        if run.stderr:
            failures.append("invalid/%s: ostrel wrote to standard error: %s" % (case, run.stderr))
        if os.listdir(out):
            failures.append("invalid/%s: ostrel wrote %s" % (case, os.listdir(out)))
    return failures


def check_invalid_inputs(validators, source_dir, binary):
    invalid = os.path.join(source_dir, "tests", "docs", "invalid")
    failures = []
    cases = sorted(os.listdir(invalid))
    for case in cases:
        failures += run_invalid_case(validators, source_dir, binary, os.path.join(invalid, case))
    print("invalid samples checked: %d" % len(cases))
    if not cases:
        failures.append("no invalid samples under " + invalid)
    return failures


def main():
    if len(sys.argv) != 3:
        print("usage: check_schemas.py SOURCE_DIR OSTREL_BINARY")
        return 2
    source_dir, binary = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    jsonschema = import_jsonschema()
    validators = load_validators(jsonschema, source_dir)
    failures = check_valid_inputs(validators, source_dir)
    failures += check_invalid_inputs(validators, source_dir, binary)
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
