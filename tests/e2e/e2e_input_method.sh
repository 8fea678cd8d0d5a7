#!/usr/bin/env bash
# Japanese typed through a real input method (ibus with the mozc engine) in the private X server:
# romaji and Enter lay kana over the caret cell, a conversion lays its kanji, the wave dash the
# input method makes arrives in its code page 932 form, and a commit over a selection blanks the
# selection first. Mozc refuses to run as root, so under root the session bus, the input method
# and the program run as the unprivileged user 65534; they always get a home of their own.
# Exit code 77 (reported by CTest as skipped) means a part of the input method is not installed.
source "$(dirname "$0")/lib.sh"

skip() {
    echo "SKIPPED: $*"
    exit 77
}
for cmd in ibus-daemon ibus dbus-daemon setsid setpriv; do
    command -v "$cmd" >/dev/null || skip "$cmd is not installed"
done
# ps finds what the input method left running; without it the test would leave it behind.
command -v ps >/dev/null || e2e_fail "ps is not installed (procps)"
plugins="$(qtpaths6 --plugin-dir 2>/dev/null || true)"
[ -z "$plugins" ] || [ -e "$plugins/platforminputcontexts/libibusplatforminputcontextplugin.so" ] ||
    skip "Qt's ibus plugin is not installed"

ime_home="$E2E_TMP/ime-home"
mkdir -p "$ime_home/.config/mozc" "$ime_home/run"
chmod 700 "$ime_home/run"
# Under ibus, mozc starts in direct input unless told to start in hiragana.
cat >"$ime_home/.config/mozc/ibus_config.textproto" <<'EOF'
engines {
  name: "mozc-jp"
  longname: "Mozc"
  layout: "default"
  rank: 80
}
active_on_launch: True
EOF
ime_env=(HOME="$ime_home" XDG_CONFIG_HOME="$ime_home/.config" XDG_CACHE_HOME="$ime_home/.cache"
    XDG_DATA_HOME="$ime_home/.local/share" XDG_RUNTIME_DIR="$ime_home/run"
    GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1)
ime_user=()
if [ "$(id -u)" = 0 ]; then
    chmod 711 "$E2E_TMP"
    chown -R 65534:65534 "$ime_home"
    ime_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    E2E_APP_OWNER=65534:65534
fi
as_ime() {
    env "${ime_env[@]}" ${ime_user[@]+"${ime_user[@]}"} "$@"
}

# Each daemon starts a session of its own; stopping them stops every process of those sessions,
# the engine, the conversion server and whatever the bus started on demand included.
ime_sessions=()
ime_start() {
    local out="$1"
    shift
    # A job of a script is no process group leader, so setsid starts no new process: the
    # session's id is the daemon's pid.
    setsid env "${ime_env[@]}" ${ime_user[@]+"${ime_user[@]}"} "$@" >"$out" 2>>"$E2E_TMP/ime.log" &
    ime_sessions+=($!)
}
ime_stop() {
    local sid pids="" try
    [ -z "${E2E_APP_PID:-}" ] || kill "$E2E_APP_PID" 2>/dev/null || true
    for try in $(seq 1 100); do
        pids=""
        for sid in "${ime_sessions[@]}"; do
            # Zombies have ended; the daemons among them are reaped below.
            pids+=" $(ps -o pid=,stat= -s "$sid" | awk '$2 !~ /^Z/ { print $1 }' || true)"
        done
        if [ -z "${pids// /}" ]; then
            wait "${ime_sessions[@]}" 2>/dev/null || true
            return 0
        fi
        # shellcheck disable=SC2086
        if [ "$try" -lt 60 ]; then
            kill $pids 2>/dev/null || true
        else
            kill -KILL $pids 2>/dev/null || true
        fi
        sleep 0.05
    done
    echo "left running: $pids" >&2
}
trap 'ime_stop; e2e_cleanup' EXIT

