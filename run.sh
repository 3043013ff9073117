#!/usr/bin/env bash
# Builds and runs the player under Wine, on MEDIA or on the generated sample clip.
# Without a display it runs on a virtual screen for a few seconds and saves a screenshot.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/scripts/common.sh"

OLDPWD_AT_START=$PWD
media=${1:-}
ensure_packages
user_display=${DISPLAY:-}
if [ -z "$user_display" ]; then
    start_xvfb
    trap 'stop_xvfb' EXIT
fi
prepare_environment
if [ -n "$user_display" ]; then set_window_management Y; else set_window_management N; fi
configure_and_build
[ -n "$media" ] || media="$BUILD_DIR/samples/sample.avi"

# Relative paths are taken from where run.sh was started.
case "$media" in /*) ;; *) media="$OLDPWD_AT_START/$media" ;; esac 2>/dev/null
win_media=$(winepath -w "$media" 2>/dev/null) || win_media=$media
[ -n "$win_media" ] || win_media=$media

if [ -n "$user_display" ]; then
    wine "$BUILD_DIR/bin/vireon.exe" "$win_media"
    exit 0
fi

wine "$BUILD_DIR/bin/vireon.exe" "$win_media" &
player=$!
sleep 6
shot="$BUILD_DIR/screenshot.png"
import -window root "$shot" 2>/dev/null || xwd -root -silent | convert xwd:- "$shot"
# Closed as a user closes it; only a player that does not end is killed.
wine taskkill /im vireon.exe >/dev/null 2>&1
for _ in $(seq 50); do kill -0 "$player" 2>/dev/null || break; sleep 0.1; done
closed=yes
kill -0 "$player" 2>/dev/null && closed=no
wineserver -k 2>/dev/null
wait "$player" 2>/dev/null
[ "$closed" = yes ] || echo "the player did not close within 5 s and was ended"
echo "screenshot saved to $shot"
