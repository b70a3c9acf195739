#!/usr/bin/env bash
# Thirty interactive sessions (real time) each drag TextEdit's window by its title bar and end
# where a script's drag ends: the drag's last step and its release fall due at one instant and run
# in the order they were scheduled. Then each makes a drag by hand (mouse down, two moves, mouse
# up, read at once from standard input) with Maximize chosen, and the window snaps as in a script:
# each move with the button held gives the drag monitor its sample. The sessions run in parallel,
# each with its own HOME and XDG_* folders under a temporary folder.
# Usage: interactive-drag.sh TILMORA
set -u
tilmora=$1
sessions=30
expected='com.apple.TextEdit "Untitled" frame 220.0 180.0 800.0 600.0 space 1'
snapped='com.apple.TextEdit "Notes" frame 0.0 0.0 1440.0 875.0 space 1'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() { # N
    local home="$work/home-$1"
    mkdir -p "$home"
    printf '%s\n' 'drag 500 760 to 600 760' 'show windows' 'menu pick "Maximize"' \
        'window open com.apple.TextEdit "Notes" 200 200 600 400' 'mouse move 500 590' 'mouse down' \
        'mouse move 400 700' 'mouse move 1300 100' 'mouse up' 'show windows' 'quit' |
        HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
        XDG_CACHE_HOME="$home/.cache" XDG_STATE_HOME="$home/.local/state" TMPDIR="$work" \
        "$tilmora" > "$work/out-$1" 2>&1
}
for i in $(seq 1 "$sessions"); do run "$i" & done
wait
failures=0
for i in $(seq 1 "$sessions"); do
    if ! grep -qF "$expected" "$work/out-$i" || ! grep -qF "$snapped" "$work/out-$i"; then
        echo "FAIL session $i:"; cat "$work/out-$i"; failures=$((failures + 1))
    fi
done
echo "$((sessions - failures)) of $sessions sessions ended the drag at 220.0 180.0 and snapped the drag made by hand"
[ "$failures" -eq 0 ]
