"""Prints every cell xlrd reads from an Excel 2.1 worksheet, one line each:
row, column, "text" or "number", and the value, separated by tabs.

BIFF2 files carry no code page; Excel reads them in the system's ANSI code
page, which is Windows-1252 here.

Usage: xls_probe.py FILE
"""
import sys

import xlrd


def main(path):
    book = xlrd.open_workbook(path, encoding_override="cp1252")
    sheet = book.sheet_by_index(0)
    lines = ["biff %d rows %d columns %d" % (book.biff_version, sheet.nrows, sheet.ncols)]
    for row in range(sheet.nrows):
        for column in range(sheet.ncols):
            cell = sheet.cell(row, column)
            if cell.ctype == xlrd.XL_CELL_TEXT:
                lines.append("%d\t%d\ttext\t%s" % (row, column, cell.value))
            elif cell.ctype == xlrd.XL_CELL_NUMBER:
                lines.append("%d\t%d\tnumber\t%r" % (row, column, cell.value))
            else:
                lines.append("%d\t%d\tother\t%r" % (row, column, cell.value))
    sys.stdout.buffer.write(("\n".join(lines) + "\n").encode("utf-8"))


if __name__ == "__main__":
    main(sys.argv[1])
