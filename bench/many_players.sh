#!/bin/sh
# Benchmark of a public server that meets ever new names: every game brings
# ten players not seen before. Builds vexo optimised (Release) in
# build-bench-e2e, writes the log with bench/gen_log --fresh (kept for the
# next run) and runs vexo /min_games:2 on it in a fresh results folder: the
# ranking pages sort all players eight times, and no player qualifies for a
# page of its own. Prints the time, the CPU time and the peak memory of the
# run; then bench/merge_bench merges games of the same shape without log text
# and prints the heap the totals hold per player and per p2p record.
# Usage: bench/many_players.sh [players] [work folder]
#        (defaults: 200000, build-bench-e2e/bench-work)
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build-bench-e2e"
PLAYERS=${1:-200000}
WORK=${2:-"$BUILD/bench-work"}
GAMES=$((PLAYERS / 10))

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVEXO_BUILD_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$BUILD" -j2 --target vexo gen_log run_timed merge_bench
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd)
LOG="$WORK/fresh$PLAYERS.log"
[ -f "$LOG" ] || "$BUILD/gen_log" -o "$LOG" --players "$PLAYERS" --games "$GAMES" --per-game 10 --fresh --seed 11

rm -rf "$WORK/results-fresh"
mkdir -p "$WORK/results-fresh"
sync
echo "== $PLAYERS players, ten new ones per game, /min_games:2"
(cd "$WORK/results-fresh" && "$BUILD/run_timed" "$(wc -c < "$LOG" | tr -d ' ')" "$BUILD/vexo" /min_games:2 "$LOG")
rm -rf "$WORK/results-fresh"
echo "== merge_bench $GAMES $PLAYERS 10 1 10"
"$BUILD/merge_bench" "$GAMES" "$PLAYERS" 10 1 10 | grep -E '^(totals|heap|peak|add_game|all ten)'
