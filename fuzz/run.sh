#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for the given time (default 60 s).
# Prints per target the executions, the coverage reached, and "0 crashes" or the reproducer.
# The seeds in fuzz/corpus/<target>/ (crash inputs kept there as regression cases) run first;
# new inputs go to the build folder, so the repository's corpus stays small.
#   fuzz/run.sh [seconds]          ZORVA_FUZZ_BUILD=<folder> picks the build folder
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZORVA_FUZZ_BUILD:-$root/build-fuzz}

if ! command -v clang++ >/dev/null; then
    echo "fuzz/run.sh needs clang (apt-get install clang)" >&2
    exit 2
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZORVA_FUZZ=ON -DZORVA_PCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target fuzz_all

# The split and settings targets write files: keep them in memory where the system allows.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

failed=0
printf '%-20s %12s %8s %8s  %s\n' target executions cov features result
for seeds in "$root"/fuzz/corpus/*/; do
    name=$(basename "$seeds")
    exe="$build/fuzz/fuzz_$name"
    [ -x "$exe" ] || { echo "no target fuzz_$name" >&2; failed=1; continue; }
    work="$build/fuzz-work/$name"
    crashes="$build/fuzz-crashes/$name"
    mkdir -p "$work" "$crashes"
    log="$build/fuzz-work/$name.log"
    set +e
    (cd "$work" && "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$crashes/" "$work" "$seeds") >"$log" 2>&1
    rc=$?
    set -e
    execs=$(awk '/stat::number_of_executed_units/ {n = $NF} END {print n}' "$log")
    cov=$(awk '{for (i = 1; i < NF; i++) if ($i == "cov:") c = $(i+1)} END {print c}' "$log")
    ft=$(awk '{for (i = 1; i < NF; i++) if ($i == "ft:") f = $(i+1)} END {print f}' "$log")
    repro=$(awk '/Test unit written to/ {r = $NF} END {print r}' "$log")
    if [ $rc -eq 0 ] && [ -z "$repro" ]; then
        result="0 crashes"
    else
        result="CRASH: ${repro:-exit $rc, see $log}"
        failed=1
    fi
    printf '%-20s %12s %8s %8s  %s\n' "$name" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$result"
done
exit $failed
