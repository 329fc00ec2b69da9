#!/usr/bin/env python3
"""Runs every example of docs/expression-language.md (its section "The
examples on this page" gives the format) as `kova eval DESCRIPTION
EXPRESSION OPTIONS --format json`: the result and the messages the
evaluation posted (in no file, not about a setting) must equal the page's
byte for byte, and the exit status be 0, or 1 for a parse error.

Usage: check_expression_examples.py KOVA SOURCE_DIR; exits 1 on any
mismatch or when no example was found.
"""
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile

PAGE = os.path.join("docs", "expression-language.md")
EXAMPLE_LINE = re.compile(r"^(?P<expression>.*?)\s+=>(?: (?P<result>.*))?$")
MESSAGE_PREFIX = "warning: "


def fenced_blocks(lines, info):
    """(first line number, lines) of each block opened by ```info."""
    blocks, body = [], None
    for number, line in enumerate(lines, 1):
        if body is None and line == "```" + info:
            first, body = number + 1, []
        elif body is not None and line == "```":
            blocks.append((first, body))
            body = None
        elif body is not None:
            body.append(line)
    return blocks


def examples_of(first, block):
    """(options, expression, result, messages, where) of each example of
    the block whose lines start at line first of the page."""
    examples, options = [], []
    for number, line in enumerate(block, first):
        where = "%s:%d" % (PAGE, number)
        match = EXAMPLE_LINE.match(line)
        if not line.strip():
            continue
        if line.startswith("with:"):
            options = shlex.split(line[len("with:"):])
        elif line.startswith(MESSAGE_PREFIX) and examples:
            examples[-1][3].append(line[len(MESSAGE_PREFIX):])
        elif match and not line.startswith(MESSAGE_PREFIX):
            examples.append((options, match.group("expression"), match.group("result") or "", [], where))
        else:
            raise ValueError("%s: not an example, or a message before any: %r" % (where, line))
    return examples


def check(kova, description, example):
    """A list of problems with one example (empty when it holds)."""
    options, expression, result, messages, where = example
    run = subprocess.run([kova, "eval", description, expression] + options + ["--format", "json"],
                         stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)
    try:
        document = json.loads(run.stdout)
    except ValueError:
        return ["%s: %r: no JSON document (status %d): %r" % (where, expression, run.returncode, run.stderr)]
    posted = [m["severity"] + ": " + m["text"] for m in document.get("messages", [])
              if m.get("file") is None and m.get("kind") != "setting"]
    status = 1 if any(text.startswith("parse error") for text in messages) else 0
    problems = [what % (got, shown) for what, got, shown in (
        ("result %r, the page shows %r", document.get("result"), result),
        ("messages %r, the page shows %r", posted, [MESSAGE_PREFIX + text for text in messages]),
        ("exit status %d, expected %d", run.returncode, status)) if got != shown]
    return ["%s: %r: %s" % (where, expression, problem) for problem in problems]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    kova, source = sys.argv[1], sys.argv[2]
    with open(os.path.join(source, PAGE), encoding="utf-8") as page:
        lines = page.read().split("\n")
    descriptions = fenced_blocks(lines, "xml kova-description")
    if len(descriptions) != 1:
        sys.exit("%s: %d kova-description blocks, expected 1" % (PAGE, len(descriptions)))
    examples = [example for first, block in fenced_blocks(lines, "kova-eval") for example in examples_of(first, block)]
    with tempfile.TemporaryDirectory(prefix="kova-doc-examples-") as folder:
        description = os.path.join(folder, "demo.xml")
        with open(description, "w", encoding="utf-8") as out:
            out.write("\n".join(descriptions[0][1]) + "\n")
        problems = [problem for example in examples for problem in check(kova, description, example)]
    for problem in problems:
        print(problem)
    print("%d examples checked, %d problems" % (len(examples), len(problems)))
    if not examples or problems:
        sys.exit(1)


if __name__ == "__main__":
    main()
