#!/usr/bin/env bash
# Egaocho hands the chosen emoticon back to the window the user came from: another
# application's window is active, the user switches to Egaocho, picks an entry with the
# keyboard, and the clipboard holds it while the other window is active again.
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_until bash -c "xprop -root _NET_SUPPORTED | grep -q _NET_ACTIVE_WINDOW" ||
    e2e_fail "the window manager offers no active window"
e2e_start_app

chooser="$(e2e_any_window)"
e2e_wait_managed "$chooser"
# The focus starts on "Masumemo起動"; Tab reaches "Egaocho起動".
xdotool windowactivate --sync "$chooser"
xdotool key Tab Return
kao="$(e2e_window '^Egaocho$')"
e2e_wait_active '^Egaocho$'

# Its outer size is 2700 x 1800 twips: 180 x 120 pixels, frame included.
read -r left right top bottom < <(xprop -id "$kao" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}')
eval "$(xdotool getwindowgeometry --shell "$kao")"
e2e_expect_eq "outer size" "$((WIDTH + left + right))x$((HEIGHT + top + bottom))" "180x120"

# Another application comes to the front.
xev -name other >/dev/null 2>&1 &
E2E_PIDS+=($!)
other="$(e2e_window '^other$')"
# Egaocho samples the active window every 100 ms. Nothing outside it shows when it has seen
# the other window, so if the first choice does not hand the focus back, the person goes to the
# other window and back and chooses the next entry, as one would.
keys="Tab Down"
chosen=0
returned=""
for attempt in 1 2 3 4 5 6 7 8; do
    xdotool windowactivate --sync "$other"
    e2e_wait_active '^other$'
    xdotool windowactivate --sync "$kao"
    e2e_wait_active '^Egaocho$'
    # First the focus is on the file list; Tab reaches the entry list, Down picks an entry.
    xdotool key $keys
    keys="Down"
    chosen=$((chosen + 1))
    if E2E_TIMEOUT=2 e2e_until bash -c "xdotool getactivewindow getwindowname | grep -q '^other$'"; then
        returned=yes
        break
    fi
done
[ -n "$returned" ] || e2e_fail "choosing an entry never brought the other window back"
want="$(sed -n "${chosen}p" "$E2E_APP_DIR/Defolt.txt" | iconv -f CP932 -t UTF-8 | tr -d '\r' | sed 's/ *$//')"
e2e_until bash -c "[ \"\$(xclip -selection clipboard -o)\" = \"\$1\" ]" _ "$want" ||
    e2e_fail "clipboard holds '$(e2e_clipboard)', want '$want'"
echo "PASS egaocho (after $chosen choice(s))"
