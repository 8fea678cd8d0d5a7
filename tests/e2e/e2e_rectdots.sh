#!/usr/bin/env bash
# A person moves the speech bubble of a corpus picture 3 dots right in the proportional font:
# rectangle mode, Shift+Down and Shift+Right until the copied rectangle holds exactly the
# bubble, Ctrl+Right three times, Enter. Through the clipboard: every character of the bubble
# stands 3 dots further right, every other one where it stood (told by the board widths of the
# blanks before each visible character), and no blank a board would change was written.
source "$(dirname "$0")/lib.sh"
picture="${MASUMEMO_CORPUS_DIR:-$E2E_DIR/../../../shared/corpus}/ascii-art-yaruo/txt_1/yaruo_01/64.txt"
[ -f "$picture" ] || { echo "SKIP: the text-art corpus beside the project is missing"; exit 77; }
e2e_start_x
mkdir -p "$E2E_TMP/app"
printf '[Canvas]\nFont=ＭＳ Ｐゴシック\n' >"$E2E_TMP/app/masumemo.conf"
# The program opens pictures as the boards keep them, in code page 932; the copy is temporary.
iconv -f UTF-8 -t CP932 "$picture" >"$E2E_TMP/64.txt" || e2e_fail "the picture is not in CP932"
e2e_start_app "$E2E_TMP/64.txt"
e2e_wait_active '64\.txt - Masumemo$'

# The bubble takes lines 3 to 7: on each, everything from its first character on ("人" on the
# top line, "＜" on the three lines of words, "Y" at the bottom).
bubble() {  # bubble TEXT: each bubble line's visible characters, and the column of its start
    python3 - "$1" <<'PY'
import sys
lines = sys.argv[1].split('\n')
starts = ['人', '＜', '＜', '＜', 'Y']
for k, first in enumerate(starts):
    line = lines[2 + k]
    at = line.index(first)
    print(''.join(c for c in line[at:] if c not in ' \u3000'), at)
PY
}
copied() {  # the canvas's copy (the rectangle in rectangle mode), after a fresh Ctrl+C
    printf 'nothing copied yet' | xclip -selection clipboard
    e2e_until bash -c '[ "$(xclip -selection clipboard -o)" = "nothing copied yet" ]'
    xdotool key ctrl+c
    e2e_until bash -c '[ "$(xclip -selection clipboard -o)" != "nothing copied yet" ]' ||
        e2e_fail "Ctrl+C copied nothing"
    e2e_clipboard
}

xdotool key ctrl+a
before="$(copied)"
mapfile -t wanted < <(bubble "$before")
top_start="${wanted[0]##* }"

# How the chosen rectangle compares with the bubble: "same", "short" (each line a part of its
# bubble line from its start, maybe none yet) or "wrong" (something else, or a start left out).
compare() {
    python3 - "$1" "${wanted[@]}" <<'PY'
import sys
got = sys.argv[1].split('\n')
want = [w.rsplit(' ', 1)[0] for w in sys.argv[2:]]
if len(got) != len(want):
    print('wrong'); sys.exit()
got = [''.join(c for c in g if c not in ' \u3000') for g in got]
if got == want:
    print('same')
elif all(w.startswith(g) for g, w in zip(got, want)):
    print('short')
else:
    print('wrong')
PY
}

# The rectangle starts at the caret on the top line, in the blanks left of the bubble: a full
# space further left at each try, until the five lines take exactly the bubble's starts.
xdotool key ctrl+b
found=""
for ((back = 0; back < 6 && !found; back++)); do
    # Plain keys give up the rectangle and move the caret: to line 3, before the bubble.
    xdotool key ctrl+Home Down Down Home
    for ((i = 0; i < top_start - back; i++)); do xdotool key Right; done
    xdotool key shift+Down shift+Down shift+Down shift+Down
    for ((step = 0; step < 60; step++)); do
        xdotool key shift+Right shift+Right shift+Right
        state="$(compare "$(copied)")"
        [ "$state" = "short" ] && continue
        [ "$state" = "same" ] && found=1
        break
    done
done
[ -n "$found" ] || e2e_fail "no rectangle of dots takes the bubble"
echo "PASS the bubble chosen"

xdotool key ctrl+Right ctrl+Right ctrl+Right Return
xdotool key ctrl+b ctrl+a
after="$(copied)"
[ "$after" != "$before" ] || e2e_fail "laying the bubble down changed nothing"

python3 - "$before" "$after" <<'PY' || e2e_fail "the bubble did not move 3 dots, or the rest moved"
import sys
dots = {' ': 5, '\u3000': 11, '\u2002': 8, '\u2003': 16, '\u2004': 5, '\u2005': 4,
        '\u2006': 3, '\u2007': 8, '\u2008': 3, '\u2009': 2, '\u200a': 1}
def visible(line):
    """Each visible character, its index, and the blank dots since the previous one."""
    out, run = [], 0
    for i, c in enumerate(line):
        if c in dots:
            run += dots[c]
        else:
            out.append((c, i, run))
            run = 0
    return out
def board_changes(line):
    body = line.rstrip(''.join(dots))
    return sum(1 for i, c in enumerate(body) if c == ' ' and (i == 0 or body[i - 1] == ' '))
before, after = sys.argv[1].split('\n'), sys.argv[2].split('\n')
assert len(before) == len(after), "the line count changed"
starts = {2: '人', 3: '＜', 4: '＜', 5: '＜', 6: 'Y'}
for n, (b, a) in enumerate(zip(before, after)):
    vb, va = visible(b), visible(a)
    assert [c for c, _, _ in vb] == [c for c, _, _ in va], f"line {n + 1}: the characters changed"
    assert board_changes(a) <= board_changes(b), f"line {n + 1}: blanks a board changes"
    first = b.index(starts[n]) if n in starts else None
    for k, ((c, i, rb), (_, _, ra)) in enumerate(zip(vb, va)):
        # Only the blanks just before the bubble grow, by the 3 dots it moved.
        want = 3 if first is not None and i == first else 0
        assert ra - rb == want, f"line {n + 1}, {c}: {ra - rb} dots more blank before it, not {want}"
PY
echo "PASS the bubble moved 3 dots right, nothing else moved"
