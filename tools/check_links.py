#!/usr/bin/env python3
"""Checks a VEXO results folder: every local href of every page must name an
existing file. Usage: tools/check_links.py RESULTS_FOLDER (exit 1 on a broken link)."""
import os
import re
import sys


def main() -> int:
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    links = broken = 0
    for folder, _, files in os.walk(root):
        for name in files:
            if not name.endswith(".htm"):
                continue
            page = os.path.join(folder, name)
            with open(page, "rb") as f:
                text = f.read().decode("latin-1")
            for target in re.findall(r'href="([^"]*)"', text, re.IGNORECASE):
                if re.match(r"^[a-z]+:", target):
                    continue  # web and mail addresses
                links += 1
                if not os.path.exists(os.path.normpath(os.path.join(folder, target))):
                    broken += 1
                    print(f"{page}: broken link {target}")
    print(f"{links} links, {broken} broken")
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
