#!/usr/bin/env python3
"""Lists C++ functions longer than a limit (default 60 lines).

A brace-counting heuristic: comments and literals are blanked, then every '{'
met outside a function whose preceding text looks like a signature (has a
parameter list, no '=' and no class/struct/namespace/enum keyword) starts a
function that ends at its matching '}'. Lambdas and blocks inside a function
count towards it.

usage: long-functions.py [--limit N] PATH...   (files or folders)
Exits 1 when it finds any.
"""
import argparse
import os
import re
import sys

SOURCE = ('.cpp', '.h', '.hpp', '.cc')
NOT_A_FUNCTION = re.compile(r'\b(class|struct|union|namespace|enum)\b|=|^\s*(if|for|while|switch|do|else|try|catch)\b')


def blank(text):
    """Comments, strings and characters replaced by spaces; newlines kept."""
    pattern = re.compile(r'//[^\n]*|/\*.*?\*/|R"([^(]*)\(.*?\)\1"|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)
    return pattern.sub(lambda m: re.sub(r'[^\n]', ' ', m.group(0)), text)


def functions(text):
    """(name, first line, line count) of every function body."""
    code = blank(text)
    found, stack = [], []  # stack: (is_function, start line, name)
    head_start, line = 0, 1
    for i, ch in enumerate(code):
        if ch == '\n':
            line += 1
        elif ch in ';{}':
            head = code[head_start:i]
            if ch == '{':
                inside = any(f for f, _, _ in stack)
                sig = ' '.join(head.split())
                is_fn = not inside and '(' in sig and not NOT_A_FUNCTION.search(sig)
                name = ''
                if is_fn:
                    m = re.search(r'([~\w:]+(?:operator\s*\S+)?)\s*\(', sig)
                    name = m.group(1) if m else sig[:40]
                signature_lines = head.lstrip().count('\n')
                stack.append((is_fn, line - signature_lines, name))
            elif ch == '}' and stack:
                is_fn, start, name = stack.pop()
                if is_fn:
                    found.append((name, start, line - start + 1))
            head_start = i + 1
    return found


def files(paths):
    for p in paths:
        if os.path.isdir(p):
            for root, _, names in os.walk(p):
                for n in sorted(names):
                    if n.endswith(SOURCE):
                        yield os.path.join(root, n)
        else:
            yield p


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--limit', type=int, default=60)
    ap.add_argument('paths', nargs='+')
    args = ap.parse_args()
    hits = 0
    for path in files(args.paths):
        with open(path, encoding='utf-8', errors='replace') as f:
            text = f.read()
        for name, start, count in functions(text):
            if count > args.limit:
                print(f'{path}:{start}: {name}: {count} lines')
                hits += 1
    return 1 if hits else 0


if __name__ == '__main__':
    sys.exit(main())
