#!/usr/bin/env bash
# A person types two lines, selects them and frames them from the Edit menu with the keyboard;
# the canvas, copied through the clipboard, has a line of pieces above and below them and a
# piece on each side of both lines, the right side on one column.
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_start_app
e2e_open_editor

full=$'\u3000'
# "ab" and "cd" in the third cell of lines 2 and 3, blank lines around them.
xdotool key Down Right Right
xdotool type --delay 20 "ab"
xdotool key ctrl+Home Down Down Right Right
xdotool type --delay 20 "cd"
# From the start of line 2 into line 3: both lines are taken.
xdotool key ctrl+Home Down shift+Down shift+Right
xdotool key alt+e w
e2e_wait_active '^枠で囲む$'
xdotool key Return
e2e_wait_active '^住所不定\* - Masumemo$'
xdotool key ctrl+a ctrl+c
e2e_until bash -c '[[ "$(xclip -selection clipboard -o)" == *┌* ]]' ||
    e2e_fail "no frame in the copied canvas: $(e2e_clipboard)"

mapfile -t lines < <(e2e_clipboard)
[[ "${lines[0]}" == "┌"* ]] || e2e_fail "top line: ${lines[0]}"
[[ "${lines[1]}" == "│${full}ab"*"│"* ]] || e2e_fail "first framed line: ${lines[1]}"
[[ "${lines[2]}" == "│${full}cd"*"│"* ]] || e2e_fail "second framed line: ${lines[2]}"
[[ "${lines[3]}" == "└"* ]] || e2e_fail "bottom line: ${lines[3]}"
# The right side stands on the same column of both lines.
e2e_expect_eq "the second line as the first with its own text" "${lines[2]}" "${lines[1]/ab/cd}"
e2e_expect_eq "the lines below the frame" "${lines[4]}" "$(e2e_repeat "$full" 35)"

# One undo takes the frame back.
xdotool key ctrl+z ctrl+a ctrl+c
e2e_until bash -c '[[ "$(xclip -selection clipboard -o)" != *┌* ]]' ||
    e2e_fail "the frame is still there after undo"
mapfile -t lines < <(e2e_clipboard)
e2e_expect_eq "line 2 after undo" "${lines[1]}" "${full}${full}ab$(e2e_repeat "$full" 32)"
echo "PASS frame"
