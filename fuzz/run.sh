#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang and runs each for a bounded time.
#
#   fuzz/run.sh [seconds] [target...]
#
# seconds: time per target, 60 by default; targets: all by default.
# Environment:
#   TENAXO_FUZZ_BUILD  build folder        (default: <repo>/build-fuzz)
#   TENAXO_FUZZ_WORK   scratch folder      (default: ${TMPDIR:-/tmp}/tenaxo-fuzz)
#   TENAXO_FUZZ_JOBS   targets run at once (default: 1; this machine has 2 cores)
# New corpus entries go to <scratch>/corpus/<target> (the seeds in
# fuzz/corpus/<target> are only read), crashes and failed checks to
# <scratch>/findings/<target>, logs to <scratch>/logs. The exit status is 1
# when a target found something.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
seconds=${1:-60}
shift || true
all_targets=(list_file import_text import_kvtml)
targets=("${@:-${all_targets[@]}}")
build=${TENAXO_FUZZ_BUILD:-$root/build-fuzz}
work=${TENAXO_FUZZ_WORK:-${TMPDIR:-/tmp}/tenaxo-fuzz}
jobs=${TENAXO_FUZZ_JOBS:-1}

case $seconds in '' | *[!0-9]*) echo "usage: $0 [seconds] [target...]" >&2; exit 2 ;; esac
for t in "${targets[@]}"; do
  [[ " ${all_targets[*]} " == *" $t "* ]] || { echo "unknown target $t (targets: ${all_targets[*]})" >&2; exit 2; }
done

# clang 14 and its sanitizer and libFuzzer runtime, from Debian's packages.
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "Installing clang and its runtime (clang, libclang-rt-14-dev)..."
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -q
  $sudo apt-get install -y -q clang libclang-rt-14-dev
fi

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" -- --no-print-directory >/dev/null

mkdir -p "$work/logs" "$work/tmp"
start=$work/logs/.start  # findings newer than this are this run's
touch "$start"
export TMPDIR=$work/tmp
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_one() {
  local t=$1
  mkdir -p "$work/corpus/$t" "$work/findings/$t"
  "$build/$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/findings/$t/" "$work/corpus/$t" "$here/corpus/$t" \
    >"$work/logs/$t.log" 2>&1 || true
}

echo "Running ${targets[*]} for ${seconds} s each, $jobs at a time; logs in $work/logs"
running=0
for t in "${targets[@]}"; do
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

status=0
printf '\n%-14s %12s %7s %7s %9s  %s\n' target executions cov ft corpus "new findings"
for t in "${targets[@]}"; do
  log=$work/logs/$t.log
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9]*\)\/.*/\1/p' <<<"$last")
  found=$(find "$work/findings/$t" -type f -newer "$start" | wc -l)
  printf '%-14s %12s %7s %7s %9s  %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" "$found"
  [ "$found" -eq 0 ] || status=1
done
echo
echo "New corpus entries: $work/corpus"
echo "Findings:           $work/findings"
if [ "$status" -ne 0 ]; then
  find "$work/findings" -type f -newer "$start" | sed 's/^/  /'
  echo "Replay one with: $build/<target> <file>"
fi
exit $status
