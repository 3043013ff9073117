#!/usr/bin/env bash
# The player's start-up and idle cost under Wine on a virtual screen, each next to a bare program
# measured in the same run:
#   start-up to the skinned idle window    vs  a plain Win32 program opening one window; both are
#                                              started and timed by StartProbe.exe, to the window
#                                              shown and to the program idle after it (painted,
#                                              its message queue empty);
#   start-up with the sample clip to the first advancing position shown (the position line grows)
#                                          vs  a plain DirectShow graph playing the same clip until
#                                              its position advances;
#   CPU time over IDLE seconds, idle with nothing loaded  vs  the plain window, idle as long.
# Usage: tools/bench/player_start.sh [runs] [idle seconds]   (defaults 5 and 60)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

runs=${1:-5}
idle=${2:-60}
if [ -z "${VIREON_BENCH_PREPARED:-}" ]; then
    ensure_packages
    start_xvfb
    trap 'stop_xvfb' EXIT
    prepare_environment
    set_window_management N
    configure_and_build
fi
BIN=$BUILD_DIR/bin
SAMPLE=$(winepath -w "$BUILD_DIR/samples/sample.avi" 2>/dev/null)
export WINEDLLOVERRIDES="winebrowser.exe=d;winemenubuilder.exe=d;mscoree,mshtml="
PID=
trap '[ -n "$PID" ] && kill "$PID" 2>/dev/null; [ -n "${XVFB_PID:-}" ] && stop_xvfb' EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Waits until a window of that title is shown; prints its id.
wait_window() {
    local id
    for _ in $(seq 1 3000); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.005
    done
    return 1
}

stop_player() {
    kill "$PID" 2>/dev/null
    wait "$PID" 2>/dev/null
    PID=
}

# start_to_idle TITLE PROGRAM ARGS...: milliseconds from the start to the window shown, to the
# program idle after that, and of processor time used until then, as "SHOWN IDLE PROCESSOR".
start_to_idle() {
    local title=$1 program=$2 times
    shift 2
    times=$(wine "$BIN/StartProbe.exe" "$title" "$(winepath -w "$program")" "$@" 2>/dev/null | tr -d '\r')
    [[ $times =~ ^[0-9]+\ [0-9]+\ [0-9]+$ ]] || times="-1 -1 -1"
    echo "$times"
}

# The colour of a screen pixel as "R G B".
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -1 |
        sed -n 's/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

# Milliseconds from starting the player on the sample to its position line showing progress.
start_to_position() {
    local start end id x y r g b
    start=$(now_ms)
    wine "$BIN/vireon.exe" "$SAMPLE" >/dev/null 2>&1 &
    PID=$!
    id=$(wait_window Vireon) || { stop_player; echo -1; return; }
    read -r x y < <(xdotool getwindowgeometry "$id" | sed -n 's/ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
    # A point of the position line (skin-form pixels 12..788 x 511..515) a few pixels in.
    for _ in $(seq 1 2000); do
        read -r r g b < <(pixel $((x + 20)) $((y + 513)))
        if [ "${b:-0}" -gt 200 ] && [ "${r:-255}" -lt 120 ]; then
            end=$(now_ms)
            stop_player
            echo $((end - start))
            return
        fi
    done
    stop_player
    echo -1
}

bare_play() {
    local start end
    start=$(now_ms)
    wine "$BIN/PlayerBaseline.exe" play "$SAMPLE" >/dev/null 2>&1 || { echo -1; return; }
    end=$(now_ms)
    echo $((end - start))
}

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

# CPU seconds (user and system) a process has used so far, in clock ticks.
ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }

# idle_cpu TITLE PROGRAM ARGS...: per cent of one core used over the idle time after the window shows.
idle_cpu() {
    local title=$1 before after
    shift
    wine "$@" >/dev/null 2>&1 &
    PID=$!
    wait_window "$title" >/dev/null || { stop_player; echo -1; return; }
    sleep 2
    before=$(ticks "$PID")
    sleep "$idle"
    if [ ! -e "/proc/$PID/stat" ]; then
        PID=
        echo "n/a (the program ended)"
        return
    fi
    after=$(ticks "$PID")
    stop_player
    awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$idle" 'BEGIN {printf "%.2f", 100 * t / hz / s}'
}

# One round of each first, unmeasured: the Wine server and the file cache are warm for both.
start_to_idle BareWindow "$BIN/PlayerBaseline.exe" window >/dev/null
start_to_idle Vireon "$BIN/vireon.exe" >/dev/null
window=() bare=() shown=() bare_shown=() cpu=() bare_cpu=() position=() play=()
for _ in $(seq 1 "$runs"); do
    read -r s i c < <(start_to_idle BareWindow "$BIN/PlayerBaseline.exe" window)
    bare_shown+=("$s") bare+=("$i") bare_cpu+=("$c")
    read -r s i c < <(start_to_idle Vireon "$BIN/vireon.exe")
    shown+=("$s") window+=("$i") cpu+=("$c")
    play+=("$(bare_play)")
    position+=("$(start_to_position)")
done
printf 'start-up to the skinned idle window:  %6s ms   (bare window: %s ms)\n' "$(median "${window[@]}")" \
    "$(median "${bare[@]}")"
printf 'start-up to the window shown:         %6s ms   (bare window: %s ms)\n' "$(median "${shown[@]}")" \
    "$(median "${bare_shown[@]}")"
printf 'processor time until idle:            %6s ms   (bare window: %s ms)\n' "$(median "${cpu[@]}")" \
    "$(median "${bare_cpu[@]}")"
printf 'start-up to the first advancing position: %6s ms   (bare DirectShow graph: %s ms)\n' \
    "$(median "${position[@]}")" "$(median "${play[@]}")"
printf 'CPU over %s s idle, nothing loaded:   %6s %%   (bare window: %s %%)\n' "$idle" \
    "$(idle_cpu Vireon "$BIN/vireon.exe")" "$(idle_cpu BareWindow "$BIN/PlayerBaseline.exe" window)"
for v in "${window[@]}" "${bare[@]}" "${shown[@]}" "${bare_shown[@]}" "${cpu[@]}" "${bare_cpu[@]}" \
    "${position[@]}" "${play[@]}"; do
    [ "$v" -ge 0 ] || { echo "a measurement failed"; exit 1; }
done
