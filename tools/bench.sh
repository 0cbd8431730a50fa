#!/usr/bin/env bash
# Builds the benchmarks (Windows configuration, optimised), seeds a bench prefix and runs
# every benchmark, printing one table: the work, its size, Corvane's seconds, the
# baseline's seconds in the same run, their ratio and Corvane's peak working set.
#
# Each run is a whole process started and timed by a Windows process of ours, so that
# both sides pay the same start-up. Corvane and its baseline take turns (A B A B ...) on
# freshly seeded items; the figures are medians over ROUNDS turns (3 unless set), the
# ratio the median of the pairs' ratios. The temporary folder is seeded afresh before
# each run; the URL cache is seeded once per prefix and size, kept, and copied back
# before each run. BENCH_SIZES overrides "10000 100000".
#
# With --profile it prints instead, for each work and size and for Save state and Restore,
# where the time goes: every platform call's count, failures, seconds and share.
#
# The seeded files are empty: on a disk mounted with online discard, freeing a file's
# data blocks costs milliseconds whoever deletes it, which would bury both sides' own
# costs alike.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
build=$PWD/build/bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release --toolchain cmake/mingw-i686.cmake >/dev/null
cmake --build "$build" -j2 --target corvane_bench corvane_snapshot_bench corvane_log_bench \
    >/dev/null

prefix=$build/prefix
rounds=${ROUNDS:-3}
sizes=${BENCH_SIZES:-10000 100000}
bench=$build/corvane_bench.exe
run() { tools/wine-run.sh "$prefix" "$@"; }

# Starting the prefix once, and keeping its server alive, leaves both sides' processes
# the same start-up.
# The first run's server must have ended first: another one of the prefix refuses to start.
run "$bench" run none >/dev/null 2>&1 || true
WINEPREFIX=$prefix wineserver -w
WINEPREFIX=$prefix wineserver -p30

drive=$prefix/drive_c
temp=$drive/corvane-bench/Temp
cache=$drive/users/$(id -un)/AppData/Local/Microsoft/Windows/INetCache
seeds=$prefix/corvane-seeds

seed_temp() {  # seed_temp N: the folder holds N empty files and nothing else
    rm -rf "$temp"
    mkdir -p "$temp"
    python3 -c 'import sys
for i in range(int(sys.argv[2])): open(f"{sys.argv[1]}/~bench{i}.tmp", "w").close()' "$temp" "$1"
}

# seed_cache N: the URL cache holds N pages, each with its empty file, or as many as
# the cache takes (Wine's stops near 60,000): $seeds/countN says how many.
seed_cache() {
    local kept=$seeds/cache$1
    mkdir -p "$seeds"
    if [ ! -d "$kept" ]; then
        rm -rf "$cache"
        if [ "$1" -gt 0 ]; then
            run "$bench" seed-cache "$1" | tr -d '\r' >"$seeds/seeded$1"
            cat "$seeds/seeded$1" >&2
            awk '{print $1}' "$seeds/seeded$1" >"$seeds/count$1"
        else
            run "$bench" run tif-walks >/dev/null  # an empty cache, with its index
        fi
        cp -a "$cache" "$kept.part" && mv "$kept.part" "$kept"
    fi
    rm -rf "$cache"
    cp -a "$kept" "$cache"
}

# time_work SEEDER N WORK: "seconds peak" of one run on freshly seeded items.
time_work() {
    "$1" "$2"
    run "$bench" time "$3" | tr -d '\r' | awk '/^seconds/ {s=$2} /^peak_mb/ {p=$2} END {print s, (p=="" ? "-" : p)}'
}

median() { sort -g | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }

rows=()
declare -A perItem peak

