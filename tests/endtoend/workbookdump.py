"""Reads a workbook with openpyxl, a reader independent of the writer, and
prints what the tests check as JSON: per sheet its name, first cell, header
row, number of rows between the header and "Toplam", each column's cell
kinds and number formats, and the Toplam row's formula and stored value."""

import json
import sys

import openpyxl


def sheet_facts(formulas, values):
    rows = list(formulas.iter_rows())
    stored = list(values.iter_rows(values_only=True))
    total = next(i for i, row in enumerate(rows) if "Toplam" in (row[0].value, row[1].value if len(row) > 1 else None))
    columns = {}
    for row in rows[2:total]:
        for index, cell in enumerate(row):
            if cell.value is None:
                continue
            facts = columns.setdefault(str(index), {"kinds": set(), "formats": set()})
            facts["kinds"].add(cell.data_type)
            facts["formats"].add(cell.number_format)
    formula = next((c.value for c in rows[total] if isinstance(c.value, str) and c.value.startswith("=")), None)
    value = next((v for c, v in zip(rows[total], stored[total]) if c.value == formula and formula), None)
    return {
        "name": formulas.title,
        "a1": formulas["A1"].value,
        "header": [c.value for c in rows[1]],
        "rows": total - 2,
        "columns": {k: {"kinds": sorted(v["kinds"]), "formats": sorted(v["formats"])} for k, v in columns.items()},
        "formula": formula,
        "stored": value,
    }


def main(path):
    formulas = openpyxl.load_workbook(path)
    values = openpyxl.load_workbook(path, data_only=True)
    front = formulas.worksheets[0]
    sheets = [sheet_facts(f, v) for f, v in zip(formulas.worksheets[1:], values.worksheets[1:])]
    print(json.dumps({"names": formulas.sheetnames, "front": front["A1"].value, "sheets": sheets}, ensure_ascii=False))


if __name__ == "__main__":
    main(sys.argv[1])
