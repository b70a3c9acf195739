#!/usr/bin/env bash
# A script whose private folder cannot be made is refused before any command runs, and the
# user's real folders (a fake HOME here) are left byte for byte as they were.
# Usage: private-folder-refused.sh TILMORA
set -u
tilmora=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
home="$work/home"
mkdir -p "$home/Documents" "$home/.config"
echo "keep" > "$home/Documents/Tilmora_log.txt"
printf 'desktop default\nprogram launch\ndefaults write WMGapSize double 9\n' > "$work/script.tilmora"
fingerprint() { (cd "$home" && find . -printf '%p %s %T@\n' | sort && find . -type f -exec md5sum {} + | sort); }
before=$(fingerprint)
failures=0
check() { # NAME TMPDIR
    local output status
    output=$(HOME="$home" TMPDIR="$2" "$tilmora" --script "$work/script.tilmora" 2>&1)
    status=$?
    if [ "$status" -ne 2 ] || [[ "$output" != "cannot make a private folder for the script: "* ]]; then
        echo "FAIL $1: exit $status: $output"; failures=$((failures + 1))
    elif [ "$(fingerprint)" != "$before" ]; then
        echo "FAIL $1: the home folder changed"; failures=$((failures + 1))
    else
        echo "ok $1: $output"
    fi
}
check "missing TMPDIR" "$work/missing"
touch "$work/a-file"
check "TMPDIR is a file" "$work/a-file"
if [ "$(id -u)" -ne 0 ]; then
    mkdir "$work/read-only" && chmod a-w "$work/read-only"
    check "read-only TMPDIR" "$work/read-only"
else
    echo "skipped read-only TMPDIR: root writes anywhere"
fi
[ "$failures" -eq 0 ]
