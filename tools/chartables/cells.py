"""What every cell of every character table is: the one source of truth.

The picker shows twenty tables as pictures; the data file gives the output
forms of each cell; the picture generator draws each cell's glyph. All three
read the cells from here.

Tables come in the order of the store's table kinds (ctANSI, ctISO8859_1 ..
ctISO8859_11, ctISO8859_13 .. ctISO8859_16, ctCP437, ctCP850, ctTechnik,
ctGrafik). Cells are numbered by columns: cell i lies in column i // rows and
row i % rows.

Per cell:
  key       the key of the cell's line in the data file. For the code-page
            tables it is the code in that code page (ANSI 0x80 + i, ISO 0xA0 + i,
            CP437/CP850 i below 32 and 0x60 + i from 32 on). For Technik and
            Grafik, which have no code page, it is the cell index: always
            distinct within the section, and it needs no table to read.
  codepoint the Unicode code point of the character, or None where the code
            page assigns nothing (or, on the symbol sheets, the cell is empty).
  drawn     whether the picture draws a glyph in the cell. Some cells have a
            character but stay empty in the picture: the no-break spaces
            (ANSI and ISO 0xA0, CP437/CP850 0xFF), ANSI 0x8E and 0x9E (Z and z
            with caron), and the two direction marks of ISO 8859-8 (0xFD, 0xFE).

Sources and choices:
  * Code pages come from Python's codecs (cp1252, iso8859_N, cp437, cp850).
  * ISO 8859-7 is its first edition: 0xA4, 0xA5 and 0xAA (euro sign, drachma
    sign, ypogegrammeni, added in 2003) are unassigned and not drawn.
  * CP437 and CP850 codes 0x00-0x1F are shown in their graphic forms (the IBM
    PC glyphs, e.g. 0x01 = U+263A); 0x00 is empty and has no character.
  * Technik 27 is U+23AE INTEGRAL EXTENSION: cells 26, 27, 28 stack into one
    tall integral (U+2320, U+23AE, U+2321) and 27 is drawn as a vertical
    stroke through the whole cell.
  * Technik 34 is U+00F8 (o with stroke, drawn as on the Latin tables).
  * Technik 37 is U+263C WHITE SUN WITH RAYS, a small sun with eight rays.
  * Grafik 0 is U+2299 CIRCLED DOT OPERATOR.

Run as a program it prints TSV for tools that are not written in Python:
  python3 cells.py          one line per cell:
                            section, cell, key (decimal), code point (upper-case
                            hex, at least 4 digits) or "-", drawn (1 or 0)
  python3 cells.py tables   one line per table:
                            kind, section, picture, columns, rows, cell height
  Either writes to FILE instead of standard output with "-o FILE".
"""

from __future__ import annotations

import sys
from dataclasses import dataclass
from typing import Optional


@dataclass(frozen=True)
class Cell:
    key: int
    codepoint: Optional[int]
    drawn: bool


@dataclass(frozen=True)
class Table:
    kind: str  # TCharTableKind value, e.g. "ctISO8859_1"
    section: str  # section name in the data file, e.g. "ISO-8859-1"
    picture: str  # picture control name, e.g. "IISO8859_1"
    columns: int
    rows: int
    cell_height: int
    cells: tuple[Cell, ...]

    @property
    def width(self) -> int:
        return 18 * self.columns + 1

    @property
    def height(self) -> int:
        return self.cell_height * self.rows + 1


def _decode(codec: str, code: int) -> Optional[int]:
    try:
        return ord(bytes([code]).decode(codec))
    except UnicodeDecodeError:
        return None


# IBM PC graphic forms of the control codes 0x01-0x1F (0x00 stays empty).
_PC_CONTROL_GLYPHS = "☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼"
assert len(_PC_CONTROL_GLYPHS) == 31

# Technik sheet, cell by cell; None is an empty cell.
_TECHNIK = (
    [None, "°", "ª", "ⁿ", "ƒ", "¹", "²", "³"]
    + ["⌐", "¬", "‰", "¼", "½", "¾", "⅛", "⅜"]
    + ["⅝", "⅞", "≡", "≈", "≠", "±", "÷", "×"]
    + ["≥", "≤", "\u2320", "\u23ae", "\u2321", "√", "∫", "∩"]
    + ["«", "»", "ø", "∞", "˜", "\u263c", None, None]
)
assert len(_TECHNIK) == 40

