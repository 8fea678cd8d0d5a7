#!/usr/bin/env bash
# Starts the built program in a virtual X server with a real window manager, clicks through
# the chooser, the editor and About as a person would, and saves a screenshot of each.
#   scripts/screenshot.sh [output-dir]      (default: build/screenshots)
# With MASUMEMO_README_IMAGE=1 the editor's picture is also copied to docs/images/editor.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MASUMEMO_BUILD_DIR:-$root/build}"
out="${1:-$build/screenshots}"
program="$build/bin/masumemo"
mkdir -p "$out"
rm -f "$out/masumemo.log"

for tool in Xvfb openbox xdotool xclip import; do
    command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done
[ -x "$program" ] || { echo "screenshot: $program is not built (scripts/build.sh)" >&2; exit 1; }

pids=()
work="$(mktemp -d)"
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Let the server pick a free display number and tell us which.
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x900x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
read -r -t 10 number <&"$fd" || { echo "screenshot: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
unset WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
# A window mapped while the window manager is still starting can be left unmanaged and unseen:
# start the program only once openbox has announced itself on the root window.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

# The program writes its settings beside itself; keep the build folder clean by running a copy.
cp "$program" "$build/bin/Defolt.txt" "$work/"
(cd "$work" && exec ./masumemo) >>"$out/masumemo.log" 2>&1 &
pids+=($!)

wait_window() {  # wait_window NAME-REGEX -> window id; gives up after a minute
    local id
    id="$(timeout 60 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1)" || true
    [ -n "$id" ] || { echo "screenshot: no window named $1 appeared" >&2; return 1; }
    echo "$id"
}

shoot() {  # shoot WINDOW-ID FILE: the window with the window manager's frame
    sleep 0.5  # let the window manager finish placing and painting
    import -frame -window "$1" "$2"
    echo "saved $2"
}

chooser="$(wait_window '^Masumemo$')"
shoot "$chooser" "$out/chooser.png"

# "Masumemo起動" sits in the left half of the chooser's lower row.
xdotool mousemove --window "$chooser" 60 72 click 1
editor="$(wait_window ' - Masumemo$')"
xdotool windowactivate --sync "$editor" 2>/dev/null || true

# A small picture of our own, pasted onto the canvas the way a user would bring one in.
xclip -selection clipboard 2>/dev/null <<'PICTURE'
　　　　　　　　　　　　　　　　　　　＼　｜　／
　　　　　　　／＼　　　　　　　　　－　○　－
　　　　　　／　　＼　　　　　　　　　／　｜　＼
　　　　　／　　　　＼　　／＼
　　　　／　　　　　　＼／　　＼
　　　／　　　　　　　　　　　　＼
　━━━━━━━━━━━━━━━━━━━━━━━━
　　　　マス目に文字で絵を描こう
PICTURE
sleep 0.5
xdotool mousemove --window "$editor" 30 300 click 1
xdotool key --clearmodifiers ctrl+Home ctrl+v
shoot "$editor" "$out/editor.png"

# About from the Help menu: Alt+H, then A.
xdotool key --window "$editor" alt+h
sleep 0.3
xdotool key a
about="$(wait_window 'ﾊﾞｰｼﾞｮﾝ情報$')"
shoot "$about" "$out/about.png"
xdotool key Escape

# The emoticon window, alone, from a second run's chooser ("Egaocho起動" is on the right).
(cd "$work" && exec ./masumemo) >>"$out/masumemo.log" 2>&1 &
pids+=($!)
chooser="$(wait_window '^Masumemo$')"
xdotool mousemove --window "$chooser" 190 72 click 1
dictionary="$(wait_window '^Egaocho$')"
shoot "$dictionary" "$out/egaocho.png"

if [ "${MASUMEMO_README_IMAGE:-0}" = 1 ]; then
    mkdir -p "$root/docs/images"
    cp "$out/editor.png" "$root/docs/images/editor.png"
    echo "copied to docs/images/editor.png"
fi
