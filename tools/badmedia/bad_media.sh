#!/usr/bin/env bash
# The bad-media suite against the real player under Wine: writes the cases, then lets
# BadMediaDriver open each in one player process, followed by the good sample every time.
# Usage: bad_media.sh BUILD_DIR DVD_FOLDER [CASE_NAME...]
# Outside ctest, run it in the test environment (scripts/common.sh: prepare_environment, start_xvfb).
set -u
BUILD=$(cd "$1" && pwd)
DVD=$(cd "$2" && pwd)
shift 2
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$BUILD/testenv/badmedia
# Never a real mail program or browser.
export WINEDLLOVERRIDES="winebrowser.exe=d;winemenubuilder.exe=d;mscoree,mshtml="
export WINEDEBUG=-all

python3 "$HERE/make_bad_media.py" "$WORK/cases" "$BUILD/samples/sample.avi" "$DVD" || {
    echo "could not write the bad media"
    exit 1
}
cd "$WORK" || exit 1
wine "$BUILD/bin/BadMediaDriver.exe" "$(winepath -w "$BUILD/bin/vireon.exe")" "$(winepath -w "$WORK/cases")" \
    "$(winepath -w "$BUILD/samples/sample.avi")" "$@"
