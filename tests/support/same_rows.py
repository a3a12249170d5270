#!/usr/bin/env python3
"""Compares what the window handed over with the report's rows.

same_rows.py KIND FILE REPORT PART
  KIND    csv: a saved CSV file (it must begin with the UTF-8 byte-order mark);
          tsv: clipboard text in UTF-8; tsv-cp932: clipboard text in code page 932
  FILE    the file to check
  REPORT  the report's output of --format csv --marks
  PART    tally (its first 18 rows) or marks (the rows after the first blank line, up to the
          next blank line or the one-cell line about blocks); checksheet: the marks as the window
          lists them, headings aside: without list and index, names without the blank the
          interchange text puts after their key, positions to three decimals
Exits 0 when the rows are equal cell for cell, else 1 with the first difference.
"""
import csv
import sys

kind, path, report_path, part = sys.argv[1:5]

raw = open(path, "rb").read()
if kind == "csv":
    if not raw.startswith(b"\xef\xbb\xbf"):
        sys.exit(f"{path}: no UTF-8 byte-order mark")
    with open(path, encoding="utf-8-sig", newline="") as f:
        rows = list(csv.reader(f))
else:
    text = raw.decode("utf-8" if kind == "tsv" else "cp932")
    rows = [line.split("\t") for line in text.splitlines()]

with open(report_path, encoding="utf-8-sig", newline="") as f:
    report = list(csv.reader(f))
if part == "tally":
    expected = report[:18]
else:
    start = report.index([]) + 1
    expected = []
    for row in report[start:]:
        if len(row) <= 1:
            break
        expected.append(row)


def check_sheet_number(cell):
    text = "%.3f" % float(cell)
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return "0" if text == "-0" else text


if part == "checksheet":
    expected = [expected[0][:10]] + [
        [r[0], r[1], r[2], r[3][1:] if r[3].startswith(" ") else r[3], r[4],
         r[5][1:] if r[5].startswith(" ") else r[5]] + [check_sheet_number(c) for c in r[6:10]]
        for r in expected[1:]]
    if len(rows) > 0 and len(rows[0]) == 10:
        expected[0] = rows[0]  # the headings are in the window's language

if rows != expected:
    for i, (a, b) in enumerate(zip(rows, expected)):
        if a != b:
            sys.exit(f"{path}: row {i} is {a}, the report's is {b}")
    sys.exit(f"{path}: {len(rows)} rows, the report has {len(expected)}")
print(f"{path}: {len(rows)} rows equal to the report's {part}")
