#!/usr/bin/env bash
# The guide's pictures of editing operations: a corpus face whose lower part is moved by the
# dot (before and after), a small sign mirrored (before and after), and two lines framed. Each is the canvas's corner,
# taken from the whole screen of a virtual X server with the program driven by keys.
#   scripts/guide-pictures.sh   (writes docs/images/dots-*.png, mirror-*.png, frame.png)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export MASUMEMO_BIN="${MASUMEMO_BIN:-${MASUMEMO_BUILD_DIR:-$root/build}/bin/masumemo}"
face="${MASUMEMO_CORPUS_DIR:-$root/../shared/corpus}/ascii-art-yaruo/txt_1/yaruo_01/2.txt"
[ -f "$face" ] || { echo "guide-pictures: the corpus picture $face is missing" >&2; exit 1; }
images="$root/docs/images"
source "$root/tests/e2e/lib.sh"

# The canvas's top left corner on the screen, and a picture of the w x h pixels from there.
canvas_corner() {
    eval "$(xdotool getwindowgeometry --shell "$E2E_EDITOR")"
    corner_x=$((X + 8))
    corner_y=$((Y + HEIGHT - 359))
}
shoot() {  # shoot FILE WIDTH HEIGHT, the caret out of the way at the end of line 15
    xdotool key ctrl+Home
    for _ in $(seq 14); do xdotool key Down; done
    xdotool key End
    sleep 0.5  # the last key's repaint
    import -window root -crop "$2x$3+$corner_x+$corner_y" +repage "$1"
    convert "$1" -strip "$1"
    echo "saved $1"
}
paste_text() {
    printf '%s' "$1" | xclip -selection clipboard
    e2e_until bash -c '[ "$(xclip -selection clipboard -o)" = "$1" ]' _ "$1"
    xdotool key ctrl+v
}

e2e_start_x

# Frames, in the fixed font's cells: two lines framed with the speech bubble with a tail.
e2e_start_app
e2e_open_editor
canvas_corner
xdotool key Down Down Right Right
paste_text "やる夫です"
xdotool key ctrl+Home Down Down Down Right Right
paste_text "よろしくお"
xdotool key ctrl+Home Down Down shift+Down shift+Right
xdotool key alt+e w
e2e_wait_active '^枠で囲む$'
xdotool key Down Down Down Return
e2e_wait_active ' - Masumemo$'
shoot "$images/frame.png" 200 90

# Mirroring: a sign pointing right turned in place to point left, chosen as a rectangle.
xdotool key ctrl+a Delete ctrl+Home
paste_text $'\u3000┌──┐\n\u3000│\u3000\u3000│＼\n\u3000│\u3000\u3000│\u3000＞\n\u3000│\u3000\u3000│／\n\u3000└──┘'
shoot "$images/mirror-before.png" 120 90
xdotool key ctrl+Home ctrl+b
for _ in 1 2 3 4; do xdotool key shift+Down; done
for _ in $(seq 14); do xdotool key shift+Right; done
xdotool key alt+e m ctrl+b
e2e_wait_active '住所不定\* - Masumemo$'
shoot "$images/mirror-after.png" 120 90

# Moving by the dot, in a second run that remembers the proportional font and the dot step:
# the face's first twelve lines; on the line of its mouth, everything from the mouth on moves
# 6 dots right, the rest of the picture stays.
xdotool key alt+f x
e2e_wait_active '^Masumemo$'
xdotool key alt+n
e2e_until bash -c "! kill -0 $E2E_APP_PID" || e2e_fail "the program did not end"
printf '[Canvas]\nFont=ＭＳ Ｐゴシック\nPushStep=2\n' >"$E2E_TMP/app/masumemo.conf"
e2e_start_app
e2e_open_editor
paste_text "$(tr -d '\r' <"$face" | head -n 12)"
shoot "$images/dots-before.png" 200 140
xdotool key ctrl+Home Down Down Down Down Home
for _ in 1 2 3 4 5 6 7 8; do xdotool key Right; done
for _ in 1 2 3 4 5 6; do xdotool key alt+Right; done
shoot "$images/dots-after.png" 200 140
