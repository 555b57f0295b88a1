#!/usr/bin/env python3
"""Prints every sheet and every value of a workbook as openpyxl reads it: "[Sheet]", "B2=3"."""
import sys

import openpyxl

# Opened as a stream: openpyxl would refuse a workbook by its file name's extension alone.
with open(sys.argv[1], "rb") as f:
    wb = openpyxl.load_workbook(f)
for ws in wb.worksheets:
    print("[%s]" % ws.title)
    for row in ws.iter_rows():
        for c in row:
            if c.value is not None:
                print("%s=%r" % (c.coordinate, c.value))
