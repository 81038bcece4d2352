#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs each fuzz target for a bounded time
# (FUZZ_SECONDS, 20 by default; 0 skips them), then every test headless.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
# Compiler cache hits across clones and work trees of the project.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DQUILLET_SANITIZE=ON -DQUILLET_TESTS=ON \
      -DQUILLET_BENCH=ON >/dev/null  # the benchmark is compiled too, so it cannot rot
cmake --build build-test -j"$(nproc)"

fuzz_seconds=${FUZZ_SECONDS:-20}
if [ "$fuzz_seconds" -gt 0 ]; then
  cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
        -DQUILLET_FUZZ=ON -DQUILLET_TESTS=OFF >/dev/null
  cmake --build build-fuzz -j"$(nproc)" --target fuzzers
  ./fuzz/run.sh build-fuzz "$fuzz_seconds"
fi

# The test suite runs last so that its summary closes the output.
cd build-test
ctest --output-on-failure -j"$(nproc)" --timeout 300
