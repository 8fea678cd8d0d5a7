#!/usr/bin/env bash
# Egaocho hands the chosen emoticon back to the window the user came from: another
# application's window is active, the user switches to Egaocho, picks an entry with the
# keyboard, and the clipboard holds it while the other window is active again. Then, opened
# from the editor's File menu again and again, a fresh Egaocho hands every choice back to the
# editor (E2E_EGAOCHO_RUNS times, 20 unless told).
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

# Brings window $1 to the front and waits until its title matches $2. A window just opened
# may still take the focus back once, when its own request reaches the window manager late: a
# person then clicks again.
activate() {
    local try
    for try in 1 2 3; do
        xdotool windowactivate --sync "$1"
        E2E_TIMEOUT=5 e2e_until bash -c "xdotool getactivewindow getwindowname | grep -Eq -- '$2'" &&
            return 0
    done
    e2e_fail "active window is '$(e2e_active_window_name)', expected '$2'"
}

# Another application comes to the front.
xev -name other >/dev/null 2>&1 &
E2E_PIDS+=($!)
other="$(e2e_window '^other$')"
# Egaocho hears of every change of the active window, but reads which window it is when it
# gets to it: a visit to another program's window over before then is missed. Nothing outside
# shows when it has seen the other window, so if the first choice does not hand the focus back,
# the person goes to the other window and back and chooses the next entry, as one would.
keys="Tab Down"
chosen=0
returned=""
for attempt in 1 2 3 4 5 6 7 8; do
    activate "$other" '^other$'
    activate "$kao" '^Egaocho$'
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

# Egaocho opens the editor and is closed; from now on it is opened from the editor.
activate "$kao" '^Egaocho$'
xdotool key alt+f m
editor_title='^住所不定\*? - Masumemo$'
editor="$(e2e_window "$editor_title")"
e2e_wait_active "$editor_title"
close_egaocho() {
    activate "$1" '^Egaocho$'
    xdotool key alt+f x
    e2e_until bash -c "! xdotool search --onlyvisible --name '^Egaocho\$'" ||
        e2e_fail "Egaocho did not close"
}
close_egaocho "$kao"
first="$(sed -n 1p "$E2E_APP_DIR/Defolt.txt" | iconv -f CP932 -t UTF-8 | tr -d '\r' | sed 's/ *$//')"
runs="${E2E_EGAOCHO_RUNS:-20}"
for run in $(seq "$runs"); do
    activate "$editor" "$editor_title"
    xdotool key alt+f k
    kao="$(e2e_window '^Egaocho$')"
    e2e_wait_active '^Egaocho$'
    # A visit to the editor: it copies the cell under the caret. The editor and Egaocho share
    # one event queue, so once the copy is done Egaocho has seen the editor in front.
    activate "$editor" "$editor_title"
    printf 'run %s' "$run" | xclip -selection clipboard
    xdotool key ctrl+Home shift+Right ctrl+c
    e2e_until bash -c "[ \"\$(xclip -selection clipboard -o)\" = \"\$1\" ]" _ $'\u3000' ||
        e2e_fail "run $run: the editor did not copy its first cell"
    activate "$kao" '^Egaocho$'
    # First the focus is on the file list; Tab reaches the entry list, Down picks an entry.
    xdotool key Tab Down
    E2E_TIMEOUT=5 e2e_until bash -c "xdotool getactivewindow getwindowname | grep -Eq '$editor_title'" ||
        e2e_fail "run $run: the choice left '$(e2e_active_window_name)' active, not the editor"
    e2e_until bash -c "[ \"\$(xclip -selection clipboard -o)\" = \"\$1\" ]" _ "$first" ||
        e2e_fail "run $run: clipboard holds '$(e2e_clipboard)', want '$first'"
    close_egaocho "$kao"
done

# A declined hand-over: the canvas is changed, Egaocho hands its file to the editor; the save
# question is cancelled, or answered Yes with the save dialog cancelled. Either way Egaocho
# comes back where it was, not where the window manager would place a new window.
activate "$editor" "$editor_title"
xdotool type x
xdotool key alt+f k
kao="$(e2e_window '^Egaocho$')"
e2e_wait_active '^Egaocho$'
place() { xdotool getwindowgeometry "$kao" | sed -n 's/ *Position: \([0-9]*,[0-9]*\).*/\1/p'; }
before="$(place)"
for answer in Escape alt+y; do
    activate "$kao" '^Egaocho$'
    xdotool key alt+f e
    e2e_wait_active '^Masumemo$'
    xdotool key "$answer"
    if [ "$answer" = alt+y ]; then
        e2e_wait_active '^名前を付けて保存$'
        xdotool key Escape
    fi
    e2e_wait_active '^Egaocho$'
    e2e_expect_eq "Egaocho's place after a declined hand-over ($answer)" "$(place)" "$before"
done
echo "PASS egaocho (first choice after $chosen; $runs of $runs returns to the editor; declined hand-overs in place)"
