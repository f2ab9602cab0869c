#!/usr/bin/env bash
# The whole test suite: installs and builds (see setup-and-build.sh), runs the tests, then builds
# the same tests with AddressSanitizer + UndefinedBehaviorSanitizer into ./build-asan and runs
# them again. Any sanitizer finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-and-build.sh
ctest --test-dir build --output-on-failure

# Lean sanitizer build: little optimisation, line tables only, no benchmarks.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
      -DSWZ_SANITIZE=ON -DSWZ_BENCHMARKS=OFF
cmake --build build-asan -j2
ctest --test-dir build-asan --output-on-failure
