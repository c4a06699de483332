#!/usr/bin/env python3
"""Checks a VEXO results folder: every local link of every page (.htm, and the
web page set's .html) must name an existing file inside the folder.
On the web page set (index.html and vexo_web/) it also checks that
  - every anchor (#id, page.html#id) names an id of its page,
  - every script and style sheet is a file of the site (no request leaves it),
  - no link is an absolute path (the set works over file:// and any web server),
  - every page of the set, the classic pages, chat.htm and the run report can
    be reached from index.html by following links.
Usage: tools/check_links.py RESULTS_FOLDER (exit 1 on a broken link)."""
import html.parser
import os
import re
import sys
import urllib.parse

SCHEME = re.compile(r"^[a-z][a-z0-9+.-]*:", re.IGNORECASE)


class Page(html.parser.HTMLParser):
    """The links (tag, attribute, value) and the ids of one page."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links = []
        self.ids = set()

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if value is None:
                continue
            if name == "id" or (tag == "a" and name == "name"):
                self.ids.add(value)
            elif name == "href" or (name == "src" and tag in ("script", "img", "iframe", "source")):
                self.links.append((tag, name, value.strip()))

    handle_startendtag = handle_starttag


def read_page(path):
    page = Page()
    with open(path, "rb") as f:
        # the set is UTF-8, the classic pages a single-byte code page: links
        # and ids are ASCII in both, other bytes pass through unchanged
        page.feed(f.read().decode("utf-8", "surrogateescape"))
    page.close()
    return page


def main() -> int:
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else ".")
    web = os.path.join(root, "vexo_web")
    pages = {}
    for folder, _, files in os.walk(root):
        for name in files:
            if name.endswith((".htm", ".html")):
                path = os.path.join(folder, name)
                pages[path] = read_page(path)

    def in_set(path):
        return path == os.path.join(root, "index.html") or path.startswith(web + os.sep)

    links = broken = 0
    edges = {}
    anchors = []  # (page, target page, id) checked once every page is read

    def fail(page, message):
        nonlocal broken
        broken += 1
        print(f"{os.path.relpath(page, root)}: {message}")

    for page, parsed in sorted(pages.items()):
        folder = os.path.dirname(page)
        edges[page] = set()
        for tag, attr, target in parsed.links:
            loads = attr == "src" or tag == "link"
            if SCHEME.match(target):
                if in_set(page) and loads:
                    fail(page, f"loads from outside the site: {target}")
                continue  # web and mail addresses
            links += 1
            address, _, fragment = target.partition("#")
            address = urllib.parse.unquote(address.partition("?")[0])
            if in_set(page) and (address.startswith("/") or address.startswith("\\")):
                fail(page, f"absolute path {target}")
                continue
            path = os.path.normpath(os.path.join(folder, address)) if address else page
            if path != root and not path.startswith(root + os.sep):
                fail(page, f"link outside the results folder {target}")
            elif not os.path.isfile(path):
                fail(page, f"broken link {target}")
            else:
                edges[page].add(path)
                if fragment and in_set(page):
                    anchors.append((page, path, urllib.parse.unquote(fragment), target))

    for page, path, fragment, target in anchors:
        if path not in pages or fragment not in pages[path].ids:
            fail(page, f"broken anchor {target}")

    index = os.path.join(root, "index.html")
    if index in pages:
        seen, todo = {index}, [index]
        while todo:
            for nxt in edges.get(todo.pop(), ()):
                if nxt in pages and nxt not in seen:
                    seen.add(nxt)
                    todo.append(nxt)
        for page in sorted(pages):
            if page not in seen:
                fail(page, "not reached from index.html")
    print(f"{links} links, {broken} broken")
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
