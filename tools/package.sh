#!/usr/bin/env bash
# Builds the release package build/corvane-VERSION.zip (VERSION from the VERSIONINFO
# resource in src/res/corvane.rc): a folder corvane-VERSION holding corvane.exe,
# corvane.hlp, the user's guide in Chinese and in English (docs/guide.*.txt, turned into
# Windows text files) and SHA256SUMS.txt, the SHA-256 sums of the other files. Prints the
# package's path.
#
#     bash tools/package.sh            sets up, builds the release configuration
#                                      (build/release) and packs it: works from a clean clone
#     bash tools/package.sh BUILD_DIR  packs corvane.exe and corvane.hlp of a mingw build
#                                      folder that is built already
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/.*VALUE "FileVersion", "\([0-9.]*\)".*/\1/p' src/res/corvane.rc)
[ -n "$version" ] || { echo "package.sh: no FileVersion in src/res/corvane.rc" >&2; exit 1; }
if [ $# -eq 0 ]; then
    bash tools/setup.sh
    build=build/release
    cmake -S . -B "$build" --toolchain cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j"$(nproc)" --target corvane >/dev/null
else
    build=$1
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder=$stage/corvane-$version
mkdir -p "$folder"
cp "$build/corvane.exe" "$build/corvane.hlp" "$folder/"
# Notepad of every Windows version reads UTF-8 with a byte-order mark and CRLF lines.
for guide in docs/guide.*.txt; do
    name=$(basename "$guide" .txt)
    { printf '\xef\xbb\xbf'; sed 's/$/\r/' "$guide"; } >"$folder/${name/guide./GUIDE-}.txt"
done
(cd "$folder" && sha256sum corvane.exe corvane.hlp GUIDE-*.txt >SHA256SUMS.txt)

mkdir -p build
package=$PWD/build/corvane-$version.zip
rm -f "$package"
# Fixed times and no extra attributes: the same sources give the same package.
find "$stage" -exec touch -d '2000-01-01 00:00:00 UTC' {} +
(cd "$stage" && zip -q -X -r "$package" "corvane-$version")
echo "$package"
