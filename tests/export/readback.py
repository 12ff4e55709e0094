#!/usr/bin/env python3
"""Reads a file that Ferlin exported with a reader of its format's ecosystem, checks its
structure and prints what was read as JSON, for the C++ tests to compare with the base.

    readback.py bibtex|ris|csljson|csv FILE
    readback.py csv FILE SEPARATOR

A CSV file is read with the separator given, or else with the one its header row shows.

Exit status: 0 read (JSON on the standard output), 1 a fault (told on the standard error),
77 the reader is not installed (the test is skipped).
"""
import csv
import io
import json
import re
import sys

SKIP = 77


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(1)


# The TeX escapes Ferlin writes, and the braces that protect "and" and commas in names: a lone
# brace with its invisible partner, then the escaped characters, then the plain braces.
TEX = re.compile(r"\\\{\\vphantom\{\\\}\}|\\vphantom\{\\\{\}\\\}|\{\\textbackslash\}"
                 r"|\{\\textasciitilde\}|\\\^\{\}|\\[%&#_${}]|[{}~]")
TEX_CHARS = {r"\{\vphantom{\}}": "{", r"\vphantom{\{}\}": "}", r"{\textbackslash}": "\\",
             r"{\textasciitilde}": "~", r"\^{}": "^", "~": "\u00a0"}


def untex(text):
    def plain(match):
        token = match.group(0)
        if token in "{}":
            return ""
        return TEX_CHARS.get(token, token[1:])
    return TEX.sub(plain, text)


def read_bibtex(path):
    try:
        from pybtex.database import parse_file
    except ImportError:
        print("pybtex is not installed (Debian: python3-pybtex)", file=sys.stderr)
        sys.exit(SKIP)
    # Strict by default: a syntax fault or a repeated key raises.
    data = parse_file(path, bib_format="bibtex")
    keys = [key.lower() for key in data.entries.keys()]
    if len(set(keys)) != len(keys):
        fail("two entries share a key")
    entries = []
    for key, entry in data.entries.items():
        authors = []
        for person in entry.persons.get("author", []):
            family = " ".join(person.prelast_names + person.last_names)
            given = " ".join(person.first_names + person.middle_names)
            authors.append([untex(family), untex(given)])
        entries.append({"key": key, "type": entry.type,
                        "fields": {name.lower(): untex(value)
                                   for name, value in entry.fields.items()},
                        "authors": authors})
    return entries


RIS_LINE = re.compile(r"^([A-Z][A-Z0-9])  - (.*)$")


def read_ris(path):
    text = open(path, encoding="utf-8", newline="").read()
    if not text.endswith("\r\n"):
        fail("the file does not end with CR LF")
    lines = text[:-2].split("\r\n")
    records, record, previous = [], None, None
    for number, line in enumerate(lines, 1):
        if "\r" in line or "\n" in line:
            fail(f"line {number}: a line break other than CR LF")
        if line == "":
            if record is not None or previous != "ER":
                fail(f"line {number}: a blank line inside a record")
            continue
        match = RIS_LINE.match(line)
        if not match:
            # An untagged line goes on the value of the line before, after a line break.
            if record is None or not record or line != line.strip() or line == "":
                fail(f"line {number}: not a tag line: {line!r}")
            record[-1][1] += "\n" + line
            continue
        tag, value = match.groups()
        if record is None:
            if tag != "TY":
                fail(f"line {number}: a record must start with TY")
            record = []
        if tag == "ER":
            if value != "":
                fail(f"line {number}: ER carries no value")
            records.append(record)
            record = None
        else:
            if value == "" or value != value.strip():
                fail(f"line {number}: an empty or untrimmed value")
            record.append([tag, value])
        previous = tag
    if record is not None:
        fail("the last record has no ER")
    return records


def read_csljson(path):
    items = json.load(open(path, encoding="utf-8"))
    if not isinstance(items, list):
        fail("not an array")
    ids = set()
    for item in items:
        if not isinstance(item, dict) or item.get("type") != "article-journal":
            fail(f"not an article-journal item: {item!r}")
        if not isinstance(item.get("id"), str) or item["id"] in ids:
            fail(f"a missing or repeated id: {item.get('id')!r}")
        ids.add(item["id"])
        for person in item.get("author", []):
            if not isinstance(person.get("family"), str) or not person["family"] or \
                    not set(person) <= {"family", "given"} or \
                    not isinstance(person.get("given", ""), str):
                fail(f"an author is not a family/given object: {person!r}")
        if "issued" in item:
            parts = item["issued"].get("date-parts")
            if not (isinstance(parts, list) and len(parts) == 1 and 1 <= len(parts[0]) <= 2 and
                    all(isinstance(p, int) for p in parts[0]) and
                    (len(parts[0]) == 1 or 1 <= parts[0][1] <= 12)):
                fail(f"issued is not [[year]] or [[year, month]]: {item['issued']!r}")
        for name, value in item.items():
            if name not in ("author", "issued", "custom") and not isinstance(value, str):
                fail(f"{name} is not a text")
    return items


def read_csv(path, separator=None):
    with open(path, "rb") as f:
        if not f.read().endswith(b"\r\n"):
            fail("the last row does not end with CR LF")
    # utf-8-sig: a byte-order mark is taken off, as spreadsheets do.
    with open(path, encoding="utf-8-sig", newline="") as f:
        text = f.read()
    if separator is None:
        # The header row holds field names only: its first ";" or "," is the separator.
        found = [c for c in text.split("\r\n", 1)[0] if c in ";,"]
        separator = found[0] if found else ","
    rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=separator, strict=True))
    if not rows:
        fail("no header row")
    header = rows[0]
    for number, row in enumerate(rows[1:], 2):
        if len(row) != len(header):
            fail(f"row {number} has {len(row)} values for {len(header)} columns")
    return {"header": header, "rows": rows[1:], "separator": separator}


READERS = {"bibtex": read_bibtex, "ris": read_ris, "csljson": read_csljson, "csv": read_csv}

if __name__ == "__main__":
    arguments = sys.argv[1:]
    if len(arguments) not in (2, 3) or arguments[0] not in READERS or \
            (len(arguments) == 3 and arguments[0] != "csv"):
        fail(__doc__)
    try:
        result = READERS[sys.argv[1]](*sys.argv[2:])
    except SystemExit:
        raise
    except Exception as error:  # a reader's own fault is the file's fault
        fail(f"{type(error).__name__}: {error}")
    json.dump(result, sys.stdout, ensure_ascii=False)
