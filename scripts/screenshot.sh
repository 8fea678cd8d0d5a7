#!/usr/bin/env bash
# Starts the built program in a virtual X server with a real window manager, clicks through
# the chooser, the editor, its settings page, the favourites window, About and Egaocho as a
# person would, and saves a screenshot of each.
#   scripts/screenshot.sh [output-dir]      (default: build/screenshots)
# With MASUMEMO_DOC_IMAGES=1 the pictures the user's guide and the README show are also copied
# to docs/images/ (MASUMEMO_README_IMAGE=1 copies only the editor's, for the README).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MASUMEMO_BUILD_DIR:-$root/build}"
out="${1:-$build/screenshots}"
program="$build/bin/masumemo"
mkdir -p "$out"
rm -f "$out/masumemo.log"

for tool in Xvfb openbox xdotool xclip import convert; do
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
    convert "$2" -strip "$2"
    echo "saved $2"
}

paste_text() {  # paste_text TEXT: put TEXT on the clipboard and press Ctrl+V
    printf '%s' "$1" | xclip -selection clipboard 2>/dev/null
    for _ in $(seq 50); do
        [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ] && break
        sleep 0.1
    done
    xdotool key --clearmodifiers ctrl+v
}

chooser="$(wait_window '^Masumemo$')"
shoot "$chooser" "$out/chooser.png"

# "Masumemo起動" sits in the left half of the chooser's lower row.
xdotool mousemove --window "$chooser" 60 72 click 1
editor="$(wait_window ' - Masumemo$')"
xdotool windowactivate --sync "$editor" 2>/dev/null || true
sleep 0.5

# Places in the editor's client area, in pixels at 96 dpi, as the window lays itself out (under
# a toolbar of 20 px icons; the palette's frame covers the lowest pixels of the category row).
category_y=70                         # the row of category buttons
category_x() { echo $((48 + 85 * $1)); }  # category button N (0-7)
palette_x() { echo $((27 + 25 * $1)); }   # palette column N (0-25)
palette_y() { echo $((102 + 25 * $1)); }  # palette row N (0-3)

# The Greek and box-drawing category, and a few of its characters pressed as a person drawing
# would: they land at the caret (the picture pasted below covers them) and fill the row of
# recently used keys.
xdotool mousemove --window "$editor" 300 400 click 1
xdotool key ctrl+Home
xdotool mousemove --window "$editor" "$(category_x 3)" "$category_y" click 1
for cell in "2 0" "2 1" "2 2" "2 3" "3 0" "3 1" "3 10" "0 19" "1 23" "1 21"; do
    set -- $cell
    xdotool mousemove --window "$editor" "$(palette_x "$2")" "$(palette_y "$1")" click 1
    sleep 0.1
done

# Two favourites registered in their window: Favourites menu (Alt+A), its only item (A).
xdotool key --window "$editor" alt+a
sleep 0.3
xdotool key a
favourites="$(wait_window 'お気に入りの文字を登録と削除')"
sleep 0.3
paste_text '(=^・ω・^=)'
sleep 0.3
xdotool key alt+a                                          # Apply
sleep 0.3
xdotool mousemove --window "$favourites" 164 22 click 1    # ">" to the next, empty slot
sleep 0.3
xdotool mousemove --window "$favourites" 180 77 click 1    # back into the text field
paste_text 'にゃーん'
sleep 0.3
xdotool key alt+a
shoot "$favourites" "$out/favourites.png"
xdotool key alt+c                                          # Close
sleep 0.5

# A small picture of our own, pasted onto the canvas the way a user would bring one in.
xdotool mousemove --window "$editor" 300 400 click 1
xdotool key ctrl+Home
paste_text '　　　／＼　　　　　　／＼
　　／　　＼＿＿＿＿／　　＼
　│　　　　　　　　　　　　│
　│　　●　　　　　●　　　│
　│ == 　　　ω 　　　== 　│
 　＼　　　　　　　　　　　／
 　　＼＿＿＿＿＿＿＿＿＿／
━━━━━━━━━━━━━━━━
 　　ねこ　=^.^=　neko'
shoot "$editor" "$out/editor.png"

# The settings page: the last category button, "設定".
xdotool mousemove --window "$editor" "$(category_x 7)" "$category_y" click 1
shoot "$editor" "$out/settings.png"
# The page and the rows around it are what matters; the canvas below is the editor's picture.
convert "$out/settings.png" -crop 700x280+0+0 +repage "$out/settings.png"
xdotool mousemove --window "$editor" "$(category_x 3)" "$category_y" click 1

# About from the Help menu: Alt+H, then A.
xdotool key --window "$editor" alt+h
sleep 0.3
xdotool key a
about="$(wait_window 'ﾊﾞｰｼﾞｮﾝ情報$')"
shoot "$about" "$out/about.png"
xdotool key Escape

# A shared picture from the corpus beside the project, drawn for the proportional board font,
# shown in each of the two fonts with the status bar under it. Left out without the corpus.
face="${MASUMEMO_CORPUS_DIR:-$root/../shared/corpus}/ascii-art-yaruo/txt_1/yaruo_01/2.txt"
fonts=()
if [ -f "$face" ]; then
    xdotool mousemove --window "$editor" 300 400 click 1
    xdotool key ctrl+a Delete ctrl+Home
    paste_text "$(tr -d '\r' < "$face")"
    sleep 0.3
    for font in gothic pgothic; do
        if [ "$font" = pgothic ]; then
            # The settings page: the font list's second entry, then Apply.
            xdotool mousemove --window "$editor" "$(category_x 7)" "$category_y" click 1
            sleep 0.3
            xdotool mousemove --window "$editor" 155 109 click 1
            sleep 0.3
            xdotool key Down Return
            sleep 0.3
            xdotool mousemove --window "$editor" 360 169 click 1
            sleep 0.3
        fi
        shoot "$editor" "$out/font-$font.png"
        # The picture's corner of the canvas over the status bar.
        convert "$out/font-$font.png" \( +clone -crop 470x135+0+278 \) \
            \( -clone 0 -crop 470x24+0+598 \) -delete 0 -append +repage "$out/font-$font.png"
        fonts+=("font-$font")
    done
fi

# The emoticon window, alone, from a second run's chooser ("Egaocho起動" is on the right).
(cd "$work" && exec ./masumemo) >>"$out/masumemo.log" 2>&1 &
pids+=($!)
chooser="$(wait_window '^Masumemo$')"
xdotool mousemove --window "$chooser" 190 72 click 1
dictionary="$(wait_window '^Egaocho$')"
# Up the screen and clear of the editor.
xdotool windowmove --sync "$dictionary" 800 100 2>/dev/null || true
# An entry chosen with the keyboard (Tab to the entry list, Down): both lists show something,
# and the entry is on the clipboard.
xdotool windowactivate --sync "$dictionary" 2>/dev/null || true
xdotool key Tab Down
shoot "$dictionary" "$out/egaocho.png"

images=()
if [ "${MASUMEMO_DOC_IMAGES:-0}" = 1 ]; then
    images=(chooser editor settings favourites egaocho "${fonts[@]}")
elif [ "${MASUMEMO_README_IMAGE:-0}" = 1 ]; then
    images=(editor)
fi
if [ ${#images[@]} -gt 0 ]; then
    mkdir -p "$root/docs/images"
    for name in "${images[@]}"; do
        cp "$out/$name.png" "$root/docs/images/$name.png"
        echo "copied to docs/images/$name.png"
    done
fi
