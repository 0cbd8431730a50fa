#!/usr/bin/env bash
# Corvane's main job on a sandbox Windows: builds the program, creates a fresh Wine
# prefix seeded with sample traces, and runs Test, then Clear, from the command line,
# printing the activity log in UTF-8.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
cmake -S . -B build/win32 --toolchain cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j"$(nproc)" --target corvane corvane_wine_helper >/dev/null

prefix=$PWD/build/sandbox
rm -rf "$prefix" "$prefix.lock"
bash tools/seed-sandbox.sh "$prefix"

run() {
    echo "== corvane.exe $*"
    tools/wine-run.sh "$prefix" build/win32/corvane.exe "$@"
}
run /test /utf8
run /clear /utf8
echo "== the same Test again, after Clear"
run /test /utf8
