#!/usr/bin/python3
"""Reads the workbooks of `pellmar-cli run --xlsx` and `pellmar-cli experiment` back with
openpyxl and compares every cell with the CSV file of the same sheet: the value, its type
(number or text) and the empty cells. The life-table sheets, which have no CSV, are checked
against themselves: l(x) is the sum of s(x, j) at every age, and l(x)m(x) the product.

    workbook_cells.py PELLMAR_CLI EXAMPLES_DIR WORK_DIR
"""
import csv
import json
import math
import re
import shutil
import subprocess
import sys
from pathlib import Path

try:
    import openpyxl
except ImportError:
    sys.exit("python3-openpyxl is missing: scripts/setup.sh installs it")

NUMBER = re.compile(r"-?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?")
failures = []


def fail(message):
    failures.append(message)


def csv_rows(path):
    with open(path, encoding="utf-8-sig", newline="") as file:
        return list(csv.reader(file))


def check_heading_row(sheet, row):
    heading = sheet.cell(row=row, column=1)
    if not heading.font.b:
        fail(f"{sheet.title}: the headings in row {row} are not bold")
    if sheet.freeze_panes != f"A{row + 1}":
        fail(f"{sheet.title}: frozen at {sheet.freeze_panes}, not below row {row}")
    for column, cell in enumerate(sheet[row], start=1):
        width = sheet.column_dimensions[openpyxl.utils.get_column_letter(column)].width
        if cell.value is not None and width < len(str(cell.value)):
            fail(f"{sheet.title}: column {column} is narrower than its heading")


def first_row(sheet, full_name):
    """The row of the headings: 2 when the sheet holds its full name above them."""
    if sheet.title == full_name:
        return 1
    if sheet.cell(row=1, column=1).value != full_name:
        fail(f"{sheet.title}: the first row does not name it {full_name!r}")
    if len(sheet.title) > 31 or any(c in sheet.title for c in "[]:*?/\\"):
        fail(f"{sheet.title}: not a name a spreadsheet takes")
    return 2


def compare_with_csv(book, full_name, sheet_name, csv_path):
    sheet = book[sheet_name]
    start = first_row(sheet, full_name)
    check_heading_row(sheet, start)
    expected = csv_rows(csv_path)
    rows = list(sheet.iter_rows(min_row=start, values_only=True))
    if len(rows) != len(expected):
        fail(f"{sheet_name}: {len(rows)} rows, {csv_path.name} has {len(expected)}")
        return
    for r, (got, want) in enumerate(zip(rows, expected), start=start):
        got = list(got) + [None] * max(0, len(want) - len(got))
        if any(value is not None for value in got[len(want):]):
            fail(f"{sheet_name} row {r}: cells beyond the CSV's")
        for c, text in enumerate(want):
            value = got[c]
            where = f"{sheet_name} {openpyxl.utils.get_column_letter(c + 1)}{r}"
            if text == "":
                if value is not None:
                    fail(f"{where}: {value!r} where the CSV is empty")
            elif NUMBER.fullmatch(text) and math.isfinite(float(text)):
                if isinstance(value, bool) or not isinstance(value, (int, float)):
                    fail(f"{where}: {value!r} is not the number {text}")
                elif float(value) != float(text):
                    fail(f"{where}: {value!r} is not {text} to every digit")
            elif value != text:
                fail(f"{where}: {value!r} is not the text {text!r}")


