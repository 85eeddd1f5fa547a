#!/usr/bin/env python3
"""Writes every C++ code block of the given Markdown files as a translation
unit of its own, for CTest to compile (tests/CMakeLists.txt):

    doc_blocks.py OUT_DIR ROOT FILE.md...

prints one line per unit: a test name (the file's path below ROOT and the
block's first line number) and the unit's path.

A block fenced as cpp or c++ becomes a unit in this way: its #include lines
go first, after every public header of the library, so a block may use any
of them. A block with a main function is the rest of the unit as it stands.
Otherwise the block's declarations (what starts at the outer level with
namespace, template, struct, class, union, enum, typedef or using) stay at
namespace scope, and its other lines, in order, form the body of a function.
A block preceded by the line <!-- partial --> is deliberately incomplete and
is left out; keep that rare."""
import os
import re
import sys

PARTIAL = "<!-- partial -->"
DECLARATION = re.compile(r"(namespace|template|struct|class|union|enum|typedef|using)\b")


def blocks(path):
    """Yields (first line number, lines) of each C++ block to check."""
    with open(path) as f:
        lines = f.read().split("\n")
    i = 0
    while i < len(lines):
        fence = re.match(r"\s*```\s*(\S*)", lines[i])
        if not fence:
            i += 1
            continue
        start = i + 1
        end = start
        while end < len(lines) and not re.match(r"\s*```", lines[end]):
            end += 1
        partial = i > 0 and lines[i - 1].strip() == PARTIAL
        if fence.group(1) in ("cpp", "c++") and not partial:
            yield start + 1, lines[start:end]
        i = end + 1


def unit(lines):
    includes = [l for l in lines if l.lstrip().startswith("#include")]
    body = [l for l in lines if not l.lstrip().startswith("#include")]
    if any(re.search(r"\bmain\s*\(", l) for l in body):
        return includes + body
    scope, function = [], []
    depth, target, pending = 0, None, []
    for line in body:
        text = re.sub(r"//.*", "", line).strip()
        if depth == 0 and target is None:
            if not text:
                pending.append(line)  # a comment belongs to what follows it
                continue
            target = scope if DECLARATION.match(text) else function
            target.extend(pending)
            pending = []
        target.append(line)
        depth += line.count("{") - line.count("}")
        if depth == 0 and (text.endswith(";") or text.endswith("}")):
            target = None
    function.extend(pending)
    return includes + scope + ["void doc_example() {"] + function + ["}"]


def main():
    out, root, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    include = os.path.join(root, "include")
    public = sorted(h for h in os.listdir(include) if os.path.isfile(os.path.join(include, h)))
    prelude = ["#include <%s>" % h for h in public]
    os.makedirs(out, exist_ok=True)
    for path in files:
        name = os.path.relpath(path, root)
        for line, lines in blocks(path):
            test = "%s:%d" % (name, line)
            file = os.path.join(out, re.sub(r"[^A-Za-z0-9]+", "_", test) + ".cpp")
            text = "\n".join(["// %s" % test] + prelude + unit(lines)) + "\n"
            if not os.path.exists(file) or open(file).read() != text:
                with open(file, "w") as f:
                    f.write(text)
            print("%s\t%s" % (test, file))


if __name__ == "__main__":
    main()
