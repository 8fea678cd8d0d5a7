#!/usr/bin/env bash
# A person types into a fresh canvas, pushes and pulls with Alt and Shift+Alt arrows, selects
# all and copies: the clipboard holds the whole grid, every line still 70 units wide.
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_start_app
e2e_open_editor

full=$'\u3000'
blank="$(e2e_repeat "$full" 35)"

xdotool type --delay 20 "ab"
# The line was 35 full-width spaces: "a" split the first one, "b" filled its other half.
# Alt+Right pushes what stands right of the caret one unit on: " " at the caret, the last
# full-width space loses a half ("ab " + 33 full-width spaces + " ").
xdotool key alt+Right
# Alt+Down moves the caret line and all below it down a line; a blank line takes its place.
xdotool key alt+Down
# Shift+Alt+Left pulls the rest of the line over the cell before the caret; " " fills the end.
xdotool key shift+alt+Left
xdotool key ctrl+a ctrl+c
want="$blank"$'\n'"ab$(e2e_repeat "$full" 33)  "
for _ in $(seq 18); do want+=$'\n'"$blank"; done
e2e_until bash -c '[ "$(xclip -selection clipboard -o)" = "$1" ]' _ "$want" ||
    e2e_expect_eq "clipboard after typing, Alt+Right, select all and copy" "$(e2e_clipboard)" "$want"
echo "PASS typing"
