#!/usr/bin/env bash
# A picture saved with Save As is code page 932 with CR LF and trimmed lines; opened again it
# fits the grid to its widest line.
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_start_app
e2e_open_editor

full=$'\u3000'
picture="$E2E_TMP/picture.txt"
xdotool type --delay 20 "ab"
xdotool key Down Home
# A full-width letter on line 2, pasted (xdotool cannot type it reliably without an input
# method: the key map it borrows may reach the program after the key).
printf 'あ' | xclip -selection clipboard
e2e_until bash -c '[ "$(xclip -selection clipboard -o)" = "あ" ]'
xdotool key ctrl+v

# File > Save As: the dialog's name field has the focus.
xdotool key alt+f a
e2e_wait_active '名前を付けて保存'
xdotool type --delay 10 "$picture"
xdotool key Return
e2e_wait_active "^$picture - Masumemo\$"

# "ab", "あ" in code page 932, then 18 lines trimmed to nothing; CR LF after every line.
want_hex="$( (printf 'ab\r\n\x82\xa0\r\n'; for _ in $(seq 18); do printf '\r\n'; done) | od -An -tx1 | tr -d ' \n')"
e2e_expect_eq "saved bytes" "$(od -An -tx1 "$picture" | tr -d ' \n')" "$want_hex"

# File > New, then File > Open the same file again.
xdotool key ctrl+n
e2e_wait_active '^住所不定 - Masumemo$'
xdotool key alt+f o
e2e_wait_active 'ファイルを開く'
xdotool type --delay 10 "$picture"
xdotool key Return
e2e_wait_active "^$picture - Masumemo\$"
# The widest line is 2 units wide: the canvas is 1 x 20 now.
xdotool key ctrl+a ctrl+c
want="ab"$'\n'"あ"
for _ in $(seq 18); do want+=$'\n'"$full"; done
e2e_until bash -c '[ "$(xclip -selection clipboard -o)" = "$1" ]' _ "$want" ||
    e2e_expect_eq "reopened canvas" "$(e2e_clipboard)" "$want"

# A change marks the title; Ctrl+Shift+S saves under a name typed without ".txt", which the
# dialog adds, and the mark goes.
xdotool key ctrl+End
xdotool type --delay 20 "z"
e2e_wait_active "^$picture\\* - Masumemo\$"
xdotool key ctrl+shift+s
e2e_wait_active '名前を付けて保存'
xdotool key ctrl+a
xdotool type --delay 10 "$E2E_TMP/second"
xdotool key Return
e2e_wait_active "^$E2E_TMP/second.txt - Masumemo\$"
[ -f "$E2E_TMP/second.txt" ] || e2e_fail "Save As did not add .txt"
[ ! -e "$E2E_TMP/second" ] || e2e_fail "Save As wrote the name without .txt too"
echo "PASS files"
