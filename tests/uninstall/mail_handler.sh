#!/usr/bin/env bash
# The mail fallback through the real shell: a throwaway Wine prefix whose "mailto:" handler is our
# logging program, and reports with a 1000- and a 32000-character reason (and a long product name).
# Each link must reach the handler, shorter than 900 characters, cut with an ellipsis.
# Usage: mail_handler.sh DRIVER_EXE HANDLER_EXE WORK_DIR
set -u
driver=$1 handler=$2 work=$3
fail() { echo "FAILED: $*"; exit 1; }

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win32
# No crash debugger to hang in, no browser, no desktop integration.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d;winedbg.exe=d"
trap 'wineserver -k 2>/dev/null; rm -rf "$work/prefix"' EXIT
wineboot -i >/dev/null 2>&1 || fail "could not create the Wine prefix"
wineserver -w
win_handler=$(winepath -w "$handler")
wine reg add 'HKCR\mailto\shell\open\command' /ve /d "\"$win_handler\" \"%1\"" /f >/dev/null 2>&1 ||
    fail "could not register the mail handler"
export MAIL_HANDLER_LOG
MAIL_HANDLER_LOG=$(winepath -w "$work/mail.log")

head='mailto:survey@vireon.example?subject=uninstall%20'
count=0
for lengths in "4 1000" "4 32000" "32000 32000"; do
    set -- $lengths
    timeout 120 wine "$driver" "$1" "$2" || fail "the report with lengths $lengths did not end cleanly"
    count=$((count + 1))
    for _ in $(seq 1 200); do
        [ "$( { wc -l <"$work/mail.log"; } 2>/dev/null || echo 0)" -ge $count ] && break
        sleep 0.1
    done
    link=$(sed -n "${count}p" "$work/mail.log" 2>/dev/null | tr -d '\r')
    [ -n "$link" ] || fail "no mail link reached the handler for lengths $lengths"
    [ ${#link} -lt 900 ] || fail "link of ${#link} characters for lengths $lengths"
    case "$link" in "$head"*"&body=Other:%20rrr"*) ;; *) fail "unexpected link: $link" ;; esac
    # The reason is cut: its end is the ellipsis, not a letter of it.
    case "$link" in *r) fail "the reason was cut without an ellipsis: ${link: -20}" ;; esac
    echo "lengths $lengths: link of ${#link} characters ending in ${link: -12}"
done
echo "3 passed, 0 failed"
