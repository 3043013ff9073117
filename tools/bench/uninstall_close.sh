#!/usr/bin/env bash
# Builds and runs the survey close-to-exit benchmark under Wine on a virtual screen.
# Usage: tools/bench/uninstall_close.sh [runs] [--before PATH_TO_AN_EARLIER_Uninstall.exe]
#
# The virtual screen has no window manager, and for a managed window Wine then waits 2 s for one to
# acknowledge the window's withdrawal at destruction. That wait belongs to no program, so for the run
# both measured programs get unmanaged windows (a per-program Wine setting, removed afterwards).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

ensure_packages
start_xvfb
prepare_environment
programs=(Uninstall.exe BenchUninstallClose.exe)
cleanup() {
    local p
    for p in "${programs[@]}"; do
        wine reg delete "HKCU\\Software\\Wine\\AppDefaults\\$p" /f >/dev/null 2>&1
    done
    wineserver -w
    stop_xvfb
}
trap cleanup EXIT
configure_and_build
for p in "${programs[@]}"; do
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$p\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
done
wineserver -w
wine "$BUILD_DIR/bin/BenchUninstallClose.exe" "$@"