# Grafik sheet, cell by cell; the last five columns are CP437 0xB3-0xDA.
_GRAFIK = (
    list("\u2299☺☻♥♦♣♠•")
    + list("◘○◙♂♀♪♫☼")
    + list("►◄▲▼↕↨↑↓")
    + list("→←↔…†‡‹›")
    + list("«»€™©®■·")
    + list("▄▌▐▀░▒▓█")
    + list(bytes(range(0xB3, 0xDB)).decode("cp437"))
)
assert len(_GRAFIK) == 88
assert "".join(_GRAFIK[48:]) == (
    "│┤╡╢╖╕╣║" "╗╝╜╛┐└┴┬" "├─┼╞╟╚╔╩" "╦╠═╬╧╨╤╥" "╙╘╒╓╫╪┘┌"
)

# Codes each table leaves empty in its picture though the code page may give
# them a character (see the module notes).
_NOT_DRAWN = {
    "cp1252": {0x8E, 0x9E, 0xA0},
    "iso8859_8": {0xA0, 0xFD, 0xFE},
    "cp437": {0x00, 0xFF},
    "cp850": {0x00, 0xFF},
}
# Codes that the first edition of ISO 8859-7 leaves unassigned.
_UNASSIGNED = {"iso8859_7": {0xA4, 0xA5, 0xAA}}


def _code_page_cell(codec: str, code: int) -> Cell:
    if codec in ("cp437", "cp850") and code < 0x20:
        cp = None if code == 0 else ord(_PC_CONTROL_GLYPHS[code - 1])
    elif code in _UNASSIGNED.get(codec, ()):
        cp = None
    else:
        cp = _decode(codec, code)
    not_drawn = _NOT_DRAWN.get(codec, {0xA0})
    return Cell(code, cp, cp is not None and code not in not_drawn)


def _sheet_cells(chars: list) -> tuple[Cell, ...]:
    return tuple(
        Cell(i, None if c is None else ord(c), c is not None)
        for i, c in enumerate(chars)
    )


def _build() -> tuple[Table, ...]:
    tables = [
        Table(
            "ctANSI", "ANSI", "IANSI", 16, 8, 24,
            tuple(_code_page_cell("cp1252", 0x80 + i) for i in range(128)),
        )
    ]
    for n in [*range(1, 12), *range(13, 17)]:
        tables.append(
            Table(
                f"ctISO8859_{n}", f"ISO-8859-{n}", f"IISO8859_{n}", 16, 6, 27,
                tuple(_code_page_cell(f"iso8859_{n}", 0xA0 + i) for i in range(96)),
            )
        )
    for kind, section, picture, codec in [
        ("ctCP437", "CP437", "ICP734", "cp437"),
        ("ctCP850", "CP850", "ICP850", "cp850"),
    ]:
        codes = [*range(0x20), *range(0x80, 0x100)]
        tables.append(
            Table(
                kind, section, picture, 20, 8, 24,
                tuple(_code_page_cell(codec, c) for c in codes),
            )
        )
    tables.append(Table("ctTechnik", "Technik", "ITechnik", 5, 8, 24, _sheet_cells(_TECHNIK)))
    tables.append(Table("ctGrafik", "Grafik", "IGrafik", 11, 8, 24, _sheet_cells(_GRAFIK)))
    return tuple(tables)


TABLES: tuple[Table, ...] = _build()


def table(name: str) -> Table:
    """The table with this kind, section or picture name."""
    for t in TABLES:
        if name in (t.kind, t.section, t.picture):
            return t
    raise KeyError(name)


def _check() -> None:
    assert len(TABLES) == 20
    assert sum(len(t.cells) for t in TABLES) == 2016
    for t in TABLES:
        assert len(t.cells) == t.columns * t.rows, t.kind
        keys = [c.key for c in t.cells]
        assert len(set(keys)) == len(keys), t.kind
        assert all(c.codepoint is not None for c in t.cells if c.drawn), t.kind


_check()


def _write_tsv(out, what: str) -> None:
    if what == "tables":
        for t in TABLES:
            out.write(f"{t.kind}\t{t.section}\t{t.picture}\t{t.columns}\t{t.rows}\t{t.cell_height}\n")
        return
    for t in TABLES:
        for i, c in enumerate(t.cells):
            cp = "-" if c.codepoint is None else f"{c.codepoint:04X}"
            out.write(f"{t.section}\t{i}\t{c.key}\t{cp}\t{int(c.drawn)}\n")


def main(argv: list[str]) -> int:
    args = argv[1:]
    path = None
    if len(args) >= 2 and args[-2] == "-o":
        path = args[-1]
        args = args[:-2]
    if args not in ([], ["tables"]):
        sys.stderr.write("usage: cells.py [tables] [-o FILE]\n")
        return 2
    what = "tables" if args else "cells"
    if path is None:
        _write_tsv(sys.stdout, what)
    else:
        with open(path, "w", encoding="ascii", newline="\n") as out:
            _write_tsv(out, what)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
