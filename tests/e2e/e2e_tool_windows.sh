#!/usr/bin/env bash
# The tool windows (the posting check, the parts library) stay with their editor, as a person
# sees it under a real window manager: above the editor when the editor is clicked or maximised,
# never above another program, minimised and restored with the editor.
source "$(dirname "$0")/lib.sh"
e2e_start_x
printf 'ab\r\n' >"$E2E_TMP/pic.txt"
e2e_start_app "$E2E_TMP/pic.txt"
editor="$(e2e_window 'pic\.txt - Masumemo$')"
e2e_wait_active 'pic\.txt - Masumemo$'

# Where a window stands in the window manager's stacking order, bottom first.
stacked_at() {
    local i=0 id
    for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//; s/,/ /g'); do
        [ "$((id))" = "$(($1))" ] && { echo "$i"; return; }
        i=$((i + 1))
    done
    echo -1
}
above() {  # above A B: window A is stacked over window B
    [ "$(stacked_at "$1")" -gt "$(stacked_at "$2")" ]
}
shown() {
    xwininfo -id "$1" | grep -q 'Map State: IsViewable'
}

click_canvas() {  # the canvas's left edge, which the tools beside the editor leave free
    eval "$(xdotool getwindowgeometry --shell "$editor")"
    xdotool mousemove --window "$editor" 12 $((HEIGHT - 120)) click 1
    e2e_wait_active 'pic\.txt - Masumemo$'
}

xdotool key alt+t c
check="$(e2e_window '^投稿チェック$')"
e2e_wait_managed "$check"
click_canvas
xdotool key alt+t m
library="$(e2e_window '^AA素材$')"
e2e_wait_managed "$library"

# A click into the editor brings the editor forward, not over its tools.
click_canvas
for tool in "$check" "$library"; do
    e2e_until above "$tool" "$editor" || e2e_fail "a tool window went behind the clicked editor"
done

# Maximised, the editor still does not cover them, and keys typed go to the canvas.
xdotool key super+Up
e2e_until bash -c "xprop -id $editor _NET_WM_STATE | grep -q MAXIMIZED_HORZ" ||
    e2e_fail "the editor was not maximised"
click_canvas
for tool in "$check" "$library"; do
    e2e_until above "$tool" "$editor" || e2e_fail "a tool window went behind the maximised editor"
done

# Another program comes over them all: a tool window is no window that stays on top.
xmessage -name other -title 'other program' -geometry 700x400+350+250 'another program' &
E2E_PIDS+=($!)
other="$(e2e_window '^other program$')"
e2e_wait_managed "$other"
xdotool windowactivate "$other"
e2e_wait_active '^other program$'
for tool in "$check" "$library"; do
    e2e_until above "$other" "$tool" || e2e_fail "a tool window stayed above another program"
done
[ -n "${E2E_SHOT:-}" ] && import -window root "$E2E_SHOT-other.png"

# Minimised with the editor, and back with it.
xdotool windowactivate "$editor"
e2e_wait_active 'pic\.txt - Masumemo$'
[ -n "${E2E_SHOT:-}" ] && import -window root "$E2E_SHOT-editor.png"
xdotool windowminimize "$editor"
for tool in "$check" "$library"; do
    e2e_until bash -c "! xwininfo -id $tool | grep -q 'Map State: IsViewable'" ||
        e2e_fail "a tool window stayed on screen while its editor was minimised"
done
xdotool windowactivate "$editor"
e2e_wait_active 'pic\.txt - Masumemo$'
for tool in "$check" "$library"; do
    e2e_until shown "$tool" || e2e_fail "a tool window did not come back with its editor"
    e2e_until above "$tool" "$editor" || e2e_fail "a tool window came back behind its editor"
done
echo "PASS tool windows"