# pair NAME SEEDER N WORK BASELINE: ROUNDS turns of WORK and BASELINE, one table row.
pair() {
    local name=$1 seeder=$2 n=$3 work=$4 base=$5 a b r ta=() tb=() ratios=() peaks=()
    for ((i = 0; i < rounds; i++)); do
        read -r a pa < <(time_work "$seeder" "$n" "$work")
        read -r b _ < <(time_work "$seeder" "$n" "$base")
        ta+=("$a") tb+=("$b") peaks+=("$pa")
        ratios+=("$(awk -v a="$a" -v b="$b" 'BEGIN {printf "%.3f", a / b}')")
    done
    a=$(printf '%s\n' "${ta[@]}" | median)
    b=$(printf '%s\n' "${tb[@]}" | median)
    r=$(printf '%s\n' "${ratios[@]}" | median)
    local p
    p=$(printf '%s\n' "${peaks[@]}" | median)
    local size=$n
    if [ "$seeder" = seed_cache ] && [ -s "$seeds/count$n" ]; then
        size=$(cat "$seeds/count$n")
    fi
    perItem[$name,$n]=$(awk -v a="$a" -v n="$size" 'BEGIN {print (n > 0 ? a / n : 0)}')
    peak[$name,$n]=$p
    rows+=("$(printf '| %s | %s | %.3f s | %.3f s | %.2f | %.1f MB |' "$name" "$size" "$a" "$b" "$r" "$p")")
    echo "${rows[-1]}" >&2
}

works=(
    "Clear of the temporary folder|seed_temp|temp-clear|del"
    "Test of the temporary folder|seed_temp|temp-test|temp-probe"
    "Clear of the temporary Internet files|seed_cache|tif-clear|tif-walks"
    "Test of the temporary Internet files|seed_cache|tif-test|tif-walks-test"
)
if [ "${1:-}" = --profile ]; then
    for n in $sizes; do
        for w in "${works[@]}"; do
            IFS='|' read -r name seeder work _ <<<"$w"
            "$seeder" "$n"
            echo
            echo "$name, $n:"
            run "$bench" profile "$work" | tr -d '\r' | grep '^|'
        done
    done
    seed_cache 0
    echo
    run "$build/corvane_snapshot_bench.exe" 50 1 profile | tr -d '\r' | grep '^|'
    exit 0
fi
for n in $sizes; do
    for w in "${works[@]}"; do
        IFS='|' read -r name seeder work base <<<"$w"
        pair "$name" "$seeder" "$n" "$work" "$base"
    done
done

# The empty runs, for the memory rows: one Clear of nothing of each kind.
read -r _ emptyTemp < <(time_work seed_temp 0 temp-clear)
read -r _ emptyCache < <(time_work seed_cache 0 tif-clear)

small=${sizes%% *}
large=${sizes##* }
extra=()
for w in "${works[@]}"; do
    IFS='|' read -r name _ _ _ <<<"$w"
    if [ "$small" != "$large" ]; then
        extra+=("$(awk -v s="${perItem[$name,$small]}" -v l="${perItem[$name,$large]}" -v n="$name" \
            -v a="$small" -v b="$large" \
            'BEGIN {printf "| per-item time, %s | %s against %s | %.1f us | %.1f us | %.2f | |", n, b, a, l * 1e6, s * 1e6, l / s}')")
    fi
done
for kind in "temporary folder|$emptyTemp" "temporary Internet files|$emptyCache"; do
    IFS='|' read -r what empty <<<"$kind"
    p=${peak[Clear of the $what,$large]}
    extra+=("$(awk -v p="$p" -v e="$empty" -v w="$what" -v n="$large" \
        'BEGIN {printf "| peak working set, Clear of the %s | %s against empty | | | | %+.1f MB (%.1f against %.1f) |", w, n, p - e, p, e}')")
done

# Save state and Restore beside CopyFileA, and the window's log beside a bare list box:
# each program takes its own turns and prints its medians.
seed_cache 0  # the snapshot's cache walks are not this table's: an empty cache
snapshot=$(run "$build/corvane_snapshot_bench.exe" 50 "$rounds" | tr -d '\r')
logline=$(xvfb-run -a -s "-screen 0 1024x768x24" tools/wine-run.sh "$prefix" \
    "$build/corvane_log_bench.exe" "$rounds" | tr -d '\r')

echo
echo "Taken $(date -u +%Y-%m-%d), $rounds turns a row, on $(nproc) shared cores under $(wine --version)."
echo
echo "| work | size | Corvane | baseline | ratio | peak memory |"
echo "|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}" "${extra[@]}"
printf '%s\n' "$snapshot" | grep '^|' || true
printf '%s\n' "$logline" | grep '^|' || true
