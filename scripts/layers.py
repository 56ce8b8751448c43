#!/usr/bin/env python3
"""Checks the layering of the sources: every #include of the product points down the layers
(ui and console above search and engine, above keeplists, above access, above settings), the
files of access/, keeplists/ and settings/ include one another in no loop (a file and its
header counting as one module), and no file of the product is longer than 500 lines. Prints
what it finds; exits 1 when anything points back up, goes round or grew too long.

usage: layers.py [SOURCE_ROOT]
"""
import os
import re
import sys

# Each layer and the layers below it that it may use.
LAYERS = {
    "ui": {"engine", "search", "keeplists", "access", "settings"},
    "console": {"engine", "keeplists", "access", "settings"},
    "search": {"keeplists", "access", "settings"},
    "engine": {"keeplists", "access", "settings"},
    "keeplists": {"access", "settings"},
    "access": {"settings"},
    "settings": set(),
}
NO_LOOPS = ("access", "keeplists", "settings")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/([A-Za-z0-9_]+)\.h"')


MAX_LINES = 500


def too_long(root):
    long_files = []
    for layer in LAYERS:
        folder = os.path.join(root, layer)
        for name in sorted(os.listdir(folder)):
            if os.path.splitext(name)[1] in (".h", ".cpp", ".rc"):
                with open(os.path.join(folder, name), encoding="latin-1") as f:
                    n = sum(1 for _ in f)
                if n > MAX_LINES:
                    long_files.append((f"{layer}/{name}", n))
    return long_files


def modules(root):
    """{(layer, module): set of (layer, module) it includes}"""
    graph = {}
    for layer in LAYERS:
        folder = os.path.join(root, layer)
        for name in sorted(os.listdir(folder)):
            stem, ext = os.path.splitext(name)
            if ext not in (".h", ".cpp"):
                continue
            node = (layer, stem)
            edges = graph.setdefault(node, set())
            with open(os.path.join(folder, name), encoding="latin-1") as f:
                for line in f:
                    m = INCLUDE.match(line)
                    if m and m.group(1) in LAYERS and (m.group(1), m.group(2)) != node:
                        edges.add((m.group(1), m.group(2)))
    return graph


def upward(graph):
    return [(a, b) for a, edges in graph.items() for b in edges if b[0] != a[0] and b[0] not in LAYERS[a[0]]]


def loops(graph):
    """Strongly connected groups of more than one module among the layers that may have none."""
    nodes = [n for n in graph if n[0] in NO_LOOPS]
    index, low, stack, on, found, counter = {}, {}, [], set(), [], [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on.add(v)
        for w in graph.get(v, ()):
            if w[0] not in NO_LOOPS or w not in graph:
                continue
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                found.append(sorted(group))

    for n in nodes:
        if n not in index:
            visit(n)
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    graph = modules(root)
    bad = upward(graph)
    rounds = loops(graph)
    for a, b in bad:
        print(f"points back up: {a[0]}/{a[1]} includes {b[0]}/{b[1]}.h")
    for group in rounds:
        print("goes round: " + " -> ".join(f"{l}/{m}" for l, m in group))
    long_files = too_long(root)
    for name, n in long_files:
        print(f"too long: {name} has {n} lines (at most {MAX_LINES})")
    edges = sum(len(e) for e in graph.values())
    print(f"{len(graph)} modules, {edges} includes: {len(bad)} pointing back up, {len(rounds)} loops, "
          f"{len(long_files)} files over {MAX_LINES} lines")
    return 1 if bad or rounds or long_files else 0


if __name__ == "__main__":
    sys.exit(main())
