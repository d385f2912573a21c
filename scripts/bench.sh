#!/usr/bin/env bash
# Runs every benchmark of bench/ on the build in BUILD (default build/): a folder's run.sh
# where it has one (with its default length), else each of its executables inside the test rig.
# Usage: scripts/bench.sh [BUILD]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
export BREVOIR_BUILD=$build

status=0
for folder in "$root"/bench/*/; do
    name=$(basename "$folder")
    echo "== bench/$name"
    if [ -x "$folder/run.sh" ]; then
        "$folder/run.sh" || status=1
        continue
    fi
    for target in $(sed -n 's/^add_executable(\([A-Za-z0-9_]*\).*/\1/p' "$folder/CMakeLists.txt"); do
        "$root/scripts/test-rig.sh" "$build/bin/$target" || status=1
    done
done
exit $status
