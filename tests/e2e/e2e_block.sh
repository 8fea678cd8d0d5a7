#!/usr/bin/env bash
# A person lifts a part of the picture as a floating block with the keyboard, moves it over the
# rest and lays it down: the cells it left are blanks of the same widths, the cells it lands on
# hold it, and one undo takes the whole move back. Closing the window with a block afloat lays
# it down first, so the save question is asked.
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_start_app
e2e_open_editor

full=$'\u3000'
blank="$(e2e_repeat "$full" 35)"
canvas() {  # canvas LINE1 LINE2: the 20-line canvas with its first two lines given
    local text="$1"$'\n'"$2" i
    for ((i = 0; i < 18; i++)); do text+=$'\n'"$blank"; done
    printf '%s' "$text"
}
copied() {  # select all and copy, out of rectangle mode, and wait for the clipboard to say $1
    xdotool key ctrl+a ctrl+c
    e2e_until bash -c '[ "$(xclip -selection clipboard -o)" = "$1" ]' _ "$1" ||
        e2e_expect_eq "$2" "$(e2e_clipboard)" "$1"
}

# "ab" takes the first full-width cell of line 1.
xdotool type --delay 20 "ab"
xdotool key ctrl+Home
# Rectangle mode, "ab" selected as a rectangle of two half-width cells.
xdotool key ctrl+b
xdotool key shift+Right shift+Right
# Lifted and moved a line down and one full-width cell on (two half steps), then laid down.
xdotool key ctrl+Down ctrl+Right ctrl+Right
xdotool key Return
xdotool key ctrl+b
copied "$(canvas "  $(e2e_repeat "$full" 34)" "${full}ab$(e2e_repeat "$full" 33)")" \
    "canvas after the block was laid down"
e2e_wait_active '^住所不定\* - Masumemo$'

# One undo step takes back the lifting and the laying down together.
xdotool key ctrl+z
copied "$(canvas "ab$(e2e_repeat "$full" 34)" "$blank")" "canvas after one undo"

# Undo while a block floats takes back just the move, not the typing before it.
xdotool key ctrl+Home ctrl+b shift+Right shift+Right ctrl+Down ctrl+Right
xdotool key ctrl+z
xdotool key ctrl+b
copied "$(canvas "ab$(e2e_repeat "$full" 34)" "$blank")" "canvas after undo with a block afloat"

# Select all in rectangle mode takes the whole canvas, not the rectangle chosen before it.
xdotool key ctrl+Home ctrl+b shift+Right
copied "$(canvas "ab$(e2e_repeat "$full" 34)" "$blank")" "select all in rectangle mode"
xdotool key ctrl+b

# A block still afloat when the window is closed is laid down first, so the question comes.
xdotool key alt+f x
e2e_wait_active '^Masumemo$'
xdotool key alt+n
e2e_until bash -c "! kill -0 $E2E_APP_PID" || e2e_fail "the program did not end"
printf 'ab  \r\n    \r\n' >"$E2E_TMP/saved.txt"
e2e_start_app "$E2E_TMP/saved.txt"
e2e_wait_active 'saved\.txt - Masumemo$'
xdotool key ctrl+Home ctrl+b shift+Right shift+Right ctrl+Down
# The frame's close button, at the right end of the title bar above the window.
w="$(e2e_window 'saved\.txt\* - Masumemo$|saved\.txt - Masumemo$')"
ax="$(xwininfo -id "$w" | sed -n 's/.*Absolute upper-left X: *//p')"
ay="$(xwininfo -id "$w" | sed -n 's/.*Absolute upper-left Y: *//p')"
width="$(xwininfo -id "$w" | sed -n 's/.*Width: *//p')"
read -r _ right top _ < <(xprop -id "$w" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}')
xdotool mousemove $((ax + width + right - 10)) $((ay - top / 2)) click 1
e2e_wait_active '^Masumemo$'
xdotool key Escape
e2e_wait_active 'saved\.txt\* - Masumemo$'
echo "PASS floating block"
