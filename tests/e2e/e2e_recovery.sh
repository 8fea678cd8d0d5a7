#!/usr/bin/env bash
# Recovery of unsaved pictures with a real program: typed work survives kill -9 and comes back
# through the window "復元" as it was, modified, its file on disk untouched; a second instance
# running at the same time is never offered the first one's work. Snapshots are written at once
# after a change here (MASUMEMO_SNAPSHOT_QUIET_MS=0), so nothing waits on a timer.
source "$(dirname "$0")/lib.sh"
export XDG_STATE_HOME="$E2E_TMP/state"
export MASUMEMO_SNAPSHOT_QUIET_MS=0
REC="$XDG_STATE_HOME/masumemo/recovery"
e2e_start_x

printf 'disk................................\r\nend\r\n' >"$E2E_TMP/a.txt"
printf 'other...............................\r\n' >"$E2E_TMP/b.txt"
cp "$E2E_TMP/a.txt" "$E2E_TMP/a.orig"

# Another instance from the copied program, on file $1; its pid in $2 (a variable name).
start_another() {
    (cd "$E2E_APP_DIR" && QT_QPA_PLATFORM=xcb exec ./masumemo "$1" >>"$E2E_TMP/more.log" 2>&1) &
    E2E_PIDS+=($!)
    printf -v "$2" '%s' "$!"
}
# Clicks into the canvas of the editor titled $1 and goes to its first cell.
into_canvas() {
    local w
    w="$(e2e_window "$1")"
    e2e_wait_managed "$w"
    eval "$(xdotool getwindowgeometry --shell "$w")"
    xdotool windowactivate --sync "$w" 2>/dev/null || true
    xdotool mousemove --window "$w" $((WIDTH / 2)) $((HEIGHT - 120)) click 1
    xdotool key ctrl+Home
}
copy_canvas() {
    printf '' | xclip -selection clipboard
    xdotool key ctrl+a ctrl+c
    e2e_until bash -c '[ -n "$(xclip -selection clipboard -o 2>/dev/null)" ]' || e2e_fail "nothing copied"
    e2e_clipboard
}
# The snapshot (if any) holding the UTF-16 text $1.
snapshot_with() {
    local pattern="" i
    for ((i = 0; i < ${#1}; i++)); do pattern+="${1:i:1}\\x00"; done
    grep -alP "$pattern" "$REC"/*.snapshot 2>/dev/null | head -n1
}
has_snapshot_with() {
    [ -n "$(snapshot_with "$1")" ]
}

# --- Killed with unsaved work, started again, restored --------------------------------------
e2e_start_app "$E2E_TMP/a.txt"
into_canvas 'a\.txt - Masumemo$'
xdotool type --delay 20 "xyz"
e2e_wait_active 'a\.txt\* - Masumemo$'
e2e_until has_snapshot_with xyz || e2e_fail "no snapshot holds the typed text"
typed="$(copy_canvas)"
kill -9 "$E2E_APP_PID"
wait "$E2E_APP_PID" 2>/dev/null || true
ls "$REC"/*.snapshot >/dev/null 2>&1 || e2e_fail "the snapshot went with the killed program"
# A command that opens no window never asks: it ends, and the snapshot waits for an editor.
(cd "$E2E_APP_DIR" && timeout 20 ./masumemo --check "$E2E_TMP/a.txt" >"$E2E_TMP/check.log" 2>&1) ||
    [ $? -ne 124 ] || e2e_fail "--check waited on something with a snapshot left behind"
! xdotool search --onlyvisible --name '^復元$' >/dev/null 2>&1 || e2e_fail "--check offered to restore"
ls "$REC"/*.snapshot >/dev/null 2>&1 || e2e_fail "--check removed the snapshot"

start_another "$E2E_TMP/a.txt" second
w="$(e2e_window '^復元$')"
e2e_wait_active '^復元$'
xdotool key alt+r
e2e_until bash -c "! xdotool search --onlyvisible --name '^復元$'" ||
    e2e_fail "the window 復元 stayed open after its only picture was restored"
e2e_wait_active 'a\.txt\* - Masumemo$'
into_canvas 'a\.txt\* - Masumemo$'
e2e_expect_eq "restored canvas" "$(copy_canvas)" "$typed"
cmp -s "$E2E_TMP/a.txt" "$E2E_TMP/a.orig" || e2e_fail "restoring changed the file on disk"
[ "$(ls "$REC"/*.snapshot | wc -l)" -eq 1 ] || e2e_fail "the old snapshot was not replaced by the new instance's own"

# --- Two instances at once: neither is offered the other's work ------------------------------
start_another "$E2E_TMP/b.txt" third
into_canvas 'b\.txt - Masumemo$'
xdotool type --delay 20 "qrs"
e2e_wait_active 'b\.txt\* - Masumemo$'
e2e_until has_snapshot_with qrs || e2e_fail "the third instance wrote no snapshot"
# The third instance has been running (and typing) well past its start: it asked nothing.
! xdotool search --onlyvisible --name '^復元$' >/dev/null 2>&1 ||
    e2e_fail "an instance was offered the work of one that still runs"
[ "$(ls "$REC"/*.snapshot | wc -l)" -eq 2 ] || e2e_fail "expected one snapshot per running instance"

# --- A normal end with "いいえ" leaves nothing behind ----------------------------------------
xdotool key alt+f x
e2e_wait_active '^Masumemo$'
xdotool key alt+n
e2e_until bash -c "! kill -0 $third" || e2e_fail "the third instance did not end"
[ "$(ls "$REC"/*.snapshot | wc -l)" -eq 1 ] || e2e_fail "the snapshot stayed after a normal end"
[ -z "$(ls "$REC"/*.lock 2>/dev/null | xargs -r -n1 basename | grep "^$third-")" ] ||
    e2e_fail "the lock stayed after a normal end"
echo "PASS recovery"
