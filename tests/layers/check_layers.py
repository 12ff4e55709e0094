#!/usr/bin/env python3
"""Fails on an include that runs against the layers of src/: the core (src/core/) includes only
the core; the screens (src/gui/) include the core and the screens' shell (src/gui/shell/), and a
screen folder includes no other screen folder; only the top (src/app/) includes anything.
Usage: check_layers.py SRC_DIR"""
import os, re, sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)

def rule(source, target):
    """Why `source` may not include `target` (both relative to src/), or None."""
    s, t = source.split('/'), target.split('/')
    if s[0] == 'core' and t[0] != 'core':
        return 'the core (src/core/) includes only the core'
    if s[0] == 'gui':
        if t[0] == 'app':
            return 'the screens (src/gui/) never include the top (src/app/)'
        if t[0] == 'gui' and t[1] != s[1] and t[1] != 'shell':
            return ('a screen folder includes no other screen folder: src/gui/%s/ reaches '
                    'src/gui/%s/ only through src/gui/shell/' % (s[1], t[1]))
    return None

def main(src):
    faults = []
    for dirpath, _, files in os.walk(src):
        for name in files:
            if not name.endswith(('.cpp', '.h')):
                continue
            path = os.path.join(dirpath, name)
            source = os.path.relpath(path, src)
            for target in INCLUDE.findall(open(path, encoding='utf-8').read()):
                if not os.path.exists(os.path.join(src, target)):
                    continue
                why = rule(source, target)
                if why:
                    faults.append('%s includes %s: %s' % (source, target, why))
    for fault in faults:
        print(fault)
    return 1 if faults else 0

if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
