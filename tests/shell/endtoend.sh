#!/usr/bin/env bash
# The real program end to end: vireon.exe under Wine on the virtual screen plays the sample clip in
# its skinned window and ends when its window is closed. Two captures of the screen differ inside the video area (the moving test
# pattern) and in the elapsed-time label; started without the skin beside it, it ends by itself.
# Called by ctest as: endtoend.sh BUILD_DIR
set -u
BUILD=$1
PLAYER=$BUILD/bin/vireon.exe
WORK=$BUILD/testenv/shell-tests/endtoend
mkdir -p "$WORK"
# Never a real mail program or browser.
export WINEDLLOVERRIDES="winebrowser.exe=d;winemenubuilder.exe=d;mscoree,mshtml="
export WINEDEBUG=-all

failures=0
fail() {
    failures=$((failures + 1))
    echo "FAILED (line ${BASH_LINENO[0]}): $*"
}
PID=
cleanup() { [ -n "$PID" ] && kill "$PID" 2>/dev/null && wait "$PID" 2>/dev/null; }
trap cleanup EXIT

# The player's window once it is shown: prints "X Y".
window_origin() {
    local id
    for _ in $(seq 1 200); do
        id=$(xdotool search --onlyvisible --name '^Vireon$' 2>/dev/null | head -1)
        if [ -n "$id" ]; then
            xdotool getwindowgeometry "$id" | sed -n 's/ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p'
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Waits up to 10 s for the player to end; true when it did.
wait_exit() {
    for _ in $(seq 1 100); do
        kill -0 "$PID" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

# capture NAME X Y W H: a part of the screen, as a picture file.
capture() {
    import -window root -crop "$4x$5+$2+$3" +repage "$WORK/$1.png" 2>/dev/null
}

# Pixels that differ between two pictures.
differing() {
    compare -metric AE "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | cut -d' ' -f1
}

wine "$PLAYER" "$(winepath -w "$BUILD/samples/sample.avi")" >"$WORK/player.log" 2>&1 &
PID=$!
if ! origin=$(window_origin); then
    fail "the player's window did not appear"
    exit 1
fi
read -r x y <<<"$origin"
# Skin-form pixels of the main window: the video area and the elapsed-time label.
screen=(0 52 800 450)
elapsed=(508 559 200 18)
sleep 2
capture screen1 $((x + screen[0])) $((y + screen[1])) "${screen[2]}" "${screen[3]}"
capture elapsed1 $((x + elapsed[0])) $((y + elapsed[1])) "${elapsed[2]}" "${elapsed[3]}"
sleep 1.5
capture screen2 $((x + screen[0])) $((y + screen[1])) "${screen[2]}" "${screen[3]}"
capture elapsed2 $((x + elapsed[0])) $((y + elapsed[1])) "${elapsed[2]}" "${elapsed[3]}"
moved=$(differing screen1 screen2)
[ "${moved:-0}" -gt 500 ] || fail "the video area did not change while playing ($moved pixels differ)"
ticked=$(differing elapsed1 elapsed2)
[ "${ticked:-0}" -gt 10 ] || fail "the elapsed time did not change ($ticked pixels differ)"
# The video area is not one flat colour: a picture is shown.
colours=$(convert "$WORK/screen2.png" -format '%k' info: 2>/dev/null)
[ "${colours:-0}" -gt 8 ] || fail "the video area shows no picture ($colours colours)"
# The close button of the title strip ends the program while it plays.
xdotool mousemove $((x + 760)) $((y + 16)) click 1
if ! wait_exit; then
    fail "closing the playing window did not end the program"
    kill "$PID" 2>/dev/null
fi
wait "$PID" 2>/dev/null
PID=

# A copy of the program without its skin folder: one message, and no window stays.
mkdir -p "$WORK/noskin"
cp "$PLAYER" "$WORK/noskin/vireon.exe"
wine "$WORK/noskin/vireon.exe" >"$WORK/noskin.log" 2>&1 &
PID=$!
box=
for _ in $(seq 1 100); do
    box=$(xdotool search --onlyvisible --name '^Vireon$' 2>/dev/null | head -1)
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || fail "no message about the missing skin"
# The message box has no skin: answering it ends the program.
[ -n "$box" ] && xdotool key --window "$box" Return 2>/dev/null
if wait_exit; then
    PID=
else
    fail "the program did not end after the message about the missing skin"
fi

echo "$failures failed"
[ "$failures" -eq 0 ]
