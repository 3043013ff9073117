#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for a chosen time each and prints, per target, the
# executions, executions per second, coverage (edges and features) and findings.
# Usage: tools/fuzz_all.sh [SECONDS] [TARGET...]      (SECONDS defaults to 60)
# A target is added by one line in tools/fuzz/targets.txt. Each keeps its corpus between runs in
# build/fuzz/NAME/explore; findings land in build/fuzz/NAME/explore-findings.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${VIREON_BUILD_DIR:-$here/../build}
seconds=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || mapfile -t targets < <(bash "$here/fuzz/fuzz.sh" list)
mkdir -p "$build"
echo "fuzzing ${#targets[@]} targets for ${seconds} s each (build folder $build)"
status=0
for target in "${targets[@]}"; do
    bash "$here/fuzz/fuzz.sh" explore "$target" "$build" "$seconds" || status=1
done
exit $status
