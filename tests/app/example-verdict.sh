#!/usr/bin/env bash
# An example script passes and says so: it exits 0 and its transcript's last line is
# "passed: N expects" with N > 0.
# Usage: example-verdict.sh TILMORA SCRIPT
set -u
output=$("$1" --script "$2")
status=$?
printf '%s\n' "$output"
last=$(printf '%s\n' "$output" | tail -n 1)
if [ "$status" -ne 0 ]; then
    echo "FAIL: exit $status" >&2; exit 1
fi
if ! [[ "$last" =~ ^passed:\ [1-9][0-9]*\ expects$ ]]; then
    echo "FAIL: the last line is not \"passed: N expects\" with N > 0: $last" >&2; exit 1
fi
