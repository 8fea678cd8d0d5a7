#!/usr/bin/env bash
# The command line as a shell user and a file manager use it: export without any display, the
# exit statuses, a file opened straight into the editor, a file that cannot be opened, Egaocho
# alone, and the canvas copied as an image.
source "$(dirname "$0")/lib.sh"

full=$'\u3000'
pictures="$E2E_TMP/pictures"
mkdir -p "$pictures"
printf 'ab\r\n\x82\xa0\x82\xa2\r\n' >"$pictures/one.txt"          # "ab", "あい"
printf '#\r\n\r\n\x81\x9f\x81\x40\x81\x40\r\n' >"$pictures/two.txt"  # "#", "", "■　　"

# --- Without a display: export, and the statuses of every outcome. ---
run_in() {  # run_in ENV-ARGUMENTS -- PROGRAM-ARGUMENTS: sets status, fills out.log, err.log
    local environment=()
    while [ "$1" != "--" ]; do environment+=("$1"); shift; done
    shift
    set +e
    env "${environment[@]}" "$MASUMEMO_BIN" "$@" >"$E2E_TMP/out.log" 2>"$E2E_TMP/err.log"
    status=$?
    set -e
}
run() {
    run_in -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -- "$@"
}
run --export png --output "$E2E_TMP/one.png" "$pictures/one.txt"
e2e_expect_eq "one file: status" "$status" 0
e2e_expect_eq "one file: a PNG" "$(identify -format '%m' "$E2E_TMP/one.png")" "PNG"
one_width="$(identify -format '%w' "$E2E_TMP/one.png")"

run --export png --scale 2 --output "$E2E_TMP/many" "$pictures/one.txt" "$pictures/two.txt"
e2e_expect_eq "several files: status" "$status" 0
e2e_expect_eq "several files: names" "$(ls "$E2E_TMP/many" | tr '\n' ' ')" "one.png two.png "
e2e_expect_eq "scale 2: twice as wide" "$(identify -format '%w' "$E2E_TMP/many/one.png")" \
    "$((one_width * 2))"

run --export html --output "$E2E_TMP/pages" "$pictures/one.txt" "$pictures/none.txt"
e2e_expect_eq "a missing file: status" "$status" 1
grep -q "^$pictures/none.txt: " "$E2E_TMP/err.log" || e2e_fail "the missing file was not named"
[ -s "$E2E_TMP/pages/one.html" ] || e2e_fail "the readable file was not written"

# An output that is an input is refused before anything is written, and the input kept.
cp "$pictures/one.txt" "$pictures/keep.txt"
run --export html --output "$pictures/keep.txt" "$pictures/keep.txt"
e2e_expect_eq "output is the input: status" "$status" 1
cmp -s "$pictures/one.txt" "$pictures/keep.txt" || e2e_fail "the input was written over"
grep -q "^$pictures/keep.txt: " "$E2E_TMP/err.log" || e2e_fail "the refused input was not named"

# A tree into one folder: the same name in two folders keeps its folder.
mkdir -p "$E2E_TMP/tree/a" "$E2E_TMP/tree/b"
cp "$pictures/one.txt" "$E2E_TMP/tree/a/1.txt"
cp "$pictures/two.txt" "$E2E_TMP/tree/b/1.txt"
run --export png --output "$E2E_TMP/tree-out" "$E2E_TMP/tree/a/1.txt" "$E2E_TMP/tree/b/1.txt"
e2e_expect_eq "a tree: status" "$status" 0
e2e_expect_eq "a tree: names" "$(cd "$E2E_TMP/tree-out" && find . -type f | sort | tr '\n' ' ')" \
    "./a/1.png ./b/1.png "

for wrong in "--bogus" "--export gif --output x $pictures/one.txt" \
    "--export png $pictures/one.txt" "--export png --output x --scale 3 $pictures/one.txt"; do
    # shellcheck disable=SC2086
    run $wrong
    e2e_expect_eq "wrong usage '$wrong': status" "$status" 2
    [ -s "$E2E_TMP/err.log" ] || e2e_fail "wrong usage '$wrong' said nothing"
done
# A DISPLAY naming a server that does not exist (cron, ssh) and no runtime folder: the
# commands run all the same, and stderr holds nothing that is not theirs.
ghost() {
    run_in -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR DISPLAY=:4711 -- "$@"
}
ghost --export png --output "$E2E_TMP/ghost.png" "$pictures/one.txt"
e2e_expect_eq "no such display, export: status" "$status" 0
e2e_expect_eq "no such display, export: stderr" "$(cat "$E2E_TMP/err.log")" ""
[ -s "$E2E_TMP/ghost.png" ] || e2e_fail "no such display: nothing exported"
ghost --check "$pictures/one.txt"
e2e_expect_eq "no such display, check: status" "$status" 0
e2e_expect_eq "no such display, check: stderr" "$(cat "$E2E_TMP/err.log")" ""

