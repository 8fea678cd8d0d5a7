#!/usr/bin/env bash
# A person draws for the proportional board font: with the dot step chosen, Alt+Right three
# times moves the right part of a corpus line by 3 dots and nothing else; a guide set with F8
# lines up the "|" of a second line with F9. Checked through the clipboard's text and the board
# widths of its blanks (only blanks change, so the other characters' widths do not matter).
source "$(dirname "$0")/lib.sh"
corpus="${MASUMEMO_CORPUS_DIR:-$E2E_DIR/../../../shared/corpus}/ascii-art-yaruo/txt_1"
[ -d "$corpus" ] || { echo "SKIP: the text-art corpus beside the project is missing"; exit 77; }
e2e_start_x
# The canvas font and the push step as remembered from an earlier session.
mkdir -p "$E2E_TMP/app"
printf '[Canvas]\nFont=ＭＳ Ｐゴシック\nPushStep=2\n' >"$E2E_TMP/app/masumemo.conf"
e2e_start_app
e2e_open_editor

# The first corpus line with a blank run between two visible characters that fits the canvas,
# and the number of characters before the first visible character after that run.
read -r line caret < <(python3 - "$corpus" <<'PY'
import os, sys, unicodedata
root = sys.argv[1]
blank = set(' \u3000')
def units(s):
    return sum(1 if ord(c) < 0x80 or 0xFF61 <= ord(c) <= 0xFF9F else 2 for c in s)
for d, _, fs in sorted(os.walk(root)):
    for f in sorted(fs):
        for raw in open(os.path.join(d, f), encoding='utf-8').read().splitlines():
            line = raw.rstrip(' \u3000')
            if '&#' in line or not line or units(line) > 60 or line[0] in blank:
                continue
            i = 1
            while i < len(line) and line[i] not in blank:
                i += 1
            j = i
            while j < len(line) and line[j] in blank:
                j += 1
            if i < j < len(line):
                print(line.replace(' ', '\u00b7'), j)  # a space would end the read
                sys.exit(0)
PY
)
line="${line//·/ }"
[ -n "$line" ] || e2e_fail "no corpus line found"

printf '%s' "$line" | xclip -selection clipboard
e2e_until bash -c '[ "$(xclip -selection clipboard -o)" = "$1" ]' _ "$line"
xdotool key ctrl+Home ctrl+v
first_line() { e2e_clipboard | head -n 1; }
xdotool key ctrl+a ctrl+c
e2e_until bash -c '[[ "$(xclip -selection clipboard -o | head -n 1)" == "$1"* ]]' _ "$line" ||
    e2e_fail "the corpus line was not pasted"
before="$(first_line)"

xdotool key ctrl+Home Home
for ((i = 0; i < caret; i++)); do xdotool key Right; done
xdotool key alt+Right alt+Right alt+Right
xdotool key ctrl+a ctrl+c
e2e_until bash -c '[ "$(xclip -selection clipboard -o | head -n 1)" != "$1" ]' _ "$before" ||
    e2e_fail "Alt+Right in the dot step changed nothing"
after="$(first_line)"

# The blanks' board widths before each visible character: those from the caret on 3 dots more.
check() {
    python3 - "$@" <<'PY'
import sys
dots = {' ': 5, '\u3000': 11, '\u2002': 8, '\u2003': 16, '\u2004': 5, '\u2005': 4,
        '\u2006': 3, '\u2007': 8, '\u2008': 3, '\u2009': 2, '\u200a': 1}
def blanks_before_visible(s):
    out, run = [], 0
    for c in s:
        if c in dots:
            run += dots[c]
        else:
            out.append((c, run))
    return out
mode = sys.argv[1]
if mode == 'moved':
    before, after, caret = sys.argv[2], sys.argv[3], int(sys.argv[4])
    b, a = blanks_before_visible(before), blanks_before_visible(after)
    assert [c for c, _ in b] == [c for c, _ in a], "the visible characters changed"
    moved = sum(1 for c in before[:caret] if c not in dots)
    for k, ((c, x0), (_, x1)) in enumerate(zip(b, a)):
        want = 3 if k >= moved else 0
        assert x1 - x0 == want, f"character {k} ({c}) moved {x1 - x0} dots, not {want}"
else:
    l3, l4 = sys.argv[2], sys.argv[3]
    x3 = blanks_before_visible(l3)[0][1]
    x4 = blanks_before_visible(l4)[0][1]
    assert x3 == x4 == 27, f"the bars stand at {x3} and {x4} dots"
PY
}
check moved "$before" "$after" "$caret" || e2e_fail "the dot step moved the wrong characters"
echo "PASS dot step"

# Two lines with "|" at 27 and 11 dots (only blanks before them), on lines 3 and 4.
printf '%s\n%s' $'\u3000\u3000 |' $'\u3000|' | xclip -selection clipboard
xdotool key ctrl+Home Down Down Home ctrl+v
xdotool key ctrl+Home Down Down Home Right Right Right F8
xdotool key Down Home Right F9
xdotool key ctrl+a ctrl+c
e2e_until bash -c 'xclip -selection clipboard -o | sed -n 4p | grep -q "^[^|]\{2,\}|"' ||
    e2e_fail "F9 did not recompose line 4"
check guide "$(e2e_clipboard | sed -n 3p)" "$(e2e_clipboard | sed -n 4p)" ||
    e2e_fail "the second bar does not stand on the guide"
echo "PASS guide"
