#!/usr/bin/env bash
# The test run has a HOME of its own under the build folder, with the null sound device, and Wine's
# prefix lives there too; the user's HOME gets nothing from the run.
set -u
build_dir=$1
fail() { echo "FAILED: $*"; exit 1; }

case "$HOME" in "$build_dir"/*) ;; *) fail "HOME is $HOME, not under $build_dir" ;; esac
case "${WINEPREFIX:-}" in "$build_dir"/*) ;; *) fail "WINEPREFIX is '${WINEPREFIX:-}', not under $build_dir" ;; esac
grep -q 'type null' "$HOME/.asoundrc" || fail "no null sound device in $HOME/.asoundrc"
[ -n "${VIREON_USER_HOME:-}" ] || fail "the user's HOME was not recorded"
[ "$VIREON_USER_HOME" != "$HOME" ] || fail "the test HOME is the user's HOME"

# Wine resolves the Windows profile inside the test prefix.
profile=$(wine cmd /c 'echo %USERPROFILE%' 2>/dev/null | tr -d '\r')
unix_profile=$(winepath -u "$profile" 2>/dev/null)
case "$unix_profile" in "$build_dir"/*) ;; *) fail "Windows profile $profile maps to $unix_profile" ;; esac

# Nothing the run creates may appear in the user's HOME.
for name in .wine .asoundrc .local/share/applications/wine; do
    if [ -e "$VIREON_USER_HOME/$name" ] && [ "$VIREON_USER_HOME/$name" -nt "$VIREON_RUN_STAMP" ]; then
        fail "$VIREON_USER_HOME/$name changed during the test run"
    fi
done
echo "1 passed, 0 failed"
