#!/usr/bin/env bash
# Runs a console script as a user would from the checkout's root, and checks that it kept to its
# private folder: standard error stays empty; the home folder (a fake HOME) and the temporary
# folder are empty at the end; every file it wrote in the working folder (a fresh one, with the
# checkout's folders) is either the checkout's own file at that place, byte for byte, or one the
# checkout ignores. The script's transcript passes through; the exit status is the script's, or 3
# when a check failed. With "verdict", the script must also pass and say so: its last line is
# "passed: N expects" with N > 0.
# Usage: run-quietly.sh TILMORA SCRIPT CHECKOUT [verdict]
set -u
tilmora=$1 script=$2 checkout=$3 verdict=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/tmp" "$work/root"
(cd "$checkout" && find . -mindepth 1 -maxdepth 1 -type d ! -name '.*' ! -name build -exec mkdir -p "$work/root/{}" \;)
(cd "$work/root" && HOME="$work/home" TMPDIR="$work/tmp" "$tilmora" --script "$script" 2>"$work/err" >"$work/out")
status=$?
cat "$work/out"
failed=0
if [ "$verdict" = verdict ]; then
    last=$(tail -n 1 "$work/out")
    if [ "$status" -ne 0 ] || ! [[ "$last" =~ ^passed:\ [1-9][0-9]*\ expects$ ]]; then
        echo "FAIL: the script did not pass with \"passed: N expects\", N > 0, as its last line: $last"; failed=1
    fi
fi
if [ -s "$work/err" ]; then
    echo "FAIL: standard error was not empty:"; cat "$work/err"; failed=1
fi
for folder in home tmp; do
    if [ -n "$(ls -A "$work/$folder")" ]; then
        echo "FAIL: the $folder folder was written: $(cd "$work/$folder" && find . -mindepth 1)"; failed=1
    fi
done
while IFS= read -r -d '' file; do
    file=${file#./}
    if [ -f "$checkout/$file" ]; then
        cmp -s "$work/root/$file" "$checkout/$file" || { echo "FAIL: $file differs from the checkout's"; failed=1; }
    elif git -C "$checkout" rev-parse --git-dir >/dev/null 2>&1 && ! git -C "$checkout" check-ignore -q "$file"; then
        echo "FAIL: $file is written where the checkout does not ignore it"; failed=1
    fi
done < <(cd "$work/root" && find . -type f -print0)
[ "$failed" -eq 0 ] || exit 3
exit "$status"