e2e_start_x
ime_start "$E2E_TMP/bus-address" dbus-daemon --session --nofork --nopidfile --print-address=1
e2e_until test -s "$E2E_TMP/bus-address" || e2e_fail "the session bus did not start"
ime_env+=(DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$E2E_TMP/bus-address")" DISPLAY="$DISPLAY")
ime_start "$E2E_TMP/ibus.log" ibus-daemon --panel=disable --emoji-extension=disable
ibus_up() {
    local a
    a="$(as_ime ibus address 2>/dev/null)"
    [ -n "$a" ] && [ "$a" != "(null)" ]
}
e2e_until ibus_up || e2e_fail "ibus-daemon did not start"
as_ime ibus list-engine 2>/dev/null | grep -qw mozc-jp || skip "the mozc engine is not installed"
# It selects the engine, then fails on the keyboard layout it tries to set: its status says
# nothing. The engine in use says whether it worked.
as_ime ibus engine mozc-jp >/dev/null 2>&1 || true
e2e_until bash -c '[ "$("$@" ibus engine 2>/dev/null)" = mozc-jp ]' _ \
    env "${ime_env[@]}" ${ime_user[@]+"${ime_user[@]}"} || e2e_fail "mozc could not be selected"

E2E_APP_AS=(env "${ime_env[@]}" QT_IM_MODULE=ibus ${ime_user[@]+"${ime_user[@]}"})
e2e_start_app
e2e_open_editor

# The whole canvas as the clipboard gets it; the caret goes back to the first cell.
read_canvas() {
    printf '' | xclip -selection clipboard
    xdotool key ctrl+a ctrl+c
    e2e_until bash -c '[ -n "$(xclip -selection clipboard -o)" ]' || e2e_fail "the canvas was not copied"
    xdotool key ctrl+Home
    e2e_clipboard
}
# Mozc has the canvas's keys once a typed "a" only composes (Escape then drops it). Until then
# the "a" reaches the canvas; it is taken back and the probe tried again.
mozc_has_the_keys() {
    xdotool type a
    xdotool key Escape
    [ "$(read_canvas | head -c1)" != a ] && return 0
    xdotool key ctrl+z
    return 1
}
e2e_until mozc_has_the_keys || e2e_fail "the keys never went through mozc"

full=$'\u3000'

# Line 1: romaji "a", Enter commits あ over the first cell.
xdotool type --delay 30 a
xdotool key Return
# Line 2: "nihon", Space converts, Enter commits the first candidate.
xdotool key ctrl+Home Down
xdotool type --delay 30 nihon
xdotool key space Return
# Line 3: mozc makes "~" the wave dash U+301C; the canvas holds its code page 932 form U+FF5E.
xdotool key ctrl+Home Down Down
xdotool type --delay 30 '~'
xdotool key Return
# Line 4: "abcdef" (pasted: mozc would convert it), "abcd" selected, then a composed あ.
printf 'abcdef' | xclip -selection clipboard
xdotool key ctrl+Home Down Down Down ctrl+v Home shift+Right shift+Right shift+Right shift+Right
xdotool type --delay 30 a
xdotool key Return

want="あ$(e2e_repeat "$full" 34)"
want+=$'\n'"日本$(e2e_repeat "$full" 33)"
want+=$'\n'"～$(e2e_repeat "$full" 34)"
want+=$'\n'"あ  ef$(e2e_repeat "$full" 32)"
e2e_expect_eq "the first four lines after typing through mozc" "$(read_canvas | head -n4)" "$want"

# Line 5: an emoji typed while mozc has the keys. Code page 932 lacks it; the canvas keeps it
# in one cell (it used to become "?"), and the saved Shift_JIS file holds its reference.
type_emoji() {
    xdotool key ctrl+Home Down Down Down Down
    xdotool type --delay 30 $'\U0001F600'
}
type_emoji
# xdotool types a character its keymap lacks by remapping a spare key for a moment; on a busy
# machine the key can arrive before the new map and nothing is typed. A line still untouched
# says so, and the character is typed again.
for _ in 1 2; do
    [ "$(read_canvas | sed -n 5p)" = "$(e2e_repeat "$full" 35)" ] || break
    type_emoji
done
e2e_expect_eq "the emoji typed through the input method" "$(read_canvas | sed -n 5p)" \
    $'\U0001F600'" $(e2e_repeat "$full" 34)"
# The program may run as another user here (see ime_user): a folder it can write to.
mkdir -p "$E2E_TMP/saved" && chmod 777 "$E2E_TMP/saved"
picture="$E2E_TMP/saved/emoji.txt"
# The name is pasted: mozc would compose typed letters.
printf '%s' "$picture" | xclip -selection clipboard
xdotool key alt+f a
e2e_wait_active '名前を付けて保存'
xdotool key ctrl+a ctrl+v Return
e2e_wait_active "^$picture - Masumemo\$"
e2e_expect_eq "the emoji saved as a reference" "$(sed -n 5p "$picture" | tr -d '\r')" '&#x1F600;'
echo "PASS input method"
