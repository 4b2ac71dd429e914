#!/usr/bin/env bash
# Installs what is missing, builds ostrel and its tests with warnings as errors, and runs every
# test.
#
#   scripts/test.sh [build-dir [extra cmake options...]]
#
# The build directory defaults to build-test at the top of the checkout.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-"$top/build-test"}
shift || true

"$top/scripts/install-deps.sh" --test
cmake -S "$top" -B "$build_dir" -DOSTREL_WERROR=ON "$@"
cmake --build "$build_dir" -j"${OSTREL_JOBS:-2}"
ctest --test-dir "$build_dir" --output-on-failure
