#!/usr/bin/env python3
"""Writes the workbook fixtures of the grid's spreadsheet tests with independent writers.

Run once by hand with the Debian python3 (python3-openpyxl, python3-xlsxwriter, python3-xlwt); the
files it writes are committed beside it. openpyxl writes its texts inline, xlsxwriter into the shared
string table: the two readers' paths each get a file.
"""
import os

import openpyxl
import xlsxwriter
import xlwt

here = os.path.dirname(os.path.abspath(__file__))

# Shared strings, numbers, booleans, an error cell and a second sheet.
wb = openpyxl.Workbook()
ws = wb.active
ws.title = "Data"
ws.append(["Name", "Count", "Price"])
ws.append(["Anna", 3, 2.5])
ws.append(["Bert", -12, 1e-3])
ws.append(["Anna", True, "#DIV/0!"])
ws["B6"] = "tail & <more>"
second = wb.create_sheet("Second")
second["C5"] = "only"
third = wb.create_sheet("Empty")
wb.save(os.path.join(here, "inline.xlsx"))

# The same through the shared string table, with a formula whose cached value is read.
book = xlsxwriter.Workbook(os.path.join(here, "shared.xlsx"))
ws = book.add_worksheet("Data")
for r, row in enumerate([["Name", "Count", "Price"], ["Anna", 3, 2.5], ["Bert", -12, 1e-3]]):
    for c, v in enumerate(row):
        ws.write(r, c, v)
ws.write_string(3, 0, "Anna")
ws.write_boolean(3, 1, True)
ws.write_formula(3, 2, "=1/0", None, "#DIV/0!")
ws.write_string(5, 1, "tail & <more>")
book.add_worksheet("Second").write_string(4, 2, "only")
book.add_worksheet("Empty")
book.close()

# A legacy workbook with two sheets.
book = xlwt.Workbook()
s1 = book.add_sheet("Legacy")
for r, row in enumerate([["Key", "Value"], ["alpha", 1], ["beta", 2.25], ["gamma", "x"]]):
    for c, v in enumerate(row):
        s1.write(r, c, v)
s2 = book.add_sheet("Other")
s2.write(1, 1, "b2")
book.save(os.path.join(here, "legacy.xls"))
