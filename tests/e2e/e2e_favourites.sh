#!/usr/bin/env bash
# A person registers two favourites in their window, closes the editor, and starts the program
# again: masuedit.ini holds both in code page 932 with CR LF, and their toolbar buttons write
# them into the canvas.
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_start_app
e2e_open_editor

# Favourites menu (Alt+A), its only item (A).
xdotool key alt+a
xdotool key a
fava="$(e2e_window 'お気に入りの文字を登録と削除')"
e2e_wait_active 'お気に入りの文字を登録と削除'
# Buttons are clicked: an access key presses its button a moment later, and the next click
# could come before the button acts.
apply() { xdotool mousemove --window "$fava" 64 122 click 1; }   # 150,1620 twips, 1620 x 435
xdotool type --delay 20 "ab"
apply                                  # slot 1
# ">" (2250,150 twips, 420 x 375) moves to the free slot 2; then the text field.
xdotool mousemove --window "$fava" 164 22 click 1
xdotool mousemove --window "$fava" 183 78 click 1
xdotool type --delay 20 "cd"
apply                                  # slot 2
xdotool key alt+c                      # Close
e2e_until bash -c "! xdotool search --onlyvisible --name 'お気に入りの文字を登録と削除'" ||
    e2e_fail "the favourites window did not close"
[ ! -e "$E2E_APP_DIR/masuedit.ini" ] || e2e_fail "the favourites were written before the close"

e2e_wait_active '住所不定 - Masumemo'
xdotool key alt+f x                    # File > Exit
e2e_until bash -c "! kill -0 $E2E_APP_PID" || e2e_fail "the program did not end"
e2e_expect_eq "masuedit.ini" "$(od -An -c "$E2E_APP_DIR/masuedit.ini" | tr -s ' ')" " a b \r \n c d \r \n"

# Start again: the two favourite buttons stand at the end of the toolbar (20 px icons).
e2e_start_app
e2e_open_editor
xdotool mousemove --window "$E2E_EDITOR" 365 37 click 1
xdotool mousemove --window "$E2E_EDITOR" 394 37 click 1
full=$'\u3000'
want="abcd$(e2e_repeat "$full" 33)"
for _ in $(seq 19); do want+=$'\n'"$(e2e_repeat "$full" 35)"; done
xdotool key ctrl+a ctrl+c
e2e_until bash -c '[ "$(xclip -selection clipboard -o)" = "$1" ]' _ "$want" ||
    e2e_expect_eq "canvas after both favourite buttons" "$(e2e_clipboard)" "$want"
echo "PASS favourites"
