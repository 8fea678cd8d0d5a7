#!/usr/bin/env bash
# A person registers a favourite in its window with the keyboard, closes it, and closes the
# editor: masuedit.ini beside the program then holds the favourite in code page 932 with CR LF.
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_start_app
e2e_open_editor

# Favourites menu (Alt+A), its only item (A).
xdotool key alt+a
xdotool key a
e2e_window 'お気に入りの文字を登録と削除' >/dev/null
e2e_wait_active 'お気に入りの文字を登録と削除'
xdotool type --delay 20 "ab"
# Apply (Alt+A), then Close (Alt+C).
xdotool key alt+a
xdotool key alt+c
e2e_until bash -c "! xdotool search --onlyvisible --name 'お気に入りの文字を登録と削除'" ||
    e2e_fail "the favourites window did not close"
[ ! -e "$E2E_APP_DIR/masuedit.ini" ] || e2e_fail "the favourites were written before the close"

e2e_wait_active '住所不定 - Masumemo'
# File menu (Alt+F), Exit (X).
xdotool key alt+f
xdotool key x
e2e_until test -s "$E2E_APP_DIR/masuedit.ini" || e2e_fail "masuedit.ini was not written"
e2e_expect_eq "masuedit.ini" "$(od -An -c "$E2E_APP_DIR/masuedit.ini" | tr -s ' ')" " a b \r \n"
echo "PASS favourites"
