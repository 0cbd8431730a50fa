#!/usr/bin/env bash
# The release package as a user gets it: tools/package.sh packs this build, the package is
# unpacked into a fresh folder of the build's Wine prefix, its sums are checked, and its
# corvane.exe runs /test /report from there.
set -euo pipefail
top=$1 build=$2
package=$(bash "$top/tools/package.sh" "$build")
unpacked=$build/wineprefix/drive_c/发布包
rm -rf "$unpacked"
mkdir -p "$unpacked"
unzip -q "$package" -d "$unpacked"
folder=$(basename "$package" .zip)
(cd "$unpacked/$folder" && sha256sum --quiet -c SHA256SUMS.txt)
"$top/tools/wine-run.sh" "$build/wineprefix" "$unpacked/$folder/corvane.exe" /test /report \
    'C:\发布包\报告.json' >/dev/null
python3 - "$unpacked/报告.json" "${folder#corvane-}" <<'PY'
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
assert (report["version"], report["command"], report["exit"]) == (sys.argv[2], "test", 0), report
assert len(report["categories"]) == 13, report["categories"]
PY
rm -rf "$unpacked"
