#!/bin/sh
# Benchmark of a whole vexo run. Builds vexo optimised (Release) in
# build-bench-e2e, writes three generated logs and runs vexo on each with the
# default options in a fresh results folder, printing MB/s of log, games/s
# and peak RSS:
#   - a 200 MB log and a 20 MB log, a few hundred distinct players each;
#   - the 200 MB log again in the same results folder, as a run from cron
#     does it: the pages of the run before are deleted as part of the run;
#   - a log with 20,000 distinct players, for the time of the ranking pages
#     and the per-player pages.
# The disk is synced before every run, and the results are deleted when the
# benchmark ends: on some file systems, creating files soon after deleting
# many is several times slower, and a run should not pay for an earlier
# benchmark's deleting. (The third case measures vexo's own deleting.)
# bench/many_players.sh times a run with hundreds of thousands of players.
# Usage: bench/run.sh [work folder]   (default: build-bench-e2e/bench-work)
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build-bench-e2e"
WORK=${1:-"$BUILD/bench-work"}

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVEXO_BUILD_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$BUILD" -j2 --target vexo gen_log run_timed
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd)

size_of() { wc -c < "$1" | tr -d ' '; }

run_case() {  # name, results folder, log file
    mkdir -p "$WORK/$2"
    sync
    echo "== $1"
    (cd "$WORK/$2" && "$BUILD/run_timed" "$(size_of "$3")" "$BUILD/vexo" "$3")
}

if ls -d "$WORK"/results-* >/dev/null 2>&1; then
    echo "Deleting the results of an earlier benchmark and letting the disk settle for a minute"
    rm -rf "$WORK"/results-*
    sync
    sleep 60
fi
echo "Generating logs in $WORK"
"$BUILD/gen_log" -o "$WORK/log200.log" --size-mb 200 --players 400 --seed 200
"$BUILD/gen_log" -o "$WORK/log20.log" --size-mb 20 --players 400 --seed 20
"$BUILD/gen_log" -o "$WORK/players20000.log" --games 12000 --players 20000 --bots 0.1 \
    --seed 7

run_case 200mb results-200mb "$WORK/log200.log"
run_case 20mb results-20mb "$WORK/log20.log"
run_case "200mb again, same results folder" results-200mb "$WORK/log200.log"
run_case players20000 results-players20000 "$WORK/players20000.log"
rm -rf "$WORK"/results-*
