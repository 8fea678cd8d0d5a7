#!/bin/bash
# The posting check from the command line, without any display: one line per problem, a summary
# per file, and the exit status 0 (clean), 1 (problems) or 2 (a file that cannot be read).
set -u
BIN=${MASUMEMO_BIN:?MASUMEMO_BIN is not set}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
export HOME=$dir XDG_CONFIG_HOME=$dir/config XDG_RUNTIME_DIR=$dir
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

fail() { echo "FAIL: $*" >&2; exit 1; }

printf ' abc\r\nab  cd\r\n&amp;x\r\n' | iconv -f utf-8 -t cp932 > bad.txt
printf '\x82\xa0<\nb"\n\n' > good.txt   # "あ<", LF line ends, a trailing empty line

out=$("$BIN" --check good.txt 2>err.txt); status=$?
[ "$status" = 0 ] || fail "clean file: status $status"
# あ 2 + < 4, a break 6, b 1 + " 6: 19 bytes in 2 lines
[ "$out" = "good.txt: バイト数 19 / 4096、行数 2 / 64、問題 0" ] || fail "clean summary: $out"

out=$("$BIN" --check bad.txt good.txt); status=$?
[ "$status" = 1 ] || fail "problems: status $status"
expected="bad.txt:1:1: 行頭の半角スペース（消えます）
bad.txt:2:3: 半角スペースの連続（1つになります）
bad.txt:3:1: 文字参照（別の文字になります）
bad.txt: バイト数 28 / 4096、行数 3 / 64、問題 3
good.txt: バイト数 19 / 4096、行数 2 / 64、問題 0"
[ "$out" = "$expected" ] || fail "problem lines: $out"

out=$("$BIN" --check --max-bytes 18 --max-lines 1 good.txt); status=$?
[ "$status" = 1 ] || fail "over the limits: status $status"
expected="good.txt:2:2: バイト数の上限を超えます（19 / 18）
good.txt:2:1: 行数の上限を超えます（2 / 1）
good.txt: バイト数 19 / 18、行数 2 / 1、問題 2"
[ "$out" = "$expected" ] || fail "limit lines: $out"

"$BIN" --check good.txt missing.txt >out.txt 2>err.txt; status=$?
[ "$status" = 2 ] || fail "unreadable file: status $status"
grep -q '^missing.txt: ' err.txt || fail "no reason on standard error: $(cat err.txt)"
grep -q '^good.txt: ' out.txt || fail "the readable file was not checked"

"$BIN" --max-lines 3 good.txt >/dev/null 2>&1; status=$?
[ "$status" = 2 ] || fail "--max-lines without --check: status $status"

# A name with a line break is written escaped, so every report line still starts with a name.
cp bad.txt "$(printf 'two\nlines.txt')"
out=$("$BIN" --check "$(printf 'two\nlines.txt')"); status=$?
[ "$status" = 1 ] || fail "escaped name: status $status"
[ "$(printf '%s\n' "$out" | head -n 1)" = 'two\nlines.txt:1:1: 行頭の半角スペース（消えます）' ] ||
    fail "escaped name: $out"
[ "$(printf '%s\n' "$out" | wc -l)" = 4 ] || fail "escaped name: lines broken apart: $out"

# A name that starts with a dash: refused as typed, with the way to give it; taken after "--".
cp good.txt ./-dash.txt
"$BIN" --check -dash.txt >out.txt 2>err.txt; status=$?
[ "$status" = 2 ] || fail "dashed name: status $status"
grep -q -- '未知のオプション: -dash.txt' err.txt || fail "dashed name not named: $(cat err.txt)"
grep -q -- '-- -dash.txt' err.txt || fail "no mention of --: $(cat err.txt)"
out=$("$BIN" --check -- -dash.txt); status=$?
[ "$status" = 0 ] || fail "dashed name after --: status $status"

"$BIN" --check --max-bytes 99999999999999 good.txt >out.txt 2>err.txt; status=$?
[ "$status" = 2 ] || fail "huge limit: status $status"
grep -q -- '--max-bytes が大きすぎます。100000000 までの数です。' err.txt ||
    fail "huge limit: $(cat err.txt)"
echo "ok"
