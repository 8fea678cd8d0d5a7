#!/usr/bin/env bash
# The Debian package as a user meets it: lintian finds nothing, apt-get installs it, the
# installed program starts in a private X server (chooser, editor, Egaocho reading the installed
# Defolt.txt, the user's files written to the configuration folder), and a purge leaves nothing
# of it in the system folders. Needs root: it installs into the running system.
#   test_package.sh <masumemo_version_arch.deb>     (MASUMEMO_BIN: any built program, for lib.sh)
export MASUMEMO_BIN="${MASUMEMO_BIN:-/usr/bin/masumemo}"
source "$(dirname "$0")/../e2e/lib.sh"
deb="$(realpath "${1:?the .deb to test}")"
[ "$(id -u)" = 0 ] || e2e_fail "installing a package needs root"

lintian --fail-on error,warning "$deb" \
    >"$E2E_TMP/lintian.log" 2>&1 || e2e_fail "lintian: $(cat "$E2E_TMP/lintian.log")"

# What the package holds, to check after the purge.
mapfile -t files < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\./, "", $6); print $6}')
[ "${#files[@]}" -gt 5 ] || e2e_fail "the package holds almost nothing"
purge() {
    ! dpkg -s masumemo >/dev/null 2>&1 ||
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq masumemo >>"$E2E_TMP/apt.log" 2>&1
}
purge
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" \
    >"$E2E_TMP/apt.log" 2>&1 || e2e_fail "apt-get install: $(tail -n 5 "$E2E_TMP/apt.log")"
trap 'purge; e2e_cleanup' EXIT
for f in /usr/bin/masumemo /usr/share/masumemo/Defolt.txt /usr/share/man/man1/masumemo.1.gz \
    /usr/share/applications/masumemo.desktop /usr/share/doc/masumemo/copyright; do
    [ -f "$f" ] || e2e_fail "not installed: $f"
done
e2e_expect_eq "installed version" "$(/usr/bin/masumemo --version)" \
    "masumemo $(dpkg-deb -f "$deb" Version)"

export HOME="$E2E_TMP/home" XDG_CONFIG_HOME="$E2E_TMP/home/.config"
mkdir -p "$HOME"
e2e_start_x
start() {
    (cd "$HOME" && QT_QPA_PLATFORM=xcb exec /usr/bin/masumemo "$@" >>"$E2E_TMP/app.log" 2>&1) &
    E2E_APP_PID=$!
    E2E_PIDS+=($E2E_APP_PID)
}

# The chooser, then the editor. A file is written only for a change: F7 changes the push step,
# which the program's own settings remember.
start
chooser="$(e2e_any_window)"
e2e_wait_managed "$chooser"
e2e_click_until "$chooser" 68 68 xdotool search --onlyvisible --name '住所不定 - Masumemo' ||
    e2e_fail "the editor did not open from the chooser"
e2e_wait_active '住所不定 - Masumemo'
xdotool key F7
e2e_until test -s "$XDG_CONFIG_HOME/masumemo/masumemo.conf" ||
    e2e_fail "no masumemo.conf in the configuration folder"
xdotool key alt+f x
e2e_until bash -c "! kill -0 $E2E_APP_PID" || e2e_fail "the editor did not end"
for f in masuedit.ini masumemo.conf kaomoji.ini; do
    [ ! -e "/usr/bin/$f" ] || e2e_fail "$f written beside the installed program"
done

# Egaocho alone lists the installed default dictionary.
start --egaocho
e2e_window '^Egaocho$' >/dev/null
list="$XDG_CONFIG_HOME/masumemo/kaomoji.ini"
e2e_until test -s "$list" || e2e_fail "no kaomoji.ini in the configuration folder"
e2e_expect_eq "the list names the installed dictionary" "$(tr -d '\r' <"$list")" \
    "/usr/share/masumemo/Defolt.txt"
kill "$E2E_APP_PID"; wait "$E2E_APP_PID" 2>/dev/null || true

# Purged: nothing of the package is left in the system folders.
purge || e2e_fail "apt-get purge: $(tail -n 5 "$E2E_TMP/apt.log")"
trap e2e_cleanup EXIT
! dpkg -s masumemo >/dev/null 2>&1 || e2e_fail "still known to dpkg after the purge"
for f in "${files[@]}"; do
    [ ! -e "$f" ] || e2e_fail "left after the purge: $f"
done
for d in /usr/share/masumemo /usr/share/doc/masumemo; do
    [ ! -e "$d" ] || e2e_fail "left after the purge: $d"
done
echo "PASS package"
