#!/usr/bin/env bash
# Start-up: the chooser comes first; "Masumemo起動" leaves exactly the editor, untitled.
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_start_app

chooser="$(e2e_any_window)"
e2e_wait_managed "$chooser"
# "Masumemo起動" sits at 75,825 twips inside the frame at 75,0: about (68, 68) pixels in.
e2e_click_until "$chooser" 68 68 xdotool search --onlyvisible --name '住所不定 - Masumemo' ||
    e2e_fail "the editor did not open"
editor="$(e2e_window '住所不定 - Masumemo')"
e2e_until bash -c "! xdotool search --onlyvisible --class masumemo | grep -qv '^$editor\$'" ||
    e2e_fail "a window other than the editor is still shown"
echo "PASS start"
