# Shared by the installer tests (sourced): a Wine prefix of the test's own, cloned from a fresh one;
# setup and uninstaller runs; registry and shortcut checks; windows on the virtual screen driven by
# keystrokes; a statistics server on 127.0.0.1. Failures name the line of the calling test.
#
# The sourcing script is called as: SCRIPT BUILD_DIR SOURCE_DIR WORK_NAME
set -u
BUILD=$1
SOURCE=$2
WORK=$BUILD/testenv/installer/$3
SETUP=$BUILD/Vireon-Setup.exe
HELPER=$BUILD/bin/WinHelper.exe
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vireon'
DEFAULT_DIR='C:\Program Files\Vireon'
UNINSTALLER=Vireon-Uninstall.exe
# Never a real mail program or browser, whatever the survey decides.
export WINEDLLOVERRIDES="winebrowser.exe=d;winemenubuilder.exe=d;mscoree,mshtml="
export WINEDEBUG=-all
# Arguments and file names with non-ASCII letters pass through Wine the same on every machine.
export LC_ALL=C.UTF-8

checks=0
failures=0
STATS_PID=
PLAYER_STARTED=

fail_here() {
    failures=$((failures + 1))
    # The line in the test script itself, however deep the helpers that failed.
    echo "FAILED (line ${BASH_LINENO[${#BASH_LINENO[@]} - 2]}): $*"
}
# check DESCRIPTION COMMAND...: the command must succeed.
check() {
    checks=$((checks + 1))
    "${@:2}" || fail_here "$1"
}
# check_not DESCRIPTION COMMAND...: the command must fail.
check_not() {
    checks=$((checks + 1))
    ! "${@:2}" || fail_here "$1"
}
# expect_eq DESCRIPTION EXPECTED ACTUAL
expect_eq() {
    checks=$((checks + 1))
    [ "$2" = "$3" ] || fail_here "$1: expected '$2', got '$3'"
}
finish() {
    echo "$((checks - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ]
}

