#!/usr/bin/env python3
"""Reads an .xlsx file back for the tests, from the file format alone (zipfile and xml.etree),
sharing nothing with the library that wrote it. Prints one JSON array per line:

  ["sheet", NAME]
  ["cell", SHEET, REF, TYPE, VALUE, NUMBER_FORMAT]   TYPE as the file says it: n, s, inlineStr, str, b, e
  ["formula", SHEET, REF]                            any cell that carries a formula
  ["link", SHEET, REF, TARGET]
  ["pane", SHEET, TOP_LEFT_CELL, STATE, ROWS_FROZEN]
  ["filter", SHEET, RANGE]
  ["width", SHEET, FIRST_COLUMN, LAST_COLUMN, WIDTH]  columns counted from 1
  ["chart", SHEET, KIND, TITLE_REF, SERIES_NAME_REF, CATEGORIES_REF, VALUES_REF, X_AXIS, Y_AXIS]

Strings come back as Excel shows them: _xHHHH_ escapes decoded."""

import json
import posixpath
import re
import sys
import zipfile
import xml.etree.ElementTree as ET

NS = {
    "m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main",
    "r": "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
    "rel": "http://schemas.openxmlformats.org/package/2006/relationships",
    "c": "http://schemas.openxmlformats.org/drawingml/2006/chart",
    "a": "http://schemas.openxmlformats.org/drawingml/2006/main",
    "xdr": "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing",
}
REL_ID = "{%s}id" % NS["r"]
BUILT_IN_FORMATS = {0: "General", 9: "0%", 10: "0.00%"}


def shown(text):
    return re.sub(r"_x([0-9A-Fa-f]{4})_", lambda m: chr(int(m.group(1), 16)), text)


LINES = []


def emit(*record):
    LINES.append(json.dumps(list(record), ensure_ascii=False) + "\n")


class Package:
    def __init__(self, path):
        self.zip = zipfile.ZipFile(path)

    def xml(self, part):
        return ET.fromstring(self.zip.read(part))

    def relations(self, part):
        """Relationship id -> (target part or external address, type)."""
        folder, name = posixpath.split(part)
        rels = posixpath.join(folder, "_rels", name + ".rels")
        if rels not in self.zip.namelist():
            return {}
        found = {}
        for rel in self.xml(rels).findall("rel:Relationship", NS):
            target = rel.get("Target")
            if rel.get("TargetMode") != "External":
                target = target.lstrip("/") if target.startswith("/") else posixpath.normpath(
                    posixpath.join(folder, target))
            found[rel.get("Id")] = (target, rel.get("Type").rsplit("/", 1)[-1])
        return found


def shared_strings(package):
    if "xl/sharedStrings.xml" not in package.zip.namelist():
        return []
    return ["".join(t.text or "" for t in si.iter("{%s}t" % NS["m"]))
            for si in package.xml("xl/sharedStrings.xml").findall("m:si", NS)]


def number_formats(package):
    styles = package.xml("xl/styles.xml")
    custom = {int(f.get("numFmtId")): f.get("formatCode") for f in styles.iterfind("m:numFmts/m:numFmt", NS)}
    formats = []
    for xf in styles.iterfind("m:cellXfs/m:xf", NS):
        number = int(xf.get("numFmtId", "0"))
        formats.append(custom.get(number, BUILT_IN_FORMATS.get(number, "builtin:%d" % number)))
    return formats


def rich_text(element):
    return "".join(t.text or "" for t in element.iter("{%s}t" % NS["a"])) if element is not None else ""


def formula(element, path):
    found = element.find(path, NS) if element is not None else None
    return found.text if found is not None else ""


def charts(package, sheet_name, relations):
    for target, kind in relations.values():
        if kind != "drawing":
            continue
        for chart_part, chart_kind in package.relations(target).values():
            if chart_kind != "chart":
                continue
            chart = package.xml(chart_part).find("c:chart", NS)
            plot = chart.find("c:plotArea", NS)
            for group in plot:
                series = group.find("c:ser", NS)
                if series is None:
                    continue
                emit("chart", sheet_name, group.tag.split("}")[1],
                     formula(chart, "c:title/c:tx/c:strRef/c:f"),
                     formula(series, "c:tx/c:strRef/c:f"),
                     formula(series, "c:cat/c:strRef/c:f") or formula(series, "c:cat/c:numRef/c:f"),
                     formula(series, "c:val/c:numRef/c:f"),
                     rich_text(plot.find("c:catAx/c:title", NS)),
                     rich_text(plot.find("c:valAx/c:title", NS)))


def sheet(package, name, part, strings, formats):
    emit("sheet", name)
    root = package.xml(part)
    relations = package.relations(part)
    for cell in root.iterfind("m:sheetData/m:row/m:c", NS):
        ref, kind = cell.get("r"), cell.get("t", "n")
        if cell.find("m:f", NS) is not None:
            emit("formula", name, ref)
        value = cell.find("m:v", NS)
        text = value.text if value is not None else ""
        if kind == "s":
            text = strings[int(text)]
        elif kind == "inlineStr":
            text = "".join(t.text or "" for t in cell.iter("{%s}t" % NS["m"]))
        if kind in ("s", "inlineStr", "str"):
            text = shown(text)
        emit("cell", name, ref, kind, text, formats[int(cell.get("s", "0"))])
    for link in root.iterfind("m:hyperlinks/m:hyperlink", NS):
        target = relations[link.get(REL_ID)][0] if link.get(REL_ID) else ""
        if link.get("location"):
            target += "#" + link.get("location")
        emit("link", name, link.get("ref"), target)
    for pane in root.iterfind("m:sheetViews/m:sheetView/m:pane", NS):
        emit("pane", name, pane.get("topLeftCell", ""), pane.get("state", ""), pane.get("ySplit", "0"))
    for autofilter in root.iterfind("m:autoFilter", NS):
        emit("filter", name, autofilter.get("ref"))
    for column in root.iterfind("m:cols/m:col", NS):
        emit("width", name, column.get("min"), column.get("max"), column.get("width"))
    charts(package, name, relations)


def main(path):
    package = Package(path)
    strings = shared_strings(package)
    formats = number_formats(package)
    workbook = "xl/workbook.xml"
    relations = package.relations(workbook)
    for entry in package.xml(workbook).iterfind("m:sheets/m:sheet", NS):
        sheet(package, entry.get("name"), relations[entry.get(REL_ID)][0], strings, formats)


if __name__ == "__main__":
    main(sys.argv[1])
    sys.stdout.write("".join(LINES))
