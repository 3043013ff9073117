#!/usr/bin/env bash
# Builds the text fuzz target for the host with libFuzzer and the sanitizers, and runs it briefly.
# Usage: run_fuzz.sh SOURCE_DIR BUILD_DIR [libFuzzer options...]
set -euo pipefail
source_dir=$1 build_dir=$2
shift 2
out="$build_dir/fuzz"
mkdir -p "$out/corpus"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$source_dir/player" \
    "$source_dir/tests/util/fuzz/TextFuzz.cpp" "$source_dir/player/util/xUtils.cpp" \
    "$source_dir/player/util/xFilePath.cpp" -o "$out/text_fuzz"
# Seeds: the cases the routines are known by.
printf '\x09avi;mpg;mpeg;vob;ifo\x01MPEG\x01;' >"$out/corpus/wordposition"
printf '\x02VTS_01_1.VOB\x01\x01_' >"$out/corpus/extractword"
printf '\x01\\\\srv\\films\\a.avi' >"$out/corpus/share"
cd "$out"
exec ./text_fuzz -runs=100000 -seed=1 "$@" corpus
