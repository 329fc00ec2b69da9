#!/usr/bin/env python3
"""Runs every example of docs/expression-language.md through this build's
kova and compares what it prints with what the page shows.

The page holds one ```xml kova-description block, the description the
examples are evaluated against, and any number of ```kova-eval blocks.
In a kova-eval block:

    with: OPTIONS             kova eval options for the examples below it
                              in the block (shell words), until the next
                              with: line
    EXPRESSION => RESULT      an example; RESULT is everything after
                              "=> ", nothing when the line ends in "=>"
    warning: TEXT             a message the example's evaluation posts,
                              in order

Each example runs as `kova eval DESCRIPTION EXPRESSION OPTIONS --format
json`. Its result and the messages the evaluation itself posted (those
in no file that are not about a setting; the run's own are not part of an
example) must
equal the page's byte for byte, and the exit status must be 0, or 1 when
the example shows a parse error.

Usage: check_expression_examples.py KOVA SOURCE_DIR; prints every
mismatch and "N examples checked, M problems", exits 1 on any mismatch or
when no example was found.
"""
import json
import os
import re
import shlex
import shutil
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
        if body is None:
            if line == "```" + info:
                first, body = number + 1, []
        elif line == "```":
            blocks.append((first, body))
            body = None
        else:
            body.append(line)
    return blocks


def examples_of(first, block):
    """(options, expression, result, messages, where) of each example of
    the block whose lines start at line first of the page."""
    examples, options = [], []
    for number, line in enumerate(block, first):
        where = "%s:%d" % (PAGE, number)
        if not line.strip():
            continue
        if line.startswith("with:"):
            options = shlex.split(line[len("with:"):])
        elif line.startswith(MESSAGE_PREFIX):
            if not examples:
                raise ValueError("%s: a message before any example" % where)
            examples[-1][3].append(line[len(MESSAGE_PREFIX):])
        else:
            match = EXAMPLE_LINE.match(line)
            if not match:
                raise ValueError("%s: not an example: %r" % (where, line))
            examples.append((options, match.group("expression"), match.group("result") or "", [], where))
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
    problems = []
    if document.get("result") != result:
        problems.append("result %r, the page shows %r" % (document.get("result"), result))
    posted = [m["severity"] + ": " + m["text"] for m in document.get("messages", [])
              if m.get("file") is None and m.get("kind") != "setting"]
    shown = [MESSAGE_PREFIX + text for text in messages]
    if posted != shown:
        problems.append("messages %r, the page shows %r" % (posted, shown))
    status = 1 if any(text.startswith("parse error") for text in messages) else 0
    if run.returncode != status:
        problems.append("exit status %d, expected %d" % (run.returncode, status))
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
    examples = []
    for first, block in fenced_blocks(lines, "kova-eval"):
        examples += examples_of(first, block)
    folder = tempfile.mkdtemp(prefix="kova-doc-examples-")
    try:
        description = os.path.join(folder, "demo.xml")
        with open(description, "w", encoding="utf-8") as out:
            out.write("\n".join(descriptions[0][1]) + "\n")
        problems = []
        for example in examples:
            problems += check(kova, description, example)
    finally:
        shutil.rmtree(folder)
    for problem in problems:
        print(problem)
    print("%d examples checked, %d problems" % (len(examples), len(problems)))
    if not examples or problems:
        sys.exit(1)


if __name__ == "__main__":
    main()
