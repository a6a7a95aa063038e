#!/usr/bin/env python3
"""Writes the checker's corpus of broken data files (corpus/*.cfg): each is a
small but complete file with one kind of damage. The reports they must give
are corpus/*.expected, written by hand-checked runs of the checker."""
import os

COUNTS = [("ANSI", 128)] + [("ISO-8859-%d" % n, 96) for n in
          (1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16)] + \
         [("CP437", 160), ("CP850", 160), ("Technik", 40), ("Grafik", 88)]
HEAD = ["[Ausgabe]", "Typ=Entitie", "[Zeichensatz]", "Typ=ISO8859-1",
        "[Benutzer]", "Typ1=CSS", "Typ2=JavaScript", "Typ3=URL"]


def sections(change=None):
    """Section name -> list of lines; `change(name, lines)` may edit them."""
    out = []
    for name, count in COUNTS:
        lines = ["%d=,%d,,,," % (i, 160 + i) for i in range(count)]
        if change:
            change(name, lines)
        out.append(["[%s]" % name] + lines)
    return out


def text(head, secs, end="\r\n"):
    rows = head + [row for s in secs for row in s]
    return end.join(rows) + end


def write(name, data):
    if isinstance(data, str):
        data = data.encode("cp1252")
    with open(os.path.join(os.path.dirname(__file__), "corpus", name), "wb") as f:
        f.write(data)


def line_count(name, lines):
    if name == "ANSI":
        del lines[5]
    if name == "ISO-8859-2":
        lines.append("999=extra,999,,,,")


def commas(name, lines):
    if name == "ISO-8859-1":
        lines[4] = "4=vier,164,e4,u1,u2"
        lines[10] = "10=sieben,170,e10,u1,u2,u3,x,y"
    if name == "ANSI":
        del lines[0]
        lines[2] = "3=c3,163,e3"


def repeated(name, lines):
    if name == "CP437":
        lines[7] = "5=noch einmal,5,,,,"      # repeats key 5
        lines[8] = "8="                        # no value
    if name == "CP850":
        lines[20] = "$A0=hex,160,nbsp,,,"
        lines[21] = "$a0="                     # the profile finds $A0's value
        lines[30] = "\xc9=E acute,201,Eacute,,,"
        lines[31] = "\xe9="                    # another key to the profile, not to the loader


def numbers(name, lines):
    if name == "ISO-8859-3":
        lines[0] = "160=x,12a,,,,"
        lines[1] = "161=x, 161,,,,"
        lines[2] = "162=x,$A2,,,,"
        lines[3] = "163=x,150,,,,"
        lines[4] = "164=x,12345,,,,"
        lines[5] = "165=x,-5,,,,"


def cut_fields(name, lines):
    if name == "Technik":
        lines[0] = "0=x,8960,thetasyms,,,"
        lines[1] = "1=x,8961,,%s,," % ("u" * 31)
        lines[2] = "2=x,8962,,,,%s" % ("v" * 1100)


def sections_case(name, lines):
    if name == "Grafik":
        lines.insert(3, "ohne Gleichheitszeichen")


def key_list(name, lines):
    if name == "Grafik":
        for i in range(len(lines)):
            lines[i] = "%s%02d=x,%d,,,," % ("k" * 98, i, 9000 + i)


def main():
    write("empty.cfg", b"")
    write("line_count.cfg", text(HEAD, sections(line_count)))
    write("commas.cfg", text(HEAD, sections(commas)))
    write("repeated_keys.cfg", text(HEAD, sections(repeated)))
    write("numbers.cfg", text(HEAD, sections(numbers)))
    head = HEAD + ["[Default]", "Typ1=" + "t" * 40]
    write("cut_fields.cfg", text(head, sections(cut_fields)))
    head = ["[Ausgabe]", "Typ=Entity", "[Zeichensatz]", "Typ=ISO-8859-5"]
    write("names.cfg", text(head, sections()))
    secs = sections(sections_case)
    secs.append(["[Technik]", "0=zweiter Bereich,1,,,,"])
    write("sections.cfg", text(HEAD, secs))
    write("bom_lf.cfg", b"\xef\xbb\xbf" + text(HEAD, sections(), "\n").encode())
    write("utf16.cfg", text(HEAD, sections()[:1]).encode("utf-16"))
    write("binary.cfg", bytes((i * 37 + 11) % 256 for i in range(300)))
    write("key_list.cfg", text(HEAD, sections(key_list)))


if __name__ == "__main__":
    main()
