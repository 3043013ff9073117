#!/usr/bin/env bash
# Authors the media the playback tests open from real folders, once per build:
#   vcd/MPEGAV/AVSEQ01.DAT, AVSEQ02.DAT   a Video CD's two MPEG-1 streams of 1 s each
#   vcd/VCD/INFO.VCD                      a stand-in for the disc's control files
set -euo pipefail
out=$1
rm -rf "$out"
mkdir -p "$out/vcd/MPEGAV" "$out/vcd/VCD"
for n in 1 2; do
    ffmpeg -v error -y -f lavfi -i "testsrc=size=352x288:rate=25" -f lavfi -i "sine=frequency=$((300 * n)):sample_rate=44100" \
        -t 1 -target pal-vcd "$out/vcd/MPEGAV/AVSEQ0$n.DAT"
done
printf 'VIDEO_CD' >"$out/vcd/VCD/INFO.VCD"
touch "$out/stamp"