cleanup() {
    [ -n "$STATS_PID" ] && kill "$STATS_PID" 2>/dev/null && wait "$STATS_PID" 2>/dev/null
    # Whatever still runs in our own prefix (a player or a window left open by a failure).
    [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null
    [ -d "$WORK" ] && chattr -R -i "$WORK" 2>/dev/null
    true
}
trap cleanup EXIT

# A pristine prefix made once per build folder; each test works in a copy. The copy shares the
# large program files with it by hard links (nothing rewrites them) and owns everything else.
prepare_prefix() {
    local base=$BUILD/testenv/installer-base
    mkdir -p "$BUILD/testenv" "$WORK"
    (
        flock 9
        if [ ! -f "$base/.ready" ]; then
            rm -rf "$base"
            WINEPREFIX=$base wineboot -i >/dev/null 2>&1
            WINEPREFIX=$base wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
            WINEPREFIX=$base wineserver -w
            touch "$base/.ready"
        fi
    ) 9>"$BUILD/testenv/installer-base.lock"
    cleanup
    rm -rf "$WORK"
    mkdir -p "$WORK"
    export WINEPREFIX=$WORK/prefix
    mkdir -p "$WINEPREFIX"
    cp -al "$base/." "$WINEPREFIX/"
    (cd "$base" && find . -type f ! -iname '*.dll' ! -iname '*.exe' ! -iname '*.drv' ! -iname '*.sys' \
        ! -iname '*.nls' ! -iname '*.ttf' ! -iname '*.fon' ! -iname '*.tlb' ! -iname '*.acm' -print0) |
        while IFS= read -r -d '' file; do
            cp -p --remove-destination "$base/$file" "$WINEPREFIX/$file"
        done
}

# /a/b -> Z:\a\b, the same file seen from Windows.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# C:\a\b -> the path inside the prefix.
unix_path() {
    local path=${1//\\//}
    printf '%s/drive_c%s' "$WINEPREFIX" "${path#[Cc]:}"
}

# Windows programs of our prefix (Wine names each process after its Windows path) whose path
# matches the pattern, case-insensitively.
prefix_programs() {
    local pid program
    for pid in $(pgrep -u "$(id -u)" -i -f "$1"); do
        program=$(tr '\0' '\n' 2>/dev/null <"/proc/$pid/cmdline" | head -n 1)
        [[ $program =~ ^[A-Za-z]:\\ ]] || continue
        tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"
    done
}

# Runs a Windows program of the prefix and waits for the setup, the uninstaller (which hands over
# to a copy of itself) and the survey to end; a running player may stay. Prints the exit code;
# a hang ends after 120 s, as code 124.
run_and_wait() {
    local code
    timeout 120 wine "$@" >"$WORK/wine.log" 2>&1
    code=$?
    wait_for_removal_programs || code=124
    echo "$code"
}
wait_for_removal_programs() {
    for _ in $(seq 1 1200); do
        [ -z "$(prefix_programs 'setup|uninstall|un\.exe')" ] && return 0
        sleep 0.1
    done
    return 1
}
# The setup's command line is passed as written: NSIS takes everything after /D= as the folder.
install_silently() { run_and_wait "$HELPER" run "\"$(windows_path "$SETUP")\" /S $*"; }
# Silent removal the way the platform's list runs it: the quiet command of the uninstall key. The
# uninstaller hands the work to a copy of itself and ends at once with code 0.
uninstall_silently() { run_and_wait "$HELPER" run "\"$1\\$UNINSTALLER\" /S"; }
# The same removal run in place (NSIS's _?=, which must come last), reporting its own exit code.
# UNINSTALLER_PATH: another copy of the uninstaller, as a Windows path.
uninstall_in_place() { run_and_wait "$HELPER" run "\"${2:-$1\\$UNINSTALLER}\" /S _?=$1"; }

# Every value under the uninstall key, one "NAME TYPE VALUE" line each; empty without the key.
# Read through an export file: it is UTF-16, while reg's console output depends on the code page.
uninstall_key_values() {
    local export=$WORK/uninstall-key.reg
    rm -f "$export"
    wine reg export "$UNINSTALL_KEY" "$(windows_path "$export")" /y >/dev/null 2>&1 || return 0
    python3 - "$export" <<'PY'
import re, sys
for line in open(sys.argv[1], encoding="utf-16").read().splitlines():
    text = re.match(r'^"(.+)"="(.*)"$', line)
    number = re.match(r'^"(.+)"=dword:([0-9a-f]{8})$', line)
    if text:
        print(text[1], "REG_SZ", re.sub(r'\\(.)', r'\1', text[2]))
    elif number:
        print(number[1], "REG_DWORD", hex(int(number[2], 16)))
PY
}
key_value() { sed -n "s/^$1 REG_[A-Z]* //p" <<<"$2"; }

# The target of a shortcut, as written in its link file.
shortcut_points_to() {
    python3 - "$1" "$2" <<'EOF'
import sys
data = open(sys.argv[1], 'rb').read()
target = sys.argv[2]
found = target.encode('utf-16-le') in data or target.encode('cp1252', 'ignore') in data
sys.exit(0 if data[:4] == b'\x4c\x00\x00\x00' and found else 1)
EOF
}

start_menu_dir() { unix_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Vireon'; }
desktop_link() { unix_path 'C:\users\Public\Desktop\Vireon.lnk'; }

# Files of the build that the setup installs, relative to build/bin.
shipped_files() {
    (cd "$BUILD/bin" && printf '%s\n' vireon.exe Uninstall.exe && find skins -type f | sort)
}
# Every shipped file is in the folder and equals the build's.
expect_installed_in() {
    local dir=$1 file
    while IFS= read -r file; do
        checks=$((checks + 1))
        cmp -s "$BUILD/bin/$file" "$dir/$file" || fail_here "$file is not installed correctly in $dir"
    done < <(shipped_files)
    checks=$((checks + 1))
    [ -f "$dir/$UNINSTALLER" ] || fail_here "no uninstaller in $dir"
}
# Nothing of ours is left: files, shortcuts, uninstall key.
expect_removed() {
    local dir=$1 file
    while IFS= read -r file; do
        checks=$((checks + 1))
        [ ! -e "$dir/$file" ] || fail_here "$file is left in $dir"
    done < <(shipped_files)
    check "the uninstaller is removed" test ! -e "$dir/$UNINSTALLER"
    check "the start menu folder is removed" test ! -e "$(start_menu_dir)"
    check "the desktop shortcut is removed" test ! -e "$(desktop_link)"
    expect_eq "uninstall key after removal" "" "$(uninstall_key_values)"
}

# The statistics server: answers "OK" and logs each request with whether WATCHED existed then.
start_stats_server() {
    local watched=$1 port=
    : >"$WORK/stats.log"
    python3 -u "$SOURCE/tests/installer/stats_server.py" "$WORK/stats.log" "$watched" >"$WORK/stats.port" 2>/dev/null &
    STATS_PID=$!
    for _ in $(seq 1 100); do
        port=$(head -n 1 "$WORK/stats.port")
        [ -n "$port" ] && break
        sleep 0.1
    done
    export UNINSTALL_STATS_HOST="127.0.0.1:$port"
}

# X window of a Wine top-level window with exactly this caption, waiting up to SECONDS (30).
wait_for_window() {
    local id
    for _ in $(seq 1 $((${2:-30} * 10))); do
        id=$(xdotool search --onlyvisible --name "^$1 *\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
window_shows() { wait_for_window "$@" >/dev/null; }
# Keys to a window as a user gives them: a click on its caption makes it the active window (the
# screen has no window manager to do that), then the keys.
bring_forward() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    xdotool mousemove --window "$1" 40 8 click 1
    sleep 0.5
}
press_keys() {
    local window=$1
    shift
    bring_forward "$window"
    xdotool key --clearmodifiers "$@"
}
type_text() {
    bring_forward "$1"
    xdotool type --delay 50 "$2"
}
# Child window texts of the Windows window with this caption (first line: the caption).
window_texts() { wine "$HELPER" windows "$1" 20 2>/dev/null | tr -d '\r'; }

# The installed player, started from the start menu shortcut; returns once its window shows.
start_installed_player() {
    wine start /unix "$(start_menu_dir)/Vireon.lnk" >/dev/null 2>&1
    PLAYER_STARTED=1
    wait_for_window Vireon
}
close_player() {
    wine taskkill /im vireon.exe >/dev/null 2>&1
    for _ in $(seq 1 100); do
        xdotool search --onlyvisible --name '^Vireon$' >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}
# The uninstaller's last page waits for its Close button, the default one.
close_finished_uninstaller() {
    for _ in $(seq 1 60); do
        if window_texts "Vireon Uninstall" | grep -qxF "Uninstallation Complete"; then
            press_keys "$1" Return
            return 0
        fi
        sleep 0.5
    done
    return 1
}
