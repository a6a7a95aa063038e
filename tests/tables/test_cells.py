"""Checks the cell tables against the pictures' published empty cells and
sample glyphs, and the TSV that the C++ tools read."""

import io
import os
import sys
import unittest
from contextlib import redirect_stdout

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "chartables"))
import cells  # noqa: E402


def _codes(text):
    """'A0, A1-A3' -> {0xA0, 0xA1, 0xA2, 0xA3}"""
    out = set()
    for part in text.split(","):
        part = part.strip()
        if not part:
            continue
        lo, _, hi = part.partition("-")
        out.update(range(int(lo, 16), int(hi or lo, 16) + 1))
    return out


# Codes whose cells the pictures leave empty.
EMPTY = {
    "ANSI": "81, 8D, 8E, 8F, 90, 9D, 9E, A0",
    "ISO-8859-3": "A0, A5, AE, BE, C3, D0, E3, F0",
    "ISO-8859-6": "A0, A1-A3, A5-AB, AE-BA, BC-BE, C0, DB-DF, F3-FF",
    "ISO-8859-7": "A0, A4, A5, AA, AE, D2, FF",
    "ISO-8859-8": "A0, A1, BF-DE, FB-FF",
    "ISO-8859-11": "A0, DB-DE, FC-FF",
    "CP437": "00, FF",
    "CP850": "00, FF",
}

# (section, cell, character shown)
SAMPLES = [
    ("ANSI", 0, "€"), ("ANSI", 127, "ÿ"), ("ANSI", 0x2D, "\u00ad"),
    ("ISO-8859-1", 14, "®"), ("ISO-8859-1", 95, "ÿ"),
    ("ISO-8859-5", 0x10, "А"), ("ISO-8859-7", 0x21, "Α"),
    ("ISO-8859-8", 0x3F, "\u2017"), ("ISO-8859-15", 4, "€"),
    ("CP437", 1, "☺"), ("CP437", 31, "▼"), ("CP437", 32, "Ç"),
    ("CP850", 0x9B - 0x60, "ø"), ("CP850", 0xCF - 0x60, "¤"),
    ("Technik", 25, "≤"), ("Technik", 26, "⌠"), ("Technik", 28, "⌡"),
    ("Technik", 37, "☼"), ("Grafik", 0, "⊙"), ("Grafik", 34, "€"),
    ("Grafik", 48, "│"), ("Grafik", 87, "┌"),
]


class CellTables(unittest.TestCase):
    def test_geometry_and_order(self):
        kinds = [t.kind for t in cells.TABLES]
        self.assertEqual(kinds[0], "ctANSI")
        self.assertEqual(kinds[11:13], ["ctISO8859_11", "ctISO8859_13"])
        self.assertEqual(kinds[-4:], ["ctCP437", "ctCP850", "ctTechnik", "ctGrafik"])
        sizes = {t.picture: (t.width, t.height) for t in cells.TABLES}
        self.assertEqual(sizes["IANSI"], (289, 193))
        self.assertEqual(sizes["IISO8859_16"], (289, 163))
        self.assertEqual(sizes["ICP734"], (361, 193))
        self.assertEqual(sizes["ITechnik"], (91, 193))
        self.assertEqual(sizes["IGrafik"], (199, 193))
        self.assertEqual(sum(len(t.cells) for t in cells.TABLES), 2016)

    def test_empty_cells_match_the_pictures(self):
        for t in cells.TABLES:
            if t.section in ("Technik", "Grafik"):
                continue
            with self.subTest(t.section):
                want = _codes(EMPTY.get(t.section, "A0"))
                got = {c.key for c in t.cells if not c.drawn}
                self.assertEqual(sorted(got), sorted(want))
        self.assertEqual([i for i, c in enumerate(cells.table("Technik").cells) if not c.drawn], [0, 38, 39])
        self.assertTrue(all(c.drawn for c in cells.table("Grafik").cells))

    def test_undrawn_cells_that_still_have_characters(self):
        for section, code, cp in [
            ("ANSI", 0x8E, 0x17D), ("ANSI", 0x9E, 0x17E), ("ANSI", 0xA0, 0xA0),
            ("ISO-8859-8", 0xFD, 0x200E), ("ISO-8859-8", 0xFE, 0x200F),
            ("CP437", 0xFF, 0xA0), ("CP850", 0xFF, 0xA0),
        ]:
            with self.subTest(section=section, code=code):
                cell = next(c for c in cells.table(section).cells if c.key == code)
                self.assertEqual(cell.codepoint, cp)
                self.assertFalse(cell.drawn)
        first_edition = {c.key: c.codepoint for c in cells.table("ISO-8859-7").cells}
        for code in (0xA4, 0xA5, 0xAA, 0xAE, 0xD2, 0xFF):
            self.assertIsNone(first_edition[code], hex(code))

    def test_samples(self):
        for section, i, ch in SAMPLES:
            with self.subTest(section=section, cell=i):
                self.assertEqual(cells.table(section).cells[i].codepoint, ord(ch))

    def test_keys(self):
        cp437 = cells.table("CP437").cells
        self.assertEqual([cp437[i].key for i in (0, 31, 32, 159)], [0, 31, 0x80, 0xFF])
        self.assertEqual(cells.table("ISO-8859-1").cells[14].key, 0xAE)
        self.assertEqual([c.key for c in cells.table("Grafik").cells], list(range(88)))

    def test_tsv(self):
        buf = io.StringIO()
        with redirect_stdout(buf):
            self.assertEqual(cells.main(["cells.py"]), 0)
        lines = buf.getvalue().splitlines()
        self.assertEqual(len(lines), 2016)
        self.assertEqual(lines[0], "ANSI\t0\t128\t20AC\t1")
        self.assertIn("ISO-8859-8\t93\t253\t200E\t0", lines)
        self.assertIn("CP437\t0\t0\t-\t0", lines)
        self.assertEqual(lines[-1], "Grafik\t87\t87\t250C\t1")


if __name__ == "__main__":
    unittest.main()
