#!/usr/bin/env bash
# Corvane's main job on a sandbox Windows: builds the program, creates a fresh Wine
# prefix seeded with sample traces, and from the command line runs Test, Save state,
# Clear, Test again (nothing left), Restore and a last Test (the traces are back),
# printing the activity log in UTF-8, the first Test with its report (/report); then opens
# the main window on a virtual display, presses Test there and saves a picture of the
# window in build/main-window.png, and ends by building the release package
# (tools/package.sh) and printing its path.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
# Its own build folder: the tests build build/win32 for debugging. The helper program
# fills the sandbox's URL cache.
cmake -S . -B build/release --toolchain cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j"$(nproc)" --target corvane corvane_wine_helper \
    corvane_window_shot >/dev/null

prefix=$PWD/build/sandbox
rm -rf "$prefix" "$prefix.lock"
CORVANE_HELPER=$PWD/build/release/corvane_wine_helper.exe bash tools/seed-sandbox.sh "$prefix"

# Installed in the sandbox, in a folder with Chinese characters: Save state keeps its
# snapshot, state.spp, beside the program.
program="$prefix/drive_c/Program Files/隐私工具/corvane.exe"
mkdir -p "$(dirname "$program")"
cp build/release/corvane.exe "$program"
# Its help file lies beside it: the Help button opens corvane.hlp from the program's folder.
cp build/release/corvane.hlp "$(dirname "$program")/"
run() {
    echo "== corvane.exe $*"
    tools/wine-run.sh "$prefix" "$program" "$@"
}
# The Mozilla and AOL steps write no lines: their traces are shown as files instead.
traces() {
    echo "== Mozilla and AOL traces $1"
    (cd "$prefix/drive_c" && find "Documents and Settings" "Program Files/America Online 9.0" \
        -type f \( -path '*/Mozilla/*' -o -path '*/organize/*' \) | sort)
    tr -d '\r' <"$prefix/drive_c/Documents and Settings/"*"/Application Data/Mozilla/Profiles/default/"*/localstore.rdf |
        grep -v '^ *$'
}
traces "before Test"
run /test /utf8 /report 'C:\Program Files\隐私工具\测试报告.json'
echo "== the report of that Test"
cat "$(dirname "$program")/测试报告.json"
traces "after Test"
run /save /utf8
run /clear /utf8
traces "after Clear"
echo "== the same Test again, after Clear"
run /test /utf8
run /restore /utf8
echo "== the same Test again, after Restore"
run /test /utf8

echo "== the main window after a Test"
CORVANE_SHOT=$PWD/build/release/corvane_window_shot.exe
xvfb-run -a -s "-screen 0 1024x768x24" \
    tools/wine-run.sh "$prefix" "$CORVANE_SHOT" test 'C:\main-window.bmp' 'C:\Program Files\隐私工具\corvane.exe'
convert "$prefix/drive_c/main-window.bmp" build/main-window.png
echo "saved $PWD/build/main-window.png"

echo "== the release package"
bash tools/package.sh build/release
