#!/usr/bin/env bash
# Builds ostrel and its benchmark in a Release build directory and runs the benchmark.
#
#   scripts/bench.sh [ostrel_bench options and sizes]
#
# With no arguments it measures 1,000, 5,000 and 20,000 services, three times each (median).
# The build directory is build-bench beside this script's parent (BUILD_DIR overrides it).
# The benchmark writes into fresh directories under the system's temporary directory and
# removes them only at its very end; see docs/performance.md for what it measures.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-bench}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target ostrel ostrel_bench >/dev/null
exec "$build/bench/ostrel_bench" "$@"
