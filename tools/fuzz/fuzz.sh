#!/usr/bin/env bash
# Builds and runs the fuzz targets listed in tools/fuzz/targets.txt on the host (clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer). Each target lives in BUILD_DIR/fuzz/NAME.
#
#   fuzz.sh build NAME BUILD_DIR            build the target when a source is newer than it
#   fuzz.sh check NAME BUILD_DIR            the bounded, reproducible run of the test suite: a fresh
#                                           corpus, seed 1, the runs and seconds of targets.txt
#   fuzz.sh explore NAME BUILD_DIR SECONDS  a longer run that keeps its corpus between runs and
#                                           prints one summary line
#   fuzz.sh measure NAME BUILD_DIR SECONDS  the same summary from the seeds alone with seed 1, so
#                                           that two builds can be compared over the same time
#   fuzz.sh list                            the target names
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
table="$root/tools/fuzz/targets.txt"

say() { printf '%s\n' "$*" >&2; }

# Options for every run, chosen for speed without checking less:
# - AddressSanitizer records 5 frames of each allocation's stack rather than 30 (only the report of
#   a finding is shorter; rerun the finding with ASAN_OPTIONS=malloc_context_size=30 for all of
#   them) and keeps 16 MB of freed memory unused rather than 256 MB: one input allocates far less,
#   so a use after free within an input is still caught. Both together took a third of the DVD
#   folder target's time (page faults on memory the large quarantine kept fresh, and unwinding).
# - libFuzzer counts a feature as rare while at most 2 inputs have it rather than 255: it looks each
#   feature of a run up in the list of rare ones, and with the default that list held thousands of
#   features and took half the DVD folder target's time on its grown corpus. With 16 that target still
#   made a quarter fewer runs (5.2k against 6.9k per CPU-second over 60 s on its grown corpus, both
#   run at the same time), the HTTP answer target the same; coverage and features stayed the same.
# - The corpus folder is not reread: no other process adds to it.
# ASAN_OPTIONS set by the caller come later and win.
export ASAN_OPTIONS="malloc_context_size=5:quarantine_size_mb=16${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
fuzzer_options=(-entropic_feature_frequency_threshold=2 -reload=0)

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
    ./"$NAME" -seed=1 "${runs[@]}" "${fuzzer_options[@]}" -max_total_time="$SECONDS" -rss_limit_mb=512 -timeout=5 -max_len="$MAXLEN" \
        -artifact_prefix=findings/ -print_final_stats=1 $(dictionary_option) corpus seeds >log.txt 2>&1
    local status=$?
    tail -n 12 log.txt
    [ $status -eq 0 ] || { say "$NAME: finding in $out/findings (log $out/log.txt)"; exit 1; }
}

# Runs the target for seconds over corpus (kept as given) and prints one summary line: executions,
# executions per second of wall-clock time and per CPU-second of the fuzzer (user and system time,
# which the load of other work on the machine does not change), coverage and findings.
run_summary() {
    local out=$1 seconds=$2 corpus=$3 findings_folder=$4 log=$5
    shift 5
    build_target "$out"
    collect_seeds "$out/seeds" "$build"
    mkdir -p "$out/$corpus" "$out/$findings_folder"
    cd "$out" || exit 1
    local TIMEFORMAT='%U %S' status
    { time ./"$NAME" "$@" "${fuzzer_options[@]}" -max_total_time="$seconds" -rss_limit_mb=512 -timeout=5 -max_len="$MAXLEN" \
        -artifact_prefix="$findings_folder/" -print_final_stats=1 $(dictionary_option) "$corpus" seeds \
        >"$log" 2>&1; } 2>"$log.cpu"
    status=$?
    local execs rate cov ft found slow cpu per_cpu
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    # A slow unit is written when one run took ten seconds of wall-clock time, which a loaded machine
    # alone can make: it is listed apart from the crashes, leaks and timeouts.
    found=$(find "$findings_folder" -type f ! -name 'slow-unit-*' | wc -l)
    slow=$(find "$findings_folder" -type f -name 'slow-unit-*' | wc -l)
    cpu=$(awk '{ printf "%.2f", $1 + $2 }' "$log.cpu")
    per_cpu=$(awk -v e="${execs:-0}" -v c="$cpu" 'BEGIN { if (c > 0) printf "%d", e / c; else print "?" }')
    printf '%-14s %11s execs %8s/s %8s/cpu-s (%5s cpu-s)  cov %5s  ft %6s  findings %s%s%s\n' "$NAME" \
        "${execs:-?}" "${rate:-?}" "$per_cpu" "$cpu" "${cov:-?}" "${ft:-?}" "$found" \
        "$([ "$slow" -eq 0 ] || echo "  slow units $slow")" "$([ $status -eq 0 ] || echo " (stopped: see $out/$log)")"
    return $status
}

explore_target() {
    run_summary "$1" "$3" explore explore-findings explore-log.txt
}

measure_target() {
    rm -rf "$1/measure" "$1/measure-findings"
    run_summary "$1" "$3" measure measure-findings measure-log.txt -seed=1
}

command=${1:-}
case "$command" in
list) grep -v '^\s*#' "$table" | awk 'NF { print $1 }' ;;
build | check | explore | measure)
    [ $# -ge 3 ] || { say "usage: $0 $command NAME BUILD_DIR ${4:+SECONDS}"; exit 2; }
    read_target "$2"
    build=$(cd "$3" && pwd)
    case "$command" in
    build) build_target "$build/fuzz/$NAME" ;;
    check) check_target "$build/fuzz/$NAME" "$build" ;;
    explore) explore_target "$build/fuzz/$NAME" "$build" "${4:-60}" ;;
    measure) measure_target "$build/fuzz/$NAME" "$build" "${4:-60}" ;;
    esac
    ;;
*)
    say "usage: $0 {list|build|check|explore|measure} ..."
    exit 2
    ;;
esac
