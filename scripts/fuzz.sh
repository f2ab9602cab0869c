#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into ./build-fuzz and runs each for a given time.
#   bash scripts/fuzz.sh [seconds per target, default 60] [target ...]
# Needs, beyond the README's set-up, clang with its runtime (the fuzzer's main and the
# sanitizer runtimes live in libclang-rt-14-dev); installed here when missing.
# Each target starts from its seed corpus in fuzz/corpus/<name> and grows a working corpus in
# build-fuzz/corpus/<name>; a crashing input is left in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(language_file settings par_gen rule_tables compile eds)
fi

if ! command -v clang++ >/dev/null || ! dpkg -s libclang-rt-14-dev >/dev/null 2>&1; then
    if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update
    "${sudo[@]}" apt-get install -y --no-install-recommends clang libclang-rt-14-dev
fi

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
      -DCMAKE_CXX_COMPILER=clang++ -DSWZ_FUZZ=ON -DSWZ_BENCHMARKS=OFF -DBUILD_TESTING=OFF
for t in "${targets[@]}"; do
    cmake --build build-fuzz -j2 --target "fuzz_$t"
done

mkdir -p build-fuzz/findings
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The targets write their files into a scratch folder; in memory they run many times faster.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
status=0
for t in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$t
    mkdir -p "$corpus"
    echo "== fuzz_$t for ${seconds}s"
    rc=0
    build-fuzz/fuzz/fuzz_"$t" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix=build-fuzz/findings/"$t"- \
        "$corpus" fuzz/corpus/"$t" >build-fuzz/fuzz_"$t".log 2>&1 || rc=$?
    grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::average_exec_per_sec|==[0-9]+==ERROR|SUMMARY|invariant)' \
        build-fuzz/fuzz_"$t".log || true
    if [ "$rc" -ne 0 ]; then
        echo "fuzz_$t: finding (exit $rc), see build-fuzz/fuzz_$t.log and build-fuzz/findings/"
        status=1
    fi
done
exit $status
