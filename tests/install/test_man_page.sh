#!/usr/bin/env bash
# The manual page renders without a single groff warning, and it describes every option the
# program's own --help lists.
#   test_man_page.sh <man page> <program>
set -euo pipefail
page="${1:?man page}" program="${2:?program}"
warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null || true)"
if [ -n "$warnings" ]; then
    echo "FAIL: man warns about $page:"; echo "$warnings"; exit 1
fi
options="$(QT_QPA_PLATFORM=offscreen "$program" --help | grep -oE -- '--[a-z][a-z-]+' | sort -u)"
[ -n "$options" ] || { echo "FAIL: --help lists no option"; exit 1; }
rendered="$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null | sed 's/\x1b\[[0-9;]*m//g; s/.\x08//g')"
missing=0
for o in $options; do
    grep -qF -- "$o" <<<"$rendered" || { echo "FAIL: the manual page does not describe $o"; missing=1; }
done
[ $missing = 0 ] || exit 1
echo "PASS man page ($(wc -w <<<"$options") options)"
