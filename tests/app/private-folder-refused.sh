#!/usr/bin/env bash
# A script or an interactive session whose private folder cannot be made (no temporary folder, or
# a --home folder that cannot be made) is refused before any command runs, and the user's real
# folders (a fake HOME here) are left byte for byte as they were.
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
check() { # NAME TMPDIR [OPTION...]: a script, then an interactive session
    local name=$1 tmp=$2 output status kind
    shift 2
    for kind in script session; do
        if [ "$kind" = script ]; then
            output=$(HOME="$home" TMPDIR="$tmp" "$tilmora" --script "$work/script.tilmora" "$@" 2>&1)
        else
            output=$(HOME="$home" TMPDIR="$tmp" "$tilmora" "$@" <"$work/script.tilmora" 2>&1)
        fi
        status=$?
        if [ "$status" -ne 2 ] || [[ "$output" != "tilmora: cannot make a private folder for the $kind: "* ]]; then
            echo "FAIL $name ($kind): exit $status: $output"; failures=$((failures + 1))
        elif [ "$(fingerprint)" != "$before" ]; then
            echo "FAIL $name ($kind): the home folder changed"; failures=$((failures + 1))
        else
            echo "ok $name ($kind): $output"
        fi
    done
}
check "missing TMPDIR" "$work/missing"
touch "$work/a-file"
check "TMPDIR is a file" "$work/a-file"
check "--home is a file" "$work" --home "$work/a-file"
check "--home under a file" "$work" --home "$work/a-file/home"
check "--home with no name" "$work" --home ""
if [ "$(id -u)" -ne 0 ]; then
    mkdir "$work/read-only" && chmod a-w "$work/read-only"
    check "read-only TMPDIR" "$work/read-only"
    check "--home in a read-only folder" "$work" --home "$work/read-only/home"
else
    echo "skipped read-only TMPDIR: root writes anywhere"
fi
[ "$failures" -eq 0 ]
