#!/usr/bin/env bash
# Runs scripts/check-layering on the fixture tree next to this file, which holds a model file that
# includes a snap-grid header, a model file that includes a control header and a platform
# internal, a windows file whose includes are all allowed, and a snapping header and its .cpp that
# both include the snap grid's facade (only the header may not). The check must fail and name
# exactly the bad includes.
#
#   check-layering-test.sh <repository root>
set -u
root=$1
here=$(cd "$(dirname "$0")" && pwd)

output=$(bash "$root/scripts/check-layering" "$here/fixture")
status=$?

failed=0
expect() {
  if [[ "$output" != *"$1"* ]]; then
    echo "missing from the output: $1"
    failed=1
  fi
}
refuse() {
  if [[ "$output" == *"$1"* ]]; then
    echo "unexpected in the output: $1"
    failed=1
  fi
}

if ((status != 1)); then
  echo "expected exit status 1, got $status"
  failed=1
fi
expect 'src/model/GridUser.hpp:5: includes "snapping/RoriDeru.hpp" of layer snapping, which is not below model'
expect 'src/model/DesktopPeek.cpp:3: includes "platform/control/SimDesktop.hpp", a simulator control header'
expect 'src/model/DesktopPeek.cpp:4: includes "platform/internal/DesktopModel.hpp", a platform internal'
expect 'src/snapping/GridPart.hpp:4: includes "snapping/RoriDeru.hpp", the facade of its layer, which only .cpp files there may include'
expect 'layering: 4 offending include(s)'
refuse 'Fine.hpp'
refuse 'model/Rect.hpp"'
refuse 'GridPart.cpp'
refuse 'GridPreset.hpp"'

if ((failed)); then
  echo "--- output of check-layering:"
  echo "$output"
  exit 1
fi
echo "check-layering names every bad include of the fixture"
