#!/usr/bin/env bash
# Sets everything up and runs every test under Wine on a virtual screen.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/scripts/common.sh"

ensure_packages
start_xvfb
trap 'stop_xvfb; wineserver -k 2>/dev/null' EXIT
prepare_environment
set_window_management N
# A test program that crashes prints Wine's crash report (registers, backtrace) into its output and
# ends, rather than waiting behind a crash dialog on the virtual screen until its time runs out.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
export VIREON_RUN_STAMP="$BUILD_DIR/testenv/run-stamp"
touch "$VIREON_RUN_STAMP"
configure_and_build

cd "$BUILD_DIR" || exit 1
# One test at a time: Wine's media threads on two cores shared by two test programs have failed
# tests by timing alone.
ctest --output-on-failure -j 1 "$@"
status=$?
wineserver -w 2>/dev/null
exit $status
