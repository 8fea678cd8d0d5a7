# Shared helpers of the end-to-end tests: a private X server with a window manager, the real
# program started from a temporary copy of its directory, and xdotool/xclip to act as a person.
# Source it; call e2e_start_x first. Everything started here is stopped on exit.
set -euo pipefail

E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
: "${MASUMEMO_BIN:?MASUMEMO_BIN must name the built program}"
E2E_TMP="$(mktemp -d)"
E2E_PIDS=()
E2E_TIMEOUT="${E2E_TIMEOUT:-20}"
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# Recovery snapshots of this run's own: a picture left by another run must not be offered here.
export XDG_STATE_HOME="$E2E_TMP/state"
unset WAYLAND_DISPLAY

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${E2E_PIDS[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

e2e_fail() {
    echo "FAIL: $*" >&2
    local log
    for log in "$E2E_TMP"/*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; tail -n 20 "$log" >&2; }
    done
    if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
        import -window root "${E2E_SHOT_DIR:-/tmp}/e2e-failure-$$.png" 2>/dev/null &&
            echo "screenshot: ${E2E_SHOT_DIR:-/tmp}/e2e-failure-$$.png" >&2
    fi
    exit 1
}

# Polls a command until it succeeds or E2E_TIMEOUT seconds pass. Polling is bounded and
# waits for an observable state, never for a fixed time.
e2e_until() {
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}

e2e_start_x() {
    # A display number of our own: another X server on this machine (a developer's, a
    # parallel test's, or a stale socket left by a killed one) must never receive our window.
    local n try
    for try in $(seq 1 20); do
        n=$((100 + RANDOM % 800))
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$E2E_TMP/xvfb.log" 2>&1 &
        local pid=$!
        export DISPLAY=":$n"
        if e2e_until xdpyinfo && kill -0 "$pid" 2>/dev/null; then
            E2E_PIDS+=($pid)
            break
        fi
        kill "$pid" 2>/dev/null || true
        unset DISPLAY
    done
    [ -n "${DISPLAY:-}" ] || e2e_fail "no X server could be started"
    openbox --config-file "$E2E_DIR/openbox-rc.xml" >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    # A window mapped while the window manager is still starting can be left unmanaged: go on
    # only once openbox has announced itself on the root window.
    e2e_until bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
        e2e_fail "openbox did not start"
    # A clean clipboard owner for the tests' own clipboard checks.
    printf '' | xclip -selection clipboard
}

# Copies the program and its default dictionary into a fresh directory (the program keeps its
# settings beside itself) and starts it there; arguments go to the program. Sets E2E_APP_DIR.
# Optional: E2E_APP_AS, command words put before the program (another user, another
# environment), and E2E_APP_OWNER, the user:group the copy is given to.
e2e_start_app() {
    E2E_APP_DIR="$E2E_TMP/app"
    mkdir -p "$E2E_APP_DIR"
    cp "$MASUMEMO_BIN" "$E2E_APP_DIR/masumemo"
    local dict
    dict="$(dirname "$MASUMEMO_BIN")/Defolt.txt"
    [ -f "$dict" ] && cp "$dict" "$E2E_APP_DIR/"
    [ -z "${E2E_APP_OWNER:-}" ] || chown -R "$E2E_APP_OWNER" "$E2E_APP_DIR"
    (cd "$E2E_APP_DIR" &&
        QT_QPA_PLATFORM=xcb exec ${E2E_APP_AS[@]+"${E2E_APP_AS[@]}"} ./masumemo "$@" >"$E2E_TMP/app.log" 2>&1) &
    E2E_APP_PID=$!
    E2E_PIDS+=($E2E_APP_PID)
}

# Waits for a visible window of the program (of any title); prints its id.
e2e_any_window() {
    local id=""
    local deadline=$((SECONDS + E2E_TIMEOUT))
    while [ $SECONDS -lt $deadline ]; do
        id="$(xdotool search --onlyvisible --class masumemo 2>/dev/null | head -n1 || true)"
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "the program ended"
        sleep 0.05
    done
    e2e_fail "no window of the program appeared"
}

# Waits for a visible window whose title matches the regular expression; prints its id.
e2e_window() {
    local name="$1" id=""
    local deadline=$((SECONDS + E2E_TIMEOUT))
    while [ $SECONDS -lt $deadline ]; do
        id="$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n1 || true)"
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.05
    done
    e2e_fail "no window named '$name' appeared"
}

# Waits until the window manager has taken the window in (it then carries WM_STATE).
e2e_wait_managed() {
    e2e_until bash -c "xprop -id $1 WM_STATE | grep -q 'window state'" ||
        e2e_fail "window $1 was never managed"
}

# Clicks at (x, y) inside window w until the check command succeeds, as a person clicks again
# when the first click went in before the window was ready. At most three clicks.
e2e_click_until() {
    local w="$1" x="$2" y="$3"
    shift 3
    local try
    for try in 1 2 3; do
        xdotool mousemove --window "$w" "$x" "$y" click 1
        E2E_TIMEOUT=5 e2e_until "$@" && return 0
    done
    return 1
}

# Chooses "Masumemo起動" in the chooser and waits for the untitled editor to have the focus,
# with the caret in the canvas at its first cell. Sets E2E_EDITOR.
e2e_open_editor() {
    local chooser
    chooser="$(e2e_any_window)"
    e2e_wait_managed "$chooser"
    # "Masumemo起動" sits at 75,825 twips inside the frame at 75,0: about (68, 68) pixels in.
    e2e_click_until "$chooser" 68 68 xdotool search --onlyvisible --name '住所不定 - Masumemo' ||
        e2e_fail "the editor did not open"
    E2E_EDITOR="$(e2e_window '住所不定 - Masumemo')"
    e2e_wait_active '住所不定 - Masumemo'
    # The canvas fills the lower part of the window: click into it, then Ctrl+Home.
    eval "$(xdotool getwindowgeometry --shell "$E2E_EDITOR")"
    xdotool mousemove --window "$E2E_EDITOR" $((WIDTH / 2)) $((HEIGHT - 120)) click 1
    xdotool key ctrl+Home
}

e2e_active_window_name() {
    xdotool getactivewindow getwindowname 2>/dev/null || true
}

# Waits until the active window's title matches the regular expression.
e2e_wait_active() {
    local name="$1"
    e2e_until bash -c "xdotool getactivewindow getwindowname 2>/dev/null | grep -Eq -- '$name'" ||
        e2e_fail "active window is '$(e2e_active_window_name)', expected '$name'"
}

# Prints TEXT repeated N times (a canvas line of N full-width spaces, for instance).
e2e_repeat() {
    local s="" i
    for ((i = 0; i < $2; i++)); do s+="$1"; done
    printf '%s' "$s"
}

e2e_clipboard() {
    xclip -selection clipboard -o 2>/dev/null || true
}

e2e_expect_eq() {
    local what="$1" got="$2" want="$3"
    if [ "$got" != "$want" ]; then
        printf 'got:  %q\nwant: %q\n' "$got" "$want" >&2
        e2e_fail "$what"
    fi
}
