#!/usr/bin/env bash
# Checks the HTML of the web page set of a VEXO results folder: index.html and
# every page below vexo_web/ must pass `tidy -errors -q` without a warning.
# Usage: tools/check_html.sh RESULTS_FOLDER (exit 1 when a page fails or there
# is no page of the set; needs tidy, Debian package tidy).
set -uo pipefail
root=${1:-.}
command -v tidy >/dev/null || { echo "check_html: tidy is not installed" >&2; exit 2; }
if [ ! -f "$root/index.html" ] || [ ! -d "$root/vexo_web" ]; then
  echo "check_html: no web page set in $root (index.html, vexo_web/)" >&2
  exit 1
fi
pages=0 failed=0
while IFS= read -r -d '' page; do
  pages=$((pages + 1))
  # tidy prints nothing for a clean page; exit 1 is warnings, 2 errors. One
  # warning is dropped: Debian's tidy 5.6 predates ARIA 1.1 and calls
  # aria-current (the page shown in a pager or menu) "proprietary".
  out=$(tidy -errors -q "$page" 2>&1)
  status=$?
  out=$(printf '%s\n' "$out" | grep -v ' - Warning: <[a-z0-9]*> proprietary attribute "aria-current"$')
  if [ "$status" -ge 2 ] || [ -n "$out" ]; then
    failed=$((failed + 1))
    if [ "$failed" -le 20 ]; then printf '%s:\n%s\n' "$page" "$out" | head -n 12; fi
  fi
done < <(printf '%s\0' "$root/index.html"; find "$root/vexo_web" -type f -name '*.html' -print0 | sort -z)
echo "$pages pages, $failed failed the HTML check"
[ "$failed" -eq 0 ]
