#!/usr/bin/env python3
"""Checks an HTML page for the package: tidy finds no error or warning, every
link and image resolves offline (a file beside it or an anchor in it), and
nothing is fetched from a network. check-guide.py PAGE [PAGE...]"""
import html.parser
import os
import subprocess
import sys
import urllib.parse


class Refs(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.ids, self.refs = set(), []

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if name in ("id", "name") and value:
                self.ids.add(value)
            if name in ("href", "src") and value is not None:
                self.refs.append((tag, value))


def check(page):
    problems = []
    tidy = subprocess.run(["tidy", "-q", "-e", "-utf8", page], capture_output=True, text=True)
    if tidy.returncode != 0:
        problems.append("tidy:\n" + tidy.stderr.strip())
    refs = Refs()
    with open(page, encoding="utf-8") as f:
        refs.feed(f.read())
    folder = os.path.dirname(os.path.abspath(page))
    for tag, ref in refs.refs:
        url = urllib.parse.urlsplit(ref)
        if url.scheme or url.netloc:
            problems.append("<%s> leaves the page for a network: %s" % (tag, ref))
            continue
        if url.path:
            target = os.path.join(folder, urllib.parse.unquote(url.path))
            if not os.path.isfile(target):
                problems.append("<%s> names a missing file: %s" % (tag, ref))
        elif url.fragment and url.fragment not in refs.ids:
            problems.append("<%s> names a missing anchor: %s" % (tag, ref))
    return problems


def main():
    status = 0
    for page in sys.argv[1:]:
        problems = check(page)
        for p in problems:
            print("%s: %s" % (page, p))
        status |= bool(problems)
        if not problems:
            print("%s: valid, every link and image resolves" % page)
    return status


if __name__ == "__main__":
    sys.exit(main())
