#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for a chosen time each and prints, per target, the
# executions, executions per second of wall-clock time and per CPU-second of the fuzzer process (the
# figure to compare when other work shares the machine), coverage (edges and features) and findings.
# Usage: tools/fuzz_all.sh [--fresh] [SECONDS] [TARGET...]      (SECONDS defaults to 60)
# A target is added by one line in tools/fuzz/targets.txt. Each keeps its corpus between runs in
# build/fuzz/NAME/explore; findings land in build/fuzz/NAME/explore-findings. With --fresh each
# target starts from its seeds alone with a fixed seed (build/fuzz/NAME/measure), so that coverage
# and speed can be compared between two builds over the same time.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${VIREON_BUILD_DIR:-$here/../build}
mode=explore
if [ "${1:-}" = --fresh ]; then
    mode=measure
    shift
fi
seconds=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || mapfile -t targets < <(bash "$here/fuzz/fuzz.sh" list)
mkdir -p "$build"
echo "fuzzing ${#targets[@]} targets for ${seconds} s each (build folder $build, $mode)"
status=0
for target in "${targets[@]}"; do
    bash "$here/fuzz/fuzz.sh" "$mode" "$target" "$build" "$seconds" || status=1
done
exit $status
