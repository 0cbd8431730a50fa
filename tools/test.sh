#!/usr/bin/env bash
# Builds every configuration and runs all tests: native, native under AddressSanitizer
# and UndefinedBehaviorSanitizer, a bounded libFuzzer run, and the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh

jobs=$(nproc)
build() {  # build DIR [cmake options...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
    cmake --build "$dir" -j"$jobs" >/dev/null
}

build build/native
build build/sanitize -DCORVANE_SANITIZE=ON
build build/win32 --toolchain cmake/mingw-i686.cmake
build build/fuzz -DCORVANE_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
ctest --test-dir build/native --output-on-failure -j"$jobs"
ctest --test-dir build/sanitize --output-on-failure -j"$jobs"
ctest --test-dir build/fuzz --output-on-failure
# Wine's windows need a display; tests that show none do not mind one.
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build/win32 --output-on-failure
