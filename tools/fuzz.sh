#!/usr/bin/env bash
# Runs both fuzz targets side by side for N minutes each (default 10): Restore fed
# arbitrary snapshot streams, and the snapshot's record readers fed arbitrary bytes.
# Corpora grow between runs in .fuzz/TARGET/corpus (ignored by git); whatever a run
# finds lands in .fuzz/TARGET/findings. Prints executions, coverage and findings per
# target; exits 1 when anything was found.
#
#   bash tools/fuzz.sh [--minutes N]
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=10
if [ "${1:-}" = "--minutes" ] && [ -n "${2:-}" ]; then
    minutes=$2
fi

bash tools/setup.sh
cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DCORVANE_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j"$(nproc)" >/dev/null

targets=(records_fuzzer restore_fuzzer)
seconds=$(awk -v m="$minutes" 'BEGIN { printf "%d", m * 60 }')
for target in "${targets[@]}"; do
    mkdir -p ".fuzz/$target/corpus" ".fuzz/$target/findings"
    # -print_final_stats gives the executions; the last status line the coverage.
    "build/fuzz/$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix=".fuzz/$target/findings/" ".fuzz/$target/corpus" \
        >".fuzz/$target/last.log" 2>&1 &
done
wait || true

printf '%-16s %12s %8s %10s %8s %9s\n' target executions exec/s coverage corpus findings
found=0
for target in "${targets[@]}"; do
    log=".fuzz/$target/last.log"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    corpus=$(find ".fuzz/$target/corpus" -type f | wc -l)
    findings=$(find ".fuzz/$target/findings" -type f | wc -l)
    found=$((found + findings))
    printf '%-16s %12s %8s %10s %8s %9s\n' "$target" "${runs:-?}" "${rate:-?}" "${cov:-?}" \
        "$corpus" "$findings"
done
[ "$found" -eq 0 ]