def check_life_table(book, full_name, sheet_name, with_fecundity):
    sheet = book[sheet_name]
    start = first_row(sheet, full_name)
    check_heading_row(sheet, start)
    rows = list(sheet.iter_rows(min_row=start, values_only=True))
    headings = list(rows[0])
    expected = ["age_days", "l(x)"] + (["f(x)", "m(x)", "l(x)m(x)"] if with_fecundity else [])
    if headings[: len(expected)] != expected or not all(
        str(h).startswith("s(x,") for h in headings[len(expected):]
    ):
        fail(f"{sheet_name}: headings {headings}")
        return
    first_stage = len(expected)
    if rows[1][:2] != (0, 1):
        fail(f"{sheet_name}: the first age is {rows[1][:2]}, not (0, 1)")
    for r, row in enumerate(rows[1:], start=start + 1):
        if not all(isinstance(v, (int, float)) for v in row):
            fail(f"{sheet_name} row {r}: not every cell is a number")
            continue
        if not math.isclose(row[1], sum(row[first_stage:]), rel_tol=1e-12, abs_tol=1e-15):
            fail(f"{sheet_name} row {r}: l(x) = {row[1]} is not the sum of s(x, j)")
        if with_fecundity and not math.isclose(row[4], row[1] * row[3], rel_tol=1e-9,
                                               abs_tol=1e-12):
            fail(f"{sheet_name} row {r}: l(x)m(x) is not l(x) times m(x)")


def run(program, *arguments):
    done = subprocess.run([program, *arguments], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"{' '.join(arguments)} failed: {done.stderr}")


def main():
    program, examples, work = sys.argv[1], Path(sys.argv[2]), Path(sys.argv[3])
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    for name in ("lady_beetle.txt", "lady_beetle_fecundity.txt"):
        shutil.copy(examples / name, work / name)
    data, eggs = str(work / "lady_beetle.txt"), str(work / "lady_beetle_fecundity.txt")

    # One study: Summary, Life table, Replicates.
    run(program, "run", data, "--fecundity", eggs, "--bootstrap", "60", "--seed", "4", "--xlsx",
        "--quiet")
    book = openpyxl.load_workbook(work / "lady_beetle.xlsx")
    if book.sheetnames != ["Summary", "Life table", "Replicates"]:
        fail(f"run --xlsx sheets: {book.sheetnames}")
    compare_with_csv(book, "Summary", "Summary", work / "lady_beetle_summary.csv")
    compare_with_csv(book, "Replicates", "Replicates", work / "lady_beetle_replicates.csv")
    check_life_table(book, "Life table", "Life table", True)

    # An experiment whose treatment names do not fit a sheet's name as they are.
    names = ["Harmonia axyridis on Ephestia eggs", "Aphis [lab]"]
    treatments = []
    for k, name in enumerate(names):
        shutil.copy(examples / "lady_beetle.txt", work / f"t{k}.txt")
        shutil.copy(examples / "lady_beetle_fecundity.txt", work / f"t{k}_fecundity.txt")
        treatments.append({"name": name, "data": f"t{k}.txt", "fecundity": f"t{k}_fecundity.txt"})
    project = work / "beetles.pellmar"
    project.write_text(json.dumps({"pellmar_project": 1, "treatments": treatments}))
    run(program, "experiment", str(project), "--bootstrap", "40", "--seed", "9", "--quiet")
    results = work / "beetles_results"
    book = openpyxl.load_workbook(results / "experiment.xlsx")
    for sheet in ("Summary", "Pairwise", "Letters", "Table"):
        compare_with_csv(book, sheet, sheet, results / f"{sheet.lower()}.csv")
    own_sheets = book.sheetnames[4:]
    if len(own_sheets) != 3 * len(names) or len(set(s.lower() for s in book.sheetnames)) != len(
        book.sheetnames
    ):
        fail(f"experiment sheets: {book.sheetnames}")
    for k, name in enumerate(names):
        summary, table, replicates = own_sheets[3 * k: 3 * k + 3]
        folder = results / name
        compare_with_csv(book, f"{name} summary", summary, folder / f"t{k}_summary.csv")
        check_life_table(book, f"{name} life table", table, True)
        compare_with_csv(book, f"{name} replicates", replicates, folder / f"t{k}_replicates.csv")

    for message in failures[:40]:
        print(message)
    if failures:
        sys.exit(f"{len(failures)} cells or sheets differ")
    print("every cell as in its CSV")


main()
