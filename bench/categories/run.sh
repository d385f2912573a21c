#!/usr/bin/env bash
# Categories of a large library: launch and a category rename with 10,000 recordings.
# Usage: bench/categories/run.sh [COUNT]   (default 10000; BREVOIR_BUILD names the build folder)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BREVOIR_BUILD:-$root/build}
bench=$build/bin/bench_categories
[ -x "$bench" ] || { echo "build bench_categories first (cmake --build $build --target bench_categories)" >&2; exit 1; }
exec "$root/scripts/test-rig.sh" "$bench" --count "${1:-10000}"
