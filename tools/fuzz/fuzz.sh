#!/usr/bin/env bash
# Builds and runs the fuzz targets listed in tools/fuzz/targets.txt on the host (clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer). Each target lives in BUILD_DIR/fuzz/NAME.
#
#   fuzz.sh build NAME BUILD_DIR            build the target when a source is newer than it
#   fuzz.sh check NAME BUILD_DIR            the bounded, reproducible run of the test suite: a fresh
#                                           corpus, seed 1, the runs and seconds of targets.txt
#   fuzz.sh explore NAME BUILD_DIR SECONDS  a longer run that keeps its corpus between runs and
#                                           prints one summary line
#   fuzz.sh list                            the target names
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
table="$root/tools/fuzz/targets.txt"

say() { printf '%s\n' "$*" >&2; }

# Sets NAME SEEDS DICT MAXLEN RUNS SECONDS SOURCES from the target's line.
read_target() {
    local line
    line=$(grep -v '^\s*#' "$table" | awk -v n="$1" '$1 == n' | head -n 1)
    [ -n "$line" ] || { say "no fuzz target named $1 in $table"; exit 2; }
    read -r NAME SEEDS DICT MAXLEN RUNS SECONDS SOURCES <<<"$line"
}

build_target() {
    local out=$1 binary=$1/$NAME src needs=0
    mkdir -p "$out"
    [ -x "$binary" ] || needs=1
    for src in $SOURCES; do
        [ "$root/$src" -nt "$binary" ] && needs=1
        # A header beside a source changes it too.
        [ -n "$(find "$(dirname "$root/$src")" -maxdepth 1 -name '*.h' -newer "$binary" 2>/dev/null)" ] && needs=1
    done
    [ "$table" -nt "$binary" ] && needs=1
    # So do the compiler options below.
    [ "${BASH_SOURCE[0]}" -nt "$binary" ] && needs=1
    [ $needs -eq 0 ] && return 0
    local compiler=(clang++)
    command -v ccache >/dev/null && compiler=(ccache clang++)
    local files=()
    for src in $SOURCES; do files+=("$root/$src"); done
    # -O2 rather than -O1: the sanitizers check the same, and the runs are about a third faster.
    "${compiler[@]}" -std=c++20 -g -O2 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -I"$root" -I"$root/player" -I"$root/skin/include" "${files[@]}" -o "$binary.new" || { say "building $NAME failed"; exit 1; }
    mv "$binary.new" "$binary"
}

# Copies the seeds into folder.
collect_seeds() {
    local folder=$1 build=$2 f
    rm -rf "$folder"
    mkdir -p "$folder"
    case "$SEEDS" in
    -) ;;
    build:*)
        for f in $build/${SEEDS#build:}; do
            [ -f "$f" ] && cp "$f" "$folder/$(echo "${f#$build/}" | tr '/' '_')"
        done
        [ -n "$(ls -A "$folder")" ] || { say "no seeds for $NAME under $build/${SEEDS#build:}"; exit 1; }
        ;;
    *) cp "$root/$SEEDS"/* "$folder"/ ;;
    esac
}

dictionary_option() {
    [ "$DICT" = - ] || printf '%s' "-dict=$root/$DICT"
}

check_target() {
    local out=$1 build=$2
    build_target "$out"
    collect_seeds "$out/seeds" "$build"
    # A fresh corpus each time, so that the same seed gives the same run.
    rm -rf "$out/corpus" "$out/findings"
    mkdir -p "$out/corpus" "$out/findings"
    cd "$out" || exit 1
    local runs=()
    [ "$RUNS" -gt 0 ] && runs=(-runs="$RUNS")
    ./"$NAME" -seed=1 "${runs[@]}" -max_total_time="$SECONDS" -rss_limit_mb=512 -timeout=5 -max_len="$MAXLEN" \
        -artifact_prefix=findings/ -print_final_stats=1 $(dictionary_option) corpus seeds >log.txt 2>&1
    local status=$?
    tail -n 12 log.txt
    [ $status -eq 0 ] || { say "$NAME: finding in $out/findings (log $out/log.txt)"; exit 1; }
}

explore_target() {
    local out=$1 build=$2 seconds=$3
    build_target "$out"
    collect_seeds "$out/seeds" "$build"
    mkdir -p "$out/explore" "$out/explore-findings"
    cd "$out" || exit 1
    ./"$NAME" -max_total_time="$seconds" -rss_limit_mb=512 -timeout=5 -max_len="$MAXLEN" \
        -artifact_prefix=explore-findings/ -print_final_stats=1 $(dictionary_option) explore seeds \
        >explore-log.txt 2>&1
    local status=$?
    local execs rate cov ft findings
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' explore-log.txt | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' explore-log.txt | tail -n 1)
    cov=$(grep -o 'cov: [0-9]*' explore-log.txt | tail -n 1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' explore-log.txt | tail -n 1 | cut -d' ' -f2)
    findings=$(find explore-findings -type f | wc -l)
    printf '%-14s %12s execs %9s/s  cov %6s  ft %7s  findings %s%s\n' "$NAME" "${execs:-?}" "${rate:-?}" \
        "${cov:-?}" "${ft:-?}" "$findings" "$([ $status -eq 0 ] || echo " (stopped: see $out/explore-log.txt)")"
}

command=${1:-}
case "$command" in
list) grep -v '^\s*#' "$table" | awk 'NF { print $1 }' ;;
build | check | explore)
    [ $# -ge 3 ] || { say "usage: $0 $command NAME BUILD_DIR ${4:+SECONDS}"; exit 2; }
    read_target "$2"
    build=$(cd "$3" && pwd)
    case "$command" in
    build) build_target "$build/fuzz/$NAME" ;;
    check) check_target "$build/fuzz/$NAME" "$build" ;;
    explore) explore_target "$build/fuzz/$NAME" "$build" "${4:-60}" ;;
    esac
    ;;
*)
    say "usage: $0 {list|build|check|explore} ..."
    exit 2
    ;;
esac
