#!/usr/bin/env bash
# A story of three pages opened from the command line, its second page changed with real keys
# and saved: the first and the third page are in the file byte for byte as they were, their
# trailing blanks, blank lines and references included.
source "$(dirname "$0")/lib.sh"

story="$E2E_TMP/story.mlt"
page1='one  \r\n&#x200A;\r\n\r\n'
page3='\x82\xa0three '
printf "${page1}[SPLIT]\r\ntwo\r\n[SPLIT]\r\n${page3}" >"$story"

e2e_start_x
e2e_start_app "$story"
editor="$(e2e_window "^$story - Masumemo\$")"
e2e_wait_active "^$story - Masumemo\$"
eval "$(xdotool getwindowgeometry --shell "$editor")"
xdotool mousemove --window "$editor" $((WIDTH / 2)) $((HEIGHT - 120)) click 1

# Ctrl+PageDown shows page 2; the first cell takes an "X"; Ctrl+S saves the whole story.
xdotool key ctrl+Next
xdotool key ctrl+Home
xdotool type --delay 20 "X"
e2e_wait_active "^$story\\* - Masumemo\$"
xdotool key ctrl+s
e2e_wait_active "^$story - Masumemo\$"

want_hex="$(printf "${page1}[SPLIT]\r\nXwo\r\n[SPLIT]\r\n${page3}" | od -An -tx1 | tr -d ' \n')"
e2e_until bash -c '[ "$(od -An -tx1 "$1" | tr -d " \n")" = "$2" ]' _ "$story" "$want_hex" ||
    e2e_expect_eq "saved story" "$(od -An -tx1 "$story" | tr -d ' \n')" "$want_hex"
echo "PASS pages"
