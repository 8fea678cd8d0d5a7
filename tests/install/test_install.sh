#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks what lands where and that desktop tools
# accept the menu entry and the metadata, then starts the installed program in a private X
# server: the chooser appears, Egaocho finds the installed default dictionary, and its list
# file goes to the user's configuration folder, never beside the installed program.
#   test_install.sh <build dir>     (MASUMEMO_BIN names the built program, for lib.sh)
source "$(dirname "$0")/../e2e/lib.sh"
build="${1:?build directory}"
prefix="$E2E_TMP/prefix"
cmake --install "$build" --prefix "$prefix" >"$E2E_TMP/install.log" 2>&1 ||
    e2e_fail "cmake --install failed: $(tail -n 5 "$E2E_TMP/install.log")"

share="$prefix/share"
metainfo="$share/metainfo/io.github.masumemo.Masumemo.metainfo.xml"
for f in bin/masumemo share/masumemo/Defolt.txt share/applications/masumemo.desktop \
    share/icons/hicolor/scalable/apps/masumemo.svg share/icons/hicolor/256x256/apps/masumemo.png \
    share/metainfo/io.github.masumemo.Masumemo.metainfo.xml share/man/man1/masumemo.1.gz; do
    [ -f "$prefix/$f" ] || e2e_fail "not installed: $f"
done
[ -x "$prefix/bin/masumemo" ] || e2e_fail "the installed program is not executable"
e2e_expect_eq "icon size" "$(identify -format '%wx%h' "$share/icons/hicolor/256x256/apps/masumemo.png")" \
    "256x256"
desktop-file-validate "$share/applications/masumemo.desktop" || e2e_fail "desktop entry refused"
grep -q '^Name\[ja\]=' "$share/applications/masumemo.desktop" || e2e_fail "no Japanese name"
grep -q '^Categories=Graphics;' "$share/applications/masumemo.desktop" || e2e_fail "not in Graphics"
grep -q '<release version="[0-9.]*" date="[0-9-]*"/>' "$metainfo" || e2e_fail "no release in the metainfo"
# It opens the files it is given, plain text among them, and starts Egaocho alone as an action.
grep -qx 'Exec=masumemo %F' "$share/applications/masumemo.desktop" || e2e_fail "no %F in Exec"
grep -qx 'MimeType=text/plain;' "$share/applications/masumemo.desktop" || e2e_fail "no MimeType"
grep -qx 'Exec=masumemo --egaocho' "$share/applications/masumemo.desktop" ||
    e2e_fail "no Egaocho action"
appstreamcli validate --no-net "$metainfo" >"$E2E_TMP/appstream.log" 2>&1 ||
    e2e_fail "metainfo refused: $(cat "$E2E_TMP/appstream.log")"

# A user of our own, so the configuration folder is known and starts empty.
export HOME="$E2E_TMP/home" XDG_CONFIG_HOME="$E2E_TMP/home/.config"
mkdir -p "$HOME"
e2e_start_x
(cd "$HOME" && QT_QPA_PLATFORM=xcb exec "$prefix/bin/masumemo" >"$E2E_TMP/app.log" 2>&1) &
E2E_APP_PID=$!
E2E_PIDS+=($E2E_APP_PID)

chooser="$(e2e_any_window)"
e2e_wait_managed "$chooser"
xdotool windowactivate --sync "$chooser"
xdotool key Tab Return
e2e_window '^Egaocho$' >/dev/null
list="$XDG_CONFIG_HOME/masumemo/kaomoji.ini"
e2e_until test -s "$list" || e2e_fail "no kaomoji.ini in the configuration folder"
e2e_expect_eq "the list names the installed dictionary" "$(tr -d '\r' <"$list")" \
    "$share/masumemo/Defolt.txt"
e2e_expect_eq "files beside the installed program" "$(ls -A "$prefix/bin")" "masumemo"
echo "PASS install"
