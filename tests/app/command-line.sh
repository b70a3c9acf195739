#!/usr/bin/env bash
# The program's options: --help and --version on standard output with exit 0, a bad option
# refused with the usage on standard error and exit 2, --desktop starting a script on a desktop.
# A script whose output is closed early ends as at quit: exit 141, no private folder left.
# Usage: command-line.sh TILMORA
set -u
tilmora=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

# NAME, the arguments, the exit status, and a text each of the two outputs must hold.
check() { # NAME STATUS STDOUT-TEXT STDERR-TEXT ARGS...
    local name=$1 want=$2 outText=$3 errText=$4
    shift 4
    "$tilmora" "$@" >"$work/out" 2>"$work/err" </dev/null
    local status=$?
    if [ "$status" -ne "$want" ]; then fail "$name: exit $status, expected $want"; return; fi
    if [ -n "$outText" ] && ! grep -qF -- "$outText" "$work/out"; then
        fail "$name: standard output lacks \"$outText\": $(cat "$work/out")"; return
    fi
    if [ -n "$errText" ] && ! grep -qF -- "$errText" "$work/err"; then
        fail "$name: standard error lacks \"$errText\": $(cat "$work/err")"; return
    fi
    echo "ok $name"
}

"$tilmora" --help >"$work/help" 2>&1 || fail "--help: exit $?"
for word in --script --home --desktop --version README.md docs/console.md; do
    grep -qF -- "$word" "$work/help" || fail "--help does not name $word"
done
printf 'expect screens 1\n' >"$work/one-screen.tilmora"
printf '{"fixture": "two-displays"}' >"$work/two.json"
check "--version" 0 "tilmora 0.1" "" --version
check "unknown option" 2 "" "usage: tilmora" --frobnicate
check "misspelt option" 2 "" "tilmora: unknown option: --scirpt; did you mean --script?" --scirpt x
check "help as a word" 0 "--desktop NAME|FILE" "" help
check "unreadable script" 2 "" "tilmora: cannot read script: $work/none.tilmora: no such file" --script "$work/none.tilmora"
check "missing value" 2 "" "--script needs a value" --script
check "--desktop laptop" 0 "passed: 1 expects" "" --desktop laptop --script "$work/one-screen.tilmora"
check "--desktop FILE" 1 "failed: 1 of 1 expects, 0 errors" "" --desktop "$work/two.json" --script "$work/one-screen.tilmora"
check "--desktop unknown" 2 "" "unknown desktop: moon" --desktop moon --script "$work/one-screen.tilmora"

# A display out of the desktop's range is refused by every way in, naming the value and the range,
# and the session goes on and draws its picture; windows far away draw too (no sanitizer report).
far='{"fixture": "laptop", "displays": [{"id": 2, "name": "Far", "frame": [1e20, 0, 100, 100], "visible": [1e20, 0, 100, 100], "scale": 1, "spaces": 1}], "apps": []}'
printf '%s' "$far" >"$work/far.json"
check "--desktop out of range" 2 "" "tilmora: --desktop $work/far.json: bad desktop file: displays[0].frame: x 1e+20: must be within ±1e9 points" \
    --desktop "$work/far.json" --script "$work/one-screen.tilmora"
cat >"$work/far.tilmora" <<SCRIPT
desktop load $work/far.json
desktop default
program launch
screen add 3 frame 1e308 0 100 100 visible 1e308 0 100 100
screen add 3 frame 0 0 3e38 3e38 visible 0 0 3e38 3e38
window open com.apple.TextEdit "Far" 1e300 1e300 1e300 1e300
window open com.apple.TextEdit "Wide" -1e308 -1e308 1e308 1e308
show picture $work/far.png
screen add 3 frame 1000000000 0 100 100
show picture $work/far.png
expect screens 3
SCRIPT
check "displays out of range" 2 "failed: 0 of 1 expects, 4 errors" "" --script "$work/far.tilmora"
for text in "error: line 1: bad desktop file: displays[0].frame: x 1e+20: must be within ±1e9 points" \
    "error: line 4: frame x 1e+308: must be within ±1e9 points" \
    "error: line 5: frame width 3e+38: must be above 0 and at most 1e6 points" \
    "picture $work/far.png 3360 x 1080" \
    "error: line 10: a picture of 1000000100 x 1080 pixels is over 16384 pixels on a side"; do
    grep -qF -- "$text" "$work/out" || fail "displays out of range: no \"$text\" in $(cat "$work/out")"
done
[ -s "$work/err" ] && fail "displays out of range: standard error: $(cat "$work/err")"

# The reader goes after 100 bytes while the script has far more to print than a pipe holds.
mkdir -p "$work/tmp"
for _ in $(seq 1 300); do echo help; done >"$work/long-output.tilmora"
TMPDIR="$work/tmp" "$tilmora" --script "$work/long-output.tilmora" 2>"$work/err" | head -c 100 >/dev/null
status=${PIPESTATUS[0]}
if [ "$status" -ne 141 ]; then fail "output closed early: exit $status, expected 141"
elif [ -n "$(ls -A "$work/tmp")" ]; then fail "output closed early: left $(ls -A "$work/tmp") in the temporary folder"
elif [ -s "$work/err" ]; then fail "output closed early: standard error: $(cat "$work/err")"
else echo "ok output closed early"
fi
[ "$failures" -eq 0 ]
