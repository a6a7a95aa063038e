#!/usr/bin/env python3
"""Makes data/Runefold.cfg, the character data file delivered beside the module.

Every line of the twenty character sections comes from authoritative
sources, never typed by hand:
  * which character each cell holds: tools/chartables/cells.py (the same
    source the table pictures are drawn from; it reads Python's codecs);
  * the free text: the character's Unicode name (unicodedata), then, where
    CLDR's German annotations give them (package unicode-cldr-core), its
    German name and keywords, each part separated by " | " (FREE_TEXT_SEPARATOR);
  * the number: the Unicode code point in decimal (never the code page byte);
  * the entity: the HTML 4.01 name (html.entities.name2codepoint) where one
    exists, else the shortest WHATWG name (html.entities.html5) that fits the
    entry's 8-character name field, all-lowercase names preferred, else none;
  * the three user forms: CSS escape, JavaScript escape, URL encoding.
A cell whose code the code page leaves unassigned (or an empty cell of the
symbol sheets) gets a line with every field empty.

The file is an ANSI profile file: code page 1252, CR LF line ends. Only the
free texts hold characters beyond ASCII (the German keywords).

usage: gen_runefold_cfg.py [--output PATH] [--cldr DIR]
       (defaults: data/Runefold.cfg, /usr/share/unicode/cldr/common)
Exits with status 3 when the CLDR annotation files are missing.
"""

from __future__ import annotations

import argparse
import html.entities
import os
import sys
import unicodedata
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "chartables"))
import cells  # noqa: E402

# The entity field holds the name and ";" in 8 characters; a name of up to
# eight characters keeps its reference "&name;" whole.
MAX_ENTITY = 8

# Remembered choices as delivered, the user forms' names, and the templates
# (left unset: every character line carries its own three forms).
SETTINGS = [
    ("Ausgabe", [("Typ", "Entitie")]),
    ("Zeichensatz", [("Typ", "ISO8859-1")]),
    ("Benutzer", [("Typ1", "CSS"), ("Typ2", "JavaScript"), ("Typ3", "URL")]),
    ("Default", [("Typ1", ""), ("Typ2", ""), ("Typ3", "")]),
]


def _entity_names() -> dict[int, str]:
    """Code point -> entity name by the rules above."""
    names: dict[int, str] = {cp: n for n, cp in html.entities.name2codepoint.items()}
    candidates: dict[int, list[str]] = {}
    for key, text in html.entities.html5.items():
        if not key.endswith(";") or len(text) != 1:
            continue
        name = key[:-1]
        if len(name) <= MAX_ENTITY:
            candidates.setdefault(ord(text), []).append(name)
    for cp, found in candidates.items():
        if cp not in names:
            names[cp] = min(found, key=lambda n: (n != n.lower(), len(n), n))
    return names


ENTITIES = _entity_names()

CLDR_DIR = "/usr/share/unicode/cldr/common"
CLDR_FILES = ("annotations/de.xml", "annotationsDerived/de.xml")

# Parts of a free text: the Unicode name, then the German keywords. The
# plug-in's search reads the same separator; no part may hold it or a comma.
FREE_TEXT_SEPARATOR = " | "
# What the plug-in keeps of a free text; keywords that would not fit are
# left out whole rather than cut.
MAX_FREE_TEXT = 240


def _german_keywords(cldr_dir: str, wanted: set[int]) -> dict[int, list[str]]:
    """Code point -> German keywords: the spoken name ("tts") first, then the
    keywords in CLDR's order, each once (ignoring letter case)."""
    tts: dict[int, list[str]] = {}
    plain: dict[int, list[str]] = {}
    for name in CLDR_FILES:
        root = ET.parse(os.path.join(cldr_dir, name)).getroot()
        for a in root.iter("annotation"):
            cp = a.get("cp", "")
            if len(cp) != 1 or ord(cp) not in wanted or not a.text:
                continue
            into = tts if a.get("type") == "tts" else plain
            into.setdefault(ord(cp), []).extend(k.strip() for k in a.text.split("|"))
    result: dict[int, list[str]] = {}
    for cp in wanted:
        seen: set[str] = set()
        words = []
        for k in tts.get(cp, []) + plain.get(cp, []):
            if not k or k.lower() in seen or "," in k or "|" in k:
                continue
            try:
                k.encode("cp1252")
            except UnicodeEncodeError:
                continue
            seen.add(k.lower())
            words.append(k)
        if words:
            result[cp] = words
    return result


def free_text(cp: int, keywords: dict[int, list[str]]) -> str:
    text = unicodedata.name(chr(cp))
    for k in keywords.get(cp, []):
        if len(text) + len(FREE_TEXT_SEPARATOR) + len(k) <= MAX_FREE_TEXT:
            text += FREE_TEXT_SEPARATOR + k
    return text


def css_escape(cp: int) -> str:
    # Six digits end the escape by themselves, whatever follows it.
    return f"\\{cp:06X}"


def js_escape(cp: int) -> str:
    return f"\\u{cp:04X}"


def url_encode(cp: int) -> str:
    return "".join(f"%{b:02X}" for b in chr(cp).encode("utf-8"))


def line(cell: cells.Cell, keywords: dict[int, list[str]]) -> str:
    cp = cell.codepoint
    if cp is None:
        return f"{cell.key}=,,,,,"
    assert not 0x80 <= cp <= 0x9F, f"C1 control in a cell: {cp:#x}"
    fields = [
        free_text(cp, keywords),
        str(cp),
        ENTITIES.get(cp, ""),
        css_escape(cp),
        js_escape(cp),
        url_encode(cp),
    ]
    for f in fields:
        assert "," not in f and "\r" not in f and "\n" not in f, f
    return f"{cell.key}=" + ",".join(fields)


def render(keywords: dict[int, list[str]]) -> bytes:
    out = [
        "; Runefold: output forms of the characters of the twenty tables.",
        "; Made by tools/gen_runefold_cfg.py; [Ausgabe] and [Zeichensatz] are",
        "; rewritten by the plug-in when its dialog closes.",
        "; Line: key=Unicode name | German keywords,number,entity,CSS,JavaScript,URL",
    ]
    for section, items in SETTINGS:
        out.append(f"[{section}]")
        out.extend(f"{k}={v}" for k, v in items)
    for t in cells.TABLES:
        out.append(f"[{t.section}]")
        out.extend(line(c, keywords) for c in t.cells)
    text = "\r\n".join(out) + "\r\n"
    return text.encode("cp1252")


def main(argv: list[str]) -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--output", default=os.path.join(HERE, "..", "data", "Runefold.cfg"))
    ap.add_argument("--cldr", default=CLDR_DIR)
    args = ap.parse_args(argv[1:])
    missing = [f for f in CLDR_FILES if not os.path.isfile(os.path.join(args.cldr, f))]
    if missing:
        print(f"gen_runefold_cfg: no CLDR annotations in {args.cldr} "
              "(install unicode-cldr-core)", file=sys.stderr)
        return 3
    wanted = {c.codepoint for t in cells.TABLES for c in t.cells if c.codepoint is not None}
    data = render(_german_keywords(args.cldr, wanted))
    with open(args.output, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
