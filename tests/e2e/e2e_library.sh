#!/usr/bin/env bash
# The parts window opened from the command line on one MLT file: a part chosen with the
# keyboard and inserted with Enter lands on the canvas at the caret, and one undo takes it back.
source "$(dirname "$0")/lib.sh"
e2e_start_x
mkdir -p "$E2E_TMP/parts"
printf 'ab\r\ncd\r\n[SPLIT]\r\nef\r\n' >"$E2E_TMP/parts/faces.mlt"
e2e_start_app --library "$E2E_TMP/parts/faces.mlt"

editor="$(e2e_window '^住所不定 - Masumemo$')"
library="$(e2e_window '^AA素材$')"
e2e_wait_managed "$library"

canvas_start() {  # the first two lines of the canvas, through Select All and Copy
    xdotool windowactivate --sync "$editor"
    e2e_wait_active '^住所不定\*? - Masumemo$'
    printf 'x' | xclip -selection clipboard
    xdotool key ctrl+a ctrl+c
    e2e_until bash -c '[ "$(xclip -selection clipboard -o)" != x ]'
    e2e_clipboard | head -n 2 | sed 's/[　 ]*$//'
}

# The search box has the focus; the file tree, then the part list of the chosen file follow.
# The first part becomes current when the list takes the focus, and Enter inserts it. The file
# is read in the background: try again if the list was still empty.
want=$'ab\ncd'
for try in 1 2 3; do
    xdotool windowactivate --sync "$library"
    e2e_wait_active '^AA素材$'
    xdotool key Tab Tab Return
    got="$(canvas_start)"
    [ "$got" = "$want" ] && break
done
e2e_expect_eq "inserted part" "$got" "$want"

xdotool key ctrl+z
e2e_expect_eq "after undo" "$(canvas_start)" ""
echo "PASS library"
