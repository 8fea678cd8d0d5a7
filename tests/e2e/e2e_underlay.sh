#!/usr/bin/env bash
# An underlay opened through the real Open dialog is painted under the canvas at half opacity:
# a blue picture shows light blue in the editor's canvas, and the canvas text stays as it was.
source "$(dirname "$0")/lib.sh"
command -v convert >/dev/null || e2e_fail "ImageMagick's convert is missing"
e2e_start_x
e2e_start_app
e2e_open_editor

picture="$E2E_TMP/blue.png"
convert -size 240x160 xc:'#0000ff' "$picture"

# Pixels of the editor window in the colour of blue at half opacity over white.
underlay_pixels() {
    import -window "$E2E_EDITOR" "$E2E_TMP/shot.png"
    convert "$E2E_TMP/shot.png" txt:- | grep -Ec '#(7E|7F|80|81)(7E|7F|80|81)FF' || true
}
e2e_expect_eq "light blue before opening" "$(underlay_pixels)" 0

xdotool type --delay 20 "ab"
xdotool key alt+v o
e2e_wait_active '下絵を開く'
xdotool type --delay 10 "$picture"
xdotool key Return
e2e_wait_active '^住所不定\* - Masumemo$'
# Most of the 240 x 160 picture shows; the letters, the caret and the grid cover a little.
deadline=$((SECONDS + E2E_TIMEOUT))
while count="$(underlay_pixels)"; [ "$count" -lt 30000 ]; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the underlay is not in the canvas ($count light blue pixels)"
    sleep 0.2
done
if [ -n "${E2E_SHOT_DIR:-}" ]; then
    cp "$E2E_TMP/shot.png" "$E2E_SHOT_DIR/underlay.png"
fi

# The canvas holds only what was typed: the picture is not in its text.
xdotool key ctrl+a ctrl+c
e2e_until bash -c '[ "$(xclip -selection clipboard -o | head -n1)" = "ab$(printf "\u3000%.0s" $(seq 34))" ]' ||
    e2e_fail "canvas text changed: '$(e2e_clipboard | head -n1)'"
echo "PASS underlay"