# The largest canvas in a large font at twice the size: refused at once, nothing written.
e2e_repeat "$(e2e_repeat '■' 40)"$'\n' 800 | iconv -f utf-8 -t cp932 >"$pictures/large.txt"
run --export png --font-size 60 --scale 2 --output "$E2E_TMP/large.png" "$pictures/large.txt"
e2e_expect_eq "image past the limit: status" "$status" 1
grep -q "^$pictures/large.txt: " "$E2E_TMP/err.log" || e2e_fail "image past the limit: not said"
[ ! -e "$E2E_TMP/large.png" ] || e2e_fail "image past the limit: written anyway"

# A file of pages: one image per page, numbered as wide as the count; one HTML page holding
# every page under its number; the check names the page and the line of the file.
for i in $(seq 12); do
    [ "$i" -gt 1 ] && printf '[SPLIT]\r\n'
    printf 'p%s\r\n' "$i"
done >"$pictures/story.mlt"
mkdir -p "$E2E_TMP/story"
run --export png --output "$E2E_TMP/story/story.png" "$pictures/story.mlt"
e2e_expect_eq "pages as images: status" "$status" 0
e2e_expect_eq "pages as images: names" "$(ls "$E2E_TMP/story" | head -2 | tr '\n' ' ')" \
    "story-01.png story-02.png "
e2e_expect_eq "pages as images: count" "$(ls "$E2E_TMP/story" | wc -l)" 12
run --export html --output "$E2E_TMP/story.html" "$pictures/story.mlt"
e2e_expect_eq "pages as HTML: status" "$status" 0
e2e_expect_eq "pages as HTML: pictures" "$(grep -c '<pre>' "$E2E_TMP/story.html")" 12
grep -q 'ﾍﾟｰｼﾞ 12' "$E2E_TMP/story.html" || e2e_fail "pages as HTML: no heading of page 12"
printf 'a\r\n[SPLIT]\r\nb\r\n c\r\n' >"$pictures/check.mlt"
run --check "$pictures/check.mlt"
e2e_expect_eq "pages checked: status" "$status" 1
grep -q "^$pictures/check.mlt:4:1: ﾍﾟｰｼﾞ 2: " "$E2E_TMP/out.log" ||
    e2e_fail "pages checked: $(cat "$E2E_TMP/out.log")"

run --version
e2e_expect_eq "version" "$(cat "$E2E_TMP/out.log")" \
    "masumemo $(sed -n 's/^project(Masumemo VERSION \([0-9.]*\).*/\1/p' "$E2E_DIR/../../CMakeLists.txt")"

# --- With a display: the windows. ---
e2e_start_x
stop_app() {
    kill "$E2E_APP_PID" 2>/dev/null || true
    wait "$E2E_APP_PID" 2>/dev/null || true
}

# A file opens straight into the editor, fitted, with its name in the title.
e2e_start_app "$pictures/one.txt"
editor="$(e2e_window "^$pictures/one.txt - Masumemo\$")"
e2e_wait_active "^$pictures/one.txt - Masumemo\$"
[ -z "$(xdotool search --onlyvisible --name '^Masumemo$' 2>/dev/null)" ] ||
    e2e_fail "the chooser (or a message) showed as well"
eval "$(xdotool getwindowgeometry --shell "$editor")"
xdotool mousemove --window "$editor" $((WIDTH / 2)) $((HEIGHT - 120)) click 1
xdotool key ctrl+a ctrl+c
want="ab$full"$'\n'"あい"
e2e_until bash -c '[ "$(xclip -selection clipboard -o)" = "$1" ]' _ "$want" ||
    e2e_expect_eq "opened canvas" "$(e2e_clipboard)" "$want"
# Edit > Copy as image: the clipboard offers a PNG as wide as the exported one.
xdotool key alt+e i
e2e_until bash -c 'xclip -selection clipboard -t TARGETS -o | grep -qx image/png' ||
    e2e_fail "no image/png on the clipboard"
xclip -selection clipboard -t image/png -o >"$E2E_TMP/copied.png"
e2e_expect_eq "copied image width" "$(identify -format '%w' "$E2E_TMP/copied.png")" "$one_width"
stop_app

# A file that cannot be opened: the usual message, then an empty editor.
e2e_start_app "$pictures/none.txt"
e2e_window '^Masumemo$' >/dev/null
e2e_wait_active '^Masumemo$'
xdotool key Return
e2e_wait_active '^住所不定 - Masumemo$'
stop_app

# Egaocho alone.
e2e_start_app --egaocho
e2e_window '^Egaocho$' >/dev/null
e2e_wait_active '^Egaocho$'
[ -z "$(xdotool search --onlyvisible --name 'Masumemo' 2>/dev/null)" ] ||
    e2e_fail "another window showed beside Egaocho"
stop_app
echo "PASS command line"
