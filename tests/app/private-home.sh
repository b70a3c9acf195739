#!/usr/bin/env bash
# The program never reaches the user's own folders: with HOME and XDG_* pointing at a fake home
# that holds a document and a settings file, an interactive session and a script that show the
# snap bar and save a snapshot leave it byte for byte as it was, say nothing on standard error and
# remove their fresh private folders. Two sessions over one `--home DIR` share what they stored.
# Usage: private-home.sh TILMORA
set -u
tilmora=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home="$work/home"
mkdir -p "$home/Documents" "$home/.config/tilmora" "$home/.local/share" "$work/tmp"
echo "keep" > "$home/Documents/notes.txt"
echo "keep" > "$home/Documents/Tilmora_log.txt"
echo '{"WMSnapBarVisible": {"bool": false}}' > "$home/.config/tilmora/Tilmora.json"
fingerprint() { (cd "$home" && find . -printf '%p %s %T@\n' | sort && find . -type f -exec md5sum {} + | sort); }
before=$(fingerprint)
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
# ARGS... with the commands on standard input; sets out, err and status.
console() {
    out=$(HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
          XDG_DOCUMENTS_DIR="$home/Documents" TMPDIR="$work/tmp" "$tilmora" "$@" 2>"$work/err")
    status=$?
    err=$(cat "$work/err")
}
# NAME EXPECTED-STATUS: the run's status, an empty standard error, an untouched home, no folder
# left in the temporary folder.
verdict() {
    if [ "$status" -ne "$2" ]; then fail "$1: exit $status"; echo "$out"
    elif [ -n "$err" ]; then fail "$1: standard error: $err"
    elif [ "$(fingerprint)" != "$before" ]; then fail "$1: the home folder changed"
    elif [ -n "$(ls -A "$work/tmp")" ]; then fail "$1: left $(ls -A "$work/tmp") in the temporary folder"
    else echo "ok $1"
    fi
}
store='menu pick "Show Snap Bar"
menu pick "Show Snapshot Manager"
ui type "Tilmora Snapshots" "snapshot.nameField" "Desk"
ui click "Tilmora Snapshots" "snapshot.save"
wait 1
expect toast "Desk"'
check='menu pick "Show Snapshot Manager"
expect menu "Show Snap Bar" checked
ui show "Tilmora Snapshots"'

console <<<"$store
quit"
verdict "interactive session" 0
[[ "$out" == *"Private folder: $work/tmp/tilmora-session-"*" (removed at the end)"* ]] || fail "no private folder line: $out"

console --script - <<<"desktop default
program launch
$store"
verdict "script" 0
[[ "$out" != *"Private folder"* ]] || fail "a script names its private folder: $out"

# One kept folder, the interactive session first, then a script with the option on either side.
kept="$work/kept/home"
console --home "$kept" <<<"$store
quit"
verdict "interactive session with --home" 0
[[ "$out" == *"Private folder: $kept (kept)"* ]] || fail "no kept folder line: $out"
[ -f "$kept/Library/Preferences/Tilmora.json" ] || fail "--home: no settings file in $kept"
for order in "--script - --home $kept" "--home $kept --script -"; do
    # shellcheck disable=SC2086
    console $order <<<"desktop default
program launch
$check"
    verdict "script $order" 0
    [[ "$out" == *'"Desk"'* ]] || fail "$order: the snapshot is not listed: $out"
done
# A script's own folder under --home is the one named, also when it is missing: the settings of
# the first run stay there.
[ -d "$kept/Documents" ] && [ -d "$kept/Library/Application Support" ] || fail "--home layout: $(ls -R "$kept")"
[ "$failures" -eq 0 ]
