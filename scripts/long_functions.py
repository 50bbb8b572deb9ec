#!/usr/bin/env python3
"""Lists the functions longer than a limit in C++ sources.

    scripts/long_functions.py [--over N] DIR...

A function's length runs from the first line of its signature to the line
of its closing brace. Comments, string and character literals (raw strings
included) are blanked first; then the braces are followed: a brace whose
header names a namespace, class, struct, union, enum or extern "C" opens a
scope that can hold functions, and a brace at such a level whose header
holds a parameter list opens a function body (constructors with
initialiser lists and trailing return types included). Lambdas and local
classes count as part of the function around them.
"""
import argparse
import os
import re
import sys

SOURCE_ENDINGS = ('.cpp', '.h', '.hpp', '.cc')


def blank_literals(text):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
            out.append(' ' * (j - i))
            i = j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r'[^\n]', ' ', text[i:j]))
            i = j
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_') or text[i - 1] in 'u8LU'):
            m = re.match(r'R"([^()\\\s]{0,16})\(', text[i:])
            if not m:
                out.append(c)
                i += 1
                continue
            end = ')' + m.group(1) + '"'
            j = text.find(end, i + m.end())
            j = n if j < 0 else j + len(end)
            out.append('""' + re.sub(r'[^\n]', ' ', text[i + 2:j]))
            i = j
        elif c == '"' or (c == "'" and not (i > 0 and text[i - 1].isalnum())):
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            j = min(j + 1, n)
            out.append(c + ' ' * max(0, j - i - 2) + (c if j - i >= 2 else ''))
            i = j
        else:
            out.append(c)
            i += 1
    return ''.join(out)


CONTAINER = re.compile(r'\b(namespace|class|struct|union|enum)\b|extern\s*"')


def functions(path):
    with open(path, encoding='utf-8', errors='replace') as f:
        text = blank_literals(f.read())
    # Preprocessor lines take no part in the structure.
    text = re.sub(r'(?m)^[ \t]*#(?:[^\n]*\\\n)*[^\n]*', lambda m: re.sub(r'[^\n]', ' ', m.group(0)), text)
    stack = []  # (kind, name, start line, header start)
    header_start = 0
    results = []
    for i, c in enumerate(text):
        if c == '{':
            header = text[header_start:i]
            stripped = header.strip()
            level_ok = all(entry[0] == 'scope' for entry in stack)
            before_params = header.split('(')[0]
            if level_ok and CONTAINER.search(before_params):
                stack.append(('scope', '', 0, header_start))
            elif level_ok and '(' in stripped and not stripped.endswith('='):
                lead = len(header) - len(header.lstrip())
                start = text.count('\n', 0, header_start + lead) + 1
                name_m = re.search(r'([~\w:]+(?:operator\s*[^\s(]+)?)\s*\(', stripped)
                name = name_m.group(1) if name_m else stripped[:40]
                stack.append(('function', name, start, header_start))
            else:
                stack.append(('block', '', 0, header_start))
            header_start = i + 1
        elif c == '}':
            header_start = i + 1
            if not stack:
                continue
            kind, name, start, saved = stack.pop()
            if kind != 'function':
                continue
            rest = text[i + 1:i + 200].lstrip()
            if rest[:1] in (',', '{'):
                # A braced member initialiser: the header goes on.
                header_start = saved
                continue
            end = text.count('\n', 0, i) + 1
            results.append((end - start + 1, name, start))
        elif c == ';':
            header_start = i + 1
        elif c == ':' and re.search(r'\b(private|protected|public)(\s+(slots|Q_SLOTS))?\s*$', text[header_start:i]):
            header_start = i + 1
    return results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--over', type=int, default=80)
    parser.add_argument('dirs', nargs='+')
    args = parser.parse_args()
    rows = []
    for top in args.dirs:
        for root, _, files in os.walk(top):
            for name in sorted(files):
                if name.endswith(SOURCE_ENDINGS):
                    path = os.path.join(root, name)
                    for length, fn, line in functions(path):
                        if length > args.over:
                            rows.append((length, f'{path}:{line}', fn))
    rows.sort(key=lambda r: (-r[0], r[1]))
    for length, where, fn in rows:
        print(f'{length:5d}  {where}  {fn}')
    print(f'{len(rows)} functions over {args.over} lines')
    return 0


if __name__ == '__main__':
    sys.exit(main())
