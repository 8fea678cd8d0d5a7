#!/usr/bin/env bash
# The changed-mark question: Cancel keeps the picture and the window, No lets the command go on.
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_start_app
e2e_open_editor

full=$'\u3000'
blank="$(e2e_repeat "$full" 35)"
canvas_is() {  # canvas_is FIRST-LINE: the clipboard after select all + copy
    local want="$1"
    for _ in $(seq 19); do want+=$'\n'"$blank"; done
    xdotool key ctrl+a ctrl+c
    e2e_until bash -c '[ "$(xclip -selection clipboard -o)" = "$1" ]' _ "$want" ||
        e2e_expect_eq "canvas" "$(e2e_clipboard)" "$want"
}

xdotool type --delay 20 "xy"
# New asks; Cancel keeps the picture.
xdotool key ctrl+n
e2e_wait_active '^Masumemo$'
xdotool key Escape
e2e_wait_active '^住所不定\* - Masumemo$'
canvas_is "xy$(e2e_repeat "$full" 34)"

# New asks again; No discards the picture.
xdotool key ctrl+Home ctrl+n
e2e_wait_active '^Masumemo$'
xdotool key alt+n
e2e_wait_active '^住所不定 - Masumemo$'
canvas_is "$blank"

# Exit with a change: Cancel keeps the window open, No closes it and the program ends.
xdotool key ctrl+Home
xdotool type --delay 20 "z"
xdotool key alt+f x
e2e_wait_active '^Masumemo$'
xdotool key Escape
e2e_wait_active '^住所不定\* - Masumemo$'
xdotool key alt+f x
e2e_wait_active '^Masumemo$'
xdotool key alt+n
e2e_until bash -c "! kill -0 $E2E_APP_PID" || e2e_fail "the program did not end with its last window"
# The favourites were not changed: the settings file is left as it was (here: not made).
[ ! -e "$E2E_APP_DIR/masuedit.ini" ] || e2e_fail "masuedit.ini was written though nothing in it changed"
echo "PASS changed"
