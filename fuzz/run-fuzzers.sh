#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a while, one after another, on its seed corpus and
# a working corpus in the build folder; prints each run's executions and coverage. Exits non-zero
# when a target finds a crash (the input is left in <build>/fuzz-artifacts/<target>/).
#   run-fuzzers.sh <build folder> <seconds per target> [target...]
set -uo pipefail

build=${1:?build folder}
seconds=${2:?seconds per target}
shift 2
here=$(cd "$(dirname "$0")" && pwd)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(inifile datalink exec csv)
fi

status=0
summary=()
for t in "${targets[@]}"; do
    corpus=$build/fuzz-corpus/$t
    artifacts=$build/fuzz-artifacts/$t
    log=$build/fuzz-logs/$t.log
    mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
    echo "== fuzz_$t for ${seconds}s"
    "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" "$here/corpus/$t" >"$log" 2>&1
    rc=$?
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
    cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
    ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$last")
    runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log")
    if [ $rc -ne 0 ]; then
        status=1
        tail -n 40 "$log"
        summary+=("fuzz_$t: FAILED after ${runs:-?} executions (cov ${cov:-?}, ft ${ft:-?}); see $log and $artifacts")
    else
        summary+=("fuzz_$t: ${runs:-?} executions in ${seconds}s, cov ${cov:-?}, ft ${ft:-?}, no crash")
    fi
done
printf '%s\n' "${summary[@]}"
exit $status
