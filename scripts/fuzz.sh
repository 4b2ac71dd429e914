#!/usr/bin/env bash
# Builds the libFuzzer target with clang++, AddressSanitizer and UndefinedBehaviorSanitizer and
# runs it for a bounded time over a seed corpus made from the golden cases and the malformed
# documents of the test suite. Fails on any crash, leak, sanitizer report, broken promise of the
# target (see fuzz/fuzz_generate.cpp) or slow input.
#
#   scripts/fuzz.sh [seconds [build-dir]]
#
# seconds defaults to 60, the build directory to build-fuzz at the top of the checkout. The
# inputs the run finds are kept in <build-dir>/corpus for the next run; a failing input is
# written to <build-dir>/artifacts/.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build_dir=${2:-"$top/build-fuzz"}

"$top/scripts/install-deps.sh" --test
cmake -S "$top" -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++ -DOSTREL_FUZZ=ON \
    -DOSTREL_WERROR=ON -DOSTREL_BUILD_TESTS=OFF -DOSTREL_BUILD_BENCH=OFF
cmake --build "$build_dir" --target fuzz_generate -j"${OSTREL_JOBS:-2}"

seeds="$build_dir/seeds"
corpus="$build_dir/corpus"
artifacts="$build_dir/artifacts"
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus" "$artifacts"
python3 "$top/fuzz/make_seeds.py" "$top" "$seeds"

log="$build_dir/fuzz.log"
status=0
ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build_dir/fuzz/fuzz_generate" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=16384 -print_final_stats=1 -dict="$top/fuzz/json.dict" \
    -artifact_prefix="$artifacts/" "$corpus" "$seeds" >"$log" 2>&1 || status=$?

# The run's figures: the last status line (executions, coverage) and the final statistics.
grep -E '^#[0-9]+' "$log" | tail -n 1 || true
grep -E '^stat::' "$log" || true
if [ "$status" -ne 0 ]; then
    echo "fuzz: the fuzzer failed (status $status); its log follows" >&2
    tail -n 80 "$log" >&2
    exit 1
fi
echo "fuzz: no failure in ${seconds} s"
