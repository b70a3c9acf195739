#!/usr/bin/env bash
# Runs the README's walk (examples/walk.tilmora) as a user would from the checkout's root
# (run-quietly.sh: it must pass, say so, write nothing it should not) and checks that the README
# shows its transcript as the script prints it: the fenced block after the line
# "<!-- walk transcript: examples/walk.tilmora -->". A line "[... N more lines ...]" there stands
# for the N lines the script prints at that place (the README shortens the menu so).
# Usage: readme-walk.sh TILMORA CHECKOUT
set -u
tilmora=$1 checkout=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$here/run-quietly.sh" "$tilmora" "$checkout/examples/walk.tilmora" "$checkout" verdict >"$work/out"
status=$?
if [ "$status" -ne 0 ]; then
    cat "$work/out"
    echo "FAIL: the walk exited $status"
    exit 1
fi
awk '/^<!-- walk transcript: examples\/walk.tilmora -->$/ { marker = 1; next }
     marker == 1 && /^```$/ { marker = 2; next }
     marker == 2 && /^```$/ { exit }
     marker == 2 { print }' "$checkout/README.md" >"$work/readme"
if [ ! -s "$work/readme" ]; then
    echo "FAIL: README.md has no walk transcript after its marker line"
    exit 1
fi
# The script's output with the lines the README leaves out replaced by its marker lines.
awk 'NR == FNR { readme[++n] = $0; next }
     { out[++m] = $0 }
     END {
         j = 1
         for (i = 1; i <= n; i++) {
             if (readme[i] ~ /^\[\.\.\. [0-9]+ more lines/) {
                 split(readme[i], word, " ")
                 print readme[i]
                 j += word[2]
                 continue
             }
             if (j <= m) print out[j]
             j++
         }
         for (; j <= m; j++) print out[j]
     }' "$work/readme" "$work/out" >"$work/shown"
if ! diff -u "$work/readme" "$work/shown" >"$work/diff"; then
    echo "FAIL: README.md's walk transcript (-) is not what examples/walk.tilmora prints (+, shortened where the README says so):"
    cat "$work/diff"
    exit 1
fi
echo "the README's walk transcript matches ($(wc -l <"$work/out") lines)"
