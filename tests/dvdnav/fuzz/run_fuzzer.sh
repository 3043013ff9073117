#!/usr/bin/env bash
# Builds the IFO fuzz target for the host (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for a bounded time on the IFO files of the test discs.
# Usage: run_fuzzer.sh SOURCE_DIR BUILD_DIR [SECONDS]
set -euo pipefail
src=$1
out=$2/fuzz
seconds=${3:-60}
mkdir -p "$out/seeds" "$out/corpus"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$src" "$src/tests/dvdnav/fuzz/IfoFuzzer.cpp" \
    "$src"/dvdnav/{IfoReader,DvdTime,DvdVolume,DvdLanguages,DvdVolumeReport}.cpp -o "$out/ifo_fuzzer"
find "$2/dvd" -iname '*.ifo' | while read -r f; do
    cp "$f" "$out/seeds/$(basename "$(dirname "$(dirname "$f")")")_$(basename "$f")"
done
[ -n "$(ls -A "$out/seeds")" ] || { echo "no seed IFO files under $2/dvd"; exit 1; }
cd "$out"
./ifo_fuzzer -max_total_time="$seconds" -rss_limit_mb=512 -timeout=5 -max_len=65536 \
    -print_final_stats=1 corpus seeds 2>&1 | tail -15
