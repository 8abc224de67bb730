#!/usr/bin/env python3
"""Prints the edges of a recording as "<us> <wire> <0|1>", one a line, in time order and, at one
time, in the file's order of wires: from a VCD (any identifier codes, as other programs write
them) or, with the csv module, from our CSV. The gap wire and columns that are not pins are
left out; the gaps are printed as "<us> gap <unseen us>" for the CSV, "<us> gap <0|1>" for VCD.
Usage: read_recording.py vcd|csv FILE"""
import csv
import sys


def vcd_edges(path):
    names, order, levels, lines = {}, [], {}, []
    time, in_definitions = 0, True
    with open(path) as f:
        tokens = f.read().split()
    i = 0
    while i < len(tokens):
        token = tokens[i]
        if in_definitions:
            if token == "$var":
                code, name = tokens[i + 3], tokens[i + 4]
                names[code] = name
                order.append(code)
                i += 6
                continue
            if token == "$enddefinitions":
                in_definitions = False
            i += 1
            continue
        if token.startswith("#"):
            time = int(token[1:])
        elif token[0] in "01xzXZ" and token[1:] in names:
            code, value = token[1:], token[0]
            if code in levels and levels[code] != value:
                lines.append((time, order.index(code), names[code], value))
            levels[code] = value
        elif token.startswith("$"):
            pass  # $dumpvars and its $end
        else:
            raise SystemExit("unexpected token in %s: %r" % (path, token))
        i += 1
    for time, _, name, value in sorted(lines, key=lambda line: (line[0], line[1])):
        print(time, name, value)


def csv_edges(path):
    with open(path, newline="") as f:
        rows = list(csv.DictReader(f, strict=True))
    if not rows:
        raise SystemExit("no rows in " + path)
    pins = [name for name in rows[0] if "_pin" in name]
    before = rows[0]
    for row in rows[1:]:
        micros = int(float(row["time_us"]))
        if float(row["unseen_us"]) > 0:
            print(micros, "gap", int(float(row["unseen_us"])), "lent" if row["lent"] == "1" else "")
        for pin in pins:
            if row[pin] not in ("0", "1"):
                raise SystemExit("bad level %r of %s at %s" % (row[pin], pin, row["time_us"]))
            if row[pin] != before[pin]:
                print(micros, pin, row[pin])
        before = row


if __name__ == "__main__":
    kind, path = sys.argv[1], sys.argv[2]
    vcd_edges(path) if kind == "vcd" else csv_edges(path)
